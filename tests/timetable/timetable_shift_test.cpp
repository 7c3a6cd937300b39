// Shifting a loaded week: whole weekdays left and right, the periods of a day up and down.

#include <gtest/gtest.h>

#include "timetable/timetable_shift.h"

namespace {

// A lesson is marked by its course-subject text, e.g. "月1".
void put(SlotTables& t, int w, int p) {
    static const char* days[] = {"", "日", "月", "火", "水", "木", "金", "土"};
    Slot& s = t.at(w, p);
    s.text[1] = QString::fromUtf8(days[w]) + QString::number(p);
    s.entries[1].kamoku = s.text[1];
}
QString at(const SlotTables& t, int w, int p) {
    return t.at(w, p).text[1];
}

TEST(TimetableShift, LeftAndRightRotateOnlyTheWeekdaysThatTakeLessons) {
    SlotTables t;
    for (int w = 1; w <= 7; ++w) put(t, w, 1);
    shiftSlots(t, shift::Left, 0);
    EXPECT_EQ(at(t, 2, 1), "火1");
    EXPECT_EQ(at(t, 5, 1), "金1");
    EXPECT_EQ(at(t, 6, 1), "月1");
    // Sunday and Saturday take no lessons: whatever they hold stays where it is.
    EXPECT_EQ(at(t, 1, 1), "日1");
    EXPECT_EQ(at(t, 7, 1), "土1");

    SlotTables r;
    for (int w = 1; w <= 7; ++w) put(r, w, 2);
    shiftSlots(r, shift::Right, 3);
    EXPECT_EQ(at(r, 1, 2), "土2");
    EXPECT_EQ(at(r, 2, 2), "日2");
    shiftSlots(r, shift::Right, 1);  // Sunday..Friday: Friday's lessons come round to Sunday
    EXPECT_EQ(at(r, 1, 2), "木2");
    EXPECT_EQ(at(r, 2, 2), "土2");
    EXPECT_EQ(at(r, 7, 2), "金2");  // Saturday untouched
    shiftSlots(r, shift::Left, 2);  // Monday..Saturday
    EXPECT_EQ(at(r, 7, 2), "土2");
    EXPECT_EQ(at(r, 1, 2), "木2");
}

TEST(TimetableShift, UpAndDownRotateThePeriodsUpToTheLastLesson) {
    SlotTables t;
    for (int p = 1; p <= 4; ++p) put(t, 2, p);
    shiftSlots(t, shift::Up, 2);
    EXPECT_EQ(at(t, 2, 1), "月2");
    EXPECT_EQ(at(t, 2, 3), "月4");
    EXPECT_EQ(at(t, 2, 4), "月1");
    EXPECT_FALSE(t.at(2, 5).occupied());

    SlotTables d;
    for (int p = 2; p <= 5; ++p) put(d, 3, p);
    put(d, 4, 1);  // another weekday
    shiftSlots(d, shift::Down, 3);
    EXPECT_EQ(at(d, 3, 1), "火5");
    EXPECT_FALSE(d.at(3, 2).occupied());
    EXPECT_EQ(at(d, 3, 3), "火2");
    EXPECT_EQ(at(d, 3, 5), "火4");
    EXPECT_EQ(at(d, 4, 1), "水1");

    // Code 0 shifts every weekday; a day whose only lesson is in period 1 stays as it is.
    shiftSlots(d, shift::Up, 0);
    EXPECT_EQ(at(d, 4, 1), "水1");
    EXPECT_EQ(at(d, 3, 5), "火5");
    EXPECT_EQ(at(d, 3, 1), "");
    EXPECT_EQ(at(d, 3, 2), "火2");
}

TEST(TimetableShift, ASlotMovesWithItsKindFlagAndBreakdown) {
    SlotTables t;
    Slot& elective = t.at(6, 1);
    elective.text = {QString(), "07", "002", "02"};
    elective.kind = 1;
    elective.entries[1] = {"07", "01", "004"};
    elective.entries[2] = {"07", "02", "002"};
    t.at(6, 2).text[1] = "HR";
    t.at(6, 2).freeText = 1;
    shiftSlots(t, shift::Down, 6);
    const Slot& moved = t.at(6, 1);
    EXPECT_EQ(moved.text[1], "HR");
    EXPECT_EQ(moved.freeText, 1);
    EXPECT_EQ(t.at(6, 2).kind, 1);
    EXPECT_EQ(t.at(6, 2).entries[2].teacher, "002");
    shiftSlots(t, shift::Left, 0);
    EXPECT_EQ(t.at(5, 2).entries[1].teacher, "004");
    EXPECT_TRUE(t.at(6, 2).entries[1].empty());
}

}  // namespace
