#include "maintenance/term_end_screen.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/date_input.h"
#include "common/progress.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/recordset.h"

namespace {

// The check boxes in the order of the kinds in yearTables(); the captions keep their leading
// blanks, which line the texts up beside the boxes.
constexpr const char* kCarryBoxes[kCarriedTables][2] = {
    {"移科目", "　科目"},     {"移教科", "　教科"}, {"移担当教科", "　担当教科"},
    {"移時間割", "　時間割"}, {"移期間", "  期間"}, {"移行事", "　行事"}};
constexpr const char* kDeleteBoxes[kDeletedTables][2] = {
    {"削科目", "　科目"},      {"削教科", "　教科"}, {"削担当教科", "　担当教科"},
    {"削時間割", "　時間割"},  {"削期間", "  期間"}, {"削行事", "　行事"},
    {"削変更", "　時間割変更"}};

}  // namespace

期末処理::期末処理() : Screen("期末処理", QStringLiteral("期末処理")) {
    旧年度 = textBox("旧年度", 4);
    新年度 = textBox("新年度", 4);
    開始日 = textBox("開始日", 10);
    終了日 = textBox("終了日", 10);
    onLostFocus(旧年度, [this] { 旧年度_LostFocus(); });
    onLostFocus(新年度, [this] { 新年度_LostFocus(); });
    onLostFocus(開始日, [this] { 開始日_LostFocus(); });
    onLostFocus(終了日, [this] { 終了日_LostFocus(); });

    for (QLineEdit* year : {旧年度, 新年度}) year->setMaximumWidth(70);
    for (QLineEdit* date : {開始日, 終了日}) date->setMaximumWidth(110);
    L保存期間 = label("L保存期間");
    L保存期間->setWordWrap(true);

    auto* years = new QFormLayout;
    years->addRow(QStringLiteral("旧年度"), 旧年度);
    years->addRow(QStringLiteral("新年度"), 新年度);
    years->addRow(QStringLiteral("年度開始日"), 開始日);
    years->addRow(QStringLiteral("年度終了日"), 終了日);

    auto* carry = new QGroupBox(QStringLiteral("移行対象"), this);
    auto* carryColumn = new QVBoxLayout(carry);
    for (int i = 0; i < kCarriedTables; ++i) {
        移行_[i] = checkBox(kCarryBoxes[i][0], QString::fromUtf8(kCarryBoxes[i][1]));
        carryColumn->addWidget(移行_[i]);
    }
    carryColumn->addStretch();
    auto* remove = new QGroupBox(QStringLiteral("削除対象"), this);
    auto* removeColumn = new QVBoxLayout(remove);
    for (int i = 0; i < kDeletedTables; ++i) {
        削除_[i] = checkBox(kDeleteBoxes[i][0], QString::fromUtf8(kDeleteBoxes[i][1]));
        removeColumn->addWidget(削除_[i]);
    }
    auto* panels = new QHBoxLayout;
    panels->addWidget(carry);
    panels->addWidget(remove);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(years);
    layout->addLayout(panels, 1);
    layout->addWidget(L保存期間);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 期末処理::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("期末処理");
    Recordset rs("業務年度");
    rs.setIndex("Key_業務");
    rs.seek(Seek::Equal, {1});
    if (!rs.noMatch()) {
        const int year = rs.integer("業_年度");
        const auto later = [](const QString& text) {
            const QDate d = dateFrom(text);
            return d.isValid() ? dateText(d.addYears(1)) : QString();
        };
        旧年度->setText(QString::number(year));
        新年度->setText(QString::number(year + 1));
        開始日->setText(later(rs.text("業_開始日")));
        終了日->setText(later(rs.text("業_終了日")));
    } else {
        const int y = school().today.year();
        旧年度->setText(QString::number(y - 1));
        新年度->setText(QString::number(y));
        開始日->setText(QStringLiteral("%1/04/01").arg(y));
        終了日->setText(QStringLiteral("%1/03/31").arg(y + 1));
    }
    showRetention();
}

void 期末処理::旧年度_LostFocus() {
    CHK必須(ctx(), 旧年度, "028");
    if (ctx().errorFlag == 0) CHK年度(ctx(), 旧年度, "028");
    showRetention();
}

// What the deletion will do, shown before the user ticks its boxes.
void 期末処理::showRetention() {
    const QString problem = readRetention();
    L保存期間->setText(problem.isEmpty()
                           ? QStringLiteral("保存期間 %1年：%2年度より前のデータが削除対象です。")
                                 .arg(retention_)
                                 .arg(旧年度->text().toInt() - retention_)
                           : problem);
}

void 期末処理::新年度_LostFocus() {
    const int errorsBefore = ctx().errorFlag;
    CHK必須(ctx(), 新年度, "029");
    if (ctx().errorFlag == 0) CHK年度(ctx(), 新年度, "029");
    if (errorsBefore != 0 || ctx().errorFlag != 0) return;
    CHK大小(ctx(), 旧年度, 新年度, QString(), 2);
    // The carry-over copies into the year after the old one, and the roll-over makes that year
    // the business year: a new year further on would leave the two apart.
    if (ctx().errorFlag == 0 && 新年度->text().toInt() != 旧年度->text().toInt() + 1)
        reportFieldError(ctx(), 新年度, QStringLiteral("新年度には旧年度の翌年を入力してください"));
}

void 期末処理::開始日_LostFocus() {
    CHK日付(ctx(), 開始日, "015");
    開始日->setText(ctx().normalizedDateText);
}

void 期末処理::終了日_LostFocus() {
    CHK日付(ctx(), 終了日, "016");
    終了日->setText(ctx().normalizedDateText);
}

// The retention comes from the basic master screen's kind "010". Without an entry three years
// are kept; an entry that is no whole number of at least one year is refused rather than read
// as 0, which would delete every year before the one that ends. Returns what is wrong, if any.
QString 期末処理::readRetention() {
    retention_ = kDefaultRetention;
    const std::optional<QString> entry = retentionEntry();
    if (!entry) return {};
    bool ok = false;
    const int years = toHalfWidth(*entry).trimmed().toInt(&ok);
    if (ok && years >= 1 && years <= kLastYear) {
        retention_ = years;
        return {};
    }
    return QStringLiteral(
               "保存期間「%1」が正しくありません。"
               "基本情報登録で保存期間を1以上の年数で登録してください")
        .arg(*entry);
}

void 期末処理::checkAll() {
    ctx().resetReporting();
    旧年度_LostFocus();
    新年度_LostFocus();
    開始日_LostFocus();
    終了日_LostFocus();
    const QString problem = readRetention();
    if (!problem.isEmpty()) reportError(ctx(), nullptr, problem);
}

void 期末処理::B確定_Click() {
    checkAll();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    if (!ask(QStringLiteral("削除したデータは再現できません、よろしいでしょうか？"))) return;

    TermEndRun work;
    work.oldYear = 旧年度->text().toInt();
    work.start = dateFrom(開始日->text());
    work.end = dateFrom(終了日->text());
    work.retention = retention_;
    int steps = 1;
    for (int i = 0; i < kCarriedTables; ++i) steps += (work.carry[i] = 移行_[i]->isChecked());
    for (int i = 0; i < kDeletedTables; ++i) steps += (work.remove[i] = 削除_[i]->isChecked());
    {
        Progress progress(this, QStringLiteral("業務年度を更新しています…"), steps);
        runTermEnd(work, &progress);
    }
    // The running program keeps its business year until it starts again, as every screen opened
    // since start-up works in it.
    showPlainMessage(QStringLiteral("期末処理は終了しました"));
}
