#include "timetable/class_timetable_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/class_timetable_print.h"
#include "timetable/class_timetable_xlsx.h"
#include "timetable/elective_breakdown_screen.h"
#include "timetable/lesson_record.h"
#include "timetable/slot_rule.h"
#include "timetable/timetable_grid.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {
const QString kFreeTextCode = QStringLiteral("000");
}

組時間割::組時間割() : Screen("組時間割", QStringLiteral("時間割の登録")) {
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    C組 = comboBox("C組", [this] { C組_Click(); });
    G時割 = grid("G時割", [this](int r, int c) { G時割_Click(r, c); });
    setFirstInput(G時割);
    fields_.授業 = option("授業", QStringLiteral("授業"));
    fields_.登録外授業 = option("登録外授業", QStringLiteral("登録外授業"));
    fields_.C曜日 = comboBox("C曜日");
    fields_.C時限 = comboBox("C時限");
    fields_.C科目 = comboBox("C科目", [this] { C科目_Click(); });
    fields_.C教科 = comboBox("C教科", [this] { C教科_Click(); });
    fields_.C教員 = comboBox("C教員");
    備考 = textBox("備考", 40);
    表示中 = label("表示中");
    onLostFocusReported(年度, [this] { 年度_LostFocus(); });
    onLostFocusReported(fields_.C時限, [this] { C時限_LostFocus(); });
    onLostFocusReported(fields_.C曜日, [this] { C曜日_LostFocus(); });
    onLostFocusReported(fields_.C科目, [this] { C科目_LostFocus(); });
    onLostFocusReported(fields_.C教科, [this] { C教科_LostFocus(); });
    onLostFocusReported(fields_.C教員, [this] { C教員_LostFocus(); });

    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(labelled(QStringLiteral("学年"), C学年));
    top->addWidget(labelled(QStringLiteral("組"), C組));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addStretch();

    QFormLayout* fields = fields_.form(this);
    fields->addRow(QStringLiteral("備考"), 備考);

    // Two to a row, 終了 last on the right: beside the grid the screen fits a small display.
    QGridLayout* buttons = buttonRows(
        2, {button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }),
            button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }),
            button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }),
            button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }),
            nullptr, button("B終了", QStringLiteral("終了"), [this] { close(); })});

    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addLayout(buttons);
    side->addStretch();

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(表示中);
    left->addWidget(G時割, 1);
    middle->addLayout(left, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    G時割->setMinimumSize(560, 480);
    run([this] { Form_Load(); });
}

void 組時間割::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("時間割の作成");
    confirming_ = false;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
    CMB学年(ctx(), 学年::Fill, list_option::kPlain, C学年);
    CMB組(ctx(), 組::Fill, list_option::kPlain, C組);
    fields_.fill();
    GRD時割初期化(ctx(), *G時割);
}

// ------------------------------------------------------------------------------ choosing a class

void 組時間割::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 組時間割::C学部_Click() {
    CMB学部(ctx(), 学部::ByName, list_option::kWithCommon, C学部);
    CMB組(ctx(), 組::Fill, list_option::kPlain, C組);
}

void 組時間割::C学年_Click() {
    CMB学年(ctx(), 学年::ByText, list_option::kWithCommon, C学年);
}

void 組時間割::C組_Click() {
    CMB組(ctx(), 組::ByShortName, list_option::kPlain, C組);
}

void 組時間割::B表示_Click() {
    ctx().resetReporting();
    年度_LostFocus();
    CMB学部(ctx(), 学部::ByName, list_option::kWithCommon, C学部);
    C学年_Click();
    C組_Click();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    // The year in the box is the year shown and written: a user who types next year's number
    // expects next year's timetable.
    ctx().workingYear = 年度->text().toInt();
    class_ = ShownClass::of(ctx());
    shown_ = true;
    slotShown_.forget();
    表示中->setText(QStringLiteral("%1年度　%2　%3　%4")
                        .arg(class_.year)
                        .arg(class_.deptName, class_.gradeText, class_.classText));
    draw();
    // The entry fields held a lesson of the class shown before.
    fields_.clear();
    備考->clear();
    CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, fields_.C科目);
}

