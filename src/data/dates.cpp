#include "data/dates.h"

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QDate dateFrom(const QString& text) {
    const auto digits = [&](int from, int count) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') return -1;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    if (text.size() == 10 && text[4] == u'/' && text[7] == u'/') {
        const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (y >= 0 && m >= 0 && d >= 0) return QDate(y, m, d);
    }
    return QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
}

int weekdayNumber(const QDate& date) {
    return date.dayOfWeek() % 7 + 1;
}

QString weekdayNumberSql(const QString& field) {
    // Zeller's congruence (0 = Saturday) on the parts of "yyyy/mm/dd", January and February
    // counted as months 13 and 14 of the year before; shifted to 1 = Sunday .. 7 = Saturday.
    const QString part = QStringLiteral("CAST(substr(%1, %2, %3) AS INTEGER)").arg(field);
    const QString month = part.arg(6).arg(2);
    const QString early = QStringLiteral("(CASE WHEN %1 < 3 THEN 1 ELSE 0 END)").arg(month);
    const QString y = QStringLiteral("(%1 - %2)").arg(part.arg(1).arg(4), early);
    return QStringLiteral("((%1 + 13 * (%2 + 1 + 12 * %3) / 5 + %4 + %4 / 4 - %4 / 100 + %4 / 400 "
                          "+ 6) % 7 + 1)")
        .arg(part.arg(9).arg(2), month, early, y);
}

int businessYearOf(const QDate& date) {
    return date.month() >= 4 ? date.year() : date.year() - 1;
}
