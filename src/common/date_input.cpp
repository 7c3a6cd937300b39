#include "common/date_input.h"

#include <QRegularExpression>

namespace {

struct Era {
    const char* name;
    const char* letter;
    QDate start;
};

// The first day of each era; a date before it belongs to the previous one.
const Era kEras[] = {
    {"明治", "M", QDate(1868, 1, 25)},  {"大正", "T", QDate(1912, 7, 30)},
    {"昭和", "S", QDate(1926, 12, 25)}, {"平成", "H", QDate(1989, 1, 8)},
    {"令和", "R", QDate(2019, 5, 1)},
};

std::optional<QDate> validDate(int y, int m, int d) {
    const QDate date(y, m, d);
    if (!date.isValid() || y < 1000 || y > 9999) return std::nullopt;
    return date;
}

}  // namespace

QString toHalfWidth(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            out += QChar(char16_t(u - 0xFEE0));  // full-width ASCII block
        else if (u == 0x3000)
            out += QChar(' ');
        else
            out += ch;
    }
    return out;
}

std::optional<QDate> parseDateInput(const QString& input) {
    const QString text = toHalfWidth(input).trimmed();
    if (text.isEmpty()) return std::nullopt;

    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    if (const auto m = compact.match(text); m.hasMatch())
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());

    static const QRegularExpression western(
        QStringLiteral("^(\\d{4})\\s*[/\\-.年]\\s*(\\d{1,2})\\s*[/\\-.月]\\s*(\\d{1,2})\\s*日?$"));
    if (const auto m = western.match(text); m.hasMatch())
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());

    static const QRegularExpression era(
        QStringLiteral("^(明治|大正|昭和|平成|令和|[MTSHRmtshr])\\s*(\\d{1,2}|元)\\s*[/"
                       "\\-.年]\\s*(\\d{1,2})\\s*[/\\-.月]\\s*(\\d{1,2})\\s*日?$"));
    if (const auto m = era.match(text); m.hasMatch()) {
        const QString name = m.captured(1).toUpper();
        for (const Era& e : kEras) {
            if (name != QString::fromUtf8(e.name) && name != QString::fromUtf8(e.letter)) continue;
            const int n = m.captured(2) == QStringLiteral("元") ? 1 : m.captured(2).toInt();
            if (n < 1) return std::nullopt;
            const auto date =
                validDate(e.start.year() + n - 1, m.captured(3).toInt(), m.captured(4).toInt());
            // An era year that does not exist (平成40年, 令和1年1月1日) is refused.
            if (!date || *date < e.start) return std::nullopt;
            const Era* next = &e + 1;
            if (next != std::end(kEras) && *date >= next->start) return std::nullopt;
            return date;
        }
    }
    return std::nullopt;
}
