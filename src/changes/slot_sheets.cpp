#include "changes/slot_sheets.h"

#include "changes/teacher_week.h"
#include "context/school_context.h"
#include "ui/grid.h"

XlsxSheet teacherWeekSheet(const Grid& grid, const TeacherSheetHeader& h) {
    XlsxSheet s = sheetFromGrid(grid);
    s.name = QStringLiteral("教員別授業コマ割");
    s.fileName = teacherSheetFileName(grid, h);
    s.title(s.name, 16, 4);
    s.title(QStringLiteral("%1 年度").arg(h.year), 12, 7);
    s.title(h.teacherName, 12, 7);
    constexpr int kDays = TeacherWeek::kDays, kPeriods = TeacherWeek::kPeriods;
    if (s.rows() < weekFirstRow(kPeriods) + 3 || s.cols() <= kDays) return s;

    // The print's table: a 10 mm label column and 20 mm days, a 10 mm heading band (date over
    // weekday) and periods of 21 mm in three lines: department, class, subject.
    s.widths.assign(kDays + 1, mmToTwips(20));
    s.widths[0] = mmToTwips(10);
    s.heights.assign(s.rows(), mmToTwips(7));
    s.heights[0] = s.heights[1] = mmToTwips(5);
    for (int c = 0; c <= kDays; ++c) {
        s.at(0, c).fontSize = 10.5;
        s.at(1, c).fontSize = c == 0 ? 10.5 : 12;
        s.at(0, c).align = s.at(1, c).align = 4;
    }
    for (int p = 1; p <= kPeriods; ++p) {
        for (int r = 0; r < 3; ++r) {
            s.at(weekFirstRow(p) + r, 0).fontSize = 14;
            s.at(weekFirstRow(p) + r, 0).align = 4;
        }
        for (int c = 1; c <= kDays; ++c) s.at(weekFirstRow(p) + 2, c).fontSize = 10;
    }
    s.onePage = s.shrinkToFit = true;
    return s;
}

XlsxSheet periodSheet(const Grid& grid, const PeriodSheetHeader& h) {
    XlsxSheet s = sheetFromGrid(grid);
    s.name = QStringLiteral("授業コマ割り");
    s.fileName = periodSheetFileName(h);
    s.title(s.name, 16, 4);
    s.title(QStringLiteral("%1 年度").arg(h.year), 12, 7);
    s.title(h.date, 12, 7);
    s.title(QStringLiteral("%1  時限").arg(h.period, 2), 12, 7);

    // The grid keeps a spare column past the last department on a small school; the sheet ends
    // with the last department's block.
    const SchoolContext& school = ::school();
    const int block = school.gradeCount + 1;
    const int cols = std::min(s.cols(), school.departmentCount * block);
    for (auto& row : s.cells) row.resize(cols);
    s.widths.resize(cols);

    // The print's table: per department a 10 mm class-name column and 20 mm per grade; the
    // heading band (department over grade) and each class's band (subject over teacher) in
    // lines of 10 mm.
    for (int c = 0; c < cols; ++c) s.widths[c] = mmToTwips(c % block == 0 ? 10 : 20);
    s.heights.assign(s.rows(), mmToTwips(10));
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < cols; ++c) {
            XlsxCell& cell = s.at(r, c);
            cell.align = r < 2 || c % block == 0 ? 4 : cell.align;
            cell.fontSize = r < 2 || c % block == 0 ? 12 : r % 2 == 1 ? 10.5 : 11;
        }
    s.headingRows = 2;
    s.shrinkToFit = true;
    return s;
}
