#pragma once

#include <vector>

#include "timetable/timetable_check.h"

// PRT時割チェック: the list of the whole-school check as A4 sheets "時間割チェック": the year, the
// date it was printed and the count line, then each kind of problem under its heading with the
// list's columns. A kind that runs on over a page is headed again there; every page is numbered.
void PRT時割チェック(int year, const std::vector<TimetableProblem>& problems);

// What a saved list of the year is called: "時間割チェック_2007年度".
QString checkSheetFileName(int year);
