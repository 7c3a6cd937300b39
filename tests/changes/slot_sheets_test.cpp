// The teacher week of 教員コマ and the period view of 時限コマ saved as workbooks, read back.

#include "changes/changes_fixture.h"
#include "changes/period_slot_screen.h"
#include "changes/teacher_slot_screen.h"
#include "changes/teacher_week.h"
#include "support/xlsx_reader.h"

namespace {

using SlotSheetsTest = ChangesTest;

TEST_F(SlotSheetsTest, TheTeacherWeekIsSavedWithItsDatesChangesAndEvents) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    changeTo("2007/06/08", "002", 1, "3", 4, "001", "言語文化", "");
    event("2007/06/07", "2007/06/07", "000", 0, 0, 0, 0, "校外学習");
    lesson("002", 1, "2", 5, 2, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    ScreenDriver d(new 教員コマ);
    d.click(kXlsxButton);
    EXPECT_EQ(messages.texts(), QStringList({"出力する週を表示して下さい"}));

    messages.clear();
    d.set("照会日", "2007/6/6");
    d.leave("照会日");
    d.set("C教員", "佐藤　健一");
    d.click("B表示");
    d.set("C教員", "鈴木　美咲");  // picked, not shown: the sheet is the week on the grid
    d.click(kXlsxButton);
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/教員別授業コマ割_2007年度_佐藤　健一_20070606.xlsx"));
    EXPECT_EQ(messages.shown.at(0).title, "教員コマの変更・照会");

    const XlsxFile x(savedTo[0]);
    constexpr int top = 4;
    EXPECT_EQ(x.sheetName, "教員別授業コマ割");
    EXPECT_EQ(QStringList({x.text(0, 0), x.text(1, 0), x.text(2, 0)}),
              QStringList({"教員別授業コマ割", "2007 年度", "佐藤　健一"}));
    EXPECT_EQ(x.row(top), QStringList({"時限", "2007/06/06", "2007/06/07", "2007/06/08",
                                       "2007/06/09", "2007/06/10", "2007/06/11", "2007/06/12"}));
    EXPECT_EQ(x.row(top + 1), QStringList({"", "水", "木", "金", "土", "日", "月", "火"}));
    EXPECT_TRUE(x.merges.contains("A5:A6"));
    // Monday's lesson in its three lines; Friday's change in magenta; Thursday's event takes the
    // lesson it falls on, one cell over the three lines.
    const int p1 = top + weekFirstRow(1);
    EXPECT_EQ(QStringList({x.text(p1, 6), x.text(p1 + 1, 6), x.text(p1 + 2, 6)}),
              QStringList({"高等部", "1年 1組", "現国"}));
    EXPECT_TRUE(x.merges.contains("A7:A9"));
    EXPECT_EQ(x.text(top + weekFirstRow(4) + 2, 3), "言語文化");
    EXPECT_EQ(x.style(top + weekFirstRow(4) + 2, 3).colour, "FF00FF");
    EXPECT_EQ(x.text(top + weekFirstRow(2), 2), "校外学習");
    EXPECT_TRUE(x.merges.contains("C10:C12"));
}

TEST_F(SlotSheetsTest, ThePeriodViewIsSavedWithItsDateAndDepartmentBlocks) {
    lesson("002", 1, "1", 2, 2, "001", "01", "01", "現代の国語", "現国");
    lesson("001", 2, "3", 2, 2, "003", "000", "000", "HR", "HR", 0, 1);
    ScreenDriver d(new 時限コマ);
    d.click(kXlsxButton);
    EXPECT_EQ(messages.texts(), QStringList({"出力する時限を表示して下さい"}));

    d.set("C時限", "2");
    d.click("B表示");
    d.click(kXlsxButton);
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/授業コマ割り_2007年度_20070604_2時限.xlsx"));

    const XlsxFile x(savedTo[0]);
    constexpr int top = 5;
    EXPECT_EQ(x.sheetName, "授業コマ割り");
    EXPECT_EQ(QStringList({x.text(2, 0), x.text(3, 0)}), QStringList({"2007/06/04", " 2  時限"}));
    // Each department: its class-name column and a column per grade under its name.
    EXPECT_EQ(x.row(top), QStringList({"組", "中学部", "", "組", "高等部"}));
    EXPECT_EQ(x.row(top + 1), QStringList({"", "1年", "2年", "", "1年", "2年"}));
    EXPECT_TRUE(x.merges.contains("B6:C6"));
    EXPECT_TRUE(x.merges.contains("A6:A7"));
    EXPECT_EQ(x.row(top + 2), QStringList({"1", "", "", "1", "現国"}));
    EXPECT_EQ(x.row(top + 3).mid(4), QStringList({"佐藤"}));
    EXPECT_EQ(x.row(top + 7).mid(2, 1), QStringList({"高橋　誠"}));
    EXPECT_EQ(x.repeatedRows, "$6:$7");  // the heading band on each printed page
}

}  // namespace
