// 固定: the lessons of a class that stay where they are; 設定: the week and the wishes' weights.

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "generation_ui/generation_screen.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"
#include "ui/palette.h"

QWidget* 時間割自動作成::buildKeptTab() {
    auto* page = new QWidget(this);
    G固定 = grid("G固定", [this](int r, int c) { G固定_Click(r, c); });
    G固定->setMinimumSize(520, 440);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        label("L固定説明", QStringLiteral("授業をクリックすると固定（桃色）と解除が"
                                          "切り替わります。固定した授業はそのまま残ります。")));
    buttons->addStretch();
    buttons->addWidget(
        button("B固定HR", QStringLiteral("HR・道徳・総合を固定"), [this] { B固定HR_Click(); }));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(G固定, 1);
    layout->addLayout(buttons);
    return page;
}

void 時間割自動作成::showKept() {
    const ScopeClass* c = pickedClass();
    kept_.clear();
    if (!c) {
        GRD時割初期化(ctx(), *G固定);
        return;
    }
    GRD時割(ctx(), 1, *G固定);
    kept_ = readKept(year_, *c);
    for (const auto& [weekday, period] : kept_) {
        if (!SlotTables::inRange(weekday, period)) continue;
        G固定->setRow(lessonRow(period));
        G固定->setCol(weekday);
        G固定->setRowSel(teacherRow(period));
        G固定->setCellBackColor(colour::kLightMagenta);
    }
    G固定->setRow(0);
    G固定->setCol(0);
}

void 時間割自動作成::G固定_Click(int row, int col) {
    if (refuseWithoutClass()) return;
    if (row < 1 || col < 1 || col > SlotTables::kWeekdays) return;
    const int period = periodOfRow(row);
    if (!kept_.count({col, period}) && G固定->textMatrix(lessonRow(period), col).isEmpty()) {
        showMessage(QStringLiteral("授業のないコマは固定できません。"));
        return;
    }
    toggleKept(year_, *pickedClass(), col, period);
    showKept();
}

void 時間割自動作成::B固定HR_Click() {
    const int kept = keepHomeroomSlots(year_, classes_);
    showKept();
    showMessage(QStringLiteral("HR・道徳・総合の %1 コマを固定しました。").arg(kept));
}

QWidget* 時間割自動作成::buildSettingsTab() {
    auto* page = new QWidget(this);
    曜日数 = textBox("曜日数", 1);
    時限数 = textBox("時限数", 2);
    一日最大 = textBox("1日最大", 2);
    一日最大必須 =
        checkBox("1日最大必須", QStringLiteral("必ず守る（しなければ希望として重みで扱う）"));
    重み分散 = textBox("重み_分散", 3);
    重み空き = textBox("重み_空き", 3);
    重み一日最大 = textBox("重み_1日最大", 3);
    重み最終時限 = textBox("重み_最終時限", 3);
    作成秒数 = textBox("作成秒数", 4);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("曜日数（月曜から）"), 曜日数);
    form->addRow(QStringLiteral("時限数"), 時限数);
    form->addRow(QStringLiteral("教員の1日の最大コマ数（0 制限なし）"), 一日最大);
    form->addRow(QString(), 一日最大必須);
    form->addRow(QStringLiteral("重み：同じ科目を別々の日に"), 重み分散);
    form->addRow(QStringLiteral("重み：教員の空き時間を少なく"), 重み空き);
    form->addRow(QStringLiteral("重み：1日の最大コマ数"), 重み一日最大);
    form->addRow(QStringLiteral("重み：主要教科を最終時限に置かない"), 重み最終時限);
    form->addRow(QStringLiteral("作成にかける時間（秒）"), 作成秒数);
    for (QLineEdit* f :
         {曜日数, 時限数, 一日最大, 重み分散, 重み空き, 重み一日最大, 重み最終時限, 作成秒数})
        f->setMaximumWidth(60);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        label("L設定説明", QStringLiteral("重みは 0 で無視、大きいほど優先します。")));
    buttons->addStretch();
    buttons->addWidget(button("B設定確定", QStringLiteral("確定"), [this] { B設定確定_Click(); }));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    return page;
}

void 時間割自動作成::showSettings() {
    const gen::Settings& s = settings_;
    曜日数->setText(QString::number(s.days));
    時限数->setText(QString::number(s.periods));
    一日最大->setText(QString::number(s.dailyMax));
    一日最大必須->setChecked(s.dailyMaxIsHard);
    重み分散->setText(QString::number(s.weights.spread));
    重み空き->setText(QString::number(s.weights.teacherGap));
    重み一日最大->setText(QString::number(s.weights.dailyMax));
    重み最終時限->setText(QString::number(s.weights.heavyLast));
    作成秒数->setText(QString::number(s.seconds));
}

void 時間割自動作成::B設定確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checkRange(c, 曜日数, QStringLiteral("曜日数"), 1, gen::kMaxDays);
    checkRange(c, 時限数, QStringLiteral("時限数"), 1, gen::kMaxPeriods);
    checkRange(c, 一日最大, QStringLiteral("1日の最大コマ数"), 0, gen::kMaxPeriods);
    for (QLineEdit* w : {重み分散, 重み空き, 重み一日最大, 重み最終時限})
        checkRange(c, w, QStringLiteral("重み"), 0, 999);
    checkRange(c, 作成秒数, QStringLiteral("作成にかける時間"), 1, 3600);
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    gen::Settings s;
    s.days = 曜日数->text().toInt();
    s.periods = 時限数->text().toInt();
    s.dailyMax = 一日最大->text().toInt();
    s.dailyMaxIsHard = 一日最大必須->isChecked();
    s.weights.spread = 重み分散->text().toInt();
    s.weights.teacherGap = 重み空き->text().toInt();
    s.weights.dailyMax = 重み一日最大->text().toInt();
    s.weights.heavyLast = 重み最終時限->text().toInt();
    s.seconds = 作成秒数->text().toInt();
    gen::writeSettings(year_, s);
    afterCommit([this, s] {
        settings_ = s;
        showUnavailable();
    });
    showMessage(QStringLiteral("作成設定は更新(登録)されました。"));
}
