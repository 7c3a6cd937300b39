#pragma once

#include <QDate>

// A realistic sample school for the business year that contains `today`, written into the open
// database in one operation: school name, two departments with their grades and classes, a
// course, the retention period, the business years, terms and holidays, course subjects and
// subjects per grade (with an elective pair and a free-text HR lesson), about forty teachers with
// their homeroom classes and assignments, a complete Monday-to-Friday timetable for every class in
// which no teacher is booked twice outside the elective slots, events of each lesson
// classification and a few lesson changes in the current week.
void fillSampleSchool(const QDate& today);

// A big school for the benchmarks: 3 departments x 3 grades x 12 classes, 200 teachers (a few on
// leave) and ten business years of timetables, lesson changes, assignments and events ending with
// the year of `lastYear`. The same arguments always give the same data.
void fillLargeSchool(int lastYear);
