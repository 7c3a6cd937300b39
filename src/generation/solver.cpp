#include "generation/solver.h"

#include "generation/cp_solver.h"
#include "generation/explain.h"
#include "generation/sat_solver.h"

namespace gen {

SolveResult solve(const Problem& problem, const SolveOptions& options) {
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
