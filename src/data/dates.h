#pragma once

#include <QDate>
#include <QString>

// Stored dates are texts "yyyy/mm/dd", so that plain text comparison orders them.
QString dateText(const QDate& date);
// The date a stored text names (invalid when it names none): what QDate::fromString gives with
// "yyyy/MM/dd", without setting up a date parser for every text of that usual form.
QDate dateFrom(const QString& text);

// Weekday number 1..7 from Sunday, the numbering of the timetable and the weekday-name table.
int weekdayNumber(const QDate& date);

// weekdayNumber of a stored date field as an expression of SQL that both engines run (text,
// whole-number arithmetic only), for a count that matches dates with weekdays in the engine.
// `field` is the field as the statement names it (quoted, with its table's alias).
QString weekdayNumberSql(const QString& field);

// The business year (April to March) a date falls in: 2008/02/10 belongs to 2007.
int businessYearOf(const QDate& date);
