#include "changes/teacher_slot_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/calendar_export_screen.h"
#include "changes/lesson_change.h"
#include "changes/slot_sheets.h"
#include "common/checks.h"
#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/recordset.h"
#include "timetable/lesson_record.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {
const QString kTitle = QStringLiteral("教員コマの変更・照会");
const QString kNoStandardChange =
    QStringLiteral("教員コマ照会では、標準の時間割の変更を出来ません");
const QString kSelfStudy = QStringLiteral("自習");
}  // namespace

教員コマ::教員コマ() : Screen("教員コマ", kTitle) {
    年度 = textBox("年度", 4);
    照会日 = textBox("照会日", 10);
    曜日 = label("曜日");
    曜日->setMinimumWidth(20);
    標準F = checkBox("標準F", QStringLiteral("標準"), [this] { 標準F_Click(); });
    C教員 = comboBox("C教員");
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    C組 = comboBox("C組", [this] { C組_Click(); });
    C科目 = comboBox("C科目", [this] { C科目_Click(); });
    C教科 = comboBox("C教科");
    G時割 = grid("G時割", [this](int r, int c) { G時割_Click(r, c); });
    onLostFocus(年度, [this] { 年度_LostFocus(); });
    onLostFocus(照会日, [this] { 照会日_LostFocus(); });
    onLostFocus(C科目, [this] { C科目_LostFocus(); });
    onLostFocus(C教科, [this] { C教科_LostFocus(); });
    onLostFocus(C教員, [this] { C教員_LostFocus(); });

    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("照会日"), 照会日));
    top->addWidget(曜日);
    top->addWidget(標準F);
    top->addWidget(labelled(QStringLiteral("教員"), C教員));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addStretch();

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("学部"), C学部);
    fields->addRow(QStringLiteral("学年"), C学年);
    fields->addRow(QStringLiteral("組"), C組);
    fields->addRow(QStringLiteral("科目"), C科目);
    fields->addRow(QStringLiteral("教科"), C教科);

    // Two to a row: beside the grid the screen fits a small display.
    QGridLayout* buttons = buttonRows(
        2, {button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }),
            button("B変更取消", QStringLiteral("変更取消"), [this] { B変更取消_Click(); }),
            button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }),
            button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }),
            button("BiCalendar出力", QStringLiteral("iCalendar出力"),
                   [this] { BiCalendar出力_Click(); }),
            button("B終了", QStringLiteral("終了"), [this] { close(); })});

    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addLayout(buttons);
    side->addStretch();

    auto* middle = new QHBoxLayout;
    G時割->setMinimumSize(540, 560);
    middle->addWidget(G時割, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    run([this] { Form_Load(); });
}

void 教員コマ::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    年度->setText(QString::number(school().businessYear));
    c.workingYear = school().businessYear;
    標準F->setChecked(false);
    照会日->setEnabled(true);
    照会日->setText(school().todayText);
    inquiryDate_ = school().todayText;
    firstWeekday_ = weekdayNumber(school().today);
    曜日->setText(school().weekdayNames[firstWeekday_]);
    CMB教師(c, 教師::FillAll, C教員);
    CMB学部(c, 学部::Fill, list_option::kPlain, C学部);
    CMB学年(c, 学年::Fill, list_option::kPlain, C学年);
    // The days of the week stand ready; a teacher's lessons come with 表示.
    GRD教員コマ(c, *G時割, c.workingYear, QString(), inquiryDate_, firstWeekday_);
}

// ------------------------------------------------------------------------------ the week shown

void 教員コマ::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 教員コマ::照会日_LostFocus() {
    WorkContext& c = ctx();
    if (標準F->isChecked()) {
        reportError(c, 照会日, kNoStandardChange);
        return;
    }
    CHK日付(c, 照会日, "002");
    照会日->setText(c.normalizedDateText);
    inquiryDate_ = c.normalizedDateText;
    if (c.checkResult != 0) return;
    firstWeekday_ = weekdayNumber(c.normalizedDate);
    曜日->setText(school().weekdayNames[firstWeekday_]);
}

void 教員コマ::標準F_Click() {
    // The standard week has no date: nothing to type, and nothing to trip over when tabbing.
    照会日->setEnabled(!標準F->isChecked());
    if (!標準F->isChecked()) return;
    照会日->clear();
    inquiryDate_.clear();
    firstWeekday_ = 1;
    曜日->clear();
}

void 教員コマ::C教員_LostFocus() {
    checkDecoded(CMB教師(ctx(), 教師::ByName, C教員) == 0, C教員,
                 QStringLiteral("教員を正しく選択して下さい"));
}

