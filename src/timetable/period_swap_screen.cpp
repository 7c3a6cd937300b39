#include "timetable/period_swap_screen.h"

#include <utility>

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "ui/fields.h"
#include "ui/palette.h"

時間割入替::時間割入替(Screen* caller)
    : Screen("時間割入替", QStringLiteral("時間割入替"), caller) {
    source_ = {comboBox("C元曜日", [this] { C元曜日_Click(); }),
               comboBox("C元時限", [this] { C元時限_Click(); }),
               textBox("元科目"),
               textBox("元教科"),
               textBox("元教師"),
               QStringLiteral("入替元曜日を正しく選択して下さい"),
               QStringLiteral("入替元時限を正しく選択して下さい"),
               QStringLiteral("入替元の授業登録がされていません")};
    target_ = {comboBox("C先曜日", [this] { C先曜日_Click(); }),
               comboBox("C先時限", [this] { C先時限_Click(); }),
               textBox("先科目"),
               textBox("先教科"),
               textBox("先教師"),
               QStringLiteral("入替先曜日を正しく選択して下さい"),
               QStringLiteral("入替先時限を正しく選択して下さい"),
               QStringLiteral("入替先の授業登録がされていません")};
    // A typed weekday or period shows its slot as soon as the field is left.
    onLostFocus(source_.weekdayList, [this] { C元曜日_Click(); });
    onLostFocus(source_.periodList, [this] { C元時限_Click(); });
    onLostFocus(target_.weekdayList, [this] { C先曜日_Click(); });
    onLostFocus(target_.periodList, [this] { C先時限_Click(); });

    auto* sides = new QHBoxLayout;
    sides->addWidget(frame("Frame1", QStringLiteral("入替元"), source_));
    sides->addWidget(frame("Frame2", QStringLiteral("入替先"), target_));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

QWidget* 時間割入替::frame(const char* name, const QString& caption, Side& side) {
    auto* box = new QGroupBox(caption, this);
    box->setObjectName(QString::fromUtf8(name));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("曜日"), side.weekdayList);
    form->addRow(QStringLiteral("時限"), side.periodList);
    for (QLineEdit* shown : {side.kamoku, side.subject, side.teacher}) {
        // They show the slot; the slot is chosen by weekday and period.
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
        shown->setMinimumWidth(160);
    }
    form->addRow(QStringLiteral("科目"), side.kamoku);
    form->addRow(QStringLiteral("教科"), side.subject);
    form->addRow(QStringLiteral("担当教師"), side.teacher);
    return box;
}

void 時間割入替::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("時間割の入替え");
    for (Side* side : {&source_, &target_}) {
        side->weekdayList->clear();
        for (int w = 1; w <= 7; ++w) side->weekdayList->addItem(school().weekdayNames[w]);
        side->periodList->clear();
        for (int p = 1; p <= SlotTables::kPeriods; ++p)
            side->periodList->addItem(QString::number(p));
        side->weekdayList->setEditText(QString());
        side->periodList->setEditText(QString());
    }
}

void 時間割入替::weekdayPicked(Side& side) {
    side.weekday = 0;
    for (int w = 1; w <= 7; ++w)
        if (side.weekdayList->currentText() == school().weekdayNames[w]) side.weekday = w;
    if (side.weekday == 0) {
        reportFieldError(ctx(), side.weekdayList, side.weekdayMessage);
    } else {
        setFieldColour(side.weekdayList, colour::kBlack);
    }
    showSlot(side);
}

void 時間割入替::periodPicked(Side& side) {
    WorkContext& c = ctx();
    const bool first = c.firstErrorFlag == 0;
    side.period = 0;
    if (side.periodList->currentText().isEmpty()) {
        reportFieldError(c, side.periodList, side.periodMessage);
    } else {
        // The grid holds periods 1..10; anything else is this side's wrong period.
        CHK数字(c, side.periodList, "032", Numeric::Integer, 1, SlotTables::kPeriods);
        if (c.checkResult == 0)
            side.period = side.periodList->currentText().toInt();
        else if (first)
            c.message = side.periodMessage;
    }
    showSlot(side);
}

bool 時間割入替::showSlot(Side& side) {
    WorkContext& c = ctx();
    for (QLineEdit* f : {side.kamoku, side.subject, side.teacher}) f->clear();
    if (!SlotTables::inRange(side.weekday, side.period) ||
        !c.slotTables.at(side.weekday, side.period).occupied()) {
        c.decodeResult = 1;
        return false;
    }
    const Slot& slot = c.slotTables.at(side.weekday, side.period);
    if (slot.kind == 1 || slot.kind == 2) {
        CMB科目(c, 科目::ByNumber, 0, slot.text[1]);
        side.kamoku->setText(c.kamokuName);
        side.teacher->setText(slot.kind == 1 ? QStringLiteral("選択") : QStringLiteral("αβ"));
    } else {
        if (slot.freeText == 1) {
            side.kamoku->setText(slot.text[1]);
        } else {
            CMB科目(c, 科目::ByNumber, 0, slot.text[1]);
            side.kamoku->setText(c.kamokuName);
            CMB教科(c, 教科::ByNumber, 0, slot.subject);
            side.subject->setText(c.subjectName);
        }
        CMB教師(c, 教師::ByNumber, slot.text[2]);
        side.teacher->setText(c.teacherName);
    }
    c.decodeResult = 0;
    return true;
}

void 時間割入替::B確定_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    C元曜日_Click();
    C元時限_Click();
    C先曜日_Click();
    C先時限_Click();
    // Each side's own words when its slot holds nothing: the first such side is named.
    for (Side* side : {&source_, &target_})
        if (!showSlot(*side)) reportError(c, side->weekdayList, side->emptyMessage);
    if (c.errorFlag == 1) {
        showMessage(c.message);
        return;
    }
    if (!ask(QStringLiteral("表示内容で時間割を入替ます"))) return;
    std::swap(c.slotTables.at(source_.weekday, source_.period),
              c.slotTables.at(target_.weekday, target_.period));
    showSlot(source_);
    showSlot(target_);
}
