#include "timetable/elective_breakdown_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/date_input.h"
#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/lesson_record.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {
const QString kTitle = QStringLiteral("選択教科の時間割内訳作成");
constexpr int kListedRows = 5;  // the list shows five lessons and grows for more
}  // namespace

// ============================================================================== shared

選択内訳::選択内訳(const char* formName, Screen* caller)
    : Screen(formName, QStringLiteral("選択教科の登録"), caller) {
    L学部 = label("学部");
    L学年 = label("学年");
    L組 = label("組");
    L日付 = label("日付");
    L曜日 = label("曜日");
    L時限 = label("時限");
    G時割 = grid("G時割", [this](int r, int c) { G時割_Click(r, c); });
    C科目 = comboBox("C科目", [this] { C科目_Click(); });
    C教科 = comboBox("C教科", [this] { C教科_Click(); });
    C教員 = comboBox("C教員");
    onLostFocus(C科目, [this] { checkKamoku(); });
    onLostFocus(C教科, [this] { checkSubject(); });
    onLostFocus(C教員, [this] { checkTeacher(); });
}

void 選択内訳::finishLayout(QWidget* extraField, const QString& extraCaption) {
    auto* where = new QHBoxLayout;
    for (QLabel* l : {L学部, L学年, L組, L日付, L曜日, L時限}) where->addWidget(l);
    where->addStretch();

    auto* fields = new QFormLayout;
    if (extraCaption == QStringLiteral("番号")) fields->addRow(extraCaption, extraField);
    fields->addRow(QStringLiteral("科目"), C科目);
    fields->addRow(QStringLiteral("教科"), C教科);
    fields->addRow(QStringLiteral("教員"), C教員);
    if (extraCaption != QStringLiteral("番号")) fields->addRow(extraCaption, extraField);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* body = new QHBoxLayout;
    G時割->setMinimumSize(170, 160);
    body->addWidget(G時割, 1);
    body->addLayout(fields);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(where);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
}

void 選択内訳::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    listSlot();
    L学部->setText(c.departmentName);
    L学年->setText(c.gradeText);
    L組->setText(c.classText);
    L日付->setText(c.lessonDateText);
    const int w = c.slotWeekday;
    L曜日->setText(w >= 1 && w <= 7 ? school().weekdayNames[w] + QStringLiteral("曜") : QString());
    L時限->setText(QStringLiteral("%1 時限").arg(c.slotPeriod));
    CMB科目(c, 科目::Fill, list_option::kWithCommon, C科目);
    C科目->setEditText(QString());
    loadExtra();
}

void 選択内訳::resetList(int lessons) {
    Grid& g = *G時割;
    g.setRows(0);
    g.setCols(0);
    g.setRows(1 + std::max(kListedRows, lessons));
    g.setCols(2);
    g.setColWidth(0, 1000);
    g.setColWidth(1, 1200);
    g.setRow(0);
    g.setCol(0);
    g.setColSel(1);
    g.setCellBackColor(colour::kLightYellow);
    g.setCellAlignment(5);
    g.setTextMatrix(0, 0, QStringLiteral("教科名"));
    g.setTextMatrix(0, 1, QStringLiteral("担当教員"));
    ctx().selectedRow = ctx().selectedCol = 0;
}

void 選択内訳::writeRow(int row, const QString& subject, const QString& teacher) {
    Grid& g = *G時割;
    if (row >= g.rows()) g.setRows(row + 1);
    g.setRow(row);
    g.setCol(0);
    g.setColSel(1);
    g.setCellAlignment(1);
    g.setTextMatrix(row, 0, subject);
    g.setTextMatrix(row, 1, teacher);
}

void 選択内訳::G時割_Click(int row, int col) {
    if (row < 1) {
        showMessage(QStringLiteral("選択が有効範囲外です。"));
        return;
    }
    WorkContext& c = ctx();
    Grid& g = *G時割;
    if (c.selectedRow != 0) {
        g.setRow(c.selectedRow);
        g.setCol(0);
        g.setColSel(1);
        g.setCellBackColor(colour::kWhite);
    }
    g.setRow(row);
    g.setCol(0);
    g.setColSel(1);
    g.setCellBackColor(colour::kLightGreen);
    c.selectedRow = row;
    c.selectedCol = col;
    CMB教師(c, 教師::ByName, g.textMatrix(row, 1));
    pickRow(row);
}

void 選択内訳::C科目_Click() {
    pickKamoku(ctx(), C科目, C教科);
}

void 選択内訳::C教科_Click() {
    pickSubject(ctx(), C教科, C教員, 教師::FillAssigned);
}

// A failing field: light red, and the screen's own wording when it is the first failure of the
// confirmation (a list that reported the miss itself is overruled by it).
void 選択内訳::reportOwn(QWidget* field, bool wasFirst, const QString& message) {
    WorkContext& c = ctx();
    setFieldColour(field, colour::kLightRed);
    c.errorFlag = 1;
    if (wasFirst) {
        c.message = message;
        c.firstErrorFlag = 1;
        setTabFirst(field);
    }
}

