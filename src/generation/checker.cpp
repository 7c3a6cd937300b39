#include "generation/checker.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace gen {

namespace {

QString slotName(const Problem& p, int slot) {
    static const QString days = QStringLiteral("月火水木金土日");
    return QStringLiteral("%1曜%2限").arg(days.at(p.dayOf(slot))).arg(p.periodOf(slot) + 1);
}

QString quote(const QString& label) {
    return QStringLiteral("「%1」").arg(label);
}

}  // namespace

QStringList checkSolution(const Problem& p, const Solution& sol) {
    QStringList broken;
    const int n = static_cast<int>(p.activities.size());
    if (static_cast<int>(sol.start.size()) != n) {
        broken << QStringLiteral("案の授業数 %1 が作成する授業数 %2 と合いません")
                      .arg(sol.start.size())
                      .arg(n);
        return broken;
    }
    // Who is busy at each slot, to find double bookings; the first activity seen holds the slot.
    std::map<std::pair<int, int>, int> teacherAt, groupAt;
    for (int i = 0; i < n; ++i) {
        const Activity& a = p.activities[i];
        const int s = sol.start[i];
        if (s < 0) {
            broken << quote(a.label) + QStringLiteral("が置かれていません");
            continue;
        }
        if (s >= p.slots() || p.periodOf(s) + a.duration > p.periods) {
            broken << quote(a.label) + QStringLiteral("が時間割の外にはみ出しています");
            continue;
        }
        if (a.fixedSlot >= 0 && s != a.fixedSlot)
            broken << quote(a.label) + QStringLiteral("が固定の%1から動いています")
                                           .arg(slotName(p, a.fixedSlot));
        for (int k = 0; k < a.duration; ++k) {
            const int slot = s + k;
            for (int t : a.teachers) {
                if (a.fixedSlot < 0 && p.teachers[t].unavailable.test(slot))
                    broken << QStringLiteral("%1先生は%2に授業できません（%3）")
                                  .arg(p.teachers[t].name, slotName(p, slot), a.label);
                auto [it, fresh] = teacherAt.emplace(std::pair(t, slot), i);
                if (!fresh && it->second != i)
                    broken << QStringLiteral("%1先生が%2に二重に入っています（%3、%4）")
                                  .arg(p.teachers[t].name, slotName(p, slot),
                                       p.activities[it->second].label, a.label);
            }
            for (int g : a.groups) {
                if (a.fixedSlot < 0 && p.groups[g].unavailable.test(slot))
                    broken << QStringLiteral("%1は%2に授業できません（%3）")
                                  .arg(p.groups[g].name, slotName(p, slot), a.label);
                auto [it, fresh] = groupAt.emplace(std::pair(g, slot), i);
                if (!fresh && it->second != i)
                    broken << QStringLiteral("%1が%2に二重に入っています（%3、%4）")
                                  .arg(p.groups[g].name, slotName(p, slot),
                                       p.activities[it->second].label, a.label);
            }
        }
    }
    for (const Consecutive& c : p.consecutive) {
        const int a = sol.start[c.first], b = sol.start[c.second];
        if (a < 0 || b < 0) continue;
        if (b != a + p.activities[c.first].duration || p.dayOf(a) != p.dayOf(b))
            broken << QStringLiteral("%1の直後に%2が続いていません")
                          .arg(quote(p.activities[c.first].label),
                               quote(p.activities[c.second].label));
    }
    for (const Demand& d : p.demands) {
        if (d.spreadWeight < 100) continue;
        for (size_t x = 0; x < d.activities.size(); ++x)
            for (size_t y = x + 1; y < d.activities.size(); ++y) {
                const int a = d.activities[x], b = d.activities[y];
                const int sa = sol.start[a], sb = sol.start[b];
                if (sa < 0 || sb < 0) continue;
                // Kept lessons are the user's own choice; only what the generator places counts.
                if (p.activities[a].fixedSlot >= 0 && p.activities[b].fixedSlot >= 0) continue;
                // Judged here on its own rather than with the solvers' helpers.
                const int apart = std::abs(p.dayOf(sa) - p.dayOf(sb));
                const bool sideBySide = d.mayDouble && apart == 0 &&
                                        p.activities[a].duration == 1 &&
                                        p.activities[b].duration == 1 && std::abs(sa - sb) == 1;
                if (apart < std::max(1, d.minDaysApart) && !sideBySide)
                    broken << QStringLiteral("%1が%2と%3で日が近すぎます")
                                  .arg(quote(d.label), slotName(p, sa), slotName(p, sb));
            }
    }
    if (p.dailyMaxIsHard) {
        std::map<std::pair<int, int>, int> perDay;
        for (const auto& [key, act] : teacherAt) ++perDay[{key.first, p.dayOf(key.second)}];
        for (const auto& [key, count] : perDay) {
            const int most = p.teachers[key.first].dailyMax;
            if (most > 0 && count > most)
                broken << QStringLiteral(
                              "%1先生の%2曜日の授業 %3 コマが 1 日の上限 %4 を超えています")
                              .arg(p.teachers[key.first].name)
                              .arg(QStringLiteral("月火水木金土日").at(key.second))
                              .arg(count)
                              .arg(most);
        }
    }
    return broken;
}

}  // namespace gen
