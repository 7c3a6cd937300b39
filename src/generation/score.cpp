#include <vector>

#include "generation/placement.h"
#include "generation/solver.h"

namespace gen {

int scoreOf(const Problem& p, const Solution& sol) {
    return brokenWishes(p, sol).score;
}

BrokenWishes brokenWishes(const Problem& p, const Solution& sol) {
    BrokenWishes out;
    if (sol.start.size() != p.activities.size()) return out;
    const Weights& w = p.weights;
    auto add = [&](Wish wish, int owner, int count, int cost) {
        if (count <= 0 || cost <= 0) return;
        out.count[{wish, owner}] += count;
        out.score += count * cost;
    };
    for (size_t di = 0; di < p.demands.size(); ++di) {
        const Demand& d = p.demands[di];
        const int cost = spreadCost(p, d);
        if (!cost) continue;
        for (size_t x = 0; x < d.activities.size(); ++x)
            for (size_t y = x + 1; y < d.activities.size(); ++y) {
                const int a = d.activities[x], b = d.activities[y];
                if (p.activities[a].fixedSlot >= 0 && p.activities[b].fixedSlot >= 0) continue;
                if (sol.start[a] >= 0 && sol.start[b] >= 0 &&
                    tooClose(p, d, sol.start[a], p.activities[a].duration, sol.start[b],
                             p.activities[b].duration))
                    add(Wish::Spread, static_cast<int>(di), 1, cost);
            }
    }
    // busy[t][slot]: the teacher's lessons, for gaps and daily counts.
    std::vector<std::vector<char>> busy(p.teachers.size(), std::vector<char>(p.slots(), 0));
    for (size_t i = 0; i < p.activities.size(); ++i) {
        const Activity& a = p.activities[i];
        const int s = sol.start[i];
        if (s < 0) continue;
        for (int t : a.teachers)
            for (int k = 0; k < a.duration && s + k < p.slots(); ++k) busy[t][s + k] = 1;
        if (a.heavy && w.heavyLast > 0 && !a.groups.empty()) {
            const int last = lastPeriodInUse(p, a.groups.front(), p.dayOf(s));
            if (p.periodOf(s) + a.duration - 1 == last)
                add(Wish::HeavyLast, a.groups.front(), 1, w.heavyLast);
        }
    }
    for (size_t t = 0; t < p.teachers.size(); ++t)
        for (int day = 0; day < p.days; ++day) {
            int first = -1, last = -1, count = 0;
            for (int period = 0; period < p.periods; ++period)
                if (busy[t][day * p.periods + period]) {
                    if (first < 0) first = period;
                    last = period;
                    ++count;
                }
            if (count == 0) continue;
            add(Wish::Gap, static_cast<int>(t), last - first + 1 - count, w.teacherGap);
            const int most = p.teachers[t].dailyMax;
            if (!p.dailyMaxIsHard && most > 0)
                add(Wish::DailyMax, static_cast<int>(t), count - most, w.dailyMax);
        }
    return out;
}

}  // namespace gen
