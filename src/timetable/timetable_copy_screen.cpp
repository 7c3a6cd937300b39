#include "timetable/timetable_copy_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "timetable/class_timetable_print.h"
#include "timetable/class_timetable_xlsx.h"
#include "timetable/copy_registration.h"
#include "timetable/elective_breakdown_screen.h"
#include "timetable/period_swap_screen.h"
#include "timetable/slot_rule.h"
#include "timetable/timetable_grid.h"
#include "timetable/timetable_shift.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {
const QString kTitle = QStringLiteral("時間割のコピー作成");
const QString kIgnoreQuestion = QStringLiteral("エラーを無視して登録・更新をしますか");
const QString kFreeTextCode = QStringLiteral("000");
const QString kNothingToCopy =
    QStringLiteral("コピー元に授業が登録されていません。コピーする授業がありません");
}  // namespace

時間割コピー::時間割コピー() : Screen("時間割コピー", QStringLiteral("時間割のコピー登録")) {
    source_ = {textBox("年度", 4), comboBox("C学部", [this] { C学部_Click(); }), comboBox("C学年"),
               comboBox("C組"), "028"};
    target_ = {textBox("先年度", 4), comboBox("C先学部", [this] { C先学部_Click(); }),
               comboBox("C先学年"), comboBox("C先組"), "029"};
    QPushButton* show = button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); });
    表示中 = label("表示中");
    G時割 = grid("G時割", [this](int r, int c) { G時割_Click(r, c); });
    fields_.授業 = option("授業", QStringLiteral("授業"));
    fields_.登録外授業 = option("登録外授業", QStringLiteral("登録外授業"));
    fields_.C曜日 = comboBox("C曜日");
    fields_.C時限 = comboBox("C時限");
    fields_.C科目 = comboBox("C科目", [this] { C科目_Click(); });
    fields_.C教科 = comboBox("C教科", [this] { C教科_Click(); });
    fields_.C教員 = comboBox("C教員");
    onLostFocus(fields_.C時限, [this] { C時限_LostFocus(); });
    onLostFocus(fields_.C曜日, [this] { C曜日_LostFocus(); });
    onLostFocus(fields_.C科目, [this] { C科目_LostFocus(); });
    onLostFocus(fields_.C教科, [this] { C教科_LostFocus(); });
    onLostFocus(fields_.C教員, [this] { C教員_LostFocus(); });

    // Source over target (side by side they would not fit a small display), then the button
    // that loads the source.
    auto* pair = new QVBoxLayout;
    for (auto [fields, caption] :
         {std::pair{&source_, "コピー元"}, std::pair{&target_, "コピー先"}}) {
        auto* box = new QGroupBox(QString::fromUtf8(caption), this);
        auto* row = new QHBoxLayout(box);
        row->addWidget(labelled(QStringLiteral("年度"), fields->year));
        row->addWidget(labelled(QStringLiteral("学部"), fields->dept));
        row->addWidget(labelled(QStringLiteral("学年"), fields->grade));
        row->addWidget(labelled(QStringLiteral("組"), fields->klass));
        // Room for a four-digit year.
        fields->year->setFixedWidth(fields->year->fontMetrics().horizontalAdvance("00000") + 12);
        row->addStretch();
        pair->addWidget(box);
    }
    auto* top = new QHBoxLayout;
    top->addLayout(pair);
    top->addWidget(show, 0, Qt::AlignBottom);
    top->addStretch();

    QFormLayout* entry = fields_.form(this);
    // Two to a row: beside the grid the screen fits a small display.
    QGridLayout* entryButtons =
        buttonRows(2, {button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }),
                       button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }),
                       button("Bクリア", QStringLiteral("クリア"), [this] { Bクリア_Click(); }),
                       button("B入替", QStringLiteral("授業入替"), [this] { B入替_Click(); })});

    auto* frame2 = new QGroupBox(QStringLiteral("シフト方法"), this);
    frame2->setObjectName("Frame2");
    O曜日 = option("O曜日", QStringLiteral("曜日指定"));
    Cシ曜日 = comboBox("Cシ曜日");
    O全件 = option("O全件", QStringLiteral("全件ｼﾌﾄ"));
    Ch日曜 = checkBox("Ch日曜", QStringLiteral("日曜授業あり"));
    Ch土曜 = checkBox("Ch土曜", QStringLiteral("土曜授業あり"));
    // The four shift buttons as a cross of arrows, in reading order for the Tab key.
    struct Arrow {
        const char* name;
        QStyle::StandardPixmap icon;
        const char* tip;
        void (時間割コピー::*handler)();
        int row, col;
    };
    auto* arrows = new QGridLayout;
    for (const Arrow& a : {Arrow{"B上シフト", QStyle::SP_ArrowUp, "上へシフト",
                                 &時間割コピー::B上シフト_Click, 0, 1},
                           Arrow{"B左シフト", QStyle::SP_ArrowLeft, "左へシフト",
                                 &時間割コピー::B左シフト_Click, 1, 0},
                           Arrow{"B右シフト", QStyle::SP_ArrowRight, "右へシフト",
                                 &時間割コピー::B右シフト_Click, 1, 2},
                           Arrow{"B下シフト", QStyle::SP_ArrowDown, "下へシフト",
                                 &時間割コピー::B下シフト_Click, 2, 1}}) {
        QPushButton* b = button(a.name, QString(), [this, h = a.handler] { (this->*h)(); });
        b->setIcon(style()->standardIcon(a.icon));
        b->setToolTip(QString::fromUtf8(a.tip));
        b->setAccessibleName(QString::fromUtf8(a.tip));
        arrows->addWidget(b, a.row, a.col);
    }
    auto* shiftBox = new QVBoxLayout(frame2);
    auto* upDown = new QHBoxLayout;
    upDown->addWidget(O曜日);
    upDown->addWidget(Cシ曜日);
    upDown->addWidget(O全件);
    shiftBox->addLayout(upDown);
    auto* weekend = new QHBoxLayout;
    weekend->addWidget(Ch日曜);
    weekend->addWidget(Ch土曜);
    shiftBox->addLayout(weekend);
    shiftBox->addLayout(arrows);

    auto* side = new QVBoxLayout;
    side->addLayout(entry);
    side->addLayout(entryButtons);
    side->addWidget(frame2);
    side->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(表示中);
    left->addWidget(G時割, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(side);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(button("B登録", QStringLiteral("登録"), [this] { B登録_Click(); }));
    bottom->addWidget(button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }));
    bottom->addWidget(
        button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }));
    bottom->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    G時割->setMinimumSize(560, 480);
    run([this] { Form_Load(); });
}

