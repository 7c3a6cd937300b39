#include "generation/placement.h"

#include <cstdlib>

namespace gen {

std::vector<int> possibleStarts(const Problem& p, int activity) {
    const Activity& a = p.activities[activity];
    if (a.fixedSlot >= 0) return {a.fixedSlot};
    Week blocked;
    for (int t : a.teachers) {
        blocked.bits[0] |= p.teachers[t].unavailable.bits[0];
        blocked.bits[1] |= p.teachers[t].unavailable.bits[1];
    }
    for (int g : a.groups) {
        blocked.bits[0] |= p.groups[g].unavailable.bits[0];
        blocked.bits[1] |= p.groups[g].unavailable.bits[1];
    }
    std::vector<int> starts;
    for (int s = 0; s < p.slots(); ++s) {
        if (p.periodOf(s) + a.duration > p.periods) continue;
        bool free = true;
        for (int k = 0; k < a.duration && free; ++k) free = !blocked.test(s + k);
        if (free) starts.push_back(s);
    }
    return starts;
}

int lastPeriodInUse(const Problem& p, int group, int day) {
    for (int period = p.periods - 1; period >= 0; --period)
        if (!p.groups[group].unavailable.test(day * p.periods + period)) return period;
    return -1;
}

int spreadCost(const Problem& p, const Demand& d) {
    if (d.spreadWeight <= 0 || d.spreadWeight >= 100 || p.weights.spread <= 0) return 0;
    return std::max(1, (p.weights.spread * d.spreadWeight + 99) / 100);
}

bool tooClose(const Problem& p, const Demand& d, int a, int da, int b, int db) {
    const int dayA = p.dayOf(a), dayB = p.dayOf(b);
    if (std::abs(dayA - dayB) >= std::max(1, d.minDaysApart)) return false;
    if (dayA == dayB && d.mayDouble && da == 1 && db == 1 && std::abs(a - b) == 1) return false;
    return true;
}

}  // namespace gen
