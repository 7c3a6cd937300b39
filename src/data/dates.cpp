#include "data/dates.h"

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

int weekdayNumber(const QDate& date) {
    return date.dayOfWeek() % 7 + 1;
}

int businessYearOf(const QDate& date) {
    return date.month() >= 4 ? date.year() : date.year() - 1;
}
