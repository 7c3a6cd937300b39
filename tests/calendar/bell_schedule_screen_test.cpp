// 時程登録 as a clerk uses it: type the day's period times, get told what is wrong with them,
// store them for the whole school or a department, weekdays or Saturdays.

#include "calendar/bell_schedule.h"
#include "calendar/bell_schedule_screen.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

namespace {

class BellScheduleTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        SchoolContext& s = school();
        s.clearMasters();
        s.departments[1] = {"001", "中学部"};
        s.departments[2] = {"002", "高等部"};
        s.departmentCount = 2;
    }
    void TearDown() override {
        school().clearMasters();
        ScreenTest::TearDown();
    }
    static void times(ScreenDriver& d, int period, const char* start, const char* end) {
        d.set(QStringLiteral("開始%1").arg(period), start);
        d.set(QStringLiteral("終了%1").arg(period), end);
    }
    static QString describe(const std::map<int, BellPeriod>& day) {
        QStringList out;
        for (const auto& [p, t] : day)
            out << QStringLiteral("%1 %2-%3")
                       .arg(p)
                       .arg(t.start.toString("hh:mm"), t.end.toString("hh:mm"));
        return out.join(", ");
    }
};

TEST_F(BellScheduleTest, BadTimesAreRefusedWithAMessageEachAndNothingStored) {
    struct Case {
        int period;
        const char* start;
        const char* end;
        const char* field;
        const char* message;
    };
    const Case cases[] = {
        {2, "9:40", "", "終了2", "2時限の開始と終了を両方入力してください"},
        {2, "9:4", "10:30", "開始2", "2時限の時刻は「08:50」のように入力してください"},
        {2, "25:00", "10:30", "開始2", "2時限の時刻は「08:50」のように入力してください"},
        {2, "10:30", "10:30", "終了2", "2時限の終了は開始より後の時刻を入力してください"},
        // Period 1 ends at 09:40: a period 10 before it overlaps, whatever lies between.
        {10, "09:30", "10:20", "開始10", "10時限の開始が1時限の終了（09:40）より前です"},
    };
    ScreenDriver d(new 時程登録);
    for (const Case& c : cases) {
        for (int p = 2; p <= 10; ++p) times(d, p, "", "");
        times(d, 1, "8:50", "9:40");
        times(d, c.period, c.start, c.end);
        messages.clear();
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({c.message})) << c.start << " " << c.end;
        EXPECT_EQ(d.colour(c.field), 12) << c.field;
        EXPECT_EQ(d.colour("開始1"), 0);
    }
    EXPECT_TRUE(records("時程").empty());
}

TEST_F(BellScheduleTest, ADaysTimesAreStoredWholeAndOtherDaysFollowTheSchoolsWeekdays) {
    ScreenDriver d(new 時程登録);
    EXPECT_EQ(d.text("C学部"), "共通");
    times(d, 1, "8:50", "９：４０");
    times(d, 2, "9:50", "10:40");
    times(d, 10, "16:50", "17:40");
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"時程は更新(登録)されました。"}));
    EXPECT_EQ(d.text("終了1"), "09:40");
    EXPECT_EQ(describe(bellSchedule("002", 7)), "1 08:50-09:40, 2 09:50-10:40, 10 16:50-17:40");

    // 高等部's Saturday: its own, and the form shows what is stored for the selection only.
    d.pick("C学部", "高等部");
    d.pick("C曜日", "土曜");
    EXPECT_EQ(d.text("開始1"), "");
    times(d, 1, "8:40", "9:25");
    d.click("B確定");
    EXPECT_EQ(describe(bellSchedule("002", 7)), "1 08:40-09:25");
    EXPECT_EQ(describe(bellSchedule("002", 6)), describe(bellSchedule("001", 7)));

    // A period emptied is gone; the other days keep theirs.
    d.pick("C学部", "共通");
    d.pick("C曜日", "月～金");
    EXPECT_EQ(d.text("開始10"), "16:50");
    times(d, 2, "", "");
    d.click("B確定");
    EXPECT_EQ(describe(bellSchedule("001", 2)), "1 08:50-09:40, 10 16:50-17:40");
    EXPECT_EQ(records("時程").size(), 3u);

    messages.clear();
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.last(), "時程は削除されました");
    EXPECT_EQ(d.text("開始1"), "");
    EXPECT_TRUE(bellSchedule("001", 2).empty());
}

}  // namespace
