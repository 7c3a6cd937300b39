#pragma once

#include "context/work_context.h"

class Grid;

// GRD時割: the weekly grid of one class. Row 0 holds the weekday names, column 0 the period
// numbers; period p uses row 2p-1 for the lesson and row 2p for the teacher, weekday w column w.
// Elective course subjects and split subjects show their name in both rows, merged into one cell.

// Lays out the empty grid and forgets the selected cell.
void GRD時割初期化(WorkContext& ctx, Grid& grid);

// Mode 1: empties the screen's slot tables, lays out the grid and draws the class of ctx
// (working year, department, grade, course, class, selection number) from 組時間割, filling the
// slot tables as it goes. Other modes only empty the slot tables.
void GRD時割(WorkContext& ctx, int mode, Grid& grid);

// Rebuilds the grid from the slot tables alone (after they were edited in memory).
void GRD時割再表示(WorkContext& ctx, Grid& grid);

// A click on a slot: the slot picked before goes back to white, both lines of the clicked one turn
// light green and are remembered as selected. Returns the clicked slot's period.
int GRD時割選択(WorkContext& ctx, Grid& grid, int row, int col);

// Grid positions.
constexpr int lessonRow(int period) {
    return 2 * period - 1;
}
constexpr int teacherRow(int period) {
    return 2 * period;
}
constexpr int periodOfRow(int row) {
    return (row + 1) / 2;
}
