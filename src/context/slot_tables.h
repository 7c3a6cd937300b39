#pragma once

#include <array>
#include <memory>

#include <QString>

// The class timetable loaded into memory: per weekday (1..7) and period (1..10) the slot as the
// grid shows it, and every lesson record of the slot (up to 10). The class timetable screen
// fills it with each drawing; the copy screen edits it (delete, swap, shift) before writing it
// to another class or year.
//
// A free-text lesson (such as "HR") is an entry too, so that a slot two teachers share is copied
// with both of them whatever kind of lesson it is.
struct SlotEntry {
    QString kamoku;    // course-subject number (a free-text lesson: its text)
    QString subject;   // subject number (a free-text lesson: empty)
    QString teacher;   // teacher number
    int freeText = 0;  // 1 a lesson outside the registered subjects
    bool empty() const { return kamoku.isEmpty(); }
};

struct Slot {
    // [1] course-subject number (a free-text lesson: its text), [2] teacher number,
    // [3] subject number (a free-text lesson: empty); index 0 unused.
    std::array<QString, 4> text;
    QString subject;
    int kind = 0;                       // 1 elective course subject, 2 split subject, 0 ordinary
    int freeText = 0;                   // 1 a lesson outside the registered subjects
    std::array<SlotEntry, 11> entries;  // 1..10

    bool occupied() const { return !text[1].isEmpty(); }
};

struct SlotTables {
    static constexpr int kWeekdays = 7;
    static constexpr int kPeriods = 10;
    static constexpr int kEntries = 10;

    SlotTables() = default;
    SlotTables(const SlotTables& other)
        : slots_(other.slots_ ? std::make_unique<Week>(*other.slots_) : nullptr) {}
    SlotTables& operator=(const SlotTables& other) {
        if (this != &other) slots_ = other.slots_ ? std::make_unique<Week>(*other.slots_) : nullptr;
        return *this;
    }

    Slot& at(int weekday, int period) {
        if (!slots_) slots_ = std::make_unique<Week>();
        return (*slots_)[weekday][period];
    }
    const Slot& at(int weekday, int period) const {
        static const Slot none;
        return slots_ ? (*slots_)[weekday][period] : none;
    }
    static bool inRange(int weekday, int period) {
        return weekday >= 1 && weekday <= kWeekdays && period >= 1 && period <= kPeriods;
    }
    void clear() {
        if (!slots_) return;
        for (auto& day : *slots_)
            for (Slot& s : day)
                if (s.occupied() || !s.entries[1].empty()) s = Slot{};
    }

private:
    // [weekday][period]. Made at the first lesson put in: every screen has a working context,
    // and only the class timetable screens fill one; the rest, the menu first, would clear
    // 90 KB each for nothing.
    using Week = std::array<std::array<Slot, kPeriods + 1>, kWeekdays + 1>;
    std::unique_ptr<Week> slots_;
};
