#include "newdb/fet_school.h"

#include <algorithm>
#include <bitset>
#include <numeric>
#include <random>

#include "generation/problem.h"

namespace fet {
namespace {

struct UnionFind {
    std::vector<int> up;
    explicit UnionFind(int n) : up(n) { std::iota(up.begin(), up.end(), 0); }
    int find(int a) { return up[a] == a ? a : up[a] = find(up[a]); }
    void join(int a, int b) { up[find(a)] = find(b); }
};

// Packs parallel lessons (of one class, or of classes joined by them) into elective blocks, each
// of lessons of one length for other subgroups and other teachers that may start at a common
// slot. First fit over several orders, the longest lessons first; the packing with the fewest
// periods wins, so that a class needs hardly more periods than its busiest subgroup. The first
// order is the file's, in which a split activity's lessons land in successive blocks and so stay
// one demand.
std::vector<std::vector<int>> packParallel(const School& s, std::vector<int> lessons) {
    // Where a lesson may start: its teachers and class free for its whole length, no break. A
    // block starts where all of its lessons may.
    using Starts = std::bitset<gen::kMaxDays * gen::kMaxPeriods>;
    const int days = int(s.days.size()), hours = int(s.hours.size());
    std::map<int, Starts> starts;
    for (int a : lessons) {
        const Activity& x = s.activities[a];
        auto free = [&](const Slot& slot) {
            return !s.breaks.count(slot) &&
                   std::none_of(x.classes.begin(), x.classes.end(),
                                [&](int c) {
                                    return s.gradeOff.count({s.classes[c].grade, slot}) ||
                                           s.classOff.count({c, slot});
                                }) &&
                   std::none_of(x.teachers.begin(), x.teachers.end(), [&](int t) {
                       return s.teacherOff.count({t, slot});
                   });
        };
        Starts& allowed = starts[a];
        for (int d = 0; d < days; ++d)
            for (int h = 0; h + x.duration <= hours; ++h) {
                bool ok = true;
                for (int k = 0; k < x.duration && ok; ++k) ok = free({d, h + k});
                allowed[d * hours + h] = ok;
            }
    }
    struct Block {
        int duration = 1;
        std::set<QString> subgroups;
        std::set<int> teachers;
        std::vector<int> members;
        Starts starts;
    };
    auto firstFit = [&](const std::vector<int>& order) {
        std::vector<Block> blocks;
        for (int a : order) {
            const Activity& x = s.activities[a];
            auto fits = [&](const Block& b) {
                return b.duration == x.duration && (b.starts & starts[a]).any() &&
                       std::none_of(x.subgroups.begin(), x.subgroups.end(),
                                    [&](const QString& g) { return b.subgroups.count(g); }) &&
                       std::none_of(x.teachers.begin(), x.teachers.end(),
                                    [&](int t) { return b.teachers.count(t); });
            };
            auto b = std::find_if(blocks.begin(), blocks.end(), fits);
            if (b == blocks.end())
                b = blocks.insert(blocks.end(), Block{x.duration, {}, {}, {}, starts[a]});
            b->starts &= starts[a];
            b->subgroups.insert(x.subgroups.begin(), x.subgroups.end());
            b->teachers.insert(x.teachers.begin(), x.teachers.end());
            b->members.push_back(a);
        }
        return blocks;
    };
    auto periods = [](const std::vector<Block>& blocks) {
        int total = 0;
        for (const Block& b : blocks) total += b.duration;
        return total;
    };
    auto longestFirst = [&] {
        std::stable_sort(lessons.begin(), lessons.end(), [&](int a, int b) {
            return s.activities[a].duration > s.activities[b].duration;
        });
    };
    longestFirst();
    std::vector<Block> best = firstFit(lessons);
    std::mt19937 random(20070401);
    for (int round = 0; round < 200; ++round) {
        std::shuffle(lessons.begin(), lessons.end(), random);
        longestFirst();
        std::vector<Block> blocks = firstFit(lessons);
        if (periods(blocks) < periods(best)) best = std::move(blocks);
    }
    std::vector<std::vector<int>> out;
    for (Block& b : best) out.push_back(std::move(b.members));
    return out;
}

}  // namespace

Plan planLines(School& s) {
    const int n = int(s.activities.size());
    UnionFind together(n);
    for (const std::vector<int>& members : s.sameStart) {
        if (members.size() < 2) continue;
        const int d = s.activities[members[0]].duration;
        if (std::any_of(members.begin(), members.end(),
                        [&](int a) { return s.activities[a].duration != d; })) {
            // One placement has one length; FET would let the shorter end early.
            s.leftOut.add(QStringLiteral("ConstraintActivitiesSameStartingTime（長さの違う活動）"));
            continue;
        }
        for (int a : members) together.join(a, members[0]);
    }
    std::vector<int> size(n, 0);
    for (int a = 0; a < n; ++a) ++size[together.find(a)];

    // "Directly after" is stored between two lines of one class, so only single lessons of one
    // class outside any block can carry it; each gets a line of its own.
    Plan p;
    std::set<int> ownLine, first, second;
    for (const auto& [a, b] : s.consecutive) {
        const Activity &x = s.activities[a], &y = s.activities[b];
        if (a == b || size[together.find(a)] > 1 || size[together.find(b)] > 1 ||
            x.classes.size() != 1 || x.classes != y.classes || first.count(a) || second.count(b)) {
            s.leftOut.add(
                QStringLiteral("ConstraintTwoActivitiesConsecutive（組の違う活動・選択の活動）"));
            continue;
        }
        first.insert(a);
        second.insert(b);
        ownLine.insert(a);
        ownLine.insert(b);
        p.consecutive.push_back({a, b});
    }

    // Lessons of subgroups only are parallel lessons, taught in elective blocks beside the other
    // subgroups' lessons. A subgroup lesson may join classes (a subgroup of each): those classes
    // are packed together.
    UnionFind linked(int(s.classes.size()));
    std::vector<int> candidates;
    for (int a = 0; a < n; ++a) {
        const Activity& x = s.activities[a];
        if (x.wholeClass || x.subgroups.empty() || size[together.find(a)] > 1 || ownLine.count(a))
            continue;
        candidates.push_back(a);
        for (int c : x.classes) linked.join(c, x.classes[0]);
    }
    std::map<int, std::vector<int>> parallel;  // classes packed together → their lessons
    for (int a : candidates) parallel[linked.find(s.activities[a].classes[0])].push_back(a);
    for (const auto& [classes, lessons] : parallel)
        for (const std::vector<int>& block : packParallel(s, lessons))
            for (int a : block) together.join(a, block.front());
    s.leftOut.add(
        QStringLiteral("Subgroup だけの活動（組の選択の授業として他の Subgroup と同時に）"),
        int(candidates.size()));

    auto keyOf = [&](int a) {
        const Activity& x = s.activities[a];
        const QString group = ownLine.count(a) || x.groupId == 0
                                  ? QStringLiteral("a%1").arg(x.id)
                                  : QStringLiteral("g%1").arg(x.groupId);
        return LineKey{group, x.duration, x.subject, x.teachers, x.classes};
    };
    std::map<int, std::vector<int>> placements;  // root → activities, in file order
    for (int a = 0; a < n; ++a) placements[together.find(a)].push_back(a);
    std::vector<std::vector<int>> ordered;
    for (auto& [root, members] : placements) ordered.push_back(members);
    std::sort(ordered.begin(), ordered.end());  // by the first activity in the file

    std::map<std::vector<LineKey>, int> demandBySignature;
    p.demandOf.assign(n, -1);
    for (std::vector<int>& members : ordered) {
        std::vector<std::pair<LineKey, int>> keyed;
        for (int a : members) keyed.push_back({keyOf(a), a});
        std::sort(keyed.begin(), keyed.end());
        // Two lessons of one FET activity at the same time cannot be one line: each its own.
        for (std::size_t i = 1; i < keyed.size(); ++i)
            if (keyed[i].first == keyed[i - 1].first)
                for (auto& [key, a] : keyed)
                    key.group = QStringLiteral("a%1").arg(s.activities[a].id);
        std::sort(keyed.begin(), keyed.end());
        std::vector<LineKey> signature;
        std::vector<int> part;
        for (auto& [key, a] : keyed) {
            signature.push_back(key);
            part.push_back(a);
        }
        auto [it, added] = demandBySignature.emplace(signature, int(p.demands.size()));
        if (added) p.demands.push_back({signature, {}, 0, 1, 0});
        for (int a : part) p.demandOf[a] = it->second;
        p.demands[it->second].parts.push_back(part);
    }

    // Days apart: kept for the placements of one demand when the constraint covers all of them.
    for (const School::MinDays& m : s.minDays) {
        std::map<int, std::set<int>> covered;  // demand → its placements named
        for (int a : m.activities) {
            const Demand& d = p.demands[p.demandOf[a]];
            for (int i = 0; i < int(d.parts.size()); ++i)
                if (std::count(d.parts[i].begin(), d.parts[i].end(), a))
                    covered[p.demandOf[a]].insert(i);
        }
        int kept = 0;
        bool overruled = false;
        for (const auto& [demand, parts] : covered) {
            Demand& d = p.demands[demand];
            if (d.parts.size() < 2 || parts.size() != d.parts.size()) continue;
            // A line holds one rule: of several, the heavier (then the wider) one, which loses
            // nothing unless the lighter one asks for more days.
            const bool covers = d.spread >= m.weight && d.minDays >= m.days;
            const bool coveredBy = m.weight >= d.spread && m.days >= d.minDays;
            if (d.spread > 0 && !covers && !coveredBy) overruled = true;
            if (std::pair(m.weight, m.days) > std::pair(d.spread, d.minDays)) {
                d.spread = m.weight;
                d.minDays = m.days;
            }
            ++kept;
        }
        const QString kind = QStringLiteral("ConstraintMinDaysBetweenActivities");
        if (kept == 0)
            s.leftOut.add(kind + QStringLiteral("（別々の行になった活動の間）"));
        else if (kept != int(covered.size()) ||
                 std::any_of(covered.begin(), covered.end(), [&](const auto& c) {
                     return c.second.size() != p.demands[c.first].parts.size();
                 }))
            s.leftOut.add(kind + QStringLiteral("（一部の活動の間だけ取り込み）"));
        if (overruled)
            s.leftOut.add(kind + QStringLiteral("（同じ活動の別の MinDays・重みの制約に合わせて）"));
    }

    // The lines, class by class in the order of the demands.
    std::map<int, int> rows;          // class → last row
    std::map<int, int> lineOfSingle;  // activity of a single-class, single line demand
    for (Demand& d : p.demands) {
        const bool joint = d.keys.size() > 1 || d.keys.front().classes.size() > 1;
        if (joint) d.block = ++p.blocks;
        for (std::size_t k = 0; k < d.keys.size(); ++k) {
            const LineKey& key = d.keys[k];
            for (int c : key.classes) {
                Line line;
                line.klass = c;
                line.subject = key.subject;
                line.teachers = key.teachers;
                line.hours = int(d.parts.size()) * key.duration;
                line.run = key.duration >= 2 ? key.duration : 0;
                line.block = d.block;
                line.spread = d.spread;
                line.minDays = d.minDays;
                line.row = ++rows[c];
                if (!joint && d.parts.size() == 1)
                    lineOfSingle[d.parts[0][0]] = int(p.lines.size());
                p.lines.push_back(std::move(line));
            }
        }
    }
    for (const auto& [a, b] : p.consecutive)
        p.lines[lineOfSingle.at(a)].after = p.lines[lineOfSingle.at(b)].row;
    return p;
}

}  // namespace fet
