#pragma once

#include <array>
#include <optional>

#include <QString>

#include "context/work_context.h"

class Grid;

// The class of a lesson that the teacher week shows in a cell.
struct WeekLesson {
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    bool operator==(const WeekLesson&) const = default;
};

// What the teacher week grid shows: whose week, which days, and the lesson under each cell (a
// cell an event has taken still stands for its lesson).
struct TeacherWeek {
    static constexpr int kDays = 7;
    static constexpr int kPeriods = 10;

    int year = 0;
    QString teacher;
    QString firstDate;                     // "yyyy/mm/dd"; empty for the standard week
    int firstWeekday = 1;                  // weekday of column 1, 1 = Sunday
    std::array<QString, kDays + 1> dates;  // of the columns 1..7; empty in the standard week
    std::array<std::array<std::optional<WeekLesson>, kPeriods + 1>, kDays + 1> lessons{};

    bool dated() const { return !firstDate.isEmpty(); }
    QString dateOf(int column) const { return dates[column]; }
    int columnOfDate(const QString& date) const;  // 0 when the date is not in the week
    int weekdayOf(int column) const;
    int columnOf(int weekday) const;
    const std::optional<WeekLesson>& lessonAt(int column, int period) const {
        return lessons[column][period];
    }
};

// Grid positions: period p takes three rows, department, class and subject, from weekFirstRow(p).
constexpr int weekFirstRow(int period) {
    return (period - 1) * 3 + 2;
}
constexpr int weekPeriodOfRow(int row) {
    return (row - 2) / 3 + 1;
}

// GRD教員コマ: one teacher's week, a column per day from the first weekday. The standard
// lessons of the year come first; a dated week (firstDate set) then lays over them the teacher's
// lesson changes of those seven days and the events that take the lessons shown, both in light
// magenta. Forgets the highlighted cell of the screen's values.
TeacherWeek GRD教員コマ(WorkContext& ctx, Grid& grid, int year, const QString& teacher,
                        const QString& firstDate, int firstWeekday);
