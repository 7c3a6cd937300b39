#include "changes/period_slot_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "changes/lesson_change.h"
#include "changes/slot_sheets.h"
#include "common/checks.h"
#include "common/list_support.h"
#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/recordset.h"
#include "timetable/slot_grid.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {
const QString kTitle = QStringLiteral("時限コマの変更・照会");
const QString kSelfStudy = QStringLiteral("自習");
const QString kOutOfRange = QStringLiteral("選択が有効範囲外です。");
constexpr int kStandbyCols = 7;

// What a class has in the slot: its standard lesson or its change of the date.
struct SlotLesson {
    QString course, teacher, teacherName, teacherDisplayName;
    QString kamoku, kamokuName, subject, subjectName, subjectShortName, remark;
};
}  // namespace

時限コマ::時限コマ() : Screen("時限コマ", kTitle) {
    年度 = textBox("年度", 4);
    照会日 = textBox("照会日", 10);
    曜日 = label("曜日");
    曜日->setMinimumWidth(20);
    C時限 = comboBox("C時限");
    G時割 = grid("G時割", [this](int r, int c) { G時割_Click(r, c); });
    G教員 = grid("G教員", [this](int r, int c) { G教員_Click(r, c); });
    // Filled by picking a lesson and a stand-by teacher; typing there would store a subject
    // name that does not go with the subject stored.
    変更教員 = textBox("変更教員");
    科目 = textBox("科目");
    教科 = textBox("教科");
    for (QLineEdit* shown : {変更教員, 科目, 教科}) shown->setReadOnly(true);
    自習 = checkBox("自習", QStringLiteral("自習"), [this] { 自習_Click(); });
    備考 = textBox("備考", 40);
    onLostFocus(年度, [this] { 年度_LostFocus(); });
    onLostFocus(照会日, [this] { 照会日_LostFocus(); });
    onLostFocus(C時限, [this] { C時限_LostFocus(); });
    // The picked lesson belongs to the grids as shown.
    connect(年度, &QLineEdit::textEdited, this, [this] { forgetPick(); });
    connect(照会日, &QLineEdit::textEdited, this, [this] { forgetPick(); });
    connect(C時限->lineEdit(), &QLineEdit::textEdited, this, [this] { forgetPick(); });
    connect(C時限, &QComboBox::activated, this, [this] {
        if (C時限->currentText().toInt() != shown_.period) forgetPick();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("照会日"), 照会日));
    top->addWidget(曜日);
    top->addWidget(labelled(QStringLiteral("時限"), C時限));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    代講順 = checkBox("代講順", QStringLiteral("代講の少ない順"), [this] { 代講順_Click(); });
    top->addWidget(代講順);
    top->addStretch();

    auto* grids = new QHBoxLayout;
    G時割->setMinimumSize(460, 420);
    // Wide enough for a full name and the grade heading at the smaller size.
    G教員->setMinimumSize(480, 420);
    grids->addWidget(G時割, 3);
    grids->addWidget(G教員, 2);

    auto* entries = new QHBoxLayout;
    entries->addWidget(labelled(QStringLiteral("変更教員"), 変更教員));
    entries->addWidget(labelled(QStringLiteral("科目"), 科目));
    entries->addWidget(labelled(QStringLiteral("教科"), 教科));
    entries->addWidget(自習);
    entries->addWidget(labelled(QStringLiteral("備考"), 備考), 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(
        button("B変更取消", QStringLiteral("変更取消"), [this] { B変更取消_Click(); }));
    buttons->addWidget(button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }));
    buttons->addWidget(
        button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addLayout(entries);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 時限コマ::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    年度->setText(QString::number(school().businessYear));
    c.workingYear = school().businessYear;
    照会日->setText(school().todayText);
    照会日_LostFocus();
    C時限->clear();
    for (int p = 1; p <= 10; ++p) C時限->addItem(QString::number(p));
    C時限->setEditText(QString());
    c.slotPeriod = 0;
    // The classes and the list headings stand ready; lessons come with 表示.
    c.lessonDateText.clear();
    GRDコマ(c, 1, *G時割);
    c.lessonDateText = school().todayText;
    GRD待機教員初期化(*G教員);
}

// ------------------------------------------------------------------------------ the slot shown

void 時限コマ::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 時限コマ::照会日_LostFocus() {
    WorkContext& c = ctx();
    CHK日付(c, 照会日, "002");
    照会日->setText(c.normalizedDateText);
    c.lessonDateText = c.normalizedDateText;
    if (c.checkResult != 0) return;
    c.slotWeekday = weekdayNumber(c.normalizedDate);
    曜日->setText(school().weekdayNames[c.slotWeekday]);
}

