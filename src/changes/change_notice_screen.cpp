#include "changes/change_notice_screen.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "changes/change_notice_print.h"
#include "changes/change_notice_xlsx.h"
#include "common/checks.h"
#include "common/registration.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "ui/fields.h"

namespace {
const QString kTitle = QStringLiteral("変更通知");
constexpr int kLeftOutListed = 10;
}  // namespace

変更通知::変更通知() : Screen("変更通知", kTitle) {
    年度 = textBox("年度", 4);
    照会日 = textBox("照会日", 10);
    曜日 = label("曜日");
    曜日->setMinimumWidth(20);
    L期間 = label("L期間");
    出力日 = textBox("出力日", 10);
    変更理由 = textBox("変更理由", 30);
    全て = option("全て", QStringLiteral("全て"));
    担任 = option("担任", QStringLiteral("担任（組ごと）"));
    教科 = option("教科", QStringLiteral("教科（教員ごと）"));
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    C組 = comboBox("C組", [this] { C組_Click(); });
    C教員 = comboBox("C教員", [this] { C教員_Click(); });
    onLostFocus(年度, [this] { 年度_LostFocus(); });
    onLostFocus(照会日, [this] { 照会日_LostFocus(); });
    onLostFocus(出力日, [this] { 出力日_LostFocus(); });
    onLostFocus(C教員, [this] { C教員_Click(); });

    auto* week = new QHBoxLayout;
    week->addWidget(labelled(QStringLiteral("年度"), 年度));
    week->addWidget(labelled(QStringLiteral("照会日"), 照会日));
    week->addWidget(曜日);
    week->addWidget(L期間);
    week->addStretch();

    auto* notice = new QHBoxLayout;
    notice->addWidget(labelled(QStringLiteral("出力日"), 出力日));
    notice->addWidget(labelled(QStringLiteral("変更理由"), 変更理由), 1);

    auto* frame = new QGroupBox(QStringLiteral("通知先"), this);
    frame->setObjectName("Frame1");
    auto* targets = new QHBoxLayout(frame);
    targets->addWidget(全て);
    targets->addWidget(担任);
    targets->addWidget(教科);
    targets->addStretch();

    auto* klass = new QHBoxLayout;
    klass->addWidget(labelled(QStringLiteral("学部"), C学部));
    klass->addWidget(labelled(QStringLiteral("学年"), C学年));
    klass->addWidget(labelled(QStringLiteral("組"), C組));
    klass->addStretch();

    auto* teacher = new QHBoxLayout;
    teacher->addWidget(labelled(QStringLiteral("教員"), C教員));
    teacher->addWidget(button("Bクリア", QStringLiteral("クリア"), [this] { Bクリア_Click(); }));
    teacher->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }));
    buttons->addWidget(
        button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(week);
    layout->addLayout(notice);
    layout->addWidget(frame);
    layout->addLayout(klass);
    layout->addLayout(teacher);
    layout->addStretch();
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 変更通知::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    年度->setText(QString::number(school().businessYear));
    c.workingYear = school().businessYear;
    照会日->setText(school().todayText);
    出力日->setText(school().todayText);
    照会日_LostFocus();
    全て->setChecked(true);
    CMB教師(c, 教師::FillAll, C教員);
    CMB学部(c, 学部::Fill, list_option::kPlain, C学部);
    CMB学年(c, 学年::Fill, list_option::kPlain, C学年);
}

// ------------------------------------------------------------------------------ the week

void 変更通知::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 変更通知::clearWeek() {
    first_.clear();
    last_.clear();
    曜日->clear();
    L期間->clear();
}

void 変更通知::照会日_LostFocus() {
    WorkContext& c = ctx();
    CHK日付(c, 照会日, "002");
    照会日->setText(c.normalizedDateText);
    if (c.checkResult != 0) {
        clearWeek();
        return;
    }
    // The notice is for the school week of the date: from its Monday (a Sunday's is the next
    // day) to the Sunday after.
    const QDate monday = noticeMonday(c.normalizedDate);
    first_ = dateText(monday);
    last_ = dateText(monday.addDays(6));
    照会日->setText(first_);
    曜日->setText(school().weekdayNames[weekdayNumber(monday)]);
    L期間->setText(
        QStringLiteral("%1 ～ %2（%3）")
            .arg(first_, last_, school().weekdayNames[weekdayNumber(monday.addDays(6))]));
}

void 変更通知::出力日_LostFocus() {
    // The issue date may be left out: the notice then prints none.
    if (出力日->text().trimmed().isEmpty()) {
        出力日->clear();
        return;
    }
    CHK日付(ctx(), 出力日, "002");
    出力日->setText(ctx().normalizedDateText);
}

// ------------------------------------------------------------------------------ whom it is for

int 変更通知::targetMode() const {
    return 教科->isChecked()   ? NoticeTarget::Teacher
           : 担任->isChecked() ? NoticeTarget::Class
                               : NoticeTarget::All;
}

