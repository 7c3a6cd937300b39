// The class timetable "時間割表" saved as a workbook from 組時間割 and 時間割コピー, read back.

#include "support/xlsx_reader.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_check.h"
#include "timetable/timetable_check_screen.h"
#include "timetable/timetable_copy_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"

namespace {

using TimetableXlsxTest = TimetableTest;

// The table starts below the four title lines and the empty row after them.
constexpr int kTop = 5;

TEST_F(TimetableXlsxTest, TheClassWeekIsSavedLaidOutLikeItsPrint) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
    lesson("002", 1, "1", 4, 5, "002", "07", "02", "芸術β 美術Ⅰ", "芸術β");
    ScreenDriver d(new 組時間割);
    d.click(kXlsxButton);
    EXPECT_EQ(messages.texts(), QStringList({"組を正しく選択してください"}));
    EXPECT_TRUE(proposedSaves.isEmpty());

    d.pick("C学部", "高等部");
    d.pick("C学年", "1年");
    d.pick("C組", "1組");
    d.click("B表示");
    d.pick("C学部", "中学部");  // the sheet names the class on the grid
    d.click(kXlsxButton);
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/時間割表_2007年度_高等部_1年_1組.xlsx"));
    EXPECT_EQ(messages.shown.back().title, "時間割の作成");

    const XlsxFile x(savedTo[0]);
    EXPECT_EQ(x.sheetName, "時間割表");
    EXPECT_EQ(QStringList({x.text(0, 0), x.text(1, 0), x.text(2, 0), x.text(3, 0)}),
              QStringList({"時間割表", "2007 年度", "高等部", "1年  1組"}));
    EXPECT_EQ(x.row(kTop), QStringList({"時限", "日", "月", "火", "水", "木", "金", "土"}));
    EXPECT_EQ(x.style(kTop, 1).fill, "FFFF00");
    EXPECT_EQ(x.text(kTop + lessonRow(1), 2), "現国");
    EXPECT_EQ(x.text(kTop + teacherRow(1), 2), "佐藤");
    // The elective slot is one cell over both lines, as each period's number is.
    EXPECT_EQ(x.text(kTop + lessonRow(5), 4), "芸術");
    EXPECT_TRUE(x.merges.contains("E15:E16"));
    EXPECT_TRUE(x.merges.contains("A25:A26"));
    EXPECT_EQ(x.rowCount, kTop + teacherRow(10) + 1);
    EXPECT_NEAR(x.columnWidth(1), 2 * x.columnWidth(0), 0.8);  // the print's 10 and 20 mm
}

TEST_F(TimetableXlsxTest, TheCopyScreenSavesTheWeekItHasLoaded) {
    lesson("002", 1, "2", 3, 4, "003", "03", "01", "数学Ⅰ", "数Ⅰ");
    ScreenDriver d(new 時間割コピー);
    d.click(kXlsxButton);
    EXPECT_EQ(messages.texts(), QStringList({"コピー元の時間割を表示してください"}));

    d.pick("C学部", "高等部");
    d.pick("C学年", "1年");
    d.pick("C組", "2組");
    d.set("先年度", "2008");
    d.pick("C先学部", "高等部");
    d.pick("C先学年", "1年");
    d.pick("C先組", "2組");
    d.click("B表示");
    d.click(kXlsxButton);
    ASSERT_EQ(savedTo.size(), 1);
    const XlsxFile x(savedTo[0]);
    EXPECT_EQ(x.text(3, 0), "1年  2組");
    EXPECT_EQ(x.text(kTop + lessonRow(4), 3), "数Ⅰ");
    EXPECT_EQ(x.text(kTop + teacherRow(4), 3), "高橋　誠");
}

TEST_F(TimetableXlsxTest, TheTimetableCheckIsSavedAsListedUnderItsCountLine) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 2, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    ScreenDriver d(new 時間割チェック);
    d.click(kXlsxButton);
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/時間割チェック_2007年度.xlsx"));
    const XlsxFile x(savedTo[0]);
    EXPECT_EQ(x.sheetName, "時間割チェック");
    EXPECT_EQ(x.text(1, 0), "2007 年度");
    EXPECT_EQ(x.text(2, 0), "出力日 2007/06/04");
    EXPECT_EQ(x.text(3, 0), problemSummary(checkWholeTimetable(2007)));
    EXPECT_EQ(x.row(kTop), problemColumns());
    // Each kind's heading spans the list, as on the screen; the problems follow as listed.
    EXPECT_TRUE(x.text(kTop + 1, 0).startsWith("■ 教員の重複"));
    EXPECT_TRUE(x.merges.contains("A7:G7"));
    EXPECT_EQ(x.style(kTop + 1, 0).colour, "000080");
    const Grid& g = d.grid("G問題");
    ASSERT_EQ(x.rowCount, kTop + g.rows());
    for (int r = 2; r < g.rows(); ++r) {
        if (g.mergedSpan(r, 0).cols > 1) continue;
        QStringList shown;
        for (int c = 0; c < g.cols(); ++c) shown << g.textMatrix(r, c);
        EXPECT_EQ(x.row(kTop + r), shown) << r;
    }
}

}  // namespace
