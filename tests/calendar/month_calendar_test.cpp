// The month calendar as any screen draws it.

#include "calendar/month_calendar.h"
#include "context/school_context.h"
#include "support/screen_driver.h"
#include "ui/grid.h"

namespace {

class MonthCalendarTest : public ::testing::Test {
protected:
    void SetUp() override { school().setToday(QDate(2007, 6, 4)); }
};

TEST_F(MonthCalendarTest, AMonthStartingOnSaturdayFillsSixWeekRowsUnderTheWeekdayNames) {
    Grid g;
    GRD日付(g, QDate(2007, 12, 1), {24, 25});
    ASSERT_EQ(g.rows(), 7);
    ASSERT_EQ(g.cols(), 7);
    EXPECT_EQ(g.colWidth(3), 400);
    EXPECT_EQ(g.textMatrix(0, 0), "日");
    EXPECT_EQ(g.textMatrix(0, 6), "土");
    EXPECT_EQ(g.cellForeColor(0, 0), 12);
    EXPECT_EQ(g.cellForeColor(0, 6), 9);
    EXPECT_EQ(g.cellForeColor(0, 3), 0);
    EXPECT_EQ(g.cellBackColor(0, 4), 14);
    EXPECT_EQ(g.textMatrix(1, 6), "1");  // Saturday the 1st
    EXPECT_EQ(g.textMatrix(1, 5), "");
    EXPECT_EQ(g.textMatrix(6, 1), "31");
    EXPECT_EQ(g.textMatrix(6, 2), "");
    EXPECT_EQ(g.cellForeColor(2, 0), 1);
    // Days with events stand out.
    EXPECT_EQ(g.cellForeColor(5, 1), 13);  // the 24th
    EXPECT_EQ(g.cellForeColor(5, 2), 13);
    EXPECT_EQ(g.cellForeColor(5, 3), 1);

    EXPECT_EQ(calendarDay(g, 6, 1), 31);
    EXPECT_EQ(calendarDay(g, 6, 2), 0);
    EXPECT_EQ(calendarDay(g, 0, 1), 0);

    // Drawn again for a shorter month, nothing of the longer one is left.
    highlightCalendarCell(g, 6, 1);
    GRD日付(g, QDate(2008, 2, 1));
    EXPECT_EQ(g.textMatrix(1, 5), "1");  // Friday the 1st
    EXPECT_EQ(g.textMatrix(5, 5), "29");
    EXPECT_EQ(g.textMatrix(6, 1), "");
    EXPECT_EQ(g.cellBackColor(6, 1), 15);
    EXPECT_EQ(g.cellForeColor(5, 3), 1);
}

}  // namespace