void 時限コマ::C時限_LostFocus() {
    WorkContext& c = ctx();
    if (C時限->currentText().isEmpty()) {
        reportError(c, C時限, QStringLiteral("時限を選択して下さい"));
        c.slotPeriod = 0;
        return;
    }
    CHK数字(c, C時限, "032", Numeric::Integer, 1, 10);
    c.slotPeriod = c.checkResult == 0 ? C時限->currentText().toInt() : 0;
}

void 時限コマ::B表示_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    年度_LostFocus();
    照会日_LostFocus();
    C時限_LostFocus();
    if (c.errorFlag == 1) {
        showMessage(c.message);
        c.resetReporting();
    } else {
        c.workingYear = 年度->text().toInt();
    }
    fillGrids();
}

void 時限コマ::fillGrids() {
    WorkContext& c = ctx();
    forgetPick();
    shown_ = {c.workingYear, c.lessonDateText, c.slotWeekday, c.slotPeriod};
    GRDコマ(c, 1, *G時割);
    standby_ = GRD待機教員(c, *G教員, shown_.year, shown_.date, shown_.weekday, shown_.period,
                           代講順->isChecked());
    // A new list is read from its first teacher, wherever the last one was scrolled to.
    G教員->scrollToTop();
    emptyEntries();
}

void 時限コマ::代講順_Click() {
    if (shown_.year == 0) return;
    // Only the order changes: the picked lesson and the picked teacher stay picked.
    WorkContext& c = ctx();
    const int row = c.selectedRow, col = c.selectedCol;
    const std::optional<StandbyRow> picked =
        standbyRow_ > 0 ? std::optional(standby_[standbyRow_ - 1]) : std::nullopt;
    standby_ = GRD待機教員(c, *G教員, shown_.year, shown_.date, shown_.weekday, shown_.period,
                           代講順->isChecked());
    c.selectedRow = row;
    c.selectedCol = col;
    standbyRow_ = 0;
    for (int r = 1; picked && r <= int(standby_.size()); ++r)
        if (standby_[r - 1].sameAssignment(*picked)) {
            highlightStandby(r, colour::kLightGreen);
            standbyRow_ = r;
        }
}

// The sheet is the period on the grid, whatever has been typed since; a grid shown without a
// valid date or period has no lessons to print or save.
bool 時限コマ::periodShown() const {
    return shown_.year > 0 && shown_.period > 0 && dateFrom(shown_.date).isValid();
}

void 時限コマ::B印刷_Click() {
    if (!periodShown()) {
        showMessage(QStringLiteral("印刷する時限を表示して下さい"));
        return;
    }
    PRTコマ(9, *G時割, {shown_.year, shown_.date, shown_.period});
}

void 時限コマ::BExcel出力_Click() {
    if (!periodShown()) {
        showMessage(QStringLiteral("出力する時限を表示して下さい"));
        return;
    }
    saveXlsx(*this, periodSheet(*G時割, {shown_.year, shown_.date, shown_.period}));
}

void 時限コマ::emptyEntries() {
    自習->setChecked(false);
    for (QLineEdit* box : {科目, 教科, 変更教員, 備考}) box->clear();
    kamokuText_.clear();
    subjectText_.clear();
}

void 時限コマ::forgetPick() {
    if (picked_) highlightLesson(colour::kWhite);
    if (standbyRow_ > 0) highlightStandby(standbyRow_, colour::kWhite);
    picked_.reset();
    standbyRow_ = 0;
}

void 時限コマ::highlightLesson(int colour) {
    G時割->setRow(picked_->row);
    G時割->setCol(picked_->col);
    G時割->setRowSel(picked_->row + 1);
    G時割->setCellBackColor(colour);
}

void 時限コマ::highlightStandby(int row, int colour) {
    G教員->setRow(row);
    G教員->setCol(0);
    G教員->setColSel(kStandbyCols - 1);
    G教員->setCellBackColor(colour);
}

void 時限コマ::自習_Click() {
    if (自習->isChecked()) {
        kamokuText_ = 科目->text();
        subjectText_ = 教科->text();
        科目->setText(kSelfStudy);
        教科->setText(kSelfStudy);
    } else {
        科目->setText(kamokuText_);
        教科->setText(subjectText_);
    }
}

// ------------------------------------------------------------------------------ picking

