#pragma once

#include <optional>

#include <QString>

#include "context/work_context.h"

class Grid;

// GRDコマ: one period of one day for every class of the school. Each department owns a block of
// columns: first its class-label column, then one column per grade; row 0 names the departments,
// row 1 the grades, and class k of a department uses row 2k for the lesson and 2k+1 for the
// teacher. Layered in this order, so that later layers win: the standard lessons of the slot
// weekday and period, the lesson changes of the lesson date (light magenta) and the events in
// force that day, which take the lessons of the classes they concern.
//
// Reads the working year, ctx.lessonDateText ("yyyy/mm/dd"; without it only the standard lessons
// are drawn), ctx.slotWeekday and ctx.slotPeriod; only mode 1 draws. The selection is left alone.
void GRDコマ(WorkContext& ctx, int mode, Grid& grid);

// The class a cell of the slot grid belongs to, by positions in the master tables loaded at
// start-up. Headers, class-label columns, columns past the last department and rows below a
// department's last class belong to none.
struct SlotGridPlace {
    int department = 0;  // position 1..10
    int grade = 0;       // position 1..10
    int klass = 0;       // position within the department
};
std::optional<SlotGridPlace> slotGridPlaceAt(int row, int col);

// Positions in the master tables loaded at start-up; 0 when the code is not there.
int departmentPositionOf(const QString& code);
int gradePositionOf(int grade);
int classPositionOf(int departmentPosition, const QString& klass);
