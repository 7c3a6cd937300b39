#pragma once

#include <set>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "generation/problem.h"

// What the generation screen reads and writes in the generator's own tables (作成時数, 作成不可,
// 作成固定, 作成設定). Every function works inside the caller's operation.

// A class of the year and department the screen works on.
struct ScopeClass {
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    QString label;  // "高等部 1年 1組"
};

// Every class of `department` ("" = every department): each class of a department in each grade,
// as the masters list them, and any other class that already has demand lines of `year`.
std::vector<ScopeClass> classesInScope(int year, const QString& department);

// Whose slots 作成不可 closes: a teacher, a grade or one class of it, or everybody (a break).
struct UnavailableOwner {
    enum Kind { Teacher = 1, Grade = 2, Everyone = 3 };
    Kind kind = Teacher;
    QString teacher;
    QString dept;
    int grade = 0;
    QString klass;  // "" = the whole grade
};
// (stored weekday, period) pairs; period 0 stands for the whole day.
std::set<std::pair<int, int>> readUnavailable(int year, const UnavailableOwner& owner);
// Closes an open slot or opens a closed one; true when it is closed afterwards.
bool toggleUnavailable(int year, const UnavailableOwner& owner, int weekday, int period);

// Kept slots (作成固定) of one class, as (stored weekday, period).
std::set<std::pair<int, int>> readKept(int year, const ScopeClass& c);
bool toggleKept(int year, const ScopeClass& c, int weekday, int period);
// Keeps every slot of the classes whose lesson is one of the school's own periods (HR, 道徳,
// 総合); returns how many slots were newly kept.
int keepHomeroomSlots(int year, const std::vector<ScopeClass>& classes);

// A demand line's teachers: stored as numbers joined by ",", shown by names joined by "・" that
// each name one teacher only, so that storing the names again never swaps a teacher.
QString teacherNames(const QString& numbers);
// The numbers of the names (display name, full name or number); the names no teacher has go to
// `unknown`, those of several teachers to `ambiguous`.
QString teacherNumbers(const QString& names, QStringList* unknown, QStringList* ambiguous);