void 教員コマ::B表示_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checking_ = true;
    年度_LostFocus();
    if (!標準F->isChecked()) 照会日_LostFocus();
    C教員_LostFocus();
    checking_ = false;
    if (c.errorFlag == 1) {
        showMessage(c.message);
        c.resetReporting();
        return;
    }
    c.workingYear = 年度->text().toInt();
    fillWeek();
}

void 教員コマ::fillWeek() {
    WorkContext& c = ctx();
    week_ = GRD教員コマ(c, *G時割, c.workingYear, c.teacherNumber,
                        標準F->isChecked() ? QString() : inquiryDate_, firstWeekday_);
    weekTeacherName_ = c.teacherName;
    pick_.reset();
}

void 教員コマ::B印刷_Click() {
    if (!week_) {
        showMessage(QStringLiteral("印刷する週を表示して下さい"));
        return;
    }
    // The sheet is the week on the grid: its teacher and its dates, whatever has been typed or
    // picked since.
    PRT教員コマ(1, *G時割, {week_->year, weekTeacherName_});
}

void 教員コマ::BExcel出力_Click() {
    if (!week_) {
        showMessage(QStringLiteral("出力する週を表示して下さい"));
        return;
    }
    saveXlsx(*this, teacherWeekSheet(*G時割, {week_->year, weekTeacherName_}));
}

// The teacher and the dated week on the grid; the current week when none is shown.
void 教員コマ::BiCalendar出力_Click() {
    QDate from = weekStartingMonday(school().today);
    if (week_ && week_->dated()) from = dateFrom(week_->dateOf(1));
    showModal(new iCalendar出力(this, week_ ? week_->teacher : QString(), from, from.addDays(6)));
}

// ------------------------------------------------------------------------------ picking a lesson

void 教員コマ::highlight(int colour) {
    const int row = weekFirstRow(pick_->period);
    G時割->setRow(row);
    G時割->setCol(pick_->col);
    G時割->setRowSel(row + 2);
    G時割->setCellBackColor(colour);
}

void 教員コマ::G時割_Click(int row, int col) {
    // Rows 0 and 1 are the day headers, column 0 the periods.
    if (!week_ || row < 2 || col < 1 || row >= weekFirstRow(TeacherWeek::kPeriods + 1) ||
        col > TeacherWeek::kDays) {
        showMessage(QStringLiteral("選択が有効範囲外です。"));
        return;
    }
    if (pick_) highlight(colour::kWhite);
    changeShown_.forget();
    WorkContext& c = ctx();
    const int period = weekPeriodOfRow(row);
    pick_ = Pick{
        col, period, week_->weekdayOf(col), week_->dateOf(col), week_->lessonAt(col, period), {}};
    c.selectionNumber = 0;
    c.slotWeekday = pick_->weekday;
    c.slotPeriod = period;
    if (pick_->lesson) {
        showLesson(*pick_->lesson);
        pick_->classLabel = C学部->currentText() + C学年->currentText() + C組->currentText();
    } else {
        // A free period: the class to give a lesson to is picked in the lists.
        C科目->clear();
        C教科->clear();
    }
    highlight(colour::kLightGreen);
    c.selectedCol = col;
    c.selectedRow = weekFirstRow(period);
}

void 教員コマ::showLesson(const WeekLesson& lesson) {
    WorkContext& c = ctx();
    CMB学部(c, 学部::ByCode, list_option::kSilent, lesson.dept);
    C学部->setEditText(c.departmentName);
    CMB組(c, 組::Fill, list_option::kPlain, C組);
    CMB学年(c, 学年::ByNumberSilent, list_option::kSilent, QString::number(lesson.grade));
    C学年->setEditText(c.gradeText);
    CMB組(c, 組::ByName, list_option::kSilent, lesson.klass);
    C組->setEditText(c.classText);
    c.courseCode = lesson.course;
    CMB科目(c, 科目::Fill, list_option::kWithCommon, C科目);
    C科目->setEditText(QString());
    C教科->clear();

    Recordset standard("組時間割");
    if (LessonKey::of(c, pick_->weekday, pick_->period, week_->teacher).find(standard)) {
        CMB科目(c, 科目::ByNumber, 0, standard.text("組_科目"));
        CMB教科(c, 教科::Fill, 0, C教科);
        C科目->setEditText(standard.text("組_科目名"));
        C教科->setEditText(standard.text("組_教科名"));
    }
    if (!week_->dated()) return;
    Recordset change("時限変更");
    const ChangeKey key{week_->year,   pick_->date,  lesson.dept,  lesson.grade,
                        lesson.course, lesson.klass, pick_->period};
    changeShown_.take(key.values());
    if (!key.find(change)) return;
    if (change.text("変_科目") == QStringLiteral("000")) {
        C科目->setEditText(kSelfStudy);
    } else {
        CMB科目(c, 科目::ByNumber, 0, change.text("変_科目"));
        CMB教科(c, 教科::Fill, 0, C教科);
        C科目->setEditText(c.kamokuName);
    }
    C教科->setEditText(change.text("変_教科名"));
}

