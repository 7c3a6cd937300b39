// Dates as Japanese users type them.

#include <gtest/gtest.h>

#include "common/date_input.h"

namespace {

TEST(DateInputTest, AcceptsTheWesternAndEraFormsUsersType) {
    const QDate april(2007, 4, 1);
    for (const char* typed :
         {"2007/4/1", "2007/04/01", "2007-04-01", "2007.4.1", "20070401", "2007年4月1日",
          "２００７／４／１", "H19.4.1", "h19/4/1", "平成19年4月1日", " 2007/4/1 "})
        EXPECT_EQ(parseDateInput(QString::fromUtf8(typed)), april) << typed;
    EXPECT_EQ(parseDateInput("令和8年4月1日"), QDate(2026, 4, 1));
    EXPECT_EQ(parseDateInput("R8/4/1"), QDate(2026, 4, 1));
    EXPECT_EQ(parseDateInput("令和元年5月1日"), QDate(2019, 5, 1));
    EXPECT_EQ(parseDateInput("昭和64年1月7日"), QDate(1989, 1, 7));
    EXPECT_EQ(parseDateInput("明治45年7月29日"), QDate(1912, 7, 29));
}

TEST(DateInputTest, RefusesImpossibleDatesAndYearsAnEraNeverHad) {
    for (const char* typed :
         {"2007/2/30", "2007/13/1", "20070230", "", "abc", "2007/4", "平成31年5月1日",
          "令和元年4月30日", "H0.4.1", "07/4/1", "2007/4/1/2"})
        EXPECT_FALSE(parseDateInput(QString::fromUtf8(typed)).has_value()) << typed;
    EXPECT_EQ(parseDateInput("2008/2/29"), QDate(2008, 2, 29));
}

}  // namespace
