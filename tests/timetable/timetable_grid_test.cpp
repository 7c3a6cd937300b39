// The weekly grid of a class drawn from 組時間割, its slot tables, and the redraw from them.

#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

class TimetableGridTest : public TimetableTest {
protected:
    void draw() {
        selectClass(ctx, "002", 1, "1");
        GRD時割(ctx, 1, grid);
    }
    QString lessonLine(int w, int p) { return grid.textMatrix(lessonRow(p), w); }
    QString teacherLine(int w, int p) { return grid.textMatrix(teacherRow(p), w); }

    WorkContext ctx;
    Grid grid;
};

TEST_F(TimetableGridTest, AnEmptyGridHasItsHeadersColoursAndWidths) {
    GRD時割初期化(ctx, grid);
    ASSERT_EQ(grid.rows(), 21);
    ASSERT_EQ(grid.cols(), 8);
    EXPECT_EQ(grid.textMatrix(0, 1), "日");
    EXPECT_EQ(grid.textMatrix(0, 7), "土");
    EXPECT_EQ(grid.textMatrix(0, 0), "");
    EXPECT_EQ(grid.textMatrix(19, 0), "10");
    EXPECT_EQ(grid.textMatrix(20, 0), "10");
    EXPECT_EQ(grid.cellBackColor(0, 5), 14);
    EXPECT_EQ(grid.cellBackColor(17, 0), 14);
    EXPECT_EQ(grid.cellBackColor(1, 1), 15);
    EXPECT_EQ(grid.cellAlignment(0, 3), 5);
    EXPECT_EQ(grid.cellAlignment(4, 0), 5);
    EXPECT_EQ(grid.colWidth(0), 300);
    EXPECT_EQ(grid.colWidth(7), 950);
    EXPECT_EQ(grid.mergedSpan(3, 0), (Grid::Span{3, 0, 2, 1}));  // period 2 shows once
}

TEST_F(TimetableGridTest, OrdinaryLessonsShowSubjectAndTeacher) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "1", 3, 2, "003", "03", "01", "数学Ⅰ", "");  // no short name stored
    draw();
    EXPECT_EQ(lessonLine(2, 1), "現国");
    EXPECT_EQ(teacherLine(2, 1), "佐藤");
    EXPECT_EQ(grid.cellForeColor(lessonRow(1), 2), 9);
    EXPECT_EQ(grid.cellAlignment(lessonRow(1), 2), 4);
    EXPECT_EQ(grid.cellFontSize(teacherRow(1), 2), 8);
    // The record's subject name when its short name is empty; the full name without display name.
    EXPECT_EQ(lessonLine(3, 2), "数学Ⅰ");
    EXPECT_EQ(teacherLine(3, 2), "高橋　誠");

    const Slot& s = ctx.slotTables.at(2, 1);
    EXPECT_TRUE(s.occupied());
    EXPECT_EQ(s.text[1], "01");
    EXPECT_EQ(s.text[2], "001");
    EXPECT_EQ(s.text[3], "01");
    EXPECT_EQ(s.subject, "01");
    EXPECT_EQ(s.kind, 0);
    EXPECT_EQ(s.freeText, 0);
    EXPECT_EQ(s.entries[1].teacher, "001");
    EXPECT_TRUE(s.entries[2].empty());
    EXPECT_FALSE(ctx.slotTables.at(2, 2).occupied());
}

TEST_F(TimetableGridTest, TwoTeachersInOneSlotAreBothShownDrawnOrRedrawnAndBothKept) {
    lesson("002", 1, "1", 2, 1, "002", "01", "02", "言語文化", "言文");
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    draw();
    EXPECT_EQ(lessonLine(2, 1), "言文");
    EXPECT_EQ(teacherLine(2, 1), "佐藤・鈴木");
    const Slot& s = ctx.slotTables.at(2, 1);
    EXPECT_EQ(s.text[2], "002");
    EXPECT_EQ(s.entries[1].teacher, "001");
    EXPECT_EQ(s.entries[2].teacher, "002");
    EXPECT_EQ(s.entries[2].subject, "02");
    GRD時割再表示(ctx, grid);
    EXPECT_EQ(teacherLine(2, 1), "佐藤・鈴木");
}

TEST_F(TimetableGridTest, ElectiveAndSplitSlotsShowOneMergedNameWithoutTeacher) {
    lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
    lesson("002", 1, "1", 4, 5, "002", "07", "02", "芸術β 美術Ⅰ", "芸術β");
    lesson("002", 1, "1", 5, 3, "001", "06", "01", "体育", "体育");
    lesson("002", 1, "1", 5, 4, "003", "03", "01", "数学Ⅰ", "数Ⅰ");
    draw();
    EXPECT_EQ(lessonLine(4, 5), "芸術");
    EXPECT_EQ(teacherLine(4, 5), "芸術");
    EXPECT_EQ(grid.mergedSpan(teacherRow(5), 4), (Grid::Span{lessonRow(5), 4, 2, 1}));
    EXPECT_EQ(ctx.slotTables.at(4, 5).kind, 1);
    EXPECT_EQ(ctx.slotTables.at(4, 5).entries[2].subject, "01");  // by teacher number: 002 then 004

    EXPECT_EQ(lessonLine(5, 3), "体育");
    EXPECT_EQ(teacherLine(5, 3), "体育");
    EXPECT_EQ(ctx.slotTables.at(5, 3).kind, 2);
    EXPECT_EQ(grid.mergedSpan(lessonRow(3), 5).rows, 2);
    // An ordinary lesson below does not merge into them.
    EXPECT_EQ(grid.mergedSpan(lessonRow(4), 5), (Grid::Span{lessonRow(4), 5, 1, 1}));
}

