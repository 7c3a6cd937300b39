#include "timetable/timetable_grid.h"

#include "common/names.h"
#include "context/school_context.h"
#include "data/key_range.h"
#include "timetable/master_lookups.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

constexpr int kRows = 21, kCols = 8;
constexpr double kTeacherFontSize = 8;

void format(Grid& g, int row, int col, int align, int fore = -1, double size = 0) {
    g.setRow(row);
    g.setCol(col);
    g.setCellAlignment(align);
    if (fore >= 0) g.setCellForeColor(fore);
    if (size > 0) g.setCellFontSize(size);
}

// The teacher line of a slot names every teacher of it ("阿部・小林"): a team-taught lesson shown
// with one teacher would hide a booking that is stored. `first` starts the line afresh.
void writeTeacherLine(Grid& g, int weekday, int period, const QString& line, bool first) {
    format(g, teacherRow(period), weekday, 4, -1, kTeacherFontSize);
    const QString before = first ? QString() : g.textMatrix(teacherRow(period), weekday);
    g.setText(before.isEmpty() || before == line ? line : before + QStringLiteral("・") + line);
}

void writeTeacher(MasterLookups& lookups, Grid& g, int weekday, int period, const QString& teacher,
                  bool first = true) {
    lookups.teacher(teacher);
    writeTeacherLine(g, weekday, period, lookups.teacherLine(), first);
}

// A class's week with the masters it names, in one statement: a seek per course subject, subject
// and teacher cost more than the lessons' own reading on the file, and a round trip each on a
// server. The subject is looked for under the course subject found, as the subject list does
// after a course-subject look-up (under none when the course subject is missing).
const QString& classWeekQuery() {
    static const QString sql = QStringLiteral(
        "SELECT k.\"組_曜日\", k.\"組_時限\", k.\"組_登録\", k.\"組_教科略称\", k.\"組_教員\", "
        "k.\"組_科目\", k.\"組_教科\", k.\"組_教科名\", "
        "CASE WHEN ka.\"科_番号\" IS NULL THEN 1 ELSE 0 END, ka.\"科_名称\", ka.\"科_略称\", "
        "ka.\"科_選択F\", "
        "CASE WHEN ky.\"教_教科番号\" IS NULL THEN 1 ELSE 0 END, ky.\"教_表示順\", "
        "ky.\"教_名称\", ky.\"教_略称\", ky.\"教_展開F\", ky.\"教_選択F\", "
        "CASE WHEN t.\"員_番号\" IS NULL THEN 1 ELSE 0 END, t.\"員_氏名\", t.\"員_表示名\" "
        "FROM \"組時間割\" k "
        "LEFT JOIN \"科目\" ka ON ka.\"科_年度\" = k.\"組_年度\" "
        "AND ka.\"科_学部\" = k.\"組_学部\" AND ka.\"科_学年\" = k.\"組_学年\" "
        "AND ka.\"科_コース\" = k.\"組_コース\" "
        "AND ka.\"科_番号\" = k.\"組_科目\" "
        "LEFT JOIN \"教科\" ky ON ky.\"教_年度\" = k.\"組_年度\" "
        "AND ky.\"教_学部\" = k.\"組_学部\" AND ky.\"教_学年\" = k.\"組_学年\" "
        "AND ky.\"教_コース\" = k.\"組_コース\" "
        "AND ky.\"教_科目番号\" = COALESCE(ka.\"科_番号\", '') "
        "AND ky.\"教_教科番号\" = k.\"組_教科\" "
        "LEFT JOIN \"教員\" t ON t.\"員_番号\" = k.\"組_教員\" "
        "WHERE k.\"組_年度\" = ? AND k.\"組_学部\" = ? AND k.\"組_学年\" = ? "
        "AND k.\"組_コース\" = ? AND k.\"組_組\" = ? AND k.\"組_選択番号\" = ? "
        "ORDER BY k.\"組_曜日\", k.\"組_時限\", k.\"組_教員\", k.rowid");
    return sql;
}