void 時間割コピー::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    confirming_ = false;
    for (const ClassFields* f : {&source_, &target_}) {
        f->year->setText(QString::number(school().businessYear));
        CMB学部(c, 学部::Fill, list_option::kPlain, f->dept);
        CMB学年(c, 学年::Fill, list_option::kPlain, f->grade);
        c.departmentPosition = 1;
        CMB組(c, 組::Fill, list_option::kPlain, f->klass);
    }
    c.workingYear = school().businessYear;
    fields_.fill();
    Cシ曜日->clear();
    for (int w = 1; w <= 7; ++w) Cシ曜日->addItem(school().weekdayNames[w]);
    Cシ曜日->setEditText(QString());
    O曜日->setChecked(true);
    GRD時割初期化(c, *G時割);
}

// ------------------------------------------------------------------------------ the two classes

void 時間割コピー::deptPicked(const ClassFields& f) {
    CMB学部(ctx(), 学部::ByName, list_option::kPlain, f.dept);
    CMB組(ctx(), 組::Fill, list_option::kPlain, f.klass);
    selectLoaded();
}

bool 時間割コピー::decodeClass(const ClassFields& f, ShownClass& out) {
    WorkContext& c = ctx();
    const int errors = c.errorFlag;
    c.errorFlag = 0;
    // A year is a real school year: an empty field is refused, never taken as year 0.
    CHK年度(c, f.year, f.yearItem);
    out.year = f.year->text().toInt();
    CMB学部(c, 学部::ByName, list_option::kPlain, f.dept);
    CMB学年(c, 学年::ByText, list_option::kPlain, f.grade);
    // The class is looked for among its own department's classes.
    CMB組(c, 組::ByShortName, list_option::kPlain, f.klass);
    out.deptCode = c.departmentCode;
    out.deptName = c.departmentName;
    out.deptPos = c.departmentPosition;
    out.grade = c.grade;
    out.gradeText = c.gradeText;
    out.courseCode.clear();
    out.classCode = c.classCode;
    out.classText = c.classText;
    out.classPos = c.classPosition;
    const bool ok = c.errorFlag == 0;
    c.errorFlag = std::max(errors, c.errorFlag);
    return ok;
}

