#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// The whole-school check of the standard timetable (組時間割) of one year: what a clerk would
// otherwise find only when a lesson goes wrong in class.
//
//   - a teacher with lessons in two classes at the same weekday and period (parallel lessons of
//     one elective or split course subject in classes of one grade are one lesson, not two);
//   - a lesson whose course subject, subject or teacher is no longer registered, or whose names
//     stored with it differ from the registered ones (renamed since);
//   - a lesson of a teacher whose leave overlaps a term of the year (the school year when no
//     term is registered for the class);
//   - a class without any lesson on a weekday that other classes of its grade use (or with no
//     timetable at all while they have one).
struct TimetableProblem {
    enum class Kind { DoubleBooking, Masters, Leave, EmptyDay };
    Kind kind = Kind::DoubleBooking;
    QString dept;  // department code
    int grade = 0;
    QString course;
    QString klass;        // class code
    int weekday = 0;      // 1..7; 0 for the class's whole week
    int period = 0;       // 0 for a whole day
    QString teacher;      // number; empty when no teacher is concerned
    QString teacherName;  // as registered, or as stored with the lesson when no longer
    QString detail;       // what is wrong, in the list's words
};

// Every problem of the year, in the order the list shows them: by kind, then double bookings
// slot by slot (the lessons that clash side by side), master problems class by class, lessons
// of teachers on leave teacher by teacher, empty days class by class.
std::vector<TimetableProblem> checkWholeTimetable(int year);

// The list's heading of a kind: "教員の重複".
QString problemKindName(TimetableProblem::Kind kind);
inline constexpr TimetableProblem::Kind kProblemKinds[] = {
    TimetableProblem::Kind::DoubleBooking, TimetableProblem::Kind::Masters,
    TimetableProblem::Kind::Leave, TimetableProblem::Kind::EmptyDay};

// What the list and its print show of a problem, one text per column of problemColumns().
QStringList problemColumns();
QStringList problemCells(const TimetableProblem& p);

// The count line: "問題はありません", or the number of problems with each kind's count.
QString problemSummary(const std::vector<TimetableProblem>& problems);
// The count line of a year's check: a year without any timetable has nothing wrong in it, and
// nothing right either, so it says so instead.
QString checkSummary(int year, const std::vector<TimetableProblem>& problems);