void 組時間割::selectShownClass() {
    class_.select(ctx());
}

void 組時間割::draw() {
    selectShownClass();
    GRD時割(ctx(), 1, *G時割);
}

bool 組時間割::refuseWithoutClass() {
    if (shown_) return false;
    showMessage(QStringLiteral("組を正しく選択してください"));
    return true;
}

// ------------------------------------------------------------------------------ picking a slot

void 組時間割::G時割_Click(int row, int col) {
    if (col < 1 || row < 1) {
        showMessage(QStringLiteral("選択が有効範囲外です。"));
        return;
    }
    WorkContext& c = ctx();
    const int p = GRD時割選択(c, *G時割, row, col);
    const QString lesson = G時割->textMatrix(lessonRow(p), col);
    const QString teacherLine = G時割->textMatrix(teacherRow(p), col);
    weekday_ = col;
    period_ = p;

    if (!lesson.isEmpty() && lesson == teacherLine) {
        if (!shown_) return;
        selectShownClass();
        c.slotWeekday = weekday_;
        c.slotPeriod = period_;
        c.lessonDateText.clear();
        showModal(new 選時間割(this));
        // The breakdown shared these values and reset the selection for its own list: messages
        // and the highlighted slot are this screen's again. What it changed is drawn, and the
        // entry fields show the slot, not the one picked before it.
        c.title = QStringLiteral("時間割の作成");
        c.resetReporting();
        draw();
        GRD時割選択(c, *G時割, row, col);
    }
    showSlotLesson();
}

void 組時間割::showSlotLesson() {
    WorkContext& c = ctx();
    // The slot's first lesson, by the teacher the drawing stored for it: the teacher line may
    // name several teachers ("阿部・小林"), or a display name no teacher list decodes.
    if (shown_) selectShownClass();
    const Slot& slot = c.slotTables.at(weekday_, period_);
    teacher_ = slot.entries[1].empty() ? slot.text[2] : slot.entries[1].teacher;
    Recordset rs("組時間割");
    const LessonKey key = LessonKey::of(c, weekday_, period_, teacher_);
    if (shown_) slotShown_.take(key.slotPrefix());
    if (!shown_ || !key.find(rs)) {
        fields_.clear();
        備考->clear();
    } else {
        fields_.C科目->setEditText(rs.text("組_科目名"));
        fields_.C教科->setEditText(rs.text("組_教科名"));
        c.subjectShortName = rs.text("組_教科略称");
        fields_.C教員->setEditText(rs.text("組_教員名"));
        備考->setText(rs.text("組_備考"));
        (rs.integer("組_登録") == 0 ? fields_.授業 : fields_.登録外授業)->setChecked(true);
    }
    fields_.showSlot(weekday_, period_);
}

// ------------------------------------------------------------------------------ the entry fields

void 組時間割::C科目_Click() {
    pickKamoku(ctx(), fields_.C科目, fields_.C教科);
}

void 組時間割::C教科_Click() {
    pickSubject(ctx(), fields_.C教科, fields_.C教員,
                fields_.freeText() ? 教師::FillHomeroomFirst : 教師::FillAssigned);
}

void 組時間割::C時限_LostFocus() {
    period_ = fields_.checkPeriod(ctx());
}

void 組時間割::C曜日_LostFocus() {
    weekday_ = fields_.checkWeekday(ctx());
}

void 組時間割::C科目_LostFocus() {
    fields_.checkKamoku(ctx());
}

void 組時間割::C教科_LostFocus() {
    if (!fields_.freeText()) {
        fields_.checkSubject(ctx());
        return;
    }
    // The text of a free-text lesson is what the grid shows: it cannot be empty.
    if (fields_.C教科->currentText().isEmpty()) {
        reportFieldError(ctx(), fields_.C教科, QStringLiteral("教科に正しく入力して下さい"));
        return;
    }
    setFieldColour(fields_.C教科, colour::kBlack);
    if (!confirming_) CMB教師(ctx(), 教師::FillHomeroomFirst, fields_.C教員);
}