void 時間割コピー::selectLoaded() {
    if (loaded_) class_.select(ctx());
}

void 時間割コピー::showLoadedClass() {
    class_.select(ctx());
    // The entry fields stood for a lesson of the week shown before.
    fields_.clear();
    表示中->setText(QStringLiteral("%1年度　%2　%3　%4")
                        .arg(class_.year)
                        .arg(class_.deptName, class_.gradeText, class_.classText));
    CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, fields_.C科目);
}

void 時間割コピー::redraw() {
    selectLoaded();
    GRD時割再表示(ctx(), *G時割);
}

bool 時間割コピー::refuseWithoutTimetable() {
    if (loaded_) return false;
    showMessage(QStringLiteral("コピー元の時間割を表示してください"));
    return true;
}

void 時間割コピー::B表示_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    ShownClass source, target;
    decodeClass(source_, source);
    decodeClass(target_, target);
    if (c.errorFlag == 1) {
        selectLoaded();
        showMessage(c.message);
        return;
    }
    class_ = source;
    loaded_ = true;
    showLoadedClass();
    GRD時割(c, 1, *G時割);
    if (!anyLesson(c.slotTables)) showMessage(kNothingToCopy);
}

// ------------------------------------------------------------------------------ one slot

void 時間割コピー::G時割_Click(int row, int col) {
    if (col < 1 || row < 1) {
        showMessage(QStringLiteral("選択が有効範囲外です。"));
        return;
    }
    WorkContext& c = ctx();
    const int p = GRD時割選択(c, *G時割, row, col);
    weekday_ = col;
    period_ = p;
    const Slot& slot = c.slotTables.at(col, p);
    if (slot.occupied() && (slot.kind == 1 || slot.kind == 2)) {
        selectLoaded();
        c.slotWeekday = col;
        c.slotPeriod = p;
        c.lessonDateText.clear();
        showModal(new 選時間割TBL(this));
        afterModal();
        return;
    }
    // An empty slot keeps what the fields hold, so a lesson can be placed in slot after slot.
    if (slot.occupied()) {
        CMB教師(c, 教師::ByNumber, slot.text[2]);
        const QString teacherName = c.teacherName;
        if (slot.freeText == 1) {
            fields_.登録外授業->setChecked(true);
            fields_.C科目->setEditText(slot.text[1]);
            fields_.C教科->setEditText(slot.text[1]);
            CMB教師(c, 教師::FillHomeroomFirst, fields_.C教員);
        } else {
            fields_.授業->setChecked(true);
            CMB科目(c, 科目::ByNumber, 0, slot.text[1]);
            fields_.C科目->setEditText(c.kamokuName);
            CMB教科(c, 教科::Fill, 0, fields_.C教科);
            CMB教科(c, 教科::ByNumber, 0, slot.subject);
            fields_.C教科->setEditText(c.subjectName);
            CMB教師(c, 教師::FillAssigned, fields_.C教員);
        }
        fields_.C教員->setEditText(teacherName);
    }
    fields_.showSlot(col, p);
}

void 時間割コピー::C科目_Click() {
    pickKamoku(ctx(), fields_.C科目, fields_.C教科);
}

void 時間割コピー::C教科_Click() {
    pickSubject(ctx(), fields_.C教科, fields_.C教員,
                fields_.freeText() ? 教師::FillHomeroomFirst : 教師::FillAssigned);
}

void 時間割コピー::C時限_LostFocus() {
    period_ = fields_.checkPeriod(ctx());
}

void 時間割コピー::C曜日_LostFocus() {
    weekday_ = fields_.checkWeekday(ctx());
}

void 時間割コピー::C科目_LostFocus() {
    fields_.checkKamoku(ctx());
}

void 時間割コピー::C教科_LostFocus() {
    if (!fields_.freeText()) {
        fields_.checkSubject(ctx());
        return;
    }
    // A free-text lesson's text is in 科目.
    setFieldColour(fields_.C教科, colour::kBlack);
    if (!confirming_) CMB教師(ctx(), 教師::FillHomeroomFirst, fields_.C教員);
}

