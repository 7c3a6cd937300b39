#include "timetable/slot_grid.h"

#include <algorithm>

#include "common/list_support.h"
#include "common/names.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

constexpr double kLabelFontSize = 9;
constexpr double kTeacherFontSize = 9;
constexpr int kAlign = 5;  // centred, at the bottom

int blockWidth() {
    return school().gradeCount + 1;
}
int labelColumn(int department) {
    return (department - 1) * blockWidth();
}
int gradeColumn(int department, int grade) {
    return labelColumn(department) + grade;
}
int lessonLine(int klass) {
    return 2 * klass;
}

void write(Grid& g, int row, int col, const QString& text, int fore = -1, double size = 0) {
    g.setRow(row);
    g.setCol(col);
    g.setText(text);
    g.setCellAlignment(kAlign);
    if (fore >= 0) g.setCellForeColor(fore);
    if (size > 0) g.setCellFontSize(size);
}

void paint(Grid& g, int row, int col, int rowEnd, int colEnd, int colour) {
    g.setRow(row);
    g.setCol(col);
    g.setRowSel(rowEnd);
    g.setColSel(colEnd);
    g.setCellBackColor(colour);
}

void layout(WorkContext& ctx, Grid& g) {
    const SchoolContext& s = school();
    const int D = s.departmentCount, G = s.gradeCount, C = s.largestClassCount;
    const int rows = 2 * C + 2, cols = std::max(D * G + 2, D * (G + 1));
    g.setRows(0);
    g.setCols(0);
    g.setRows(rows);
    g.setCols(cols);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setColWidth(-1, 1000);
    g.setColWidth(0, 250);
    paint(g, 0, 0, 1, cols - 1, colour::kLightYellow);
    g.setMergeCells(3);
    g.setMergeRow(0, true);
    for (int d = 1; d <= D; ++d) {
        const int label = labelColumn(d);
        g.setColWidth(label, 250);
        paint(g, 0, label, rows - 1, label, colour::kLightYellow);
        g.setMergeCol(label, true);
        for (int r : {0, 1}) write(g, r, label, QStringLiteral("組"), -1, kLabelFontSize);
        for (int k = 1; k <= C; ++k) {
            const QString name = k <= s.classCount[d] ? s.classes[d][k].name : QStringLiteral(" ");
            write(g, lessonLine(k), label, name);
            write(g, lessonLine(k) + 1, label, name);
        }
        for (int gr = 1; gr <= G; ++gr) {
            write(g, 0, gradeColumn(d, gr), s.departments[d].name);
            write(g, 1, gradeColumn(d, gr), s.grades[gr].shortName);
        }
    }
    ctx.selectedRow = ctx.selectedCol = 0;
}

// The lesson line of a record's class, when the masters know its department, grade and class.
struct Cell {
    int row, col;
};
std::optional<Cell> place(const QString& dept, int grade, const QString& klass) {
    const int d = departmentPositionOf(dept), g = gradePositionOf(grade);
    const int k = d > 0 ? classPositionOf(d, klass) : 0;
    if (d == 0 || g == 0 || k == 0) return std::nullopt;
    return Cell{lessonLine(k), gradeColumn(d, g)};
}

void drawLessons(const WorkContext& ctx, Grid& g) {
    const int year = ctx.workingYear, weekday = ctx.slotWeekday, period = ctx.slotPeriod;
    Recordset rs("組時間割");
    rs.setIndex("Idx_コマ");
    for (rs.seekPrefix({year, weekday, period}); rs.inPrefix(); rs.moveNext()) {
        const auto cell = place(rs.text("組_学部"), rs.integer("組_学年"), rs.text("組_組"));
        if (!cell) continue;
        write(g, cell->row, cell->col, shortOrName(rs.text("組_教科略称"), rs.text("組_教科名")));
        write(g, cell->row + 1, cell->col,
              shortOrName(rs.text("組_教員表示名"), rs.text("組_教員名")), -1, kTeacherFontSize);
    }
}

