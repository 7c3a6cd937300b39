#include "generation/sat_solver.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include <cadical.hpp>

#include "generation/checker.h"
#include "generation/cp_solver.h"
#include "generation/placement.h"
#include "generation/sat_encoding.h"
#include "generation/sat_by_demand.h"

namespace gen {

namespace {

using Clock = std::chrono::steady_clock;

// Stops CaDiCaL at the deadline or when the user asks; polled by the solver itself.
class Deadline : public CaDiCaL::Terminator {
public:
    Deadline(Clock::time_point end, const SolveOptions& options, const Progress* progress)
        : end_(end), options_(options), progress_(progress) {}
    bool terminate() override {
        if (stopped_ || Clock::now() >= end_ || (interrupt_ && *interrupt_)) return true;
        if (options_.onProgress && Clock::now() >= nextReport_) {
            nextReport_ = Clock::now() + std::chrono::milliseconds(200);
            if (!options_.onProgress(*progress_)) stopped_ = true;
        }
        return stopped_;
    }
    bool stopped() const { return stopped_; }
    // Ends the next searches early (not the whole run) once `*flag` is set; nullptr: never.
    void interruptOn(const std::atomic<bool>* flag) { interrupt_ = flag; }
    void stop() { stopped_ = true; }
    bool expired() const { return stopped_ || Clock::now() >= end_; }

private:
    Clock::time_point end_;
    const SolveOptions& options_;
    const Progress* progress_;
    Clock::time_point nextReport_ = Clock::now();
    const std::atomic<bool>* interrupt_ = nullptr;
    bool stopped_ = false;
};

class SatModel {
public:
    explicit SatModel(const Problem& p) : p_(p) {}

    void build();
    // Solves with every demand not dropped switched on; 10 = found, 20 = impossible, 0 = no
    // answer in time.
    int solve(const std::vector<int>& extraAssumptions = {});
    Solution decode();
    // The starts of `placed` as assumptions, its interchangeable lessons put in slot order.
    std::vector<int> startsOf(Solution placed) const;
    // Wishes. Each penalty literal belongs to an owner (a teacher's gaps, a demand's spread,
    // ...); a counter over an owner's literals lets a later search ask "no more broken wishes
    // here than now, and one fewer there".
    struct Owner {
        int cost = 0;
        std::vector<int> lits;
        std::vector<int> atLeast;  // atLeast[k]: at least k + 1 of lits
        int broken = 0;            // in the best placement so far
    };
    std::map<std::pair<Wish, int>, Owner> owners;
    void addBounds();
    void countBroken(const Solution& placed);
    // Solves for a placement that breaks no owner's wishes more than now, and `better`'s fewer.
    // Only the lessons of the classes the owner concerns may move (a large neighbourhood kept
    // small enough to answer quickly), and when `wider`, also those of every class that shares
    // a teacher with them; everything else stays where `current` has it.
    int solveBetter(const std::pair<Wish, int>& owner, const Solution& current, bool wider);

    CaDiCaL::Solver sat;
    // Per activity: "it is placed". Within a demand the later ones go first (each implies the
    // one before), so leaving one lesson out leaves out just that one.
    std::vector<int> selector;
    // Switches on the clauses that hold only when every activity is placed (a class or teacher
    // with as many lessons as free slots has a lesson in each); off once a demand is left out.
    int whenAllPlaced = 0;
    bool allPlacedOn = true;
    std::vector<char> dropped;  // per activity: left out after it proved impossible

private:
    int fresh() { return ++vars_; }
    void clause(std::initializer_list<int> lits) {
        for (int l : lits) sat.add(l);
        sat.add(0);
    }
    void clause(const std::vector<int>& lits) {
        for (int l : lits) sat.add(l);
        sat.add(0);
    }
    void atMostOne(const std::vector<int>& lits);
    // Outputs o[k] (k = 0..) that are true when at least k + 1 of `lits` are; only forced up.
    std::vector<int> atLeastCounter(const std::vector<int>& lits, int upTo);
    void addSpread(const Demand& d, int index);
    void addRedundant();
    void addTeacherWishes();

