#pragma once

#include <QString>
#include <QStringList>

#include "generation/problem.h"

// The generator's side of the database: the stored demand (作成時数), the slots it must leave
// free (作成不可), the kept slots (作成固定) and the settings (作成設定) in, the proposal out into
// 組時間割. Each function runs inside one Operation of its own (or joins the caller's).
namespace gen {

// The settings of a year (作成設定), with the generator's defaults for items never stored.
struct Settings {
    int days = 5, periods = 6;
    int dailyMax = 0;  // every teacher's most lessons a day; 0 = no limit
    bool dailyMaxIsHard = false;
    Weights weights;
    int seconds = 60;  // how long the screen's 作成 searches at most
};
Settings readSettings(int year);
void writeSettings(int year, const Settings& settings);

// Fills 作成時数 for `year` and `department` ("" = the whole school) from that year's 組時間割,
// or, where a class has none, from the previous year's: per class one line per subject and
// course subject with its weekly count, teachers and elective number. Replaces the lines it
// covers; returns the number of lines written.
int prefillDemand(int year, const QString& department);

// Builds the Problem of `year` and `department` ("" = the whole school) from the stored tables.
// Lessons of the kept slots (作成固定) become fixed activities and count toward their class's
// line of the same subject. What cannot be used as stored (an unknown teacher, a line without
// teacher, more lessons kept than demanded) is skipped and said in `warnings`.
Problem loadProblem(int year, const QString& department, QStringList* warnings = nullptr);

// Writes `solution` into 組時間割 for every class of the problem, in one Operation: the classes'
// lessons are replaced, except those in kept slots. All or nothing: an engine error leaves the
// timetable as it was (the DbError propagates to the caller).
void registerSolution(const Problem& problem, const Solution& solution);

}  // namespace gen
