#include "changes/teacher_week.h"

#include <algorithm>

#include <QDate>

#include "changes/master_names.h"
#include "common/names.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/key_range.h"
#include "timetable/slot_grid.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

constexpr int kRows = 32, kCols = 8;
constexpr int kAlign = 5;
constexpr double kHeaderFontSize = 8;
const QString kCommonDept = QStringLiteral("000");

void select(Grid& g, int row, int col, int rowEnd, int colEnd) {
    g.setRow(row);
    g.setCol(col);
    g.setRowSel(rowEnd);
    g.setColSel(colEnd);
}

void layout(Grid& g, const TeacherWeek& week) {
    const SchoolContext& s = school();
    g.setRows(0);
    g.setCols(0);
    g.setRows(kRows);
    g.setCols(kCols);
    g.setFixedRows(2);
    g.setFixedCols(1);
    g.setColWidth(-1, 1000);
    g.setColWidth(0, 500);
    select(g, 0, 0, kRows - 1, kCols - 1);
    g.setCellAlignment(kAlign);
    select(g, 0, 1, 1, kCols - 1);
    g.setCellBackColor(colour::kLightYellow);
    select(g, 0, 0, kRows - 1, 0);
    g.setCellBackColor(colour::kLightYellow);
    g.setMergeCells(3);
    for (int c = 1; c <= TeacherWeek::kDays; ++c) {
        const QString weekday = s.weekdayNames[week.weekdayOf(c)];
        g.setTextMatrix(0, c, week.dated() ? week.dateOf(c) : weekday);
        g.setTextMatrix(1, c, weekday);
        g.setMergeCol(c, true);
    }
    select(g, 0, 0, 1, 0);
    g.setCellFontSize(kHeaderFontSize);
    g.setTextMatrix(0, 0, QStringLiteral("時限"));
    g.setTextMatrix(1, 0, QStringLiteral("時限"));
    for (int p = 1; p <= TeacherWeek::kPeriods; ++p)
        for (int r = 0; r < 3; ++r) g.setTextMatrix(weekFirstRow(p) + r, 0, QString::number(p));
    g.setMergeCol(0, true);
    // A week fills its window, as the class timetable does.
    g.setStretchRows(true);
}

// Writes the three rows of a cell, the colour too when one is given.
void writeCell(Grid& g, int col, int period, const QString& top, const QString& middle,
               const QString& bottom, int fore = -1) {
    const int row = weekFirstRow(period);
    g.setTextMatrix(row, col, top);
    g.setTextMatrix(row + 1, col, middle);
    g.setTextMatrix(row + 2, col, bottom);
    if (fore < 0) return;
    select(g, row, col, row + 2, col);
    g.setCellForeColor(fore);
}

void writeLesson(Grid& g, TeacherWeek& week, MasterNames& names, int col, int period,
                 const WeekLesson& lesson, const QString& subject, int fore = -1) {
    const int d = departmentPositionOf(lesson.dept);
    const int k = classPositionOf(d, lesson.klass);
    const QString klass = k > 0 ? school().classes[d][k].shortName : lesson.klass;
    writeCell(g, col, period, names.departmentName(lesson.dept),
              QStringLiteral("%1年 %2").arg(lesson.grade).arg(klass), subject, fore);
    week.lessons[col][period] = lesson;
}

bool inWeek(int weekday, int period) {
    return weekday >= 1 && weekday <= TeacherWeek::kDays && period >= 1 &&
           period <= TeacherWeek::kPeriods;
}

// Each draw reads its records in one statement with only the fields it shows: a week is drawn
// on every pick of a teacher, and reading whole records through a record set cost twice the
// records' own reading. The standard lessons come with their subjects' names from the master,
// joined in the same statement rather than sought lesson by lesson.
void drawStandard(Grid& g, TeacherWeek& week, MasterNames& names) {
    static const QString sql = QStringLiteral(
        "SELECT k.\"組_曜日\", k.\"組_時限\", k.\"組_学部\", k.\"組_学年\", k.\"組_コース\", "
        "k.\"組_組\", k.\"組_教科略称\", k.\"組_教科名\", k.\"組_登録\", "
        "CASE WHEN ky.\"教_教科番号\" IS NULL THEN 0 ELSE 1 END, ky.\"教_名称\", ky.\"教_略称\" "
        "FROM \"組時間割\" k "
        "LEFT JOIN \"教科\" ky ON ky.\"教_年度\" = k.\"組_年度\" "
        "AND ky.\"教_学部\" = k.\"組_学部\" AND ky.\"教_学年\" = k.\"組_学年\" "
        "AND ky.\"教_コース\" = k.\"組_コース\" "
        "AND ky.\"教_科目番号\" = k.\"組_科目\" AND ky.\"教_教科番号\" = k.\"組_教科\" "
        "WHERE k.\"組_年度\" = ? AND k.\"組_教員\" = ? "
        "ORDER BY k.\"組_曜日\", k.\"組_時限\", k.rowid");
    readQuery(
        sql, {week.year, week.teacher},
        [&](const KeyRow& rs) {
            const int w = int(rs.integer(0)), p = int(rs.integer(1));
            if (!inWeek(w, p)) return;
            const WeekLesson lesson{rs.text(2), int(rs.integer(3)), rs.text(4), rs.text(5)};
            const QString shortName = rs.text(6);
            QString subject;
            if (rs.integer(8) == 1)
                subject = shortName;
            else if (rs.integer(9) == 1)
                subject = shortOrName(rs.text(11), rs.text(10));
            else  // a subject no longer in the master shows what the lesson stored
                subject = shortOrName(shortName, rs.text(7));
            writeLesson(g, week, names, week.columnOf(w), p, lesson, subject);
        },
        QueryPlan::Once);
}

