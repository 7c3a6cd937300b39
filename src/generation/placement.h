#pragma once

#include <map>
#include <vector>

#include "generation/problem.h"

// What the solvers, the checker and the explanations agree on about where an activity may go.
namespace gen {

// The slots an activity may start at: its run stays within one day and meets no slot any of its
// teachers or classes cannot use. A kept activity may start only at its own slot, which counts
// as possible whatever the availability says (it is kept as it is).
std::vector<int> possibleStarts(const Problem& problem, int activity);

// The last period of `day` a class has in use (-1 when it has none that day).
int lastPeriodInUse(const Problem& problem, int group, int day);

// The cost of two lessons of one demand on days too close to each other, when that is a wish.
int spreadCost(const Problem& problem, const Demand& demand);

// True when two lessons of `demand` starting at `a` and `b` (durations da, db) stand too close:
// on days less than minDaysApart apart, except two single lessons side by side on one day when
// the demand allows that.
bool tooClose(const Problem& problem, const Demand& demand, int a, int da, int b, int db);

}  // namespace gen

namespace gen {

// The wishes a proposal breaks, counted per owner: a demand's lessons too close together, a
// teacher's free periods between lessons, a teacher's lessons above the daily maximum, a class's
// main-subject lessons in the last period. The score is the sum of count × weight.
enum class Wish { Spread, Gap, DailyMax, HeavyLast };
struct BrokenWishes {
    std::map<std::pair<Wish, int>, int> count;  // (wish, demand / teacher / class) -> how many
    int score = 0;
};
BrokenWishes brokenWishes(const Problem& problem, const Solution& solution);

}  // namespace gen
