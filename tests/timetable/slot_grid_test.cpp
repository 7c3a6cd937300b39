// The slot grid: one period of one date for every class of the school.

#include "timetable/slot_grid.h"
#include "timetable/timetable_fixture.h"
#include "ui/grid.h"

namespace {

class SlotGridTest : public TimetableTest {
protected:
    void SetUp() override {
        TimetableTest::SetUp();
        ctx.workingYear = 2007;
        ctx.slotWeekday = 2;  // Monday
        ctx.slotPeriod = 3;
        ctx.lessonDateText = "2007/06/04";
        // 中学部 has two classes, 高等部 three.
        school().classCount[1] = 2;
    }
    WorkContext ctx;
    Grid grid;
};

TEST_F(SlotGridTest, EachDepartmentHasAClassLabelColumnThenAColumnPerGrade) {
    school().grades[3] = {"3", "3年"};
    school().gradeCount = 3;
    ctx.selectedRow = ctx.selectedCol = 5;
    GRDコマ(ctx, 1, grid);
    EXPECT_EQ(grid.cols(), 8);
    EXPECT_EQ(grid.rows(), 8);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(ctx.selectedRow + ctx.selectedCol, 0);
    for (int label : {0, 4}) {
        EXPECT_EQ(grid.colWidth(label), 250);
        EXPECT_EQ(grid.textMatrix(0, label), "組");
        EXPECT_EQ(grid.cellBackColor(7, label), 14);
        EXPECT_EQ(grid.mergedSpan(0, label), (Grid::Span{0, label, 2, 1}));
    }
    EXPECT_EQ(grid.colWidth(5), 1000);
    EXPECT_EQ(grid.textMatrix(0, 5), "高等部");
    EXPECT_EQ(grid.textMatrix(1, 7), "3年");
    EXPECT_EQ(grid.mergedSpan(0, 1), (Grid::Span{0, 1, 1, 3}));
    EXPECT_EQ(grid.textMatrix(2, 0), "1");
    EXPECT_EQ(grid.mergedSpan(2, 0), (Grid::Span{2, 0, 2, 1}));
    EXPECT_EQ(grid.textMatrix(6, 0), " ");  // 中学部 has no third class
    EXPECT_EQ(grid.textMatrix(6, 4), "3");
    EXPECT_EQ(grid.cellBackColor(2, 1), 15);

    // Only the cells of a real class can be picked.
    for (auto [row, col] : {std::pair{1, 1}, {2, 0}, {2, 4}, {6, 1}, {2, 8}})
        EXPECT_FALSE(slotGridPlaceAt(row, col)) << row << "," << col;
    const auto place = slotGridPlaceAt(7, 6);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->department, 2);
    EXPECT_EQ(place->grade, 2);
    EXPECT_EQ(place->klass, 3);
}

TEST_F(SlotGridTest, ChangesAndThenEventsAreLaidOverTheStandardLessons) {
    // Columns: 中学部 1年 1, 2年 2; 高等部 1年 4, 2年 5.
    lesson("002", 1, "1", 2, 3, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 2, 3, "003", "01", "02", "言語文化", "");
    lesson("001", 2, "1", 2, 3, "002", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 2, "1", 2, 3, "004", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 1, "3", 2, 4, "004", "03", "01", "数学Ⅰ", "数Ⅰ");  // another period
    lesson("001", 1, "9", 2, 3, "004", "03", "01", "数学Ⅰ", "数Ⅰ");  // no such class
    lesson("099", 1, "1", 2, 3, "004", "03", "01", "数学Ⅰ", "数Ⅰ");  // no such department
    insert("時限変更", {{"変_年度", 2007},
                        {"変_日付", "2007/06/04"},
                        {"変_学部", "002"},
                        {"変_学年", 1},
                        {"変_組", "2"},
                        {"変_時限", 3},
                        {"変_教科名", "数学Ⅰ"},
                        {"変_教科略称", "数Ⅰ"},
                        {"変_教員名", "山口　幸子"},
                        {"変_教員表示名", "山口"}});
    change("2007/06/05", "002", 1, "1", 3, "004");
    GRDコマ(ctx, 1, grid);
    EXPECT_EQ(grid.textMatrix(2, 4), "現国");
    EXPECT_EQ(grid.textMatrix(3, 4), "佐藤");
    EXPECT_EQ(grid.textMatrix(3, 1), "");
    EXPECT_EQ(grid.textMatrix(2, 2), "数Ⅰ");
    EXPECT_EQ(grid.textMatrix(4, 4), "数Ⅰ");
    EXPECT_EQ(grid.textMatrix(5, 4), "山口");
    EXPECT_EQ(grid.cellForeColor(4, 4), 13);
    EXPECT_EQ(grid.cellForeColor(5, 4), 13);
    EXPECT_EQ(grid.textMatrix(6, 4), "");

    // A day without lessons for 中学部 2年, a day whose periods 5-6 are taken, a day with lessons,
    // an event of another day, one of an unknown department, and a week of tests for 高等部 1年
    // that comes after a later, shorter event in end-date order.
    event("2007/06/04", "2007/06/04", "001", 2, 0, 0, 0, "校外学習", "遠足");
    event("2007/06/04", "2007/06/04", "000", 0, 2, 5, 6, "研修");
    event("2007/06/04", "2007/06/04", "000", 0, 1, 0, 0, "検診");
    event("2007/06/10", "2007/06/10", "000", 0, 0, 0, 0, "運動会");
    event("2007/06/04", "2007/06/04", "099", 0, 0, 0, 0, "謎");
    event("2007/06/01", "2007/06/30", "002", 1, 2, 3, 4, "定期考査");
    GRDコマ(ctx, 1, grid);
    EXPECT_EQ(grid.textMatrix(2, 2), "遠足");
    EXPECT_EQ(grid.textMatrix(3, 2), "");
    EXPECT_EQ(grid.textMatrix(4, 2), "遠足");
    EXPECT_EQ(grid.textMatrix(6, 2), "");  // below 中学部's last class
    EXPECT_EQ(grid.textMatrix(2, 4), "定期考査");
    EXPECT_EQ(grid.textMatrix(4, 4), "定期考査");
    EXPECT_EQ(grid.textMatrix(5, 4), "");
    EXPECT_EQ(grid.cellForeColor(4, 4), 13);  // the colours stay
    EXPECT_EQ(grid.textMatrix(2, 5), "数Ⅰ");
    EXPECT_EQ(grid.textMatrix(2, 1), "");

    // Changes and events belong to a date.
    ctx.lessonDateText.clear();
    GRDコマ(ctx, 1, grid);
    EXPECT_EQ(grid.textMatrix(2, 2), "数Ⅰ");
    EXPECT_EQ(grid.textMatrix(4, 4), "言語文化");
    EXPECT_EQ(grid.textMatrix(5, 4), "高橋　誠");
}

}  // namespace
