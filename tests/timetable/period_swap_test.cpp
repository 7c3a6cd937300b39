// 時間割入替 on a loaded week: each side shows its slot, the swap exchanges two slots whole.

#include "timetable/period_swap_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

class PeriodSwapTest : public TimetableTest {
protected:
    // 高等部 1年 1組: Monday 国語 by two teachers, Tuesday an elective pair, Wednesday the split
    // 体育, Thursday "HR", Friday period 10 数学.
    void SetUp() override {
        TimetableTest::SetUp();
        lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
        lesson("002", 1, "1", 2, 1, "002", "01", "01", "現代の国語", "現国");
        lesson("002", 1, "1", 3, 2, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
        lesson("002", 1, "1", 3, 2, "002", "07", "02", "芸術β 美術Ⅰ", "芸術β");
        lesson("002", 1, "1", 4, 3, "001", "06", "01", "体育", "体育");
        lesson("002", 1, "1", 5, 4, "003", "000", "000", "HR", "HR", 0, 1);
        lesson("002", 1, "1", 6, 10, "003", "03", "01", "数学Ⅰ", "数Ⅰ");
        selectClass(caller.ctx(), "002", 1, "1");
        GRD時割(caller.ctx(), 1, grid);
    }
    void choose(ScreenDriver& d, const char* side, const char* weekday, const char* period) {
        d.pick(QStringLiteral("C%1曜日").arg(side), weekday);
        d.set(QStringLiteral("C%1時限").arg(side), period);
        d.leave(QStringLiteral("C%1時限").arg(side));
    }
    QStringList shown(ScreenDriver& d, const char* side) {
        return {d.text(QStringLiteral("%1科目").arg(side)),
                d.text(QStringLiteral("%1教科").arg(side)),
                d.text(QStringLiteral("%1教師").arg(side))};
    }
    SlotTables& tables() { return caller.ctx().slotTables; }

    Screen caller{"時間割コピー", "時間割のコピー登録"};
    Grid grid;
};

TEST_F(PeriodSwapTest, EachSideShowsItsSlotAndNothingOfThePreviousOne) {
    ScreenDriver d(new 時間割入替(&caller));
    EXPECT_EQ(d.screen().windowTitle(), "時間割入替");
    EXPECT_EQ(caller.ctx().title, "時間割の入替え");
    EXPECT_EQ(d.entries("C先時限").last(), "10");
    choose(d, "元", "月", "1");
    EXPECT_EQ(shown(d, "元"), QStringList({"国語", "現代の国語", "鈴木　美咲"}));
    choose(d, "元", "木", "4");
    EXPECT_EQ(shown(d, "元"), QStringList({"HR", "", "高橋　誠"}));
    choose(d, "先", "火", "2");
    EXPECT_EQ(shown(d, "先"), QStringList({"芸術選択", "", "選択"}));
    choose(d, "先", "水", "3");
    EXPECT_EQ(shown(d, "先"), QStringList({"保健体育", "", "αβ"}));
    choose(d, "先", "金", "10");  // the tenth period is a period too
    EXPECT_EQ(shown(d, "先"), QStringList({"数学", "数学Ⅰ", "高橋　誠"}));
    choose(d, "先", "金", "1");
    EXPECT_EQ(shown(d, "先"), QStringList({"", "", ""}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PeriodSwapTest, ASwapNeedsTwoLessonsAndSaysWhichSideIsWrong) {
    ScreenDriver d(new 時間割入替(&caller));
    d.click("B確定");
    EXPECT_EQ(messages.last(), "入替元曜日を正しく選択して下さい");
    choose(d, "元", "月", "11");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "入替元時限を正しく選択して下さい");
    EXPECT_EQ(d.colour("C元時限"), 12);
    choose(d, "元", "月", "3");  // empty
    choose(d, "先", "月", "1");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "入替元の授業登録がされていません");
    choose(d, "元", "月", "1");
    choose(d, "先", "日", "1");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "入替先の授業登録がされていません");
    choose(d, "先", "土", "");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "入替先時限を正しく選択して下さい");
    for (const auto& m : messages.shown) EXPECT_EQ(m.title, "時間割の入替え");
    EXPECT_EQ(tables().at(2, 1).entries[2].teacher, "002");
}

TEST_F(PeriodSwapTest, TheSwapExchangesTwoSlotsWithTheirBreakdowns) {
    ScreenDriver d(new 時間割入替(&caller));
    choose(d, "元", "月", "1");
    choose(d, "先", "火", "2");
    answer({false});
    d.click("B確定");
    EXPECT_EQ(messages.last(), "表示内容で時間割を入替ます");
    EXPECT_EQ(tables().at(2, 1).kind, 0);

    answer({true});
    d.click("B確定");
    const Slot& monday = tables().at(2, 1);
    EXPECT_EQ(monday.kind, 1);
    EXPECT_EQ(monday.entries[1].teacher, "002");
    EXPECT_EQ(monday.entries[2].subject, "01");
    EXPECT_EQ(tables().at(3, 2).entries[2].teacher, "002");
    EXPECT_EQ(tables().at(3, 2).subject, "01");
    EXPECT_EQ(shown(d, "元"), QStringList({"芸術選択", "", "選択"}));

    // A slot swapped with itself stays as it is.
    choose(d, "先", "月", "1");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(tables().at(2, 1).kind, 1);
    EXPECT_EQ(tables().at(2, 1).entries[2].teacher, "004");
}

}  // namespace
