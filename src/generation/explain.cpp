#include "generation/explain.h"

#include <set>

#include "generation/placement.h"

namespace gen {

namespace {

int freeSlots(const Problem& p, const Week& unavailable) {
    int n = 0;
    for (int s = 0; s < p.slots(); ++s) n += !unavailable.test(s);
    return n;
}

// Most activities of `d` that fit on distinct days given where each may start: days at least
// minDaysApart apart, counted greedily from Monday (exact for one common set of days).
int daysForSpread(const Problem& p, const Demand& d) {
    std::set<int> days;
    for (int a : d.activities)
        for (int s : possibleStarts(p, a)) days.insert(p.dayOf(s));
    int count = 0, next = 0;
    for (int day : days)
        if (day >= next) {
            ++count;
            next = day + std::max(1, d.minDaysApart);
        }
    return count;
}

}  // namespace

QStringList precheck(const Problem& p) {
    QStringList why;
    std::vector<int> teacherLoad(p.teachers.size()), groupLoad(p.groups.size());
    for (size_t i = 0; i < p.activities.size(); ++i) {
        const Activity& a = p.activities[i];
        for (int t : a.teachers) teacherLoad[t] += a.duration;
        for (int g : a.groups) groupLoad[g] += a.duration;
        if (possibleStarts(p, static_cast<int>(i)).empty()) {
            if (a.duration > 1)
                why << QStringLiteral(
                           "「%1」の %2 "
                           "コマ連続を置ける時間がありません（担当の先生とクラスがそろって空いてい"
                           "る時間）")
                           .arg(a.label)
                           .arg(a.duration);
            else
                why << QStringLiteral(
                           "「%"
                           "1」を置ける時間がありません（担当の先生とクラスがそろって空いている時間"
                           "）")
                           .arg(a.label);
        }
    }
    for (size_t t = 0; t < p.teachers.size(); ++t) {
        const Teacher& teacher = p.teachers[t];
        const int can = freeSlots(p, teacher.unavailable);
        if (teacherLoad[t] > can)
            why << QStringLiteral("%1先生の担当 %2 コマが、可能なコマ %3 を超えています")
                       .arg(teacher.name)
                       .arg(teacherLoad[t])
                       .arg(can);
        else if (p.dailyMaxIsHard && teacher.dailyMax > 0) {
            int days = 0;
            for (int day = 0; day < p.days; ++day) {
                bool any = false;
                for (int period = 0; period < p.periods; ++period)
                    any = any || !teacher.unavailable.test(day * p.periods + period);
                days += any;
            }
            if (teacherLoad[t] > days * teacher.dailyMax)
                why << QStringLiteral(
                           "%1先生の担当 %2 コマが、1 日 %3 コマまでで %4 日に入りません")
                           .arg(teacher.name)
                           .arg(teacherLoad[t])
                           .arg(teacher.dailyMax)
                           .arg(days);
        }
    }
    for (size_t g = 0; g < p.groups.size(); ++g) {
        const int can = freeSlots(p, p.groups[g].unavailable);
        if (groupLoad[g] > can)
            why << QStringLiteral("%1の授業 %2 コマが、可能なコマ %3 を超えています")
                       .arg(p.groups[g].name)
                       .arg(groupLoad[g])
                       .arg(can);
    }
    for (const Demand& d : p.demands) {
        if (d.spreadWeight < 100 || d.activities.size() < 2) continue;
        int placed = 0;
        for (int a : d.activities) placed += p.activities[a].fixedSlot < 0;
        if (placed < 2) continue;
        const int days = daysForSpread(p, d);
        if (static_cast<int>(d.activities.size()) > days && !d.mayDouble)
            why << QStringLiteral("「%1」の %2 回を別々の日に置けません（置ける日は %3 日です）")
                       .arg(d.label)
                       .arg(d.activities.size())
                       .arg(days);
    }
    return why;
}

}  // namespace gen
