#pragma once

#include <map>
#include <set>
#include <tuple>
#include <vector>

#include <QString>
#include <QStringList>

// The FET import's inner steps: the file read into a School, the School planned into the
// generator's lines (Plan), and the Plan written back as a FET file. fet_import.cpp writes the
// database from both.
namespace fet {

// The school as the file states it

struct Activity {
    int id = 0, groupId = 0;
    std::vector<int> teachers;  // sorted indexes
    int subject = 0;
    std::vector<int> classes;  // sorted indexes
    int duration = 1;
    // Named only by subgroups of its class (not the class, its year or another class): a parallel
    // lesson, taught beside the other subgroups' lessons.
    std::set<QString> subgroups;
    bool wholeClass = false;
};

struct Slot {
    int day = 0, hour = 0;  // 0-based, in the file's order
    bool operator<(const Slot& o) const { return std::tie(day, hour) < std::tie(o.day, o.hour); }
};

// What the file holds but is not kept, counted by kind in the order first met.
class LeftOut {
public:
    void add(const QString& kind, int n = 1) {
        if (n <= 0) return;
        for (auto& [k, count] : counts_)
            if (k == kind) {
                count += n;
                return;
            }
        counts_.push_back({kind, n});
    }
    QStringList lines() const {
        QStringList out;
        for (const auto& [kind, count] : counts_)
            out << QStringLiteral("%1: %2 件").arg(kind).arg(count);
        return out;
    }

private:
    std::vector<std::pair<QString, int>> counts_;
};

struct School {
    QString path, institution;
    QStringList days, hours, subjects, teachers;
    struct Year {
        QString name;
        bool hasGroups = false;
        std::vector<int> classes;
    };
    std::vector<Year> years;
    struct Class {
        QString name;
        int grade = 0;  // 1-based: the FET year's position
    };
    std::vector<Class> classes;
    std::map<QString, std::vector<int>> studentSets;  // any students name → its classes
    std::map<QString, int> yearByName;
    std::set<QString> groupNames;
    std::vector<Activity> activities;
    std::map<int, int> activityById;

    std::set<std::pair<int, Slot>> teacherOff, gradeOff, classOff;
    std::set<Slot> breaks;
    struct MinDays {
        std::vector<int> activities;
        int days = 1, weight = 100;
    };
    std::vector<MinDays> minDays;
    std::vector<std::vector<int>> sameStart;
    std::vector<std::pair<int, int>> consecutive;
    LeftOut leftOut;
};

// Reads and interprets the file; throws DbError with a message for the user when it cannot be
// read or is refused.
School readSchool(const QString& path);

// What the generator gets: placements (activities that start together) grouped into demands (the
// weekly lessons of one set of 作成時数 lines)

struct LineKey {
    QString group;  // the FET activity group, or the single activity kept on a line of its own
    int duration = 1, subject = 0;
    std::vector<int> teachers, classes;
    bool operator<(const LineKey& o) const {
        return std::tie(group, duration, subject, teachers, classes) <
               std::tie(o.group, o.duration, o.subject, o.teachers, o.classes);
    }
    bool operator==(const LineKey& o) const { return !(*this < o) && !(o < *this); }
};

struct Demand {
    std::vector<LineKey> keys;            // one line per key and class
    std::vector<std::vector<int>> parts;  // per placement: its activities, in key order
    int spread = 0;                       // 0, a wish 1..99 or a must 100
    int minDays = 1;                      // days between two placements (FET's MinDays)
    int block = 0;                        // 作_選択
};

struct Line {
    int klass = 0, subject = 0, hours = 0, run = 0, block = 0, spread = 0, row = 0, after = 0,
        minDays = 1;
    std::vector<int> teachers;
};

struct Plan {
    std::vector<Demand> demands;
    std::vector<int> demandOf;  // per activity
    std::vector<Line> lines;
    std::vector<std::pair<int, int>> consecutive;  // activity pairs kept
    int blocks = 0;
};

// Groups the school's activities into placements and lines; what cannot be kept is added to
// `s.leftOut`.
Plan planLines(School& s);

// Writes the school as planned back as a FET file: only what is kept, in the form it is kept.
void writeReducedFet(const School& s, const Plan& p, const QString& path);

}  // namespace fet
