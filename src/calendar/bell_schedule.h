#pragma once

#include <map>

#include <QString>
#include <QTime>

// The bell schedule (時程): when each period of a school day starts and ends.

namespace 曜日区分 {
enum : int { 平日 = 0, 土曜 = 1 };
}

struct BellPeriod {
    QTime start, end;
};

// "8:50", "08:50" and their full-width forms; an invalid time for anything else.
QTime parseBellTime(const QString& text);

// The times of one department's periods on a weekday (1 = Sunday … 7 = Saturday), by period.
// A department without its own times follows the whole school's ("000"); a Saturday without its
// own times follows the weekdays.
std::map<int, BellPeriod> bellSchedule(const QString& department, int weekday);

// The stored rows of exactly one department ("000" for the whole school) and day kind.
std::map<int, BellPeriod> storedBellSchedule(const QString& department, int dayKind);

// Deletes the stored rows of one department and day kind; returns how many there were.
int removeBellSchedule(const QString& department, int dayKind);
