#include "generation/solver.h"

#include <algorithm>

#include "generation/cp_solver.h"
#include "generation/explain.h"
#include "generation/sat_solver.h"

namespace gen {

namespace {

// A teacher or class named twice for one activity would make it clash with itself.
Problem withoutRepeats(const Problem& problem) {
    Problem p = problem;
    for (Activity& a : p.activities)
        for (std::vector<int>* v : {&a.teachers, &a.groups}) {
            std::sort(v->begin(), v->end());
            v->erase(std::unique(v->begin(), v->end()), v->end());
        }
    return p;
}

}  // namespace

SolveResult solve(const Problem& original, const SolveOptions& options) {
    const Problem problem = withoutRepeats(original);
    QString unavailable;
    if (options.engine == Engine::Cp && !cpSolverAvailable(&unavailable)) {
        SolveResult result;
        result.best.start.assign(problem.activities.size(), -1);
        result.explanation << unavailable;
        return result;
    }
    SolveResult result = options.engine == Engine::Cp ? solveWithCp(problem, options)
                                                      : solveWithSat(problem, options);
    if (!result.complete && !result.stopped) {
        // Counting often names the cause more plainly than the solver's core does: say it first.
        QStringList why = precheck(problem);
        why << result.explanation;
        why.removeDuplicates();
        result.explanation = why;
    }
    return result;
}

}  // namespace gen
