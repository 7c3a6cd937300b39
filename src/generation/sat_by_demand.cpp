#include "generation/sat_by_demand.h"

#include <algorithm>
#include <map>
#include <tuple>

#include <cadical.hpp>

#include "generation/placement.h"
#include "generation/sat_encoding.h"

namespace gen {

namespace {

class DemandModel {
public:
    DemandModel(const Problem& p, DemandVariant variant) : p_(p), variant_(variant) {}
    void build();
    Solution decode();
    CaDiCaL::Solver sat;

private:
    // Interchangeable lessons: one demand (or any demands that need no spreading), one length,
    // the same classes and teachers. A kept lesson and each lesson of a directly-after pair
    // stands alone.
    struct Kind {
        int demand = -1;
        std::vector<int> activities;
        std::vector<std::pair<int, int>> starts;  // (slot, literal)
    };
    int fresh() { return ++vars_; }
    void clause(const std::vector<int>& lits) {
        for (int l : lits) sat.add(l);
        sat.add(0);
    }
    void atMostOne(const std::vector<int>& lits);
    // Unary count of `lits` (out[k]: at least k + 1 are true), exact both ways up to `cap`.
    std::vector<int> count(std::vector<int> lits, int cap);
    void exactly(const std::vector<int>& lits, int k);
    void atMost(const std::vector<int>& lits, int k);
    int orOf(const std::vector<int>& lits);
    // A literal true when any of `lits` is: the literal itself when there is one.
    int anyOf(const std::vector<int>& lits) { return lits.size() == 1 ? lits[0] : orOf(lits); }
    int durationOf(int kind) const { return p_.activities[kinds_[kind].activities[0]].duration; }
    void addSpread(int demand, const std::vector<int>& kinds);
    using SlotLits = std::map<std::pair<int, int>, std::vector<int>>;  // (who, slot) -> starts
    void addSlotBalance(const SlotLits& groupAt, const SlotLits& teacherAt);

