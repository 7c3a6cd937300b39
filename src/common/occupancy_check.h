#pragma once

#include <QString>

#include "context/work_context.h"

// CHK時間割: before a lesson is stored for the current teacher at the current slot weekday and
// period, is that teacher already teaching another class then? Tested in the standard timetable
// of the working year and, when `lessonDate` is given ("yyyy/mm/dd"), in the lesson changes of
// the date with that weekday in the seven days from it. Lessons of the class being edited (the
// current year, department, grade, course and class) are never a conflict, so a lesson can be
// confirmed again. Elective course subjects and split or elective subjects are not tested.
//
// A conflict sets the error flag and the message "<department> <grade> <class> に授業が登録されて
// います"; the current selection (codes, names, positions) is the caller's again afterwards.
// Only mode 1 tests; `option` goes to the department decode.
void CHK時間割(WorkContext& ctx, int mode, int option, const QString& lessonDate);
