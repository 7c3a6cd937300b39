#pragma once

#include <functional>

#include <QStringList>

#include "generation/problem.h"

namespace gen {

struct Progress {
    int placed = 0, total = 0, score = 0;
    double seconds = 0;
};

// The search engine behind solve(). Both are established solvers; the default is the one that
// did better on the large school.
enum class Engine { Default, Sat, Cp };

struct SolveOptions {
    double seconds = 60;  // wall-clock limit of the whole search
    // Called now and then from the solving thread; returns false to stop (中止): the best
    // proposal found so far is kept.
    std::function<bool(const Progress&)> onProgress;
    Engine engine = Engine::Default;
};

struct SolveResult {
    Solution best;
    bool complete = false;     // every activity placed, every must met
    bool stopped = false;      // the user stopped the search
    QStringList explanation;   // in the user's terms, when not complete
    double firstSeconds = -1;  // when the first proposal placing everything was found
};

// Places the problem's activities. Touches neither the database nor any widget, so it may run on
// a worker thread.
SolveResult solve(const Problem& problem, const SolveOptions& options);

// The score of a proposal under the problem's weights (lower is better, 0 is perfect).
int scoreOf(const Problem& problem, const Solution& solution);

}  // namespace gen
