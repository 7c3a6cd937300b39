#include "calendar/bell_schedule_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/bell_schedule.h"
#include "common/checks.h"
#include "common/selection_lists.h"
#include "data/recordset.h"
#include "ui/fields.h"
#include "ui/palette.h"

namespace {

const char* const kStartNames[] = {"",      "開始1", "開始2", "開始3", "開始4", "開始5",
                                   "開始6", "開始7", "開始8", "開始9", "開始10"};
const char* const kEndNames[] = {"",      "終了1", "終了2", "終了3", "終了4", "終了5",
                                 "終了6", "終了7", "終了8", "終了9", "終了10"};

QString timeText(const QTime& t) {
    return t.toString(QStringLiteral("hh:mm"));
}

}  // namespace

時程登録::時程登録() : Screen("時程登録", QStringLiteral("時程の登録")) {
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C曜日 = comboBox("C曜日", [this] { C曜日_Click(); });
    C曜日->setEditable(false);
    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(labelled(QStringLiteral("曜日"), C曜日));
    top->addStretch();

    auto* times = new QGridLayout;
    times->addWidget(new QLabel(QStringLiteral("時限"), this), 0, 0);
    times->addWidget(new QLabel(QStringLiteral("開始"), this), 0, 1);
    times->addWidget(new QLabel(QStringLiteral("終了"), this), 0, 3);
    for (int p = 1; p <= kPeriods; ++p) {
        開始[p] = textBox(kStartNames[p], 5);
        終了[p] = textBox(kEndNames[p], 5);
        for (QLineEdit* f : {開始[p], 終了[p]}) f->setMaximumWidth(70);
        times->addWidget(new QLabel(QString::number(p), this), p, 0);
        times->addWidget(開始[p], p, 1);
        times->addWidget(new QLabel(QStringLiteral("～"), this), p, 2);
        times->addWidget(終了[p], p, 3);
    }
    times->setColumnStretch(4, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(times);
    layout->addStretch();
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 時程登録::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("時程登録");
    C曜日->addItems({QStringLiteral("月～金"), QStringLiteral("土曜")});
    CMB学部(ctx(), 学部::Fill, list_option::kWithCommon, C学部);
    // The whole school's weekday times first: most schools have no other.
    C学部->setCurrentIndex(0);
    C曜日->setCurrentIndex(曜日区分::平日);
    C学部_Click();
}

bool 時程登録::checkSelection() {
    ctx().resetReporting();
    CMB学部(ctx(), 学部::ByName, list_option::kWithCommon, C学部);
    if (ctx().errorFlag == 0 && ctx().departmentCode.isEmpty())
        reportError(ctx(), C学部, QStringLiteral("学部を正しく選択してください"));
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return false;
    }
    return true;
}

void 時程登録::C学部_Click() {
    if (checkSelection()) showTimes();
}

void 時程登録::C曜日_Click() {
    if (checkSelection()) showTimes();
}

void 時程登録::clearColours() {
    for (int p = 1; p <= kPeriods; ++p)
        for (QLineEdit* f : {開始[p], 終了[p]}) setFieldColour(f, colour::kBlack);
}

void 時程登録::showTimes() {
    clearColours();
    const auto times = storedBellSchedule(ctx().departmentCode, C曜日->currentIndex());
    for (int p = 1; p <= kPeriods; ++p) {
        const auto it = times.find(p);
        開始[p]->setText(it == times.end() ? QString() : timeText(it->second.start));
        終了[p]->setText(it == times.end() ? QString() : timeText(it->second.end));
    }
}

// Each period either has both times or neither; a period ends after it starts and starts no
// earlier than the period before it ends. Empty periods in between are allowed (a school
// without a 7th period on some days).
void 時程登録::checkTimes() {
    clearColours();
    QTime previousEnd;
    int previous = 0;
    for (int p = 1; p <= kPeriods; ++p) {
        const bool hasStart = !開始[p]->text().trimmed().isEmpty();
        const bool hasEnd = !終了[p]->text().trimmed().isEmpty();
        if (!hasStart && !hasEnd) continue;
        if (!hasStart || !hasEnd) {
            reportFieldError(ctx(), hasStart ? 終了[p] : 開始[p],
                             QStringLiteral("%1時限の開始と終了を両方入力してください").arg(p));
            continue;
        }
        const QTime start = parseBellTime(開始[p]->text());
        const QTime end = parseBellTime(終了[p]->text());
        bool valid = true;
        for (auto [field, time] : {std::pair{開始[p], start}, std::pair{終了[p], end}}) {
            if (time.isValid()) {
                field->setText(timeText(time));
                continue;
            }
            valid = false;
            reportFieldError(
                ctx(), field,
                QStringLiteral("%1時限の時刻は「08:50」のように入力してください").arg(p));
        }
        if (!valid) continue;
        if (end <= start)
            reportFieldError(
                ctx(), 終了[p],
                QStringLiteral("%1時限の終了は開始より後の時刻を入力してください").arg(p));
        else if (previous > 0 && start < previousEnd)
            reportFieldError(ctx(), 開始[p],
                             QStringLiteral("%1時限の開始が%2時限の終了（%3）より前です")
                                 .arg(p)
                                 .arg(previous)
                                 .arg(timeText(previousEnd)));
        previous = p;
        previousEnd = end;
    }
}

void 時程登録::B確定_Click() {
    if (!checkSelection()) return;
    checkTimes();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    // The day's times are replaced as a whole, so a period emptied here is gone.
    const QString dept = ctx().departmentCode;
    const int kind = C曜日->currentIndex();
    removeBellSchedule(dept, kind);
    Recordset rs("時程");
    for (int p = 1; p <= kPeriods; ++p) {
        if (開始[p]->text().isEmpty()) continue;
        rs.addNew();
        rs.set("時_学部", dept);
        rs.set("時_曜日区分", kind);
        rs.set("時_時限", p);
        rs.set("時_開始", 開始[p]->text());
        rs.set("時_終了", 終了[p]->text());
        rs.update();
    }
    showMessage(QStringLiteral("時程は更新(登録)されました。"));
}

void 時程登録::B削除_Click() {
    if (!checkSelection()) return;
    if (!ask(QStringLiteral("%1（%2）の時程を削除します。")
                 .arg(C学部->currentText(), C曜日->currentText())))
        return;
    const QString dept = ctx().departmentCode;
    const int kind = C曜日->currentIndex();
    const int removed = removeBellSchedule(dept, kind);
    showMessage(removed == 0 ? QStringLiteral("時程は登録されていません")
                             : QStringLiteral("時程は削除されました"));
    showTimes();
}
