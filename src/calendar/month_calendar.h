#pragma once

#include <set>

#include <QDate>

class Grid;

// GRD日付: one month as a calendar. Row 0 carries the weekday names on light yellow ("日" in light
// red, "土" in light blue), rows 1..6 the weeks from Sunday to Saturday with the day numbers in
// dark blue. Days listed in `marked` (those with an event, say) show their number in light
// magenta instead, the colour the slot screens give events.
void GRD日付(Grid& grid, const QDate& month, const std::set<int>& marked = {});

// The day number a cell of the calendar shows; 0 for the heading and the cells without a day.
int calendarDay(const Grid& grid, int row, int col);

// Paints every day cell bright white again: the picked day's green goes away.
void clearCalendarHighlight(Grid& grid);
// Paints one cell light green.
void highlightCalendarCell(Grid& grid, int row, int col);