// The current selection a look-up of the row's course subject, subject or teacher leaves, as the
// number look-ups of the lists leave it (cleared on a miss); returns the decode result.
int takeKamoku(WorkContext& c, const KeyRow& r, const QString& number) {
    if (r.integer(8) != 0) {
        c.kamokuNumber.clear();
        c.kamokuName.clear();
        c.kamokuShortName.clear();
        c.kamokuElective = 0;
        return c.decodeResult = 1;
    }
    c.kamokuNumber = number;
    c.kamokuName = r.text(9);
    c.kamokuShortName = r.text(10);
    c.kamokuElective = int(r.integer(11));
    return c.decodeResult = 0;
}

int takeSubject(WorkContext& c, const KeyRow& r, const QString& number) {
    if (r.integer(12) != 0) {
        c.subjectNumber.clear();
        c.subjectOrder = 0;
        c.subjectName.clear();
        c.subjectShortName.clear();
        c.subjectSplit = c.subjectElective = 0;
        return c.decodeResult = 1;
    }
    c.subjectNumber = number;
    c.subjectOrder = int(r.integer(13));
    c.subjectName = r.text(14);
    c.subjectShortName = r.text(15);
    c.subjectSplit = int(r.integer(16));
    c.subjectElective = int(r.integer(17));
    return c.decodeResult = 0;
}

int takeTeacher(WorkContext& c, const KeyRow& r, const QString& number) {
    if (r.integer(18) != 0) {
        c.teacherNumber.clear();
        c.teacherName.clear();
        c.teacherDisplayName.clear();
        return c.decodeResult = 1;
    }
    c.teacherNumber = number;
    c.teacherName = r.text(19);
    c.teacherDisplayName = r.text(20);
    return c.decodeResult = 0;
}

}  // namespace

void GRD時割初期化(WorkContext& ctx, Grid& g) {
    g.setRows(0);
    g.setCols(0);
    g.setRows(kRows);
    g.setCols(kCols);
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRow(0);
    g.setCol(0);
    g.setColSel(kCols - 1);
    g.setCellBackColor(colour::kLightYellow);
    g.setRow(0);
    g.setCol(0);
    g.setRowSel(kRows - 1);
    g.setCellBackColor(colour::kLightYellow);
    g.setColWidth(-1, 950);
    g.setColWidth(0, 300);
    for (int w = 1; w <= 7; ++w) {
        format(g, 0, w, 5);
        g.setText(school().weekdayNames[w]);
    }
    for (int p = 1; p <= SlotTables::kPeriods; ++p) {
        for (int row : {lessonRow(p), teacherRow(p)}) {
            format(g, row, 0, 5);
            g.setText(QString::number(p));
        }
    }
    g.setMergeCells(3);
    g.setMergeCol(0, true);
    // A week fills its window: the larger the window, the easier the names are to read.
    g.setStretchRows(true);
    ctx.selectedRow = ctx.selectedCol = 0;
}

