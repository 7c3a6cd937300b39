#include "timetable/timetable_grid.h"

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
void writeTeacher(MasterLookups& lookups, Grid& g, int weekday, int period, const QString& teacher,
                  bool first = true) {
    format(g, teacherRow(period), weekday, 4, -1, kTeacherFontSize);
    lookups.teacher(teacher);
    const QString line = lookups.teacherLine();
    const QString before = first ? QString() : g.textMatrix(teacherRow(period), weekday);
    g.setText(before.isEmpty() || before == line ? line : before + QStringLiteral("・") + line);
}

QString shortOrName(const QString& shortName, const QString& name) {
    return shortName.isEmpty() ? name : shortName;
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

    const int year = ctx.workingYear;
    const QString dept = ctx.departmentCode, course = ctx.courseCode, klass = ctx.classCode;
    const int grade = ctx.grade, selection = ctx.selectionNumber;
    MasterLookups lookups(ctx);
    // The class's week in one statement with the fields drawn; the masters are read beside it.
    int lastWeekday = 0, lastPeriod = 0, count = 0;
    readKeyRange({"組時間割",
                  "Key_時間割",
                  {year, dept, grade, course, klass, selection},
                  {year, dept, grade, course, klass, selection}},
                 {"組_曜日", "組_時限", "組_登録", "組_教科略称", "組_教員", "組_科目", "組_教科",
                  "組_教科名"},
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
                     const QString shortName = rs.text(3), teacher = rs.text(4),
                                   kamoku = rs.text(5), subject = rs.text(6);
                     int kind = 0;
                     if (freeText) {
                         g.setText(shortName);
                         writeTeacher(lookups, g, w, p, teacher, count == 1);
                     } else {
                         lookups.kamoku(kamoku);
                         if (ctx.kamokuElective == 1) {
                             kind = 1;
                             const QString text = shortOrName(ctx.kamokuShortName, ctx.kamokuName);
                             g.setText(text);
                             g.setTextMatrix(teacherRow(p), w, text);
                         } else {
                             lookups.subject(subject);
                             const QString text = shortOrName(shortName, rs.text(7));
                             g.setText(text);
                             if (ctx.subjectSplit == 1) {
                                 kind = 2;
                                 g.setTextMatrix(teacherRow(p), w, text);
                             } else {
                                 writeTeacher(lookups, g, w, p, teacher, count == 1);
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
                 });
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