bool 選択内訳::settle(QWidget* field, bool found, bool wasFirst, const QString& message) {
    if (found)
        setFieldColour(field, colour::kBlack);
    else
        reportOwn(field, wasFirst, message);
    return found;
}

bool 選択内訳::checkKamoku() {
    const bool first = ctx().firstErrorFlag == 0;
    const bool found = CMB科目(ctx(), 科目::ByName, list_option::kPlain, C科目) == 0 &&
                       !ctx().kamokuNumber.isEmpty();
    return settle(C科目, found, first, QStringLiteral("科目を正しく選択して下さい"));
}

bool 選択内訳::checkSubject() {
    const bool first = ctx().firstErrorFlag == 0;
    const bool found =
        CMB教科(ctx(), 教科::ByName, 0, C教科) == 0 && !ctx().subjectNumber.isEmpty();
    return settle(C教科, found, first, QStringLiteral("教科を正しく選択して下さい"));
}

bool 選択内訳::checkTeacher() {
    const bool first = ctx().firstErrorFlag == 0;
    const bool found = CMB教師(ctx(), 教師::ByName, C教員) == 0;
    return settle(C教員, found, first, QStringLiteral("教員を正しく選択して下さい"));
}

// ============================================================================== on the database

選時間割::選時間割(Screen* caller) : 選択内訳("選時間割", caller) {
    備考 = textBox("備考", 40);
    finishLayout(備考, QStringLiteral("備考"));
    run([this] { Form_Load(); });
}

void 選時間割::listSlot() {
    WorkContext& c = ctx();
    std::vector<std::pair<QString, QString>> rows;
    {
        Recordset rs("組時間割");
        rs.setIndex("Idx_コマ");
        for (rs.seekPrefix({c.workingYear, c.slotWeekday, c.slotPeriod, c.departmentCode, c.grade,
                            c.courseCode, c.classCode});
             rs.inPrefix(); rs.moveNext()) {
            const QString subject =
                rs.text("組_教科略称").isEmpty() ? rs.text("組_教科名") : rs.text("組_教科略称");
            CMB教師(c, 教師::ByNumber, rs.text("組_教員"));
            rows.emplace_back(subject, c.teacherName);
        }
    }
    resetList(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) writeRow(i + 1, rows[i].first, rows[i].second);
}

void 選時間割::pickRow(int) {
    WorkContext& c = ctx();
    pickedTeacher_ = c.teacherNumber;
    Recordset rs("組時間割");
    const LessonKey key = LessonKey::of(c, c.slotWeekday, c.slotPeriod, pickedTeacher_);
    if (!key.find(rs)) {
        // An empty row: the fields are emptied, ready for another lesson.
        for (QComboBox* f : {C科目, C教科, C教員}) f->setEditText(QString());
        備考->clear();
        return;
    }
    // The pickers offer what goes with the picked lesson, so that another subject or teacher of
    // the same course subject can be chosen at once.
    const QString teacherName = c.teacherName;
    CMB科目(c, 科目::ByNumber, 0, rs.text("組_科目"));
    C科目->setEditText(c.kamokuName);
    CMB教科(c, 教科::Fill, 0, C教科);
    CMB教科(c, 教科::ByNumber, 0, rs.text("組_教科"));
    C教科->setEditText(c.subjectName);
    CMB教師(c, 教師::FillAssigned, C教員);
    CMB教師(c, 教師::ByNumber, pickedTeacher_);
    C教員->setEditText(teacherName);
    備考->setText(rs.text("組_備考"));
}

void 選時間割::B確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checkKamoku();
    checkSubject();
    checkTeacher();
    // Only the standard timetable counts here.
    if (c.errorFlag == 0) CHK時間割(c, 1, list_option::kPlain, QString());
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("入力内容で更新します。"))) return;

    Recordset rs("組時間割");
    const LessonKey key = LessonKey::of(c, c.slotWeekday, c.slotPeriod, c.teacherNumber);
    if (!key.find(rs)) {
        key.addTo(rs);
        // A new lesson carries what every other writer stores with it.
        rs.set("組_教員表示名", c.teacherDisplayName);
        rs.set("組_登録", 0);
    } else {
        rs.edit();
    }
    rs.set("組_科目", c.kamokuNumber);
    rs.set("組_科目名", C科目->currentText());
    rs.set("組_教科", c.subjectNumber);
    rs.set("組_教科名", C教科->currentText());
    rs.set("組_教科略称", c.subjectShortName);
    rs.set("組_教員名", c.teacherName);
    rs.set("組_備考", 備考->text());
    rs.update();
    showMessage(QStringLiteral("授業は更新(登録)されました。"));
    listSlot();
}