    // True when b, the activity after a in its demand, is taken to start after a.
    bool inSlotOrder(int a, int b) const {
        const Activity &A = p_.activities[a], &B = p_.activities[b];
        return A.fixedSlot < 0 && B.fixedSlot < 0 && !chained_[a] && !chained_[b] &&
               A.duration == B.duration;
    }

    const Problem& p_;
    int vars_ = 0;
    std::vector<char> chained_;  // in a directly-after pair
    // start[a]: (slot, literal) of each possible start.
    std::vector<std::vector<std::pair<int, int>>> start_;
    std::vector<std::map<int, int>> dayLit_;  // per activity: day -> "it is on that day"
    using enum Wish;
    void penalty(Wish kind, int index, int lit, int cost) {
        Owner& o = owners[{kind, index}];
        o.cost = cost;
        o.lits.push_back(lit);
    }
};

void SatModel::atMostOne(const std::vector<int>& lits) { addAtMostOne(sat, vars_, lits); }

std::vector<int> SatModel::atLeastCounter(const std::vector<int>& lits, int upTo) {
    std::vector<int> row;  // row[k]: at least k + 1 among the inputs seen so far
    for (int lit : lits) {
        std::vector<int> next(std::min<size_t>(row.size() + 1, upTo));
        for (size_t k = 0; k < next.size(); ++k) {
            next[k] = fresh();
            if (k < row.size()) clause({-row[k], next[k]});
            if (k == 0)
                clause({-lit, next[0]});
            else
                clause({-lit, -row[k - 1], next[k]});
        }
        row = std::move(next);
    }
    return row;
}

void SatModel::build() {
    const int n = static_cast<int>(p_.activities.size());
    // Decide true first: a start tried true places a lesson and its exactly-one clauses rule
    // out the others at once, so the search builds a timetable lesson by lesson. Deciding false
    // first (nothing placed, no wish broken) took seconds on real schools where this takes a
    // fraction; the wishes are lowered afterwards anyway.
    sat.set("phase", 1);
    // The solver's own messages would land in the command's and the screen's output.
    sat.set("quiet", 1);
    selector.resize(p_.activities.size());
    dropped.assign(p_.activities.size(), 0);
    for (int& s : selector) s = fresh();
    for (const Demand& d : p_.demands)
        for (size_t i = 0; i + 1 < d.activities.size(); ++i)
            clause({-selector[d.activities[i + 1]], selector[d.activities[i]]});
    whenAllPlaced = fresh();
    start_.resize(n);
    dayLit_.resize(n);
    for (int a = 0; a < n; ++a) {
        for (int s : possibleStarts(p_, a)) start_[a].push_back({s, fresh()});
        std::vector<int> any{-selector[a]};
        std::vector<int> all;
        for (auto [s, lit] : start_[a]) {
            any.push_back(lit);
            all.push_back(lit);
            auto [it, fresh_] = dayLit_[a].emplace(p_.dayOf(s), 0);
            if (fresh_) it->second = fresh();
            clause({-lit, it->second});
        }
        clause(any);
        atMostOne(all);
    }
    // Nobody in two places at once.
    std::map<std::pair<int, int>, std::vector<int>> teacherAt, groupAt;
    for (int a = 0; a < n; ++a)
        for (auto [s, lit] : start_[a])
            for (int k = 0; k < p_.activities[a].duration; ++k) {
                for (int t : p_.activities[a].teachers) teacherAt[{t, s + k}].push_back(lit);
                for (int g : p_.activities[a].groups) groupAt[{g, s + k}].push_back(lit);
            }
    for (auto& [key, lits] : teacherAt) atMostOne(lits);
    for (auto& [key, lits] : groupAt) atMostOne(lits);
    // More lessons than slots for a teacher or class: a counter over the demands switched on
    // says so at once. Without it the solver would have to refute every way of seating the
    // pigeons, which takes it longer than any user waits.
    auto capacity = [&](auto uses) {
        std::vector<char> covered(p_.slots(), 0);
        std::vector<int> lits;
        for (int a = 0; a < n; ++a) {
            if (!uses(p_.activities[a])) continue;
            for (int k = 0; k < p_.activities[a].duration; ++k) lits.push_back(selector[a]);
            for (auto [s, lit] : start_[a])
                for (int k = 0; k < p_.activities[a].duration; ++k) covered[s + k] = 1;
        }
        const int room = static_cast<int>(std::count(covered.begin(), covered.end(), 1));
        if (static_cast<int>(lits.size()) <= room) return;
        const std::vector<int> atLeast = atLeastCounter(lits, room + 1);
        clause({-atLeast[room]});
    };
    for (size_t t = 0; t < p_.teachers.size(); ++t)
        capacity([&](const Activity& a) {
            return std::count(a.teachers.begin(), a.teachers.end(), int(t)) > 0;
        });
    for (size_t g = 0; g < p_.groups.size(); ++g)
        capacity([&](const Activity& a) {
            return std::count(a.groups.begin(), a.groups.end(), int(g)) > 0;
        });
    // Directly after: a start of the first forces the matching start of the second, when the
    // second is placed at all.
    for (const Consecutive& c : p_.consecutive) {
        const int d = p_.activities[c.first].duration;
        std::map<int, int> second(start_[c.second].begin(), start_[c.second].end());
        std::map<int, int> first(start_[c.first].begin(), start_[c.first].end());
        const int selFirst = selector[c.first];
        const int selSecond = selector[c.second];
        for (auto [s, lit] : start_[c.first]) {
            auto it = second.find(s + d);
            if (it != second.end() && p_.dayOf(s) == p_.dayOf(s + d))
                clause({-lit, -selSecond, it->second});
            else
                clause({-lit, -selSecond});
        }
        for (auto [s, lit] : start_[c.second]) {
            auto it = first.find(s - d);
            if (it != first.end() && p_.dayOf(s) == p_.dayOf(s - d))
                clause({-lit, -selFirst, it->second});
            else
                clause({-lit, -selFirst});
        }
    }
    addRedundant();
    for (size_t i = 0; i < p_.demands.size(); ++i) addSpread(p_.demands[i], static_cast<int>(i));
    addTeacherWishes();
    for (int a = 0; a < n; ++a) {
        const Activity& act = p_.activities[a];
        if (!act.heavy || p_.weights.heavyLast <= 0 || act.groups.empty()) continue;
        for (auto [s, lit] : start_[a])
            if (p_.periodOf(s) + act.duration - 1 ==
                lastPeriodInUse(p_, act.groups.front(), p_.dayOf(s)))
                penalty(HeavyLast, act.groups.front(), lit, p_.weights.heavyLast);
    }
    addBounds();
}

void SatModel::addRedundant() {
    // Full weeks: a lesson in every usable slot. Without this the solver learns it the hard
    // way, pigeon by pigeon.
    auto fill = [&](auto members, const Week& unavailable) {
        std::vector<int> acts;
        for (size_t a = 0; a < p_.activities.size(); ++a)
            if (members(p_.activities[a])) acts.push_back(static_cast<int>(a));
        int load = 0;
        Week usable;
        for (int s = 0; s < p_.slots(); ++s)
            if (!unavailable.test(s)) usable.set(s);
        for (int a : acts) {
            load += p_.activities[a].duration;
            if (p_.activities[a].fixedSlot >= 0)
                for (int k = 0; k < p_.activities[a].duration; ++k)
                    usable.set(p_.activities[a].fixedSlot + k);
        }
        int slots = 0;
        for (int s = 0; s < p_.slots(); ++s) slots += usable.test(s);
        if (load != slots) return;
        std::vector<std::vector<int>> cover(p_.slots(), std::vector<int>{-whenAllPlaced});
        for (int a : acts)
            for (auto [s, lit] : start_[a])
                for (int k = 0; k < p_.activities[a].duration; ++k) cover[s + k].push_back(lit);
        for (int s = 0; s < p_.slots(); ++s)
            if (usable.test(s)) clause(cover[s]);
    };
    for (size_t g = 0; g < p_.groups.size(); ++g)
        fill(
            [&](const Activity& a) {
                return std::count(a.groups.begin(), a.groups.end(), int(g)) > 0;
            },
            p_.groups[g].unavailable);
    for (size_t t = 0; t < p_.teachers.size(); ++t)
        fill(
            [&](const Activity& a) {
                return std::count(a.teachers.begin(), a.teachers.end(), int(t)) > 0;
            },
            p_.teachers[t].unavailable);

    // Lessons of one demand are interchangeable: take them in slot order.
    chained_.assign(p_.activities.size(), 0);
    for (const Consecutive& c : p_.consecutive) chained_[c.first] = chained_[c.second] = 1;
    for (const Demand& d : p_.demands)
        for (size_t i = 0; i + 1 < d.activities.size(); ++i) {
            const int a = d.activities[i], b = d.activities[i + 1];
            if (!inSlotOrder(a, b)) continue;
            for (auto [s, litB] : start_[b]) {
                std::vector<int> c{-litB};
                for (auto [t, litA] : start_[a])
                    if (t < s) c.push_back(litA);
                clause(c);
            }
        }
}

std::vector<int> SatModel::startsOf(Solution placed) const {
    for (const Demand& d : p_.demands)
        for (size_t i = 0; i < d.activities.size();) {
            size_t j = i + 1;
            while (j < d.activities.size() && inSlotOrder(d.activities[j - 1], d.activities[j]))
                ++j;
            std::vector<int> starts;
            for (size_t k = i; k < j; ++k) starts.push_back(placed.start[d.activities[k]]);
            std::sort(starts.begin(), starts.end());
            for (size_t k = i; k < j; ++k) placed.start[d.activities[k]] = starts[k - i];
            i = j;
        }
    std::vector<int> lits;
    for (size_t a = 0; a < placed.start.size(); ++a)
        for (auto [s, lit] : start_[a])
            if (s == placed.start[a]) lits.push_back(lit);
    return lits;
}

void SatModel::addSpread(const Demand& d, int index) {
    const bool must = d.spreadWeight >= 100;
    const int cost = spreadCost(p_, d);
    if ((!must && !cost) || d.activities.size() < 2) return;
    const int apart = std::max(1, d.minDaysApart);
    for (size_t x = 0; x < d.activities.size(); ++x)
        for (size_t y = x + 1; y < d.activities.size(); ++y) {
            const int a = d.activities[x], b = d.activities[y];
            const Activity &A = p_.activities[a], &B = p_.activities[b];
            if (A.fixedSlot >= 0 && B.fixedSlot >= 0) continue;
            const int penalty = must ? 0 : fresh();
            if (!must) this->penalty(Spread, index, penalty, cost);
            const bool pairMayDouble = d.mayDouble && A.duration == 1 && B.duration == 1;
            if (!pairMayDouble) {
                for (auto [dayA, litA] : dayLit_[a])
                    for (auto [dayB, litB] : dayLit_[b])
                        if (std::abs(dayA - dayB) < apart) {
                            if (must)
                                clause({-litA, -litB});
                            else
                                clause({-litA, -litB, penalty});
                        }
                continue;
            }
            std::map<int, int> startsB(start_[b].begin(), start_[b].end());
            for (auto [s, litA] : start_[a])
                for (auto [dayB, litB] : dayLit_[b]) {
                    if (std::abs(p_.dayOf(s) - dayB) >= apart) continue;
                    std::vector<int> c{-litA, -litB};
                    if (dayB == p_.dayOf(s))
                        for (int side : {s - 1, s + 1}) {
                            auto it = startsB.find(side);
                            if (it != startsB.end() && p_.dayOf(side) == dayB)
                                c.push_back(it->second);
                        }
                    if (!must) c.push_back(penalty);
                    clause(c);
                }
        }
}

void SatModel::addTeacherWishes() {
    const Weights& w = p_.weights;
    std::vector<std::vector<std::vector<int>>> covering(p_.teachers.size(),
                                                        std::vector<std::vector<int>>(p_.slots()));
    for (size_t a = 0; a < p_.activities.size(); ++a)
        for (auto [s, lit] : start_[a])
            for (int k = 0; k < p_.activities[a].duration; ++k)
                for (int t : p_.activities[a].teachers) covering[t][s + k].push_back(lit);
    for (size_t t = 0; t < p_.teachers.size(); ++t) {
        const int most = p_.teachers[t].dailyMax;
        const bool limit = most > 0 && (p_.dailyMaxIsHard || w.dailyMax > 0);
        if (w.teacherGap <= 0 && !limit) continue;
        for (int day = 0; day < p_.days; ++day) {
            // busy[q]: the teacher teaches in period q (forced up by any covering start).
            std::vector<int> busy(p_.periods, 0);
            int lessons = 0;
            for (int q = 0; q < p_.periods; ++q) {
                const auto& lits = covering[t][day * p_.periods + q];
                if (lits.empty()) continue;
                busy[q] = fresh();
                ++lessons;
                for (int lit : lits) clause({-lit, busy[q]});
                // Exact both ways: a busy period that is not would hide a gap.
                std::vector<int> some{-busy[q]};
                some.insert(some.end(), lits.begin(), lits.end());
                clause(some);
            }
            if (lessons == 0) continue;
            if (w.teacherGap > 0 && lessons >= 2) {
                // before[q] / after[q]: a lesson earlier / later that day.
                std::vector<int> before(p_.periods, 0), after(p_.periods, 0);
                int prev = 0;
                for (int q = 0; q < p_.periods; ++q) {
                    before[q] = prev;
                    if (busy[q]) {
                        const int now = fresh();
                        clause({-busy[q], now});
                        if (prev) clause({-prev, now});
                        prev = now;
                    }
                }
                prev = 0;
                for (int q = p_.periods - 1; q >= 0; --q) {
                    after[q] = prev;
                    if (busy[q]) {
                        const int now = fresh();
                        clause({-busy[q], now});
                        if (prev) clause({-prev, now});
                        prev = now;
                    }
                }
                for (int q = 1; q + 1 < p_.periods; ++q) {
                    if (!before[q] || !after[q]) continue;
                    const int gap = fresh();
                    std::vector<int> c{-before[q], -after[q], gap};
                    if (busy[q]) c.push_back(busy[q]);
                    clause(c);
                    penalty(Gap, static_cast<int>(t), gap, w.teacherGap);
                }
            }
            if (limit && lessons > most) {
                std::vector<int> lits;
                for (int b : busy)
                    if (b) lits.push_back(b);
                const std::vector<int> atLeast = atLeastCounter(lits, lessons);
                for (int k = most; k < static_cast<int>(atLeast.size()); ++k) {
                    if (p_.dailyMaxIsHard)
                        clause({-atLeast[k]});
                    else
                        penalty(DailyMax, static_cast<int>(t), atLeast[k], w.dailyMax);
                }
            }
        }
    }
}

int SatModel::solve(const std::vector<int>& extra) {
    sat.assume(allPlacedOn ? whenAllPlaced : -whenAllPlaced);
    for (size_t d = 0; d < selector.size(); ++d)
        sat.assume(dropped[d] ? -selector[d] : selector[d]);
    for (int lit : extra) sat.assume(lit);
    return sat.solve();
}

Solution SatModel::decode() {
    Solution sol;
    sol.start.assign(p_.activities.size(), -1);
    for (size_t a = 0; a < p_.activities.size(); ++a)
        for (auto [s, lit] : start_[a])
            if (sat.val(lit) > 0) {
                sol.start[a] = s;
                break;
            }
    return sol;
}

void SatModel::addBounds() {
    for (auto& [key, o] : owners)
        o.atLeast = atLeastCounter(o.lits, static_cast<int>(o.lits.size()));
}

void SatModel::countBroken(const Solution& placed) {
    // From the placement itself: the penalty literals are only forced up, so the solver's values
    // may show wishes broken that are not.
    const BrokenWishes broken = brokenWishes(p_, placed);
    for (auto& [key, o] : owners) {
        auto it = broken.count.find(key);
        o.broken = it == broken.count.end() ? 0 : it->second;
    }
}

int SatModel::solveBetter(const std::pair<Wish, int>& key, const Solution& current, bool wider) {
    const Owner& better = owners.at(key);
    std::vector<int> assumptions;
    for (const auto& [k, o] : owners) {
        const int most = &o == &better ? o.broken - 1 : o.broken;
        if (most < static_cast<int>(o.atLeast.size())) assumptions.push_back(-o.atLeast[most]);
    }
    // The classes concerned: the teacher's, the demand's, or the class itself.
    std::vector<char> movable(p_.groups.size(), 0);
    auto classesOf = [&](const Activity& a) {
        for (int g : a.groups) movable[g] = 1;
    };
    if (key.first == Wish::Spread) {
        for (int a : p_.demands[key.second].activities) classesOf(p_.activities[a]);
    } else if (key.first == Wish::HeavyLast) {
        movable[key.second] = 1;
    } else {
        for (const Activity& a : p_.activities)
            if (std::count(a.teachers.begin(), a.teachers.end(), key.second)) classesOf(a);
    }
    if (wider) {
        std::vector<char> teacherMoves(p_.teachers.size(), 0);
        for (const Activity& a : p_.activities)
            for (int g : a.groups)
                if (movable[g])
                    for (int t : a.teachers) teacherMoves[t] = 1;
        for (const Activity& a : p_.activities)
            for (int t : a.teachers)
                if (teacherMoves[t]) classesOf(a);
    }
    for (size_t a = 0; a < p_.activities.size(); ++a) {
        const Activity& act = p_.activities[a];
        bool moves = false;
        for (int g : act.groups) moves = moves || movable[g];
        if (moves || current.start[a] < 0) continue;
        for (auto [s, lit] : start_[a])
            if (s == current.start[a]) assumptions.push_back(lit);
    }
    return solve(assumptions);
}

QStringList coreInWords(const Problem& p, const std::vector<int>& core) {
    QStringList labels;
    for (int a : core) {
        const QString label = QStringLiteral("「%1」").arg(p.demands[p.activities[a].demand].label);
        if (!labels.contains(label)) labels << label;
    }
    return {
        QStringLiteral(
            "次の授業をすべて置くことはできません（どれかを減らすか、条件をゆるめてください）: %1")
            .arg(labels.join(QStringLiteral("、")))};
}

}  // namespace

SolveResult solveWithSat(const Problem& p, const SolveOptions& options) {
    const auto begin = Clock::now();
    const auto end =
        begin + std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000));
    Progress progress;
    progress.total = static_cast<int>(p.activities.size());
    Deadline deadline(end, options, &progress);
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - begin).count(); };

    SolveResult result;
    result.best.start.assign(p.activities.size(), -1);
    // A second search on the second core looks for a first placement from another angle: the
    // per-demand model (see placeByDemand), which places schools of full classes in moments where
    // the per-lesson model searches for minutes, and when that model finds the demand impossible,
    // Gecode's constraint propagation, which places some schools at once where CaDiCaL searches
    // for long. A placement found there that the independent checker passes is complete from
    // that moment; the per-lesson model then takes it up as assumptions and does the rest: what
    // is impossible, and the wishes. The helper is stopped as soon as this core has an answer.
    std::atomic<bool> hintReady{false}, hintWanted{true};
    SolveResult hint;
    std::thread helper([&] {
        struct Wanted : CaDiCaL::Terminator {
            std::atomic<bool>& wanted;
            Clock::time_point end;
            Wanted(std::atomic<bool>& w, Clock::time_point e) : wanted(w), end(e) {}
            bool terminate() override { return !wanted || Clock::now() >= end; }
        } wanted{hintWanted, end};
        if (std::optional<Solution> placed = placeByDemand(p, &wanted, DemandVariant::LeaveFirst)) {
            hint.best = std::move(*placed);
            hint.complete = true;
        } else {
            SolveOptions quick;
            quick.seconds = options.seconds;
            quick.onProgress = [&](const Progress&) { return hintWanted.load(); };
            hint = solveWithCp(p, quick);
        }
        // Judged by the independent checker, a placement is complete the moment it is found,
        // whether or not this model gets to confirm it before the deadline.
        hint.complete = hint.complete && checkSolution(p, hint.best).isEmpty();
        if (hint.complete) hint.firstSeconds = elapsed();
        hintReady = true;
    });
    struct Join {
        std::atomic<bool>& wanted;
        std::thread& thread;
        ~Join() {
            wanted = false;
            thread.join();
        }
    } join{hintWanted, helper};

    // This core runs the per-demand model set up the other way meanwhile: each of the two places
    // some real schools at once where the other searches for seconds. Taking turns here with the
    // per-lesson model (and a third set-up) in growing slices of time was slower: the per-lesson
    // model placed none of the real schools measured first, and cut into slices, the per-demand
    // search took several times longer (KPS, MAPS).
    deadline.interruptOn(&hintReady);
    std::optional<Solution> placed;
    double placedAt = -1;
    placed = placeByDemand(p, &deadline, DemandVariant::PlaceFirst);
    if (placed && checkSolution(p, *placed).isEmpty())
        placedAt = elapsed();
    else
        placed.reset();
    deadline.interruptOn(nullptr);
    if (!placed && hintReady && hint.complete) {
        placed = hint.best;
        placedAt = hint.firstSeconds;
    }
    hintWanted = false;
    std::unique_ptr<SatModel> model;
    auto built = [&]() -> SatModel& {
        if (!model) {
            model = std::make_unique<SatModel>(p);
            model->build();
            model->sat.connect_terminator(&deadline);
        }
        return *model;
    };
    int status = 0;
    if (placed && !deadline.expired()) {
        built().sat.limit("conflicts", 1000);
        // Refused or undecided, it says nothing about the demand itself.
        status = model->solve(model->startsOf(*placed)) == 10 ? 10 : 0;
    }
    if (status != 10 && placed) {
        // Sound by the checker, but this model could not take it up in time: it is the answer,
        // without the wishes improved.
        result.best = *placed;
        result.best.score = scoreOf(p, result.best);
        result.complete = true;
        result.firstSeconds = placedAt;
        result.stopped = deadline.stopped();
        return result;
    }
    if (status != 10 && !deadline.expired()) status = built().solve();

    // Find a placement; while the demands cannot all be met, shrink the failed assumptions to a
    // small set of demands that cannot go together, tell the user, leave one of them out.
    int explained = 0;
    while (status == 20 && !deadline.expired()) {
        if (model->allPlacedOn) {
            // Not everything can be placed: the clauses for that case no longer hold.
            model->allPlacedOn = false;
            status = model->solve();
            continue;
        }
        std::vector<int> core;
        for (size_t d = 0; d < model->selector.size(); ++d)
            if (!model->dropped[d] && model->sat.failed(model->selector[d]))
                core.push_back(static_cast<int>(d));
        if (core.empty()) break;  // impossible even without demands: kept lessons clash
        // Drop members one by one while the rest stays impossible (each try with a small
        // budget), for the first few sets and while there is time: the user reads these; later
        // ones only decide what to leave out. Members are activities; the user reads demands.
        const bool explain = explained < 5 && elapsed() < options.seconds * 0.3;
        for (size_t i = 0; explain && i < core.size() && core.size() > 1 && !deadline.expired();) {
            std::vector<int> trial;
            for (size_t j = 0; j < core.size(); ++j)
                if (j != i) trial.push_back(model->selector[core[j]]);
            for (size_t d = 0; d < model->selector.size(); ++d)
                if (!model->dropped[d] &&
                    std::find(core.begin(), core.end(), static_cast<int>(d)) == core.end())
                    model->sat.assume(-model->selector[d]);
            for (int lit : trial) model->sat.assume(lit);
            model->sat.assume(-model->whenAllPlaced);
            model->sat.limit("conflicts", 5000);
            if (model->sat.solve() == 20)
                core.erase(core.begin() + i);
            else
                ++i;
        }
        if (explain) {
            result.explanation << coreInWords(p, core);
            ++explained;
        }
        // Leave out one lesson the user has not kept in place: the last one still in of the
        // demand of the last such member.
        int demand = p.activities[core.back()].demand;
        for (int a : core)
            if (p.activities[a].fixedSlot < 0) demand = p.activities[a].demand;
        int drop = core.back();
        for (int a : p.demands[demand].activities)
            if (!model->dropped[a]) drop = a;
        model->dropped[drop] = 1;
        status = model->solve();
    }
    if (status == 20) {
        result.explanation << QStringLiteral(
            "固定した授業どうしが重なっているため、時間割を作れません");
        result.stopped = deadline.stopped();
        return result;
    }
    if (status != 10) {
        result.stopped = deadline.stopped();
        if (!result.stopped)
            result.explanation << QStringLiteral("%1 秒のうちに全部を置く案が見つかりませんでした")
                                      .arg(options.seconds);
        return result;
    }
    auto take = [&] {
        result.best = model->decode();
        for (size_t a = 0; a < model->dropped.size(); ++a)
            if (model->dropped[a]) result.best.start[a] = -1;
        result.best.score = scoreOf(p, result.best);
        progress.placed = progress.total - result.best.unplaced();
        progress.score = result.best.score;
        progress.seconds = elapsed();
    };
    take();
    if (result.best.unplaced() == 0) result.firstSeconds = placedAt >= 0 ? placedAt : elapsed();
    if (options.onProgress && !options.onProgress(progress)) deadline.stop();

    // Improve the wishes: every wish met so far stays met (as unit clauses, cheaper than
    // assumptions, and the search only ever goes down), and one broken wish at a time is asked
    // for as well; a try that finds nothing within its budget is given up. Costliest first.
    // Improve the wishes: ask for one broken wish fewer with some owner (a teacher's gaps, a
    // demand's spread, ...) while no other owner gets worse; the costliest owners first. A try
    // that finds nothing within its budget moves on to the next owner.
    model->countBroken(result.best);
    auto order = [&] {
        std::vector<std::pair<Wish, int>> out;
        for (const auto& [key, o] : model->owners)
            if (o.broken > 0) out.push_back(key);
        std::stable_sort(out.begin(), out.end(), [&](auto a, auto b) {
            const SatModel::Owner &x = model->owners.at(a), &y = model->owners.at(b);
            return x.cost * x.broken > y.cost * y.broken;
        });
        return out;
    };
    // In rounds: an owner that found nothing is not asked again in the same round; a round
    // that improved something is followed by another, since the placement has changed, and one
    // that did not by one where the classes sharing a teacher with the owner's move too, and
    // when that does not help either, by narrow ones with more patience.
    std::set<std::pair<Wish, int>> failed;
    bool improved = false;
    bool wider = false;
    int budget = 1000;  // conflicts per try
    while (!deadline.expired()) {
        std::pair<Wish, int> owner{};
        bool found = false;
        for (const auto& key : order())
            if (!failed.count(key)) {
                owner = key;
                found = true;
                break;
            }
        if (!found) {
            // A round without gain: try again wider, or with more patience, while that is
            // sensible.
            if (!improved) {
                if (wider) budget *= 4;
                wider = !wider;
            }
            if (budget > 200000) break;
            failed.clear();
            improved = false;
            continue;
        }
        model->sat.limit("conflicts", budget);
        if (model->solveBetter(owner, result.best, wider) != 10) {
            failed.insert(owner);
            continue;
        }
        Solution candidate = model->decode();
        for (size_t a = 0; a < model->dropped.size(); ++a)
            if (model->dropped[a]) candidate.start[a] = -1;
        if (scoreOf(p, candidate) <= result.best.score) take();
        improved = true;
        if (options.onProgress && !options.onProgress(progress)) deadline.stop();
        model->countBroken(result.best);
    }
    result.stopped = deadline.stopped();
    result.complete = result.best.unplaced() == 0;
    return result;
}

}  // namespace gen