void 変更通知::C学部_Click() {
    WorkContext& c = ctx();
    if (!checking_) {
        CMB学部(c, 学部::ByNameSilent, list_option::kPlain, C学部);
        CMB組(c, 組::Fill, list_option::kPlain, C組);
        return;
    }
    if (fieldText(C学部).trimmed().isEmpty()) {
        reportError(c, C学部, QStringLiteral("対象学部を選択してください"));
        c.departmentCode.clear();
        c.departmentName.clear();
        c.departmentPosition = 0;
        return;
    }
    CMB学部(c, 学部::ByName, list_option::kPlain, C学部);
}

void 変更通知::C学年_Click() {
    CMB学年(ctx(), checking_ ? 学年::ByText : 学年::ByTextSilent, list_option::kPlain, C学年);
}

void 変更通知::C組_Click() {
    if (ctx().departmentPosition > 0)
        CMB組(ctx(), 組::ByShortName, checking_ ? list_option::kPlain : list_option::kSilent, C組);
}

void 変更通知::C教員_Click() {
    if (担任->isChecked()) return;
    if (CMB教師(ctx(), 教師::ByName, C教員) != 0)
        reportFieldError(ctx(), C教員, QStringLiteral("教員を正しく選択して下さい"));
}

void 変更通知::Bクリア_Click() {
    C教員->setCurrentIndex(-1);
    C教員->setEditText(QString());
    setFieldColour(C教員, 0);
    WorkContext& c = ctx();
    c.teacherNumber.clear();
    c.teacherName.clear();
    c.teacherDisplayName.clear();
}

// ------------------------------------------------------------------------------ printing

namespace {
// Date, period and class of a line, as the messages about single changes name them.
QString lineLabel(const NoticeLine& l) {
    const QDate date = dateFrom(l.date);
    return QStringLiteral("%1（%2） %3時限 %4 %5年 %6組")
        .arg(l.date, date.isValid() ? school().weekdayNames[weekdayNumber(date)] : QString())
        .arg(l.period)
        .arg(stored_names::department(l.dept))
        .arg(l.grade)
        .arg(l.klass);
}
}  // namespace

QString leftOutMessage(const std::vector<NoticeLine>& lines, const QString& done) {
    QStringList text{QStringLiteral("次の変更は通知書に欄がないため、%1していません。").arg(done)};
    const int listed = std::min<int>(lines.size(), kLeftOutListed);
    for (int i = 0; i < listed; ++i) text << lineLabel(lines[i]) + ' ' + lines[i].addressee();
    if (int(lines.size()) > listed)
        text << QStringLiteral("ほか %1 件").arg(int(lines.size()) - listed);
    return text.join('\n');
}

std::optional<NoticeHeader> 変更通知::fillNotice() {
    WorkContext& c = ctx();
    c.resetReporting();
    checking_ = true;
    年度_LostFocus();
    照会日_LostFocus();
    出力日_LostFocus();
    NoticeTarget target;
    target.mode = targetMode();
    if (target.mode == NoticeTarget::Class && c.errorFlag == 0) {
        C学部_Click();
        C学年_Click();
        C組_Click();
        target.dept = c.departmentCode;
        target.grade = c.grade;
        target.klass = c.classCode;
    }
    if (target.mode == NoticeTarget::Teacher) {
        // A typed name that is no teacher is told apart from no name at all.
        if (CMB教師(c, 教師::ByName, C教員) != 0)
            reportError(c, C教員,
                        C教員->currentText().trimmed().isEmpty()
                            ? QStringLiteral("対象教員を選択してください")
                            : QStringLiteral("教員を正しく選択して下さい"));
        target.teacher = c.teacherNumber;
    }
    checking_ = false;
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return std::nullopt;
    }
    c.workingYear = 年度->text().toInt();

    const std::vector<NoticeLine> lines = collectNoticeLines(c.workingYear, first_, last_, target);
    // A lesson given on a free period replaces nothing: its line stays, with nothing on the old
    // side, and the rest of the week is printed all the same.
    QStringList missing;
    for (const NoticeLine& l : lines)
        if (!l.hasOldLesson) missing << lineLabel(l);
    if (!missing.isEmpty())
        showMessage(QStringLiteral("変更もとの授業が取出せません\n") + missing.join('\n'));
    storeNoticeLines(lines);
    if (lines.empty()) {
        showMessage(QStringLiteral("この週に通知する授業の変更はありません"));
        return std::nullopt;
    }
    return NoticeHeader{target.mode, first_, 出力日->text(), 変更理由->text()};
}

void 変更通知::B印刷_Click() {
    const auto header = fillNotice();
    if (!header) return;
    // The end of the output is said once the sheet has gone to a printer or a file; closing
    // the preview is no output.
    PRT変時割(*header, [this](const NoticePrint& printed, bool output) {
        if (!printed.leftOut.empty())
            showMessage(leftOutMessage(printed.leftOut, QStringLiteral("印刷")));
        if (output) showMessage(QStringLiteral("変更通知書の出力を終了しました"));
    });
}

void 変更通知::BExcel出力_Click() {
    const auto header = fillNotice();
    if (!header) return;
    const NoticeBook book = changeNoticeBook(*header);
    saveXlsx(*this, book.sheets);
    if (!book.leftOut.empty()) showMessage(leftOutMessage(book.leftOut, QStringLiteral("出力")));
}
