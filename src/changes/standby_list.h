#pragma once

#include <vector>

#include <QString>

#include "changes/cover_count.h"
#include "context/work_context.h"

class Grid;

// One row of the stand-by list: an assignment (担当) of a teacher who is free at the slot.
struct StandbyRow {
    QString teacher;  // number
    QString name;
    QString dept;
    int grade = 0;
    QString course;
    QString kamoku;   // course-subject number
    QString subject;  // subject number
    CoverCounts covers;

    bool sameAssignment(const StandbyRow& o) const {
        return teacher == o.teacher && dept == o.dept && grade == o.grade && course == o.course &&
               kamoku == o.kamoku && subject == o.subject;
    }
};

// The stand-by teachers of one date and period: in kana order, every teacher who is not on leave
// that day, has no standard lesson at the weekday and period and no lesson change giving them a
// lesson then, with one row per assignment of the year (a teacher without assignments has none).
// Fills the grid (a heading row and room for kMaxRows rows) and returns the rows listed.
//
// A last column beside the documented ones shows the cover lessons each teacher has taken in the
// term and in the week of the date (see CoverCounter). `fewestCoversFirst` lists the teachers who
// took the fewest first (the term's count, then the week's); equal counts keep the kana order.
namespace standby {
constexpr int kMaxRows = 500;
}
std::vector<StandbyRow> GRD待機教員(WorkContext& ctx, Grid& grid, int year, const QString& date,
                                    int weekday, int period, bool fewestCoversFirst = false);

// A leave from FROM to TO contains the date; a leave without TO has no end.
bool onLeave(const QString& from, const QString& to, const QString& date);

// Lays out the empty list: headings and room for the rows.
void GRD待機教員初期化(Grid& grid);