void 選時間割::B削除_Click() {
    if (!ask(QStringLiteral("指定授業を削除します。"))) return;
    WorkContext& c = ctx();
    Recordset rs("組時間割");
    const LessonKey key = LessonKey::of(c, c.slotWeekday, c.slotPeriod, pickedTeacher_);
    if (!key.find(rs)) {
        showMessage(QStringLiteral("指定授業は登録されていません"));
    } else {
        rs.remove();
        showMessage(QStringLiteral("指定授業は削除されました"));
    }
    listSlot();
}

// ============================================================================== on the slot table

選時間割TBL::選時間割TBL(Screen* caller) : 選択内訳("選時間割TBL", caller) {
    C番号 = comboBox("C番号");
    onLostFocus(C番号, [this] { checkNumber(); });
    finishLayout(C番号, QStringLiteral("番号"));
    run([this] { Form_Load(); });
}

void 選時間割TBL::loadExtra() {
    C番号->clear();
    for (int n = 1; n <= SlotTables::kEntries; ++n) C番号->addItem(QString::number(n));
    C番号->setEditText(QString());
}

void 選時間割TBL::listSlot() {
    WorkContext& c = ctx();
    resetList(0);
    if (!SlotTables::inRange(c.slotWeekday, c.slotPeriod)) return;
    const Slot& slot = c.slotTables.at(c.slotWeekday, c.slotPeriod);
    for (int k = 1; k <= SlotTables::kEntries && !slot.entries[k].empty(); ++k) {
        c.kamokuNumber = slot.entries[k].kamoku;
        CMB教科(c, 教科::ByNumber, 0, slot.entries[k].subject);
        const QString subject = c.subjectShortName.isEmpty() ? c.subjectName : c.subjectShortName;
        CMB教師(c, 教師::ByNumber, slot.entries[k].teacher);
        writeRow(k, subject, c.teacherName);
    }
}

void 選時間割TBL::pickRow(int row) {
    WorkContext& c = ctx();
    entry_ = row;
    C番号->setEditText(QString::number(row));
    for (QWidget* f : {static_cast<QWidget*>(C番号), static_cast<QWidget*>(C科目),
                       static_cast<QWidget*>(C教科), static_cast<QWidget*>(C教員)})
        setFieldColour(f, colour::kBlack);
    SlotEntry entry;
    if (SlotTables::inRange(c.slotWeekday, c.slotPeriod) && row <= SlotTables::kEntries)
        entry = c.slotTables.at(c.slotWeekday, c.slotPeriod).entries[row];
    CMB科目(c, 科目::ByNumber, 0, entry.kamoku);
    C科目->setEditText(c.kamokuName);
    CMB教科(c, 教科::Fill, 0, C教科);
    CMB教科(c, 教科::ByNumber, 0, entry.subject);
    C教科->setEditText(c.subjectName);
    CMB教師(c, 教師::FillAssigned, C教員);
    CMB教師(c, 教師::ByNumber, entry.teacher);
    C教員->setEditText(c.teacherName);
}

bool 選時間割TBL::checkNumber() {
    bool ok = false;
    const int n = toHalfWidth(C番号->currentText()).trimmed().toInt(&ok);
    if (ok && n >= 1 && n <= SlotTables::kEntries) {
        setFieldColour(C番号, colour::kBlack);
        entry_ = n;
        return true;
    }
    reportFieldErrorFirst(ctx(), C番号, QStringLiteral("番号を選択して下さい"));
    return false;
}

void 選時間割TBL::B確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checkNumber();
    checkKamoku();
    checkSubject();
    checkTeacher();
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("入力内容で更新します。"))) return;
    if (!SlotTables::inRange(c.slotWeekday, c.slotPeriod)) return;
    Slot& slot = c.slotTables.at(c.slotWeekday, c.slotPeriod);
    // Entries stay contiguous: a number past the last entry becomes the next free one, so no
    // lesson hides behind an empty entry that the list and the copy stop at.
    int n = entry_;
    while (n > 1 && slot.entries[n - 1].empty()) --n;
    slot.entries[n] = {c.kamokuNumber, c.subjectNumber, c.teacherNumber};
    showMessage(QStringLiteral("授業テーブルの更新を行いました"));
    listSlot();
}

void 選時間割TBL::B削除_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checkNumber();
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("指定授業を削除します。"))) return;
    if (!SlotTables::inRange(c.slotWeekday, c.slotPeriod)) return;
    Slot& slot = c.slotTables.at(c.slotWeekday, c.slotPeriod);
    slot.entries[entry_] = {};
    for (int i = entry_; i < SlotTables::kEntries; ++i) {
        if (slot.entries[i + 1].empty()) continue;
        slot.entries[i] = slot.entries[i + 1];
        slot.entries[i + 1] = {};
    }
    // The last lesson gone, the slot itself is empty.
    if (slot.entries[1].empty()) {
        slot.text = {};
        slot.subject.clear();
        slot.freeText = 0;
        slot.kind = 0;
    }
    showMessage(QStringLiteral("授業をテーブルから削除しました"));
    listSlot();
}
