#include "timetable/lesson_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "context/slot_tables.h"
#include "ui/fields.h"
#include "ui/palette.h"

QFormLayout* LessonFields::form(QWidget* parent) const {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName("Frame1");
    auto* kinds = new QHBoxLayout(frame);
    kinds->addWidget(授業);
    kinds->addWidget(登録外授業);
    auto* rows = new QFormLayout;
    rows->addRow(frame);
    rows->addRow(QStringLiteral("曜日"), C曜日);
    rows->addRow(QStringLiteral("時限"), C時限);
    rows->addRow(QStringLiteral("科目"), C科目);
    rows->addRow(QStringLiteral("教科"), C教科);
    rows->addRow(QStringLiteral("教員"), C教員);
    return rows;
}

bool LessonFields::freeText() const {
    return 登録外授業->isChecked();
}

void LessonFields::fill() const {
    C曜日->clear();
    for (int w = 1; w <= 7; ++w) C曜日->addItem(school().weekdayNames[w]);
    C時限->clear();
    for (int p = 1; p <= SlotTables::kPeriods; ++p) C時限->addItem(QString::number(p));
    C曜日->setEditText(QString());
    C時限->setEditText(QString());
    授業->setChecked(true);
}

void LessonFields::clear() const {
    for (QComboBox* f : {C時限, C曜日, C科目, C教科, C教員}) f->setEditText(QString());
}

void LessonFields::showSlot(int weekday, int period) const {
    C時限->setEditText(QString::number(period));
    C曜日->setEditText(school().weekdayNames[weekday]);
}

int LessonFields::checkPeriod(WorkContext& ctx) const {
    if (C時限->currentText().isEmpty()) {
        reportFieldErrorFirst(ctx, C時限, QStringLiteral("時限を選択して下さい"));
        return 0;
    }
    setFieldColour(C時限, colour::kBlack);
    // Ten periods fit the grid; a period it cannot show is never stored.
    CHK数字(ctx, C時限, "032", Numeric::Integer, 1, SlotTables::kPeriods);
    return ctx.checkResult == 0 ? C時限->currentText().toInt() : 0;
}

int LessonFields::checkWeekday(WorkContext& ctx) const {
    int weekday = 0;
    for (int w = 1; w <= 7; ++w)
        if (C曜日->currentText() == school().weekdayNames[w]) weekday = w;
    setFieldColour(C曜日, colour::kBlack);
    if (weekday == 0) reportError(ctx, C曜日, QStringLiteral("曜日を正しく選択して下さい"));
    return weekday;
}

bool LessonFields::checkKamoku(WorkContext& ctx) const {
    if (!freeText()) {
        const int r = CMB科目(ctx, 科目::ByName, list_option::kPlain, C科目);
        setFieldColour(C科目, r == 0 ? colour::kBlack : colour::kLightRed);
        return r == 0;
    }
    if (C科目->currentText().isEmpty()) {
        reportFieldError(ctx, C科目, QStringLiteral("科目に正しく入力して下さい"));
        return false;
    }
    setFieldColour(C科目, colour::kBlack);
    return true;
}

bool LessonFields::checkSubject(WorkContext& ctx) const {
    if (CMB教科(ctx, 教科::ByName, 0, C教科) == 0) {
        setFieldColour(C教科, colour::kBlack);
        return true;
    }
    reportFieldError(ctx, C教科, QStringLiteral("教科を正しく選択して下さい"));
    return false;
}

bool LessonFields::checkTeacher(WorkContext& ctx) const {
    if (CMB教師(ctx, 教師::ByName, C教員) == 0) {
        setFieldColour(C教員, colour::kBlack);
        return true;
    }
    reportFieldError(ctx, C教員, QStringLiteral("教員を正しく選択して下さい"));
    return false;
}
