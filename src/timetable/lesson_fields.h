#pragma once

#include "context/work_context.h"

class QComboBox;
class QFormLayout;
class QRadioButton;
class QWidget;

// The entry fields of one lesson on the screens that place lessons in a class's week (組時間割,
// 時間割コピー): ordinary or free-text lesson, weekday, period, course subject, subject and
// teacher, and the checks each field runs when it is left and when the lesson is confirmed.
struct LessonFields {
    QRadioButton* 授業 = nullptr;
    QRadioButton* 登録外授業 = nullptr;
    QComboBox* C曜日 = nullptr;
    QComboBox* C時限 = nullptr;
    QComboBox* C科目 = nullptr;
    QComboBox* C教科 = nullptr;
    QComboBox* C教員 = nullptr;

    // The fields in a form, in screen order: the option pair in its frame "Frame1", then
    // weekday, period, course subject, subject and teacher. A screen adds its own rows below.
    QFormLayout* form(QWidget* parent) const;

    bool freeText() const;
    // The weekday names and the periods 1..10; both fields start empty, an ordinary lesson chosen.
    void fill() const;
    // Empties weekday, period, course subject, subject and teacher.
    void clear() const;
    // Shows the slot's weekday and period.
    void showSlot(int weekday, int period) const;

    // Each returns what the field stands for after its check: the period (0 when refused), the
    // weekday (0 when refused), whether the course subject, subject or teacher was found.
    int checkPeriod(WorkContext& ctx) const;
    int checkWeekday(WorkContext& ctx) const;
    // An ordinary lesson's course subject is decoded; a free-text lesson's text must not be empty.
    bool checkKamoku(WorkContext& ctx) const;
    // An ordinary lesson's subject (the free-text case is each screen's own).
    bool checkSubject(WorkContext& ctx) const;
    bool checkTeacher(WorkContext& ctx) const;
};