void 時限コマ::selectPicked() {
    if (!picked_) return;
    WorkContext& c = ctx();
    c.departmentCode = picked_->dept;
    c.departmentName = picked_->deptName;
    c.departmentPosition = picked_->deptPos;
    c.grade = picked_->grade;
    c.gradeText = picked_->gradeText;
    c.gradePosition = picked_->gradePos;
    c.courseCode = picked_->course;
    c.classCode = picked_->klass;
    c.classText = picked_->classText;
    c.classPosition = picked_->classPos;
    c.selectionNumber = 0;
}

ChangeKey 時限コマ::pickedChange() const {
    return {shown_.year,     shown_.date,    picked_->dept, picked_->grade,
            picked_->course, picked_->klass, shown_.period};
}

void 時限コマ::takeLesson(const QString& kamoku, const QString& subject) {
    // The lesson keeps its numbers even when the masters no longer know them.
    WorkContext& c = ctx();
    if (CMB科目(c, 科目::ByNumber, 0, kamoku) != 0) c.kamokuNumber = kamoku;
    if (CMB教科(c, 教科::ByNumber, 0, subject) != 0) c.subjectNumber = subject;
}

void 時限コマ::G時割_Click(int row, int col) {
    const auto place = slotGridPlaceAt(row, col);
    if (!place || shown_.year == 0) {
        showMessage(kOutOfRange);
        return;
    }
    forgetPick();
    emptyEntries();
    const SchoolContext& s = school();
    WorkContext& c = ctx();
    const int d = place->department, g = place->grade, k = place->klass;
    Picked p{col,
             2 * k,
             s.departments[d].code,
             s.departments[d].name,
             d,
             list_support::numberOf(s.grades[g].name),
             s.grades[g].shortName,
             g,
             QString(),
             s.classes[d][k].name,
             s.classes[d][k].shortName,
             k};

    // What the grid shows for the class: the last lesson of the slot, and the change over it.
    std::optional<SlotLesson> standard, change;
    Recordset lessons("組時間割");
    lessons.setIndex("Idx_コマ");
    for (lessons.seekPrefix({shown_.year, shown_.weekday, shown_.period, p.dept, p.grade});
         lessons.inPrefix(); lessons.moveNext())
        if (lessons.text("組_組") == p.klass)
            standard = SlotLesson{lessons.text("組_コース"),   lessons.text("組_教員"),
                                  lessons.text("組_教員名"),   lessons.text("組_教員表示名"),
                                  lessons.text("組_科目"),     lessons.text("組_科目名"),
                                  lessons.text("組_教科"),     lessons.text("組_教科名"),
                                  lessons.text("組_教科略称"), lessons.text("組_備考")};
    Recordset changes("時限変更");
    changes.setIndex("Idx_時限");
    for (changes.seekPrefix({shown_.year, shown_.date, shown_.period, p.dept, p.grade});
         changes.inPrefix(); changes.moveNext())
        if (changes.text("変_組") == p.klass && changes.integer("変_選択番号") == 0)
            change = SlotLesson{changes.text("変_コース"),   changes.text("変_教員"),
                                changes.text("変_教員名"),   changes.text("変_教員表示名"),
                                changes.text("変_科目"),     QString(),
                                changes.text("変_教科"),     changes.text("変_教科名"),
                                changes.text("変_教科略称"), changes.text("変_備考")};
    p.course = standard ? standard->course : change ? change->course : QString();
    picked_ = p;
    changeShown_.take(pickedChange().values());
    selectPicked();

    // The lesson as it stands on the date: the teacher to keep, the subject to keep.
    c.teacherNumber.clear();
    c.teacherName.clear();
    c.teacherDisplayName.clear();
    c.kamokuNumber.clear();
    c.subjectNumber.clear();
    c.subjectShortName.clear();
    c.kamokuElective = c.subjectSplit = c.subjectElective = 0;
    for (const auto* l : {&standard, &change}) {
        if (!*l) continue;
        const SlotLesson& lesson = **l;
        c.teacherNumber = lesson.teacher;
        c.teacherName = lesson.teacherName;
        c.teacherDisplayName = lesson.teacherDisplayName;
        takeLesson(lesson.kamoku, lesson.subject);
        if (c.subjectShortName.isEmpty()) c.subjectShortName = lesson.subjectShortName;
        変更教員->setText(lesson.teacherName);
        教科->setText(lesson.subjectName);
        備考->setText(lesson.remark);
        科目->setText(l == &standard ? lesson.kamokuName : c.kamokuName);
    }
    if (change && change->kamoku == QStringLiteral("000")) {
        自習->setChecked(true);
        kamokuText_ = standard ? standard->kamokuName : QString();
        subjectText_ = standard ? standard->subjectName : QString();
        科目->setText(kSelfStudy);
    }
    highlightLesson(colour::kLightGreen);
    c.selectedCol = col;
    c.selectedRow = p.row;
}

