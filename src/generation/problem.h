#pragma once

#include <cstdint>
#include <vector>

#include <QString>

// The timetable generator's view of a school week: who must meet whom how often, and where they
// cannot. It knows nothing of the database or of screens: the loader (demand_store) builds a
// Problem from the stored demand, a solver turns it into a Solution, the checker judges a
// Solution without the solver's help, and registration writes it back.
namespace gen {

// Days are 0-based here (0 = Monday), periods 0-based (0 = period 1); a slot is
// day * periods + period.
constexpr int kMaxDays = 7;
constexpr int kMaxPeriods = 10;

// A set of slots of the week (7 × 10 = 70 slots do not fit one 64-bit word).
// Stored weekdays (組_曜日, 不_曜日, 固_曜日) count from Sunday (1 = 日, 2 = 月 … 7 = 土); the
// generator's days from Monday (0 = 月).
constexpr int storedWeekday(int day) {
    return (day + 1) % 7 + 1;
}
constexpr int dayOfStoredWeekday(int weekday) {
    return (weekday + 5) % 7;
}

struct Week {
    std::uint64_t bits[2] = {0, 0};
    bool test(int slot) const { return (bits[slot >> 6] >> (slot & 63)) & 1u; }
    void set(int slot) { bits[slot >> 6] |= std::uint64_t{1} << (slot & 63); }
    bool any() const { return bits[0] || bits[1]; }
};

struct Teacher {
    QString code;      // 員_番号
    QString name;      // as the user reads it (表示名, else 氏名)
    Week unavailable;  // slots the teacher cannot teach (研修日 = every period of the day)
    int dailyMax = 0;  // most lessons on one day; 0 = no limit
};

// A class (学部・学年・組): one student group. Its lessons never overlap, except lessons of one
// elective block, which are one activity here.
struct Group {
    QString department, course, classCode;  // 学部, コース, 組
    int grade = 0;                          // 学年
    QString name;                           // as the user reads it, e.g. "1年1組"
    Week unavailable;                       // slots not in use for the grade or class, breaks
};

// One placement: `duration` consecutive periods of one day, for all its groups and teachers at
// once. A weekly demand of n lessons is n activities (fewer when they come in runs); an elective
// block is one activity with the groups and teachers of all its lines.
struct Activity {
    QString label;              // in the user's terms: "1年1組 数学（山田）"
    std::vector<int> groups;    // indexes into Problem::groups
    std::vector<int> teachers;  // indexes into Problem::teachers
    int duration = 1;
    int demand = -1;     // index into Problem::demands this activity belongs to
    bool heavy = false;  // a main subject (科_主要F): better not in the last periods
    int fixedSlot = -1;  // >= 0: must start there (a kept or imported fixed placement)
};

// The weekly demand an activity comes from (one stored line, or one elective block), kept for
// explanations and for writing the result back.
struct Demand {
    QString label;  // "1年1組 数学（山田）" or "2年 選択A（山田・佐藤 他）"
    std::vector<int> activities;  // its activities, in order
    int minDaysApart = 1;         // its activities on days at least this far apart ...
    int spreadWeight = 100;       // ... as a must (100), a weighted wish (1..99) or not (0)
    bool mayDouble = false;       // two single lessons may stand side by side on one day
    // Where the lines come from, for registration: one entry per stored line of the block.
    struct Line {
        int group = -1;
        QString subject, course;  // 作_科目, 作_教科
        std::vector<int> teachers;
        int electiveNo = 0;  // the 組_選択番号 the lesson is stored under (0 = none)
    };
    std::vector<Line> lines;
};

// a directly followed by b on the same day (b starts where a ends).
struct Consecutive {
    int first = -1, second = -1;  // activity indexes
};

// Weights of the wishes (0 = ignored), stored per year in 作成設定 under the items "重み_分散",
// "重み_空き", "重み_1日最大" and "重み_最終時限"; "曜日数" and "時限数" give the week's size
// (5 and 6 when missing), "1日最大" every teacher's daily maximum (0 = none) and "1日最大必須"
// (1) makes it a must. A proposal's score is the weighted count of broken wishes:
// lower is better, 0 is perfect.
struct Weights {
    int spread = 10;     // per pair of a demand's lessons on one day (when not a must)
    int teacherGap = 3;  // per free period between two lessons of a teacher's day
    int dailyMax = 10;   // per lesson above a teacher's daily maximum (a wish when > 0)
    int heavyLast = 2;   // per main-subject lesson in the last period of a day
};

struct Problem {
    int year = 0;
    QString department;  // "" = the whole school
    int days = 5, periods = 6;
    std::vector<Teacher> teachers;
    std::vector<Group> groups;
    std::vector<Activity> activities;
    std::vector<Demand> demands;
    std::vector<Consecutive> consecutive;
    Weights weights;
    bool dailyMaxIsHard = false;

    int slots() const { return days * periods; }
    int dayOf(int slot) const { return slot / periods; }
    int periodOf(int slot) const { return slot % periods; }
};

// A proposal: the starting slot of each activity, -1 for one not placed.
struct Solution {
    std::vector<int> start;
    int score = 0;
    int unplaced() const {
        int n = 0;
        for (int s : start) n += s < 0;
        return n;
    }
};

}  // namespace gen