void GRD時割(WorkContext& ctx, int mode, Grid& g) {
    ctx.slotTables.clear();
    if (mode != 1) return;
    GRD時割初期化(ctx, g);

    // The class's week with the fields drawn and the masters' names beside them; each lesson
    // leaves the current selection as its look-ups of course subject, subject and teacher would.
    int lastWeekday = 0, lastPeriod = 0, count = 0;
    readQuery(
        classWeekQuery(),
        {ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode, ctx.classCode,
         ctx.selectionNumber},
        [&](const KeyRow& rs) {
            const int w = int(rs.integer(0)), p = int(rs.integer(1));
            if (w != lastWeekday || p != lastPeriod) {
                lastWeekday = w;
                lastPeriod = p;
                count = 1;
            } else {
                ++count;
            }
            // The grid has seven weekdays, ten periods and room for ten lessons in a slot;
            // a record beyond them cannot be shown and is left alone.
            if (!SlotTables::inRange(w, p) || count > SlotTables::kEntries) return;

            format(g, lessonRow(p), w, 4, colour::kLightBlue);
            const bool freeText = rs.integer(2) == 1;
            const QString shortName = rs.text(3), teacher = rs.text(4), kamoku = rs.text(5),
                          subject = rs.text(6);
            const auto teacherLine = [&] {
                takeTeacher(ctx, rs, teacher);
                writeTeacherLine(
                    g, w, p,
                    ctx.teacherDisplayName.isEmpty() ? ctx.teacherName : ctx.teacherDisplayName,
                    count == 1);
            };
            int kind = 0;
            if (freeText) {
                g.setText(shortName);
                teacherLine();
            } else {
                takeKamoku(ctx, rs, kamoku);
                if (ctx.kamokuElective == 1) {
                    kind = 1;
                    const QString text = shortOrName(ctx.kamokuShortName, ctx.kamokuName);
                    g.setText(text);
                    g.setTextMatrix(teacherRow(p), w, text);
                } else {
                    takeSubject(ctx, rs, subject);
                    const QString text = shortOrName(shortName, rs.text(7));
                    g.setText(text);
                    if (ctx.subjectSplit == 1) {
                        kind = 2;
                        g.setTextMatrix(teacherRow(p), w, text);
                    } else {
                        teacherLine();
                    }
                }
            }

            Slot& slot = ctx.slotTables.at(w, p);
            if (freeText)
                slot.entries[count] = {shortName, QString(), teacher, 1};
            else
                slot.entries[count] = {kamoku, subject, teacher};
            slot.text = {QString(), freeText ? shortName : kamoku, teacher,
                         freeText ? QString() : subject};
            slot.subject = subject;
            slot.freeText = freeText ? 1 : 0;
            slot.kind = kind;
            g.setMergeCells(3);
            g.setMergeCol(w, true);
        },
        QueryPlan::Once);
}

void GRD時割再表示(WorkContext& ctx, Grid& g) {
    GRD時割初期化(ctx, g);
    MasterLookups lookups(ctx);
    for (int w = 1; w <= SlotTables::kWeekdays; ++w) {
        for (int p = 1; p <= SlotTables::kPeriods; ++p) {
            const Slot& slot = ctx.slotTables.at(w, p);
            if (!slot.occupied()) continue;
            format(g, lessonRow(p), w, 4, colour::kLightBlue);
            const auto teachers = [&] {
                if (slot.entries[1].empty()) {
                    writeTeacher(lookups, g, w, p, slot.text[2]);
                    return;
                }
                for (int k = 1; k <= SlotTables::kEntries && !slot.entries[k].empty(); ++k)
                    writeTeacher(lookups, g, w, p, slot.entries[k].teacher, k == 1);
            };
            if (slot.freeText == 1) {
                g.setText(slot.text[1]);
                teachers();
            } else if (slot.kind == 1) {
                lookups.kamoku(slot.text[1]);
                const QString text = shortOrName(ctx.kamokuShortName, ctx.kamokuName);
                g.setText(text);
                g.setTextMatrix(teacherRow(p), w, text);
            } else {
                // Within the slot's course subject, by the master's names.
                ctx.kamokuNumber = slot.text[1];
                lookups.subject(slot.subject);
                const QString text = shortOrName(ctx.subjectShortName, ctx.subjectName);
                g.setText(text);
                if (slot.kind == 2)
                    g.setTextMatrix(teacherRow(p), w, text);
                else
                    teachers();
            }
            g.setMergeCells(3);
            g.setMergeCol(w, true);
        }
    }
}

int GRD時割選択(WorkContext& ctx, Grid& g, int row, int col) {
    if (ctx.selectedRow != 0 || ctx.selectedCol != 0) {
        const int p = periodOfRow(ctx.selectedRow);
        g.setRow(lessonRow(p));
        g.setCol(ctx.selectedCol);
        g.setRowSel(teacherRow(p));
        g.setCellBackColor(colour::kWhite);
    }
    const int p = g.textMatrix(row, 0).toInt();
    g.setRow(lessonRow(p));
    g.setCol(col);
    g.setRowSel(teacherRow(p));
    g.setCellBackColor(colour::kLightGreen);
    ctx.selectedCol = col;
    ctx.selectedRow = row;
    return p;
}