void drawChanges(Grid& g, TeacherWeek& week, MasterNames& names) {
    const QString last = week.dateOf(TeacherWeek::kDays);
    readKeyRange(
        {"時限変更",
         "Idx_教員コマ",
         {week.year, week.teacher, week.firstDate},
         {week.year, week.teacher, last}},
        {"変_日付", "変_時限", "変_学部", "変_学年", "変_コース", "変_組", "変_教科略称",
         "変_教科名"},
        [&](const KeyRow& rs) {
            const int col = week.columnOfDate(rs.text(0));
            const int p = int(rs.integer(1));
            if (!inWeek(col, p)) return;
            const WeekLesson lesson{rs.text(2), int(rs.integer(3)), rs.text(4), rs.text(5)};
            writeLesson(g, week, names, col, p, lesson, shortOrName(rs.text(6), rs.text(7)),
                        colour::kLightMagenta);
        });
}

void drawEvents(Grid& g, const TeacherWeek& week) {
    const QString last = week.dateOf(TeacherWeek::kDays);
    // The events that last into the week and start by its end, in end-date order (a later one
    // drawn over an earlier one). An event that starts after the week may end before one that
    // overlaps it, so the start is a condition on each event, not the end of the read.
    static const QString sql = QStringLiteral(
        "SELECT \"予_日付\", \"予_授業F\", \"予_終了日\", \"予_学部\", \"予_学年\", "
        "\"予_時限From\", \"予_時限To\", \"予_略称\", \"予_名称\" FROM \"予定\" "
        "WHERE \"予_年度\" = ? AND \"予_終了日\" >= ? AND \"予_日付\" <= ? "
        "ORDER BY \"予_終了日\", \"予_日付\", \"予_学部\", \"予_学年\", \"予_コース\", "
        "\"予_連番\", rowid");
    readQuery(sql, {week.year, week.firstDate, last}, [&](const KeyRow& rs) {
        const QString start = rs.text(0);
        const int lessons = int(rs.integer(1));
        if (lessons != 0 && lessons != 2) return;
        const QString end = rs.text(2);
        const QString dept = rs.text(3);
        const int grade = int(rs.integer(4));
        const int from = int(rs.integer(5)), to = int(rs.integer(6));
        const QString label = shortOrName(rs.text(7), rs.text(8));
        const int startCol = start <= week.firstDate ? 1 : week.columnOfDate(start);
        for (int c = std::max(startCol, 1); c <= TeacherWeek::kDays && week.dateOf(c) <= end; ++c)
            for (int p = 1; p <= TeacherWeek::kPeriods; ++p) {
                const auto& lesson = week.lessonAt(c, p);
                // A free period has no class for an event to concern.
                if (!lesson) continue;
                if (dept != kCommonDept && dept != lesson->dept) continue;
                if (grade != 0 && grade != lesson->grade) continue;
                if (lessons == 2 && (p < from || p > to)) continue;
                writeCell(g, c, p, label, label, label, colour::kLightMagenta);
            }
    });
}

}  // namespace

int TeacherWeek::columnOfDate(const QString& date) const {
    if (!dated()) return 0;
    for (int c = 1; c <= kDays; ++c)
        if (dates[c] == date) return c;
    return 0;
}

int TeacherWeek::weekdayOf(int column) const {
    return (firstWeekday - 1 + column - 1) % kDays + 1;
}

int TeacherWeek::columnOf(int weekday) const {
    return (weekday - firstWeekday + kDays) % kDays + 1;
}

TeacherWeek GRD教員コマ(WorkContext& ctx, Grid& g, int year, const QString& teacher,
                        const QString& firstDate, int firstWeekday) {
    TeacherWeek week;
    week.year = year;
    week.teacher = teacher;
    const QDate first = dateFrom(firstDate);
    week.firstDate = first.isValid() ? firstDate : QString();
    week.firstWeekday = firstWeekday >= 1 && firstWeekday <= 7 ? firstWeekday : 1;
    if (first.isValid())
        for (int c = 1; c <= TeacherWeek::kDays; ++c)
            week.dates[c] = dateText(first.addDays(c - 1));
    layout(g, week);
    ctx.selectedRow = ctx.selectedCol = 0;
    MasterNames names(year);
    drawStandard(g, week, names);
    if (!week.dated()) return week;
    drawChanges(g, week, names);
    drawEvents(g, week);
    return week;
}
