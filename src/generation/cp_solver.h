#pragma once

#include "generation/solver.h"

namespace gen {

// The constraint-programming back end (Gecode), kept for comparison: a start variable per
// activity, all-different per class and teacher, restarts with random value choice. It looks for
// a placement of everything and scores it; it does not improve wishes or name impossible demands.
// Gecode is seven libraries that only the generator needs: the search lives in a module of its
// own, loaded on first use. Without the module the result places nothing and says why.
SolveResult solveWithCp(const Problem& problem, const SolveOptions& options);

// Whether the module can be loaded; when not, `why` says so in the user's words.
bool cpSolverAvailable(QString* why);

inline const QString kCpSolverModule = QStringLiteral("jikanwari-cp");

}  // namespace gen

// The module's entry: solveWithCp with the result written to `result`.
extern "C" Q_DECL_EXPORT void jikanwariSolveWithCp(const gen::Problem* problem,
                                                   const gen::SolveOptions* options,
                                                   gen::SolveResult* result);
