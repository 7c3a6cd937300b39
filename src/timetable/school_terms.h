#pragma once

#include <vector>

#include <QString>

// The terms of a school year: the periods of 期間 marked as a term (期_学期F = 1), for one
// department and grade or for all ("000", grade 0). Holidays and examination weeks registered
// beside them are not terms.
struct SchoolTerm {
    QString department;
    int grade = 0;
    QString from, to;  // "yyyy/mm/dd"
    QString name;      // the registered name, or "<n>学期" when it has none

    bool contains(const QString& date) const { return from <= date && date <= to; }
    // Whether the term is the one of a class of this department and grade.
    bool appliesTo(const QString& dept, int grade) const;
};

// The terms of the year in date order.
std::vector<SchoolTerm> schoolTerms(int year);

// April 1st of the year to March 31st of the next: the school year a term-less check falls back
// on.
struct DateRange {
    QString from, to;
};
DateRange schoolYearOf(int year);