void drawChanges(const WorkContext& ctx, Grid& g) {
    const int year = ctx.workingYear, period = ctx.slotPeriod;
    const QString date = ctx.lessonDateText;
    Recordset rs("時限変更");
    rs.setIndex("Idx_時限");
    for (rs.seekPrefix({year, date, period}); rs.inPrefix(); rs.moveNext()) {
        const auto cell = place(rs.text("変_学部"), rs.integer("変_学年"), rs.text("変_組"));
        if (!cell) continue;
        write(g, cell->row, cell->col, shortOrName(rs.text("変_教科略称"), rs.text("変_教科名")),
              colour::kLightMagenta);
        write(g, cell->row + 1, cell->col,
              shortOrName(rs.text("変_教員表示名"), rs.text("変_教員名")), colour::kLightMagenta);
    }
}

// Positions 1..n, or the one position a code names (none when it names nothing known).
std::pair<int, int> range(bool all, int count, int position) {
    return all ? std::pair{1, count} : std::pair{position, position};
}

void drawEvents(const WorkContext& ctx, Grid& g) {
    const SchoolContext& s = school();
    const int year = ctx.workingYear, period = ctx.slotPeriod;
    const QString date = ctx.lessonDateText;
    Recordset rs("予定");
    rs.setIndex("Idx_終了日");
    // The index orders by end date, so from here on no event has ended before the date. One that
    // starts after it may be followed by a longer one that is in force, so the scan goes on to the
    // end of the year rather than stopping there.
    for (rs.seekPrefix({year, date}, 1); rs.inPrefix(); rs.moveNext()) {
        if (rs.text("予_日付") > date) continue;
        const int lessons = rs.integer("予_授業F");
        const bool takes = lessons == 0 || (lessons == 2 && rs.integer("予_時限From") <= period &&
                                            period <= rs.integer("予_時限To"));
        if (!takes) continue;
        const QString dept = rs.text("予_学部");
        const int grade = rs.integer("予_学年");
        const auto [d0, d1] =
            range(dept == kCommonCode, s.departmentCount, departmentPositionOf(dept));
        const auto [g0, g1] = range(grade == 0, s.gradeCount, gradePositionOf(grade));
        if (d0 == 0 || g0 == 0) continue;
        const QString label = shortOrName(rs.text("予_略称"), rs.text("予_名称"));
        for (int d = d0; d <= d1; ++d)
            for (int gr = g0; gr <= g1; ++gr)
                // Only the department's own classes: the rows below them belong to no class.
                for (int k = 1; k <= s.classCount[d]; ++k) {
                    write(g, lessonLine(k), gradeColumn(d, gr), label);
                    write(g, lessonLine(k) + 1, gradeColumn(d, gr), QString());
                }
    }
}

}  // namespace

int departmentPositionOf(const QString& code) {
    const SchoolContext& s = school();
    for (int d = 1; d <= s.departmentCount; ++d)
        if (s.departments[d].code == code) return d;
    return 0;
}

int gradePositionOf(int grade) {
    const SchoolContext& s = school();
    for (int g = 1; g <= s.gradeCount; ++g)
        if (list_support::numberOf(s.grades[g].name) == grade) return g;
    return 0;
}

int classPositionOf(int department, const QString& klass) {
    const SchoolContext& s = school();
    if (department < 1 || department > SchoolContext::kMaxDepartments) return 0;
    for (int k = 1; k <= s.classCount[department]; ++k)
        if (s.classes[department][k].name == klass) return k;
    return 0;
}

std::optional<SlotGridPlace> slotGridPlaceAt(int row, int col) {
    const SchoolContext& s = school();
    if (row < 2 || col < 0) return std::nullopt;
    const int d = col / blockWidth() + 1, g = col % blockWidth(), k = row / 2;
    if (g == 0 || d > s.departmentCount || g > s.gradeCount || k > s.classCount[d])
        return std::nullopt;
    return SlotGridPlace{d, g, k};
}

void GRDコマ(WorkContext& ctx, int mode, Grid& g) {
    if (mode != 1) return;
    layout(ctx, g);
    drawLessons(ctx, g);
    // Changes and events belong to a date; without one, none applies.
    if (ctx.lessonDateText.isEmpty()) return;
    drawChanges(ctx, g);
    drawEvents(ctx, g);
}