void 組時間割::C教員_LostFocus() {
    if (fields_.checkTeacher(ctx())) teacher_ = ctx().teacherNumber;
}

// ------------------------------------------------------------------------------ writing

void 組時間割::B確定_Click() {
    if (refuseWithoutClass()) return;
    confirming_ = true;
    WorkContext& c = ctx();
    c.resetReporting();
    C組_Click();
    年度_LostFocus();
    // The lesson belongs to the class on the grid, whatever the pickers show now.
    selectShownClass();
    C時限_LostFocus();
    C曜日_LostFocus();
    C科目_LostFocus();
    C教科_LostFocus();
    C教員_LostFocus();
    c.slotWeekday = weekday_;
    c.slotPeriod = period_;
    const bool freeText = fields_.freeText();
    if (freeText) c.kamokuElective = c.subjectSplit = c.subjectElective = 0;
    const bool elective = c.kamokuElective == 1;
    // Here only the standard timetable counts; no date of another check is involved.
    if (c.errorFlag == 0) CHK時間割(c, 1, list_option::kPlain, QString());
    confirming_ = false;
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }

    const LessonKey key = LessonKey::of(c, weekday_, period_, teacher_);
    const SlotEntry lesson = freeText
                                 ? SlotEntry{fields_.C教科->currentText(), QString(), teacher_, 1}
                                 : SlotEntry{c.kamokuNumber, c.subjectNumber, teacher_, 0};
    if (slotChangeOf(key.slotLessons(), lesson, elective) == SlotChange::Replace) {
        if (!ask(replaceQuestion(*G時割, weekday_, period_))) return;
        if (!slotShown_.unchanged(*this, key.slotPrefix())) return;
        key.removeSlot();
    } else if (!ask(QStringLiteral("入力内容で更新します。"))) {
        return;
    } else if (!slotShown_.unchanged(*this, key.slotPrefix())) {
        return;
    }

    Recordset rs("組時間割");
    if (!key.find(rs)) {
        key.addTo(rs);
        rs.set("組_教員名", c.teacherName);
        rs.set("組_教員表示名", c.teacherDisplayName);
    } else {
        rs.edit();
    }
    rs.set("組_教員", teacher_);
    rs.set("組_科目", freeText ? kFreeTextCode : c.kamokuNumber);
    rs.set("組_科目名", fields_.C科目->currentText());
    rs.set("組_教科", freeText ? kFreeTextCode : c.subjectNumber);
    rs.set("組_教科名", fields_.C教科->currentText());
    rs.set("組_教科略称", freeText ? fields_.C教科->currentText() : c.subjectShortName);
    rs.set("組_登録", freeText ? 1 : 0);
    rs.set("組_備考", 備考->text());
    rs.update();
    // What is stored now is what the screen shows: a second 確定 of the slot goes through.
    slotShown_.take(key.slotPrefix());
    showMessage(QStringLiteral("授業は更新(登録)されました。"));
    draw();
}

void 組時間割::B削除_Click() {
    if (refuseWithoutClass()) return;
    if (!ask(QStringLiteral("指定授業を削除します。"))) return;
    selectShownClass();
    const LessonKey key = LessonKey::of(ctx(), weekday_, period_, teacher_);
    if (!slotShown_.unchanged(*this, key.slotPrefix())) return;
    Recordset rs("組時間割");
    if (!key.find(rs)) {
        showMessage(QStringLiteral("指定授業は登録されていません"));
    } else {
        rs.remove();
        slotShown_.take(key.slotPrefix());
        showMessage(QStringLiteral("指定授業は削除されました"));
    }
    draw();
}

void 組時間割::B印刷_Click() {
    if (refuseWithoutClass()) return;
    // The header names the class on the grid, whatever has been picked or checked since.
    PRT組時割(1, *G時割, {class_.year, class_.deptName, class_.gradeText, class_.classCode});
}

void 組時間割::BExcel出力_Click() {
    if (refuseWithoutClass()) return;
    saveXlsx(*this, classTimetableSheet(*G時割, {class_.year, class_.deptName, class_.gradeText,
                                                 class_.classCode}));
}
