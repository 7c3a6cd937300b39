#include "calendar/national_holidays.h"

#include <algorithm>
#include <map>

namespace {

// The n-th Monday of a month (the days the 2000 and 2003 amendments moved to Mondays).
QDate nthMonday(int year, int month, int n) {
    QDate d(year, month, 1);
    while (d.dayOfWeek() != Qt::Monday) d = d.addDays(1);
    return d.addDays(7 * (n - 1));
}

// The equinox days are fixed each February by the observatory's almanac; this approximation of
// the sun's position agrees with every published date from 1980 to 2099.
int equinoxDay(int year, double base) {
    const int y = year - 1980;
    return int(base + 0.242194 * y) - y / 4;
}

// The days the law fixes for the year, before the Sunday and in-between rules.
std::map<QDate, QString> holidaysByLaw(int year) {
    std::map<QDate, QString> h;
    auto add = [&](int month, int day, const char* name) {
        h[QDate(year, month, day)] = QString::fromUtf8(name);
    };
    add(1, 1, "元日");
    h[nthMonday(year, 1, 2)] = QStringLiteral("成人の日");
    add(2, 11, "建国記念の日");
    if (year >= 2020) add(2, 23, "天皇誕生日");
    if (year <= 2018) add(12, 23, "天皇誕生日");
    add(3, equinoxDay(year, 20.8431), "春分の日");
    add(4, 29, "昭和の日");
    add(5, 3, "憲法記念日");
    add(5, 4, "みどりの日");
    add(5, 5, "こどもの日");
    h[nthMonday(year, 9, 3)] = QStringLiteral("敬老の日");
    add(9, equinoxDay(year, 23.2488), "秋分の日");
    add(11, 3, "文化の日");
    add(11, 23, "勤労感謝の日");

    // The accession of 2019 and the Olympic Games of 2020 (held over to 2021) moved or added
    // single days by special laws; everything else follows the general rules.
    switch (year) {
        case 2019:
            add(5, 1, "即位の日");
            add(10, 22, "即位礼正殿の儀");
            break;
        case 2020:
            add(7, 23, "海の日");
            add(7, 24, "スポーツの日");
            add(8, 10, "山の日");
            return h;
        case 2021:
            add(7, 22, "海の日");
            add(7, 23, "スポーツの日");
            add(8, 8, "山の日");
            return h;
        default:
            break;
    }
    h[nthMonday(year, 7, 3)] = QStringLiteral("海の日");
    if (year >= 2016) add(8, 11, "山の日");
    h[nthMonday(year, 10, 2)] =
        year >= 2020 ? QStringLiteral("スポーツの日") : QStringLiteral("体育の日");
    return h;
}

}  // namespace

std::vector<NationalHoliday> nationalHolidays(int year) {
    const std::map<QDate, QString> byLaw = holidaysByLaw(year);
    std::map<QDate, QString> all = byLaw;
    // A holiday on a Sunday gives the nearest following day that is not itself a holiday.
    for (const auto& [date, name] : byLaw) {
        if (date.dayOfWeek() != Qt::Sunday) continue;
        QDate d = date.addDays(1);
        while (byLaw.count(d)) d = d.addDays(1);
        all.emplace(d, QStringLiteral("振替休日"));
    }
    // A day squeezed between two holidays of the law is a day off too.
    for (const auto& [date, name] : byLaw) {
        const QDate between = date.addDays(1);
        if (byLaw.count(date.addDays(2)) && !all.count(between))
            all.emplace(between, QStringLiteral("国民の休日"));
    }
    std::vector<NationalHoliday> out;
    for (const auto& [date, name] : all)
        if (date.year() == year) out.push_back({date, name});
    return out;
}

std::vector<NationalHoliday> nationalHolidaysOfSchoolYear(int year) {
    std::vector<NationalHoliday> out;
    for (const NationalHoliday& h : nationalHolidays(year))
        if (h.date.month() >= 4) out.push_back(h);
    for (const NationalHoliday& h : nationalHolidays(year + 1))
        if (h.date.month() <= 3) out.push_back(h);
    return out;
}
