#pragma once

#include "generation/solver.h"

namespace gen {

// The constraint-programming back end (Gecode), kept for comparison: a start variable per
// activity, all-different per class and teacher, restarts with random value choice. It looks for
// a placement of everything and scores it; it does not improve wishes or name impossible demands.
SolveResult solveWithCp(const Problem& problem, const SolveOptions& options);

}  // namespace gen
