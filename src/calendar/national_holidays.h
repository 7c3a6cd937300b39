#pragma once

#include <vector>

#include <QDate>
#include <QString>

// Japan's national holidays and the days off the holiday law adds to them, computed for any
// year from 2007 (when the present Sunday rule began), so a school never has to type the year's
// holidays in by hand.

struct NationalHoliday {
    QDate date;
    QString name;  // "振替休日" for a substitute day, "国民の休日" for a day between two holidays
    bool operator==(const NationalHoliday&) const = default;
};

// Every holiday and day off of the calendar year, in date order.
std::vector<NationalHoliday> nationalHolidays(int year);

// Those of a school year: April of `year` to March of the next.
std::vector<NationalHoliday> nationalHolidaysOfSchoolYear(int year);