void 時限コマ::G教員_Click(int row, int) {
    if (row < 1) {
        showMessage(kOutOfRange);
        return;
    }
    // A row below the listed teachers holds no teacher to decode.
    if (row > int(standby_.size())) {
        showMessage(QStringLiteral("教員情報を取出せません"));
        return;
    }
    // The assignment's teacher and subjects, those of its own department, grade and course, are
    // decoded apart: a pick that fails changes nothing, so the picked lesson stays what it was.
    const StandbyRow& r = standby_[row - 1];
    const auto trial = std::make_unique<WorkContext>();
    WorkContext& t = *trial;
    t.workingYear = shown_.year;
    t.departmentCode = r.dept;
    t.grade = r.grade;
    t.courseCode = r.course;
    const char* failure = CMB教師(t, 教師::ByNumber, r.teacher) != 0 ? "教員情報を取出せません"
                          : CMB科目(t, 科目::ByNumber, 0, r.kamoku) != 0 ? "科目情報を取出せません"
                          : CMB教科(t, 教科::ByNumber, 0, r.subject) != 0 ? "教科情報を取出せません"
                                                                          : nullptr;
    if (failure) {
        showMessage(QString::fromUtf8(failure));
        return;
    }
    if (standbyRow_ > 0) highlightStandby(standbyRow_, colour::kWhite);
    emptyEntries();
    WorkContext& c = ctx();
    c.teacherNumber = t.teacherNumber;
    c.teacherName = t.teacherName;
    c.teacherDisplayName = t.teacherDisplayName;
    c.kamokuNumber = t.kamokuNumber;
    c.kamokuName = t.kamokuName;
    c.kamokuShortName = t.kamokuShortName;
    c.kamokuElective = t.kamokuElective;
    c.subjectNumber = t.subjectNumber;
    c.subjectName = t.subjectName;
    c.subjectShortName = t.subjectShortName;
    c.subjectSplit = t.subjectSplit;
    c.subjectElective = t.subjectElective;
    変更教員->setText(c.teacherName);
    科目->setText(c.kamokuName);
    教科->setText(c.subjectName);
    highlightStandby(row, colour::kLightGreen);
    standbyRow_ = row;
}

// ------------------------------------------------------------------------------ writing

void 時限コマ::B確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    C時限_LostFocus();
    年度_LostFocus();
    照会日_LostFocus();
    if (c.errorFlag == 0 && !picked_)
        reportError(c, G時割, QStringLiteral("時間割を選択して下さい"));
    if (c.errorFlag == 0 && 科目->text().isEmpty())
        reportError(c, G教員, QStringLiteral("変更教科を選択して下さい"));
    const bool isSelfStudy = 科目->text() == kSelfStudy;
    if (c.errorFlag == 0) {
        // The teacher must be free then; the lesson being replaced is the class's own and does
        // not count.
        selectPicked();
        c.slotWeekday = shown_.weekday;
        c.slotPeriod = shown_.period;
        if (isSelfStudy) c.kamokuElective = c.subjectSplit = c.subjectElective = 0;
        CHK時間割(c, 1, list_option::kPlain, shown_.date);
    }
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("入力内容で更新します。"))) return;

    const ChangeKey key = pickedChange();
    if (!changeShown_.unchanged(*this, key.values())) return;
    storeChange(key,
                isSelfStudy ? selfStudy(c.teacherNumber, c.teacherName, c.teacherDisplayName)
                            : ChangeContent{c.kamokuNumber, c.subjectNumber, 教科->text(),
                                            c.subjectShortName, c.teacherNumber, c.teacherName,
                                            c.teacherDisplayName},
                備考->text());
    showMessage(QStringLiteral("授業は変更されました。"));
    fillGrids();
}

void 時限コマ::B変更取消_Click() {
    if (!picked_) {
        showMessage(QStringLiteral("時間割を選択して下さい"));
        return;
    }
    const ChangeKey key = pickedChange();
    if (!changeShown_.unchanged(*this, key.values())) return;
    if (cancelChange(*this, key,
                     changeLabel(shown_.date, shown_.period, picked_->deptName, picked_->gradeText,
                                 picked_->classText)))
        fillGrids();
}
