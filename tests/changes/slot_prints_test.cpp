// The sheets "教員別授業コマ割" and "授業コマ割り", printed from the grids of 教員コマ and
// 時限コマ.

#include "changes/changes_fixture.h"
#include "changes/period_slot_screen.h"
#include "changes/printed_sheet.h"
#include "changes/teacher_slot_screen.h"

namespace {

using SlotPrintsTest = ChangesTest;

TEST_F(SlotPrintsTest, TheTeacherWeekPrintsTheWeekOnTheGridWhateverWasTypedSince) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    changeTo("2007/06/07", "002", 1, "2", 3, "001", "言語文化", "");
    for (int period : {1, 2})
        lesson("002", 1, "1", 3, period, "001", "01", "01", "現代の国語", "現国");
    event("2007/06/12", "2007/06/12", "002", 1, 2, 1, 2, "定期考査", "考査");
    ScreenDriver d(new 教員コマ);
    EXPECT_TRUE(d.enabled("B印刷"));
    d.click("B印刷");
    EXPECT_EQ(messages.texts(), QStringList({"印刷する週を表示して下さい"}));
    d.set("照会日", "2007/06/06");
    d.leave("照会日");
    d.set("C教員", "佐藤　健一");
    d.click("B表示");
    d.set("照会日", "2007/06/20");
    d.leave("照会日");
    d.set("C教員", "鈴木　美咲");
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, "教員別授業コマ割");
    EXPECT_TRUE(proposedPdfPath(printed[0]).endsWith("_20070606.pdf"));
    ASSERT_EQ(printed[0].pages.size(), 1u);
    const PrintedPage& page = printed[0].pages[0];
    EXPECT_EQ(placedAt(page, {90, 20, 160, 25, 160, 30, 31, 47, 35, 50, 48, 49, 168, 49, 32, 63, 32,
                              252}),
              QStringList({"教員別授業コマ割 @ 90,20 size 16", "2007 年度 @ 160,25 size 12",
                           "佐藤　健一 @ 160,30 size 12", "時 @ 31,47 size 11",
                           "限 @ 35,50 size 11", "水 @ 48,49 size 12", "火 @ 168,49 size 12",
                           " 1 @ 32,63 size 14", "10 @ 32,252 size 14"}));
    // The dates of the week shown, each within its day's column.
    for (auto [x, text] : {std::pair{42.0, "07/06/06"}, {162, "07/06/12"}}) {
        const PrintItem* date = textAt(page, x, 46);
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(date->text, text);
        EXPECT_LE(rightEdge(*date), x - 2 + 20);
    }
    // Monday (column 6), period 1; the change on Thursday (column 2), period 3, in black.
    EXPECT_EQ(placedAt(page, {144, 57, 143, 64, 142, 71, 64, 99, 63, 106, 62, 113}),
              QStringList({"高等部 @ 144,57 size 11", "1年 1組 @ 143,64 size 11",
                           "現国 @ 142,71 size 10", "高等部 @ 64,99 size 11",
                           "1年 2組 @ 63,106 size 11", "言語文化 @ 62,113 size 10"}));
    EXPECT_EQ(textAt(page, 62, 113)->colour, 0);
    // An event over periods 1-2 of Tuesday (column 7) is named once.
    EXPECT_EQ(std::count_if(page.items.begin(), page.items.end(),
                            [](const PrintItem& i) { return i.text == "考査"; }),
              1);
    const PrintItem& frame = page.items.at(0);
    EXPECT_EQ(std::vector<double>({frame.x1, frame.y1, frame.x2, frame.y2}),
              std::vector<double>({30, 45, 180, 265}));

    // The standard week: weekday names from Sunday, no dates.
    d.click("標準F");
    d.click("B表示");
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 2u);
    const PrintedPage& standard = printed[1].pages.at(0);
    EXPECT_EQ(placed(textAt(standard, 48, 49)), "日 @ 48,49 size 12");
    for (const PrintItem& i : standard.items) EXPECT_NE(i.y1, 46) << i.text.toStdString();
    EXPECT_EQ(placed(textAt(standard, 160, 30)), "鈴木　美咲 @ 160,30 size 12");
}

