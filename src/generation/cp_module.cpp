// The way to the constraint-programming search in its module (see cp_solver.h).

#include "data/module_loader.h"
#include "generation/cp_solver.h"

namespace gen {

namespace {

using Entry = void (*)(const Problem*, const SolveOptions*, SolveResult*);

Entry entry(QString* why) {
    return reinterpret_cast<Entry>(moduleEntry(kCpSolverModule, "jikanwariSolveWithCp", why));
}

}  // namespace

bool cpSolverAvailable(QString* why) {
    QString error;
    if (entry(&error)) return true;
    if (why)
        *why = QStringLiteral("制約ソルバー（--engine cp）は、この環境では使えません。%1").arg(error);
    return false;
}

SolveResult solveWithCp(const Problem& problem, const SolveOptions& options) {
    SolveResult result;
    QString why;
    if (!cpSolverAvailable(&why)) {
        result.best.start.assign(problem.activities.size(), -1);
        result.explanation << why;
        return result;
    }
    entry(nullptr)(&problem, &options, &result);
    return result;
}

}  // namespace gen
