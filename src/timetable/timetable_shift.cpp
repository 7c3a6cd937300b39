#include "timetable/timetable_shift.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "timetable/timetable_grid.h"

namespace {

// The weekdays a left or right shift rotates. Only these move: a weekday without lessons by the
// school's week keeps whatever it holds.
std::vector<int> activeWeekdays(int code) {
    const int first = (code == 1 || code == 3) ? 1 : 2;
    const int last = (code == 2 || code == 3) ? 7 : 6;
    std::vector<int> days;
    for (int w = first; w <= last; ++w) days.push_back(w);
    return days;
}

// Each day takes the contents of the next day in `days`, the last day those of the first.
void rotateDays(SlotTables& t, const std::vector<int>& days) {
    for (int p = 1; p <= SlotTables::kPeriods; ++p) {
        Slot kept = std::move(t.at(days.front(), p));
        for (std::size_t i = 0; i + 1 < days.size(); ++i)
            t.at(days[i], p) = std::move(t.at(days[i + 1], p));
        t.at(days.back(), p) = std::move(kept);
    }
}

// Periods 2..L move up by one and period 1 goes to L, the last period that was occupied.
void shiftUp(SlotTables& t, int w) {
    Slot kept = std::move(t.at(w, 1));
    int last = 0;
    for (int p = 1; p < SlotTables::kPeriods; ++p) {
        if (t.at(w, p + 1).occupied()) last = p + 1;
        t.at(w, p) = std::exchange(t.at(w, p + 1), Slot{});
    }
    t.at(w, last == 0 ? 1 : last) = std::move(kept);
}

// Periods 1..L-1 move down by one and the last occupied period L goes to period 1.
void shiftDown(SlotTables& t, int w) {
    int last = 0;
    for (int p = 1; p <= SlotTables::kPeriods; ++p)
        if (t.at(w, p).occupied()) last = p;
    if (last == 0) return;
    Slot kept = std::move(t.at(w, last));
    for (int p = last; p >= 2; --p) t.at(w, p) = std::exchange(t.at(w, p - 1), Slot{});
    t.at(w, 1) = std::move(kept);
}

}  // namespace

void shiftSlots(SlotTables& t, int mode, int code) {
    switch (mode) {
        case shift::Left:
        case shift::Right: {
            if (code < 0 || code > 3) return;
            std::vector<int> days = activeWeekdays(code);
            if (mode == shift::Right) std::reverse(days.begin(), days.end());
            rotateDays(t, days);
            return;
        }
        case shift::Up:
        case shift::Down:
            if (code < 0 || code > SlotTables::kWeekdays) return;
            for (int w = 1; w <= SlotTables::kWeekdays; ++w) {
                if (code != 0 && w != code) continue;
                mode == shift::Up ? shiftUp(t, w) : shiftDown(t, w);
            }
            return;
        default:
            return;
    }
}

void 時割シフト(WorkContext& ctx, int mode, int code, Grid& grid) {
    shiftSlots(ctx.slotTables, mode, code);
    GRD時割再表示(ctx, grid);
}