    const Problem& p_;
    DemandVariant variant_;
    int vars_ = 0;
    std::vector<Kind> kinds_;
};

void DemandModel::atMostOne(const std::vector<int>& lits) { addAtMostOne(sat, vars_, lits); }

std::vector<int> DemandModel::count(std::vector<int> lits, int cap) {
    if (lits.size() <= 1) return lits;
    const std::vector<int> right(lits.begin() + lits.size() / 2, lits.end());
    lits.resize(lits.size() / 2);
    const std::vector<int> a = count(lits, cap), b = count(right, cap);
    const int size = std::min<int>(cap, a.size() + b.size());
    std::vector<int> out(size);
    for (int& o : out) o = fresh();
    // i of a and j of b true: at least i + j; i + 1 of a and j + 1 of b false: fewer than
    // i + j + 1.
    for (int i = 0; i <= int(a.size()); ++i)
        for (int j = 0; j <= int(b.size()); ++j) {
            if (i + j >= 1) {
                std::vector<int> c{out[std::min(i + j, size) - 1]};
                if (i) c.push_back(-a[i - 1]);
                if (j) c.push_back(-b[j - 1]);
                clause(c);
            }
            if (i + j < size) {
                std::vector<int> c{-out[i + j]};
                if (i < int(a.size())) c.push_back(a[i]);
                if (j < int(b.size())) c.push_back(b[j]);
                clause(c);
            }
        }
    return out;
}

void DemandModel::exactly(const std::vector<int>& lits, int k) {
    if (k > int(lits.size())) {
        clause({});
        return;
    }
    const std::vector<int> c = count(lits, k + 1);
    if (k > 0) clause({c[k - 1]});
    if (k < int(c.size())) clause({-c[k]});
}

void DemandModel::atMost(const std::vector<int>& lits, int k) {
    if (k >= int(lits.size())) return;
    const std::vector<int> c = count(lits, k + 1);
    clause({-c[k]});
}

int DemandModel::orOf(const std::vector<int>& lits) {
    const int o = fresh();
    std::vector<int> some{-o};
    for (int l : lits) {
        clause({-l, o});
        some.push_back(l);
    }
    clause(some);
    return o;
}

void DemandModel::addSpread(int demand, const std::vector<int>& kinds) {
    const Demand& d = p_.demands[demand];
    const int apart = std::max(1, d.minDaysApart);
    std::vector<std::vector<std::tuple<int, int, int>>> onDay(p_.days);  // (kind, slot, literal)
    for (int k : kinds)
        for (auto [s, lit] : kinds_[k].starts) onDay[p_.dayOf(s)].push_back({k, s, lit});
    std::vector<int> dayLit(p_.days, 0);
    for (int day = 0; day < p_.days; ++day) {
        const auto& here = onDay[day];
        if (here.empty()) continue;
        std::vector<int> lits;
        for (auto [k, s, lit] : here) lits.push_back(lit);
        if (!d.mayDouble) {
            atMostOne(lits);
        } else {
            // Two single lessons side by side are the only pair a day may hold.
            for (size_t i = 0; i < here.size(); ++i)
                for (size_t j = i + 1; j < here.size(); ++j) {
                    const auto [ki, si, li] = here[i];
                    const auto [kj, sj, lj] = here[j];
                    if (!(durationOf(ki) == 1 && durationOf(kj) == 1 && std::abs(si - sj) == 1))
                        clause({-li, -lj});
                }
        }
        if (apart > 1) dayLit[day] = orOf(lits);
    }
    for (int x = 0; x < p_.days; ++x)
        for (int y = x + 1; y < p_.days && y - x < apart; ++y)
            if (dayLit[x] && dayLit[y]) clause({-dayLit[x], -dayLit[y]});
}

void DemandModel::addSlotBalance(const SlotLits& groupAt, const SlotLits& teacherAt) {
    // In a school whose lessons are nearly all one class with one teacher, the classes in a
    // lesson at a slot need as many teachers in a lesson then (a lesson of several classes or
    // teachers counts once per extra class or teacher on the other side). The exclusions per
    // class and per teacher do not let the solver see that: with a timetable where teachers and
    // classes have hardly a slot to spare (Orar_4_6: 12 of 31 teachers with as many lessons as
    // free slots, classes with 0-4 to spare), it placed lesson after lesson into slots whose
    // classes could no longer all be taught, 14-33 s CPU for a week found in 2 s with this.
    // Only this direction: stating also that busy teachers need as many busy classes made the
    // same search slower again (4 s; set up to place, none in 20 s). Where many lessons are of
    // several classes (elective blocks, subgroups), the copies make the counts large and the
    // search several times slower, so those schools go without; so do schools where no teacher
    // is fully booked (MAPSY16T1d, none with fewer than 8 slots to spare: 0.3 -> 1.2 s).
    int single = 0, all = 0;
    for (const Activity& act : p_.activities) {
        all += act.duration;
        if (act.teachers.size() == 1 && act.groups.size() == 1) single += act.duration;
    }
    if (single * 10 < all * 9) return;
    std::map<int, std::vector<int>> classes, teachers;  // per slot: "busy" literals
    for (const auto& [key, lits] : groupAt) classes[key.second].push_back(anyOf(lits));
    for (const auto& [key, lits] : teacherAt) teachers[key.second].push_back(anyOf(lits));
    for (const Kind& kind : kinds_) {
        const Activity& act = p_.activities[kind.activities[0]];
        const int extra = int(act.teachers.size()) - int(act.groups.size());
        for (auto [s, lit] : kind.starts)
            for (int q = 0; q < act.duration; ++q)
                for (int i = 0; i < std::abs(extra); ++i)
                    (extra > 0 ? classes : teachers)[s + q].push_back(lit);
    }
    for (int s = 0; s < p_.slots(); ++s) {
        const std::vector<int>& a = classes[s];
        const std::vector<int>& b = teachers[s];
        const int cap = int(std::max(a.size(), b.size()));
        const std::vector<int> atLeastClasses = count(a, cap), atLeastTeachers = count(b, cap);
        for (int k = 0; k < cap; ++k) {
            const bool c = k < int(atLeastClasses.size()), t = k < int(atLeastTeachers.size());
            // k + 1 classes busy: k + 1 teachers busy; more of either than the other side
            // could ever match: none.
            if (c && t)
                clause({-atLeastClasses[k], atLeastTeachers[k]});
            else if (c)
                clause({-atLeastClasses[k]});
            else
                clause({-atLeastTeachers[k]});
        }
    }
}

void DemandModel::build() {
    // Tuned for satisfiable instances (no switching to the unsatisfiable-style search).
    sat.configure("sat");
    // The solver's own messages would land in the command's and the screen's output.
    sat.set("quiet", 1);
    sat.set("phase", variant_ == DemandVariant::PlaceFirst ? 1 : 0);
    // CaDiCaL first tries a few fixed ("lucky") assignments, which never make a timetable. Set
    // up to place lessons, the search found several real schools' weeks 1.3-6 times faster
    // without that prelude (secondary-school 2.0 -> 0.36 s CPU, ConcordiaY15T1a none in 3.2 s ->
    // 2.3 s); set up to leave lessons out, it lost as much as it gained (Shipena 1.0 -> over
    // 3 s), so that one keeps it, and the two races stay different.
    if (variant_ == DemandVariant::PlaceFirst) sat.set("lucky", 0);
    for (const char* simplification : {"elim", "probe", "ternary", "subsume", "vivify"})
        sat.set(simplification, 0);
    const int n = int(p_.activities.size());
    std::vector<char> alone(n, 0);
    for (const Consecutive& c : p_.consecutive) alone[c.first] = alone[c.second] = 1;
    std::map<std::tuple<int, int, std::vector<int>, std::vector<int>>, int> kindOf;
    std::vector<int> kindOfActivity(n);
    for (int a = 0; a < n; ++a) {
        const Activity& act = p_.activities[a];
        int k;
        // Lessons of demands without a spread are interchangeable across demands too.
        const bool free = act.demand < 0 || p_.demands[act.demand].activities.size() == 1 ||
                          p_.demands[act.demand].spreadWeight <= 0;
        const auto key =
            std::make_tuple(free ? -1 : act.demand, act.duration, act.groups, act.teachers);
        const bool single = alone[a] || act.fixedSlot >= 0;
        auto it = kindOf.find(key);
        if (single || it == kindOf.end()) {
            k = int(kinds_.size());
            kinds_.push_back({single ? act.demand : std::get<0>(key), {}, {}});
            for (int s : possibleStarts(p_, a)) kinds_[k].starts.push_back({s, fresh()});
            if (!single) kindOf[key] = k;
        } else {
            k = it->second;
        }
        kinds_[k].activities.push_back(a);
        kindOfActivity[a] = k;
    }
    // How many of each kind, and a demand's lessons on different days.
    std::map<int, std::vector<int>> kindsOfDemand;
    for (int k = 0; k < int(kinds_.size()); ++k) kindsOfDemand[kinds_[k].demand].push_back(k);
    for (const auto& [demand, kinds] : kindsOfDemand) {
        const bool spread = demand >= 0 && p_.demands[demand].spreadWeight >= 100 &&
                            p_.demands[demand].activities.size() > 1;
        for (int k : kinds) {
            const Kind& kind = kinds_[k];
            std::vector<int> lits;
            if (spread && !p_.demands[demand].mayDouble) {
                // At most one a day: count the days.
                std::map<int, std::vector<int>> byDay;
                for (auto [s, lit] : kind.starts) byDay[p_.dayOf(s)].push_back(lit);
                for (const auto& [day, l] : byDay) lits.push_back(anyOf(l));
            } else {
                for (auto [s, lit] : kind.starts) lits.push_back(lit);
            }
            exactly(lits, int(kind.activities.size()));
        }
        if (spread) addSpread(demand, kinds);
    }
    // Nobody in two places at once.
    std::map<std::pair<int, int>, std::vector<int>> teacherAt, groupAt;
    std::vector<std::vector<int>> kindsOfTeacher(p_.teachers.size()),
        kindsOfGroup(p_.groups.size());
    for (int k = 0; k < int(kinds_.size()); ++k) {
        const Activity& act = p_.activities[kinds_[k].activities[0]];
        for (int t : act.teachers) kindsOfTeacher[t].push_back(k);
        for (int g : act.groups) kindsOfGroup[g].push_back(k);
        for (auto [s, lit] : kinds_[k].starts)
            for (int q = 0; q < act.duration; ++q) {
                for (int t : act.teachers) teacherAt[{t, s + q}].push_back(lit);
                for (int g : act.groups) groupAt[{g, s + q}].push_back(lit);
            }
    }
    // A class (or teacher) whose kinds of lesson are all another's needs no clauses of its own
    // for being in one place at a time: the other's say it already. Where the kinds are the same
    // (the subgroups of a year that share every lesson, common in full-class schools), neither
    // does its count of lessons per day. Fewer clauses, the same solutions, faster propagation.
    std::vector<const std::vector<int>*> kindsOf;
    for (const auto& k : kindsOfGroup) kindsOf.push_back(&k);
    for (const auto& k : kindsOfTeacher) kindsOf.push_back(&k);
    std::vector<char> implied(kindsOf.size(), 0), repeated(kindsOf.size(), 0);
    for (size_t i = 0; i < kindsOf.size(); ++i)
        for (size_t j = 0; j < kindsOf.size() && !repeated[i]; ++j) {
            const std::vector<int>& a = *kindsOf[i];
            const std::vector<int>& b = *kindsOf[j];
            if (i == j || a.size() > b.size() ||
                !std::includes(b.begin(), b.end(), a.begin(), a.end()))
                continue;
            const bool same = a.size() == b.size();
            if (!same || j < i) implied[i] = 1;
            if (same && j < i) repeated[i] = 1;
        }
    const size_t groups = p_.groups.size();
    for (auto& [key, lits] : groupAt)
        if (!implied[key.first]) atMostOne(lits);
    for (auto& [key, lits] : teacherAt)
        if (!implied[groups + key.first]) atMostOne(lits);
    // A class or teacher with as many lessons as slots it could use has one in each (and so as
    // many on each day as that day has); one with a few such slots to spare has at most that
    // many free on any day. The solver then sees a day that cannot be filled before it has
    // seated most of its lessons. The days are counted over "this slot is taken" (at most a
    // day's periods each), not over every lesson that could start that day: as strong where it
    // matters and a fraction of the clauses, which on the largest schools took longer to build
    // than the search took.
    // Says whether `who` has no slot to spare.
    auto fill = [&](const std::map<std::pair<int, int>, std::vector<int>>& at, int who,
                    const std::vector<int>& kinds) {
        if (kinds.empty()) return false;
        int load = 0;
        for (int k : kinds)
            load +=
                p_.activities[kinds_[k].activities[0]].duration * int(kinds_[k].activities.size());
        std::vector<int> room(p_.days, 0);
        for (int s = 0; s < p_.slots(); ++s) room[p_.dayOf(s)] += at.count({who, s});
        int slack = -load;
        for (int r : room) slack += r;
        if (slack < 0) {
            clause({});
            return false;
        }
        if (slack == 0) {
            for (auto it = at.lower_bound({who, 0}); it != at.end() && it->first.first == who; ++it)
                clause(it->second);
            return true;
        }
        for (int day = 0; day < p_.days; ++day) {
            if (room[day] <= slack) continue;
            std::vector<int> taken;
            for (int q = 0; q < p_.periods; ++q) {
                auto it = at.find({who, day * p_.periods + q});
                if (it == at.end()) continue;
                taken.push_back(fresh());
                std::vector<int> c{-taken.back()};
                c.insert(c.end(), it->second.begin(), it->second.end());
                clause(c);
            }
            clause({count(taken, room[day] - slack).back()});
        }
        return false;
    };
    for (size_t g = 0; g < groups; ++g)
        if (!repeated[g]) fill(groupAt, int(g), kindsOfGroup[g]);
    bool teacherFull = false;
    for (size_t t = 0; t < p_.teachers.size(); ++t)
        if (!repeated[groups + t] && fill(teacherAt, int(t), kindsOfTeacher[t])) teacherFull = true;
    if (teacherFull) addSlotBalance(groupAt, teacherAt);
    // Directly after.
    for (const Consecutive& c : p_.consecutive) {
        const Kind &first = kinds_[kindOfActivity[c.first]],
                   &second = kinds_[kindOfActivity[c.second]];
        const int d = p_.activities[c.first].duration;
        std::map<int, int> a(first.starts.begin(), first.starts.end()),
            b(second.starts.begin(), second.starts.end());
        for (auto [s, lit] : a) {
            auto it = b.find(s + d);
            if (it != b.end() && p_.dayOf(s) == p_.dayOf(s + d))
                clause({-lit, it->second});
            else
                clause({-lit});
        }
        for (auto [s, lit] : b) {
            auto it = a.find(s - d);
            if (it == a.end() || p_.dayOf(s) != p_.dayOf(s - d)) clause({-lit});
        }
    }
    // A teacher's daily maximum, when it is a must.
    if (p_.dailyMaxIsHard)
        for (size_t t = 0; t < p_.teachers.size(); ++t) {
            const int most = p_.teachers[t].dailyMax;
            if (most <= 0) continue;
            for (int day = 0; day < p_.days; ++day) {
                std::vector<int> busy;
                for (int q = 0; q < p_.periods; ++q) {
                    auto it = teacherAt.find({int(t), day * p_.periods + q});
                    if (it != teacherAt.end()) busy.push_back(orOf(it->second));
                }
                atMost(busy, most);
            }
        }
}

Solution DemandModel::decode() {
    Solution sol;
    sol.start.assign(p_.activities.size(), -1);
    for (const Kind& kind : kinds_) {
        std::vector<int> starts;
        for (auto [s, lit] : kind.starts)
            if (sat.val(lit) > 0) starts.push_back(s);
        for (size_t i = 0; i < kind.activities.size() && i < starts.size(); ++i)
            sol.start[kind.activities[i]] = starts[i];
    }
    return sol;
}

}  // namespace

std::optional<Solution> placeByDemand(const Problem& problem, CaDiCaL::Terminator* stop,
                                      DemandVariant variant) {
    DemandModel model(problem, variant);
    model.build();
    if (stop) model.sat.connect_terminator(stop);
    if (model.sat.solve() != 10) return std::nullopt;
    return model.decode();
}

}  // namespace gen