void 時間割コピー::C教員_LostFocus() {
    fields_.checkTeacher(ctx());
}

void 時間割コピー::Bクリア_Click() {
    fields_.clear();
}

// ------------------------------------------------------------------------------ editing in memory

QString 時間割コピー::targetConflict() {
    WorkContext& c = ctx();
    QString conflict;
    bool ok = false;
    const int year = target_.year->text().toInt(&ok);
    if (ok && year >= kFirstYear && year <= kLastYear &&
        CMB学部(c, 学部::ByNameSilent, list_option::kSilent, target_.dept) == 0 &&
        CMB学年(c, 学年::ByTextSilent, list_option::kSilent, target_.grade) == 0 &&
        CMB組(c, 組::ByShortName, list_option::kSilent, target_.klass) == 0) {
        c.workingYear = year;
        c.courseCode.clear();
        c.selectionNumber = 0;
        CHK時間割(c, 1, list_option::kPlain, QString());
        if (c.errorFlag == 1) conflict = c.message;
        c.errorFlag = 0;
    }
    selectLoaded();
    return conflict;
}

void 時間割コピー::B確定_Click() {
    WorkContext& c = ctx();
    confirming_ = true;
    c.resetReporting();
    selectLoaded();
    C時限_LostFocus();
    C曜日_LostFocus();
    c.slotWeekday = weekday_;
    c.slotPeriod = period_;
    const bool freeText = fields_.freeText();
    C科目_LostFocus();
    if (!freeText) C教科_LostFocus();
    C教員_LostFocus();
    if (freeText) c.kamokuElective = c.subjectSplit = c.subjectElective = 0;
    const bool elective = c.kamokuElective == 1;
    // The lesson will be the target's: a teacher busy there at that time is worth a warning;
    // the registration checks every lesson again.
    const QString conflict = c.errorFlag == 0 ? targetConflict() : QString();
    confirming_ = false;
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    Slot& slot = c.slotTables.at(weekday_, period_);
    const QString text = fields_.C科目->currentText();
    const SlotEntry lesson = freeText
                                 ? SlotEntry{text, QString(), c.teacherNumber, 1}
                                 : SlotEntry{c.kamokuNumber, c.subjectNumber, c.teacherNumber, 0};
    const SlotChange change = slotChangeOf(lessonsOf(slot), lesson, elective);
    QString question = change == SlotChange::Replace ? replaceQuestion(*G時割, weekday_, period_)
                                                     : QStringLiteral("入力内容で更新します。");
    if (!conflict.isEmpty())
        question = conflict + "\n" + (change == SlotChange::Replace ? question : kIgnoreQuestion);
    if (!ask(question)) return;

    if (change == SlotChange::AddTeacher) {
        // Another teacher of the lesson the slot holds: both teach it.
        std::vector<SlotEntry> teaching = lessonsOf(slot);
        teaching.push_back(lesson);
        for (int k = 1; k <= SlotTables::kEntries && k <= int(teaching.size()); ++k)
            slot.entries[k] = teaching[k - 1];
    } else if (change != SlotChange::Unchanged) {
        // The slot becomes this one lesson: no teacher of what it held before is written with it.
        slot = Slot{};
    }
    if (change == SlotChange::AddTeacher || change == SlotChange::Unchanged) {
        showMessage(QStringLiteral("授業TBLを更新しました"));
        redraw();
        return;
    }
    if (freeText) {
        slot.text = {QString(), text, c.teacherNumber, QString()};
        slot.subject = kFreeTextCode;
        slot.freeText = 1;
        slot.entries[1] = {text, QString(), c.teacherNumber, 1};
    } else {
        slot.text = {QString(), c.kamokuNumber, c.teacherNumber, c.subjectNumber};
        slot.subject = c.subjectNumber;
        // Classed as a drawing classes it, so the grid shows it as it will show once stored.
        slot.kind = c.kamokuElective == 1 ? 1 : c.subjectSplit == 1 ? 2 : 0;
        slot.entries[1] = {c.kamokuNumber, c.subjectNumber, c.teacherNumber};
    }
    showMessage(QStringLiteral("授業TBLを更新しました"));
    redraw();
}