TEST_F(TimetableGridTest, AFreeTextLessonShowsItsTextAndTeacherAndKeepsEveryTeacher) {
    lesson("002", 1, "1", 6, 6, "003", "000", "000", "HR", "HR", 0, 1);
    lesson("002", 1, "1", 6, 6, "001", "000", "000", "HR", "HR", 0, 1);
    draw();
    EXPECT_EQ(lessonLine(6, 6), "HR");
    EXPECT_EQ(teacherLine(6, 6), "佐藤・高橋　誠");
    const Slot& s = ctx.slotTables.at(6, 6);
    EXPECT_EQ(s.kind, 0);
    EXPECT_EQ(s.freeText, 1);
    EXPECT_EQ(s.text[1], "HR");
    EXPECT_EQ(s.text[3], "");
    // Both teachers of the slot are entries, so that a copy of the week keeps them.
    EXPECT_EQ(s.entries[1].teacher, "001");
    EXPECT_EQ(s.entries[1].kamoku, "HR");
    EXPECT_EQ(s.entries[1].freeText, 1);
    EXPECT_EQ(s.entries[2].teacher, "003");
    EXPECT_TRUE(s.entries[3].empty());
}

TEST_F(TimetableGridTest, ALessonWhoseMastersAreGoneIsDrawnFromItsRecordWithoutAnotherName) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "1", 2, 2, "099", "03", "01", "数学Ⅰ", "数Ⅰ");  // no such teacher
    lesson("002", 1, "1", 3, 1, "002", "05", "01", "書道Ⅰ", "書Ⅰ");  // no such course subject
    draw();
    EXPECT_EQ(teacherLine(2, 1), "佐藤");
    EXPECT_EQ(lessonLine(2, 2), "数Ⅰ");
    EXPECT_EQ(teacherLine(2, 2), "");  // not the name drawn before it
    EXPECT_EQ(lessonLine(3, 1), "書Ⅰ");
    EXPECT_EQ(teacherLine(3, 1), "鈴木");
    EXPECT_EQ(ctx.slotTables.at(3, 1).text[1], "05");
    EXPECT_TRUE(ctx.kamokuNumber.isEmpty());
}

TEST_F(TimetableGridTest, OnlyTheClassAndSelectionNumberAreDrawnUpToTheLastRecord) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国", 1);  // selection number 1
    lesson("002", 1, "2", 2, 2, "001", "01", "01", "現代の国語", "現国");     // another class
    draw();
    for (int w = 1; w <= 7; ++w)
        for (int p = 1; p <= 10; ++p) EXPECT_EQ(lessonLine(w, p), "");

    // The class's record is the last of the whole table.
    lesson("002", 1, "1", 7, 10, "002", "03", "01", "数学Ⅰ", "数Ⅰ");
    draw();
    EXPECT_EQ(lessonLine(7, 10), "数Ⅰ");
}

TEST_F(TimetableGridTest, RecordsTheGridCannotHoldAreLeftOut) {
    lesson("002", 1, "1", 8, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 1, "1", 2, 11, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 1, "1", 0, 3, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    for (int t = 1; t <= 11; ++t)
        lesson("002", 1, "1", 3, 1,
               QStringLiteral("T%1").arg(t, 2, 10, QChar('0')).toUtf8().constData(), "03", "01",
               "数学Ⅰ", "数Ⅰ");
    draw();
    const Slot& s = ctx.slotTables.at(3, 1);
    EXPECT_EQ(s.entries[10].teacher, "T10");
    EXPECT_EQ(s.text[2], "T10");  // the eleventh record is not taken
    EXPECT_EQ(grid.rows(), 21);
    EXPECT_EQ(grid.cols(), 8);
}

TEST_F(TimetableGridTest, TheRedrawUsesTheSlotTablesAndTheMastersNames) {
    lesson("002", 1, "1", 2, 1, "001", "01", "02", "言語文化（旧）", "");
    lesson("002", 1, "1", 2, 2, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
    lesson("002", 1, "1", 2, 3, "003", "000", "000", "HR", "HR", 0, 1);
    draw();
    EXPECT_EQ(lessonLine(2, 1), "言語文化（旧）");  // from the record

    // Emptied in memory, the slot disappears from the redraw.
    ctx.slotTables.at(2, 3) = Slot{};
    GRD時割再表示(ctx, grid);
    EXPECT_EQ(lessonLine(2, 1), "言語文化");  // the master's name: it has no short name
    EXPECT_EQ(teacherLine(2, 1), "佐藤");
    EXPECT_EQ(lessonLine(2, 2), "芸術");
    EXPECT_EQ(grid.mergedSpan(lessonRow(2), 2).rows, 2);
    EXPECT_EQ(lessonLine(2, 3), "");
    EXPECT_EQ(ctx.selectedRow, 0);
}

}  // namespace
