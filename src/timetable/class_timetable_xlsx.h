#pragma once

#include "timetable/class_timetable_print.h"
#include "ui/xlsx_export.h"

class Grid;

// The sheet "時間割表" as a workbook: the print's header lines over the class timetable grid,
// the period and column sizes of the print, and an elective or split slot as one merged cell.
XlsxSheet classTimetableSheet(const Grid& grid, const TimetableHeader& header);
