#include "generation/cp_solver.h"

#include <chrono>
#include <map>
#include <memory>

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

#include "generation/placement.h"

namespace gen {

namespace {

using namespace Gecode;
using Clock = std::chrono::steady_clock;

class WeekSpace : public Space {
public:
    WeekSpace(const Problem& p, unsigned seed)
        : start(*this, static_cast<int>(p.activities.size())) {
        const int n = static_cast<int>(p.activities.size());
        for (int a = 0; a < n; ++a) {
            const std::vector<int> starts = possibleStarts(p, a);
            if (starts.empty()) {
                // Nowhere to go (an empty domain is an error to Gecode): nothing to search.
                fail();
                return;
            }
            start[a] = IntVar(*this, IntSet(IntArgs(starts.begin(), starts.end())));
        }
        // Nobody in two places at once: all-different where every lesson is one period,
        // otherwise a unary resource.
        std::map<std::pair<char, int>, std::vector<int>> users;
        for (int a = 0; a < n; ++a) {
            for (int t : p.activities[a].teachers) users[{'t', t}].push_back(a);
            for (int g : p.activities[a].groups) users[{'g', g}].push_back(a);
        }
        for (const auto& [who, acts] : users) {
            IntVarArgs vars;
            IntArgs lengths;
            bool single = true;
            for (int a : acts) {
                vars << start[a];
                lengths << p.activities[a].duration;
                single = single && p.activities[a].duration == 1;
            }
            if (vars.size() < 2) continue;
            if (single)
                distinct(*this, vars, IPL_DOM);
            else
                unary(*this, vars, lengths);
        }
        for (const Consecutive& c : p.consecutive) {
            rel(*this, start[c.second] == start[c.first] + p.activities[c.first].duration);
            rel(*this, start[c.second] / p.periods == start[c.first] / p.periods);
        }
        for (const Demand& d : p.demands) {
            if (d.spreadWeight < 100 || d.activities.size() < 2) continue;
            const int apart = std::max(1, d.minDaysApart);
            IntVarArgs days;
            for (int a : d.activities) days << expr(*this, start[a] / p.periods);
            if (apart == 1 && !d.mayDouble) {
                distinct(*this, days);
                continue;
            }
            for (int x = 0; x < days.size(); ++x)
                for (int y = x + 1; y < days.size(); ++y) {
                    const int a = d.activities[x], b = d.activities[y];
                    if (d.mayDouble && p.activities[a].duration == 1 &&
                        p.activities[b].duration == 1)
                        rel(*this,
                            abs(days[x] - days[y]) >= apart || abs(start[a] - start[b]) == 1);
                    else
                        rel(*this, abs(days[x] - days[y]) >= apart);
                }
        }
        if (p.dailyMaxIsHard)
            for (size_t t = 0; t < p.teachers.size(); ++t) {
                const int most = p.teachers[t].dailyMax;
                if (most <= 0) continue;
                std::vector<int> acts;
                for (int a = 0; a < n; ++a)
                    if (std::count(p.activities[a].teachers.begin(), p.activities[a].teachers.end(),
                                   static_cast<int>(t)))
                        acts.push_back(a);
                for (int day = 0; day < p.days; ++day) {
                    IntArgs lengths;
                    BoolVarArgs onDay;
                    for (int a : acts) {
                        lengths << p.activities[a].duration;
                        onDay << expr(*this, start[a] / p.periods == day);
                    }
                    linear(*this, lengths, onDay, IRT_LQ, most);
                }
            }
        Rnd rnd(seed);
        branch(*this, start, INT_VAR_SIZE_MIN(), INT_VAL_RND(rnd));
    }
    WeekSpace(WeekSpace& other) : Space(other) { start.update(*this, other.start); }
    Space* copy() override { return new WeekSpace(*this); }

    IntVarArray start;
};

class Deadline : public Search::Stop {
public:
    Deadline(Clock::time_point end, const SolveOptions& options, Progress& progress)
        : end_(end), options_(options), progress_(progress) {}
    bool stop(const Search::Statistics&, const Search::Options&) override {
        const auto now = Clock::now();
        if (stopped || now >= end_) return true;
        if (options_.onProgress && now >= next_) {
            next_ = now + std::chrono::milliseconds(200);
            if (!options_.onProgress(progress_)) stopped = true;
        }
        return stopped;
    }
    bool stopped = false;

private:
    Clock::time_point end_;
    const SolveOptions& options_;
    Progress& progress_;
    Clock::time_point next_ = Clock::now();
};

}  // namespace

namespace {

SolveResult searchWithCp(const Problem& p, const SolveOptions& options) {
    const auto begin = Clock::now();
    Progress progress;
    progress.total = static_cast<int>(p.activities.size());
    Deadline deadline(
        begin + std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000)), options,
        progress);
    SolveResult result;
    result.best.start.assign(p.activities.size(), -1);

    auto root = std::make_unique<WeekSpace>(p, 1);
    if (root->status() == SS_FAILED) {
        result.explanation << QStringLiteral("条件どうしが矛盾しているため、時間割を作れません");
        return result;
    }
    Search::Options o;
    o.stop = &deadline;
    o.cutoff = Search::Cutoff::luby(200);
    RBS<WeekSpace, DFS> search(root.get(), o);
    std::unique_ptr<WeekSpace> found(search.next());
    result.stopped = deadline.stopped;
    if (!found) {
        if (!result.stopped)
            result.explanation
                << (search.stopped()
                        ? QStringLiteral("%1 秒のうちに全部を置く案が見つかりませんでした")
                              .arg(options.seconds)
                        : QStringLiteral("条件どうしが矛盾しているため、時間割を作れません"));
        return result;
    }
    for (size_t a = 0; a < p.activities.size(); ++a) result.best.start[a] = found->start[a].val();
    result.best.score = scoreOf(p, result.best);
    result.complete = true;
    result.firstSeconds = std::chrono::duration<double>(Clock::now() - begin).count();
    return result;
}

}  // namespace

namespace {

SolveResult solveCatching(const Problem& p, const SolveOptions& options) {
    try {
        return searchWithCp(p, options);
    } catch (const Gecode::Exception& e) {
        SolveResult result;
        result.best.start.assign(p.activities.size(), -1);
        result.explanation
            << QStringLiteral("制約ソルバーのエラー: %1").arg(QString::fromUtf8(e.what()));
        return result;
    }
}

}  // namespace

}  // namespace gen

extern "C" Q_DECL_EXPORT void jikanwariSolveWithCp(const gen::Problem* problem,
                                                   const gen::SolveOptions* options,
                                                   gen::SolveResult* result) {
    *result = gen::solveCatching(*problem, *options);
}
