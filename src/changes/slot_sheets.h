#pragma once

#include "changes/period_slot_print.h"
#include "changes/teacher_slot_print.h"
#include "ui/xlsx_export.h"

class Grid;

// The teacher week of 教員コマ as the sheet "教員別授業コマ割": the print's header lines over the
// grid (dates and weekdays, three lines per period), in the print's column and row sizes.
XlsxSheet teacherWeekSheet(const Grid& grid, const TeacherSheetHeader& header);

// The period view of 時限コマ as the sheet "授業コマ割り": year, date and period over the slot
// grid, each department a block of its class-name column and one column per grade.
XlsxSheet periodSheet(const Grid& grid, const PeriodSheetHeader& header);