void 時間割コピー::B削除_Click() {
    if (!ask(QStringLiteral("指定授業を削除します。"))) return;
    WorkContext& c = ctx();
    if (!SlotTables::inRange(weekday_, period_) || !c.slotTables.at(weekday_, period_).occupied()) {
        showMessage(QStringLiteral("指定授業は登録されていません"));
        return;
    }
    c.slotTables.at(weekday_, period_) = Slot{};
    redraw();
    showMessage(QStringLiteral("指定授業は削除されました"));
}

void 時間割コピー::afterModal() {
    // The sub-screen shared these values; messages are this screen's again.
    ctx().title = kTitle;
    ctx().resetReporting();
    redraw();
}

void 時間割コピー::B入替_Click() {
    selectLoaded();
    showModal(new 時間割入替(this));
    afterModal();
}

void 時間割コピー::B左シフト_Click() {
    selectLoaded();
    時割シフト(ctx(), shift::Left, (Ch日曜->isChecked() ? 1 : 0) + (Ch土曜->isChecked() ? 2 : 0),
               *G時割);
}

void 時間割コピー::B右シフト_Click() {
    selectLoaded();
    時割シフト(ctx(), shift::Right, (Ch日曜->isChecked() ? 1 : 0) + (Ch土曜->isChecked() ? 2 : 0),
               *G時割);
}

void 時間割コピー::upDown(int mode) {
    WorkContext& c = ctx();
    c.resetReporting();
    int weekday = 0;
    if (!O全件->isChecked()) {
        for (int w = 1; w <= 7; ++w)
            if (Cシ曜日->currentText() == school().weekdayNames[w]) weekday = w;
        if (weekday == 0) {
            reportError(c, Cシ曜日, QStringLiteral("上下シフトの曜日を正しく選択して下さい"));
            showMessage(c.message);
            return;
        }
    }
    selectLoaded();
    時割シフト(c, mode, weekday, *G時割);
}

void 時間割コピー::B上シフト_Click() {
    upDown(shift::Up);
}

void 時間割コピー::B下シフト_Click() {
    upDown(shift::Down);
}

// ------------------------------------------------------------------------------ registering

void 時間割コピー::B登録_Click() {
    if (refuseWithoutTimetable()) return;
    WorkContext& c = ctx();
    c.resetReporting();
    // The target as the pickers show it now, checked again.
    ShownClass target;
    if (!decodeClass(target_, target)) {
        selectLoaded();
        showMessage(c.message);
        return;
    }
    if (!anyLesson(c.slotTables)) {
        selectLoaded();
        showMessage(kNothingToCopy);
        return;
    }
    target.select(c);
    CopyRegistration registration(c);
    const CopyCheck check = registration.check(G時割);
    // The lessons the target has in the slots written give way to the copied ones.
    const int replaced = check.errorFlag() == 1 ? 0 : registration.replaced();
    const QString replacing =
        replaced == 0
            ? QString()
            : QStringLiteral("登録先の授業 %1 件をコピーする授業に置き換えます。\n").arg(replaced);
    bool go = false;
    if (check.errorFlag() == 1) {
        showMessage(check.missingMessage(c));
    } else if (check.errorFlag() == 2) {
        QString conflict = check.conflict;
        if (check.conflicts > 1)
            conflict += QStringLiteral("（ほか %1 件）").arg(check.conflicts - 1);
        go = ask(replacing + conflict + "\n" + kIgnoreQuestion);
    } else {
        go = ask(replacing + QStringLiteral("入力内容で更新します。"));
    }
    if (!go) {
        selectLoaded();
        return;
    }
    registration.write();
    selectLoaded();
    showMessage(QStringLiteral("授業は更新(登録)されました。"));
    // Once stored, the screen shows, and edits, the target's week as it is in the file. Should
    // the commit fail, the week loaded and edited so far stays as it was.
    afterCommit([this, target] {
        class_ = target;
        showLoadedClass();
        GRD時割(ctx(), 1, *G時割);
    });
}

void 時間割コピー::B印刷_Click() {
    if (refuseWithoutTimetable()) return;
    PRT組時割(1, *G時割, {class_.year, class_.deptName, class_.gradeText, class_.classCode});
}

void 時間割コピー::BExcel出力_Click() {
    if (refuseWithoutTimetable()) return;
    saveXlsx(*this, classTimetableSheet(*G時割, {class_.year, class_.deptName, class_.gradeText,
                                                 class_.classCode}));
}
