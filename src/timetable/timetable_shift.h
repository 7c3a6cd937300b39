#pragma once

#include "context/work_context.h"

class Grid;

// Moves the lessons of a loaded timetable by one step, in memory only; lessons that leave the
// used range at one end come back in at the other (a rotation). A slot moves whole: its texts,
// subject, kind, free-text flag and every entry of its breakdown.
//
// Mode 1 left, 2 right: whole weekdays, within the weekdays that take lessons. The code says
// whether Sunday and Saturday do: 0 neither (Monday..Friday), 1 Sunday, 2 Saturday, 3 both.
// Mode 3 up, 4 down: the periods of one weekday (code 1..7), or of every weekday (code 0).
namespace shift {
enum : int { Left = 1, Right = 2, Up = 3, Down = 4 };
}
void shiftSlots(SlotTables& tables, int mode, int code);

// The same on the screen's loaded timetable, then the grid is redrawn from it.
void 時割シフト(WorkContext& ctx, int mode, int code, Grid& grid);