// ------------------------------------------------------------------------------ the lesson lists

// When 表示 or 確定 checks, this screen's own messages about its lists replace any prepared
// before them; a user merely leaving a list is told the way every field tells.
void 教員コマ::checkDecoded(bool found, QComboBox* field, const QString& message) {
    if (found)
        setFieldColour(field, colour::kBlack);
    else if (checking_)
        reportFieldErrorFirst(ctx(), field, message);
    else
        reportFieldError(ctx(), field, message);
}

void 教員コマ::C学部_Click() {
    CMB学部(ctx(), 学部::ByName, list_option::kPlain, C学部);
    CMB組(ctx(), 組::Fill, list_option::kPlain, C組);
}

void 教員コマ::C学年_Click() {
    CMB学年(ctx(), 学年::ByText, list_option::kPlain, C学年);
}

void 教員コマ::C組_Click() {
    CMB組(ctx(), 組::ByShortName, list_option::kPlain, C組);
}

void 教員コマ::C科目_Click() {
    pickKamoku(ctx(), C科目, C教科);
}

void 教員コマ::C科目_LostFocus() {
    checkDecoded(CMB科目(ctx(), 科目::ByName, list_option::kPlain, C科目) == 0, C科目,
                 QStringLiteral("科目を正しく選択して下さい"));
}

void 教員コマ::C教科_LostFocus() {
    checkDecoded(CMB教科(ctx(), 教科::ByName, 0, C教科) == 0, C教科,
                 QStringLiteral("教科を正しく選択して下さい"));
}

// ------------------------------------------------------------------------------ writing

void 教員コマ::B確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    年度_LostFocus();
    照会日_LostFocus();
    if (c.errorFlag == 0 && !pick_) reportError(c, G時割, QStringLiteral("時間割を選択して下さい"));
    // A cell of the standard week has no date to change a lesson on.
    if (c.errorFlag == 0 && pick_->date.isEmpty()) reportError(c, 標準F, kNoStandardChange);
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    CMB学部(c, 学部::ByName, list_option::kPlain, C学部);
    CMB学年(c, 学年::ByText, list_option::kPlain, C学年);
    CMB組(c, 組::ByShortName, list_option::kPlain, C組);
    const auto& lesson = pick_->lesson;
    const bool pickedClass = lesson && lesson->dept == c.departmentCode &&
                             lesson->grade == c.grade && lesson->klass == c.classCode;
    c.courseCode = pickedClass ? lesson->course : QString();
    checking_ = true;
    C科目_LostFocus();
    C教科_LostFocus();
    C教員_LostFocus();
    checking_ = false;
    // The replacement teacher must be free then, as on the period screen.
    c.slotWeekday = pick_->weekday;
    c.slotPeriod = pick_->period;
    if (c.errorFlag == 0) CHK時間割(c, 1, list_option::kPlain, pick_->date);
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("入力内容で更新します。"))) return;

    const ChangeKey key{week_->year,  pick_->date, c.departmentCode, c.grade,
                        c.courseCode, c.classCode, pick_->period};
    if (!changeShown_.unchanged(*this, key.values())) return;
    // This screen has no remark box: a remark stored with the change stays.
    storeChange(key,
                {c.kamokuNumber, c.subjectNumber, c.subjectName, c.subjectShortName,
                 c.teacherNumber, c.teacherName, c.teacherDisplayName},
                std::nullopt);
    showMessage(QStringLiteral("授業は変更されました。"));
    fillWeek();
    for (QComboBox* f : {C学部, C学年, C組, C科目, C教科}) f->setEditText(QString());
}

void 教員コマ::B変更取消_Click() {
    if (!pick_ || !pick_->lesson) {
        showMessage(QStringLiteral("時間割を選択して下さい"));
        return;
    }
    if (pick_->date.isEmpty()) {
        showMessage(kNoStandardChange);
        return;
    }
    const WeekLesson& l = *pick_->lesson;
    const ChangeKey key{week_->year, pick_->date, l.dept,       l.grade,
                        l.course,    l.klass,     pick_->period};
    if (!changeShown_.unchanged(*this, key.values())) return;
    if (!cancelChange(*this, key,
                      changeLabel(pick_->date, pick_->period, pick_->classLabel, {}, {})))
        return;
    fillWeek();
    for (QComboBox* f : {C学部, C学年, C組, C科目, C教科}) f->setEditText(QString());
}