TEST_F(SlotPrintsTest, ThePeriodSheetPlacesEachDepartmentsGradesFromTheRealCounts) {
    // Two departments of two grades: grid columns 1, 2 and 4, 5 hold lessons, 0 and 3 class names.
    lesson("002", 1, "1", 2, 2, "001", "01", "01", "現代の国語", "現国");
    lesson("001", 2, "3", 2, 2, "003", "000", "000", "HR", "HR", 0, 1);
    ScreenDriver d(new 時限コマ);
    d.click("B印刷");
    EXPECT_EQ(messages.texts(), QStringList({"印刷する時限を表示して下さい"}));
    d.set("C時限", "2");
    d.click("B表示");
    d.set("照会日", "2007/06/05");
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, "授業コマ割り");
    ASSERT_EQ(printed[0].pages.size(), 1u);
    const PrintedPage& page = printed[0].pages[0];
    EXPECT_EQ(placedAt(page, {90, 30, 150, 35, 150, 40, 150, 45, 68,  59, 138, 59,
                              37, 68, 108, 68, 50,  68, 70,  68, 120, 68, 140, 68}),
              QStringList({"授業コマ割り @ 90,30 size 16", "2007 年度 @ 150,35 size 12",
                           "2007/06/04 @ 150,40 size 12", " 2  時限 @ 150,45 size 12",
                           "中学部 @ 68,59 size 12", "高等部 @ 138,59 size 12",
                           "組 @ 37,68 size 11", "組 @ 108,68 size 11", "1年 @ 50,68 size 12",
                           "2年 @ 70,68 size 12", "1年 @ 120,68 size 12", "2年 @ 140,68 size 12"}));
    EXPECT_EQ(placedAt(page, {37, 82, 107, 122, 116, 80, 116, 90, 66, 120, 66, 130}),
              QStringList({"1組 @ 37,82 size 12", "3組 @ 107,122 size 12", "現国 @ 116,80 size 11",
                           "佐藤 @ 116,90 size 10.5", "HR @ 66,120 size 11",
                           "高橋　誠 @ 66,130 size 10.5"}));
    // No third grade: nothing in the third lesson column of either half, and the class-name
    // columns of the grid are never printed as lessons.
    for (const PrintItem& i : page.items) {
        if (i.kind != PrintItem::Kind::Text) continue;
        EXPECT_TRUE(i.x1 != 86 && i.x1 != 156) << i.text.toStdString();
        EXPECT_FALSE(QStringList({"1", "2", "3"}).contains(i.text)) << i.x1 << "," << i.y1;
    }
}

TEST_F(SlotPrintsTest, ClassesBeyondTheTenthAndAThirdDepartmentContinueOnFurtherPages) {
    SchoolContext& s = school();
    for (int k = 4; k <= 12; ++k)
        s.classes[2][k] = {QString::number(k), QStringLiteral("%1組").arg(k)};
    s.classCount[2] = 12;
    s.largestClassCount = 12;
    s.departments[3] = {"003", "専攻科"};
    s.classes[3][1] = {"1", "1組"};
    s.classCount[3] = 1;
    s.departmentCount = 3;
    lesson("002", 1, "11", 2, 2, "002", "03", "01", "数学Ⅰ", "数Ⅰ");
    ScreenDriver d(new 時限コマ);
    d.set("C時限", "2");
    d.click("B表示");
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    const auto& pages = printed[0].pages;
    ASSERT_EQ(pages.size(), 4u);  // 中学部 and 高等部 on two pages, then 専攻科 on two
    EXPECT_EQ(textAt(pages[0], 107, 262)->text, "10組");
    EXPECT_EQ(placedAt(pages[1], {90, 30, 116, 80}),
              QStringList({"授業コマ割り @ 90,30 size 16", "数Ⅰ @ 116,80 size 11"}));
    // A longer class name is set smaller to stay in its column.
    EXPECT_EQ(textAt(pages[1], 107, 82)->text, "11組");
    EXPECT_LT(textAt(pages[1], 107, 82)->size, 12);
    EXPECT_EQ(textAt(pages[1], 107, 102)->text, "12組");
    EXPECT_FALSE(textAt(pages[1], 37, 82));  // 中学部 has three classes
    EXPECT_EQ(placed(textAt(pages[2], 68, 59)), "専攻科 @ 68,59 size 12");
    EXPECT_FALSE(textAt(pages[2], 138, 59));
    EXPECT_FALSE(textAt(pages[2], 108, 68));  // no right half without a second department
    for (const PrintedPage& p : pages)
        for (const PrintItem& i : p.items)
            EXPECT_LE(std::max(i.y1, i.y2), 275) << i.text.toStdString();
}

}  // namespace
