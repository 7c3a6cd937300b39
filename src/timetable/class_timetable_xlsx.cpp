#include "timetable/class_timetable_xlsx.h"

#include "timetable/class_timetable_print.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {
constexpr int kDays = 7, kPeriods = 10;
}

XlsxSheet classTimetableSheet(const Grid& grid, const TimetableHeader& h) {
    XlsxSheet s = sheetFromGrid(grid);
    s.name = QStringLiteral("時間割表");
    s.fileName = timetableFileName(h);
    s.title(QStringLiteral("時間割表"), 16, 4);
    s.title(QStringLiteral("%1 年度").arg(h.year), 12, 7);
    s.title(h.departmentName, 12, 7);
    s.title(classLine(h), 12, 7);
    if (s.rows() <= teacherRow(kPeriods) || s.cols() <= kDays) return s;

    // The print's table: a 10 mm label column and 20 mm days, a 10 mm heading band and periods of
    // 20 mm, the lesson line in the upper half and the teacher line in the lower.
    s.widths.assign(kDays + 1, mmToTwips(20));
    s.widths[0] = mmToTwips(10);
    s.heights.assign(s.rows(), mmToTwips(10));
    s.at(0, 0).text = QStringLiteral("時限");
    for (int c = 0; c <= kDays; ++c) {
        s.at(0, c).align = 4;
        s.at(0, c).fontSize = c == 0 ? 11 : 12;
    }
    for (int p = 1; p <= kPeriods; ++p) {
        for (int row : {lessonRow(p), teacherRow(p)}) {
            s.at(row, 0).align = 4;
            s.at(row, 0).fontSize = 14;
        }
        for (int w = 1; w <= kDays; ++w) {
            s.at(lessonRow(p), w).fontSize = 12;
            s.at(teacherRow(p), w).fontSize = 10.5;
        }
    }
    s.onePage = s.shrinkToFit = true;
    return s;
}
