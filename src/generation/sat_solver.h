#pragma once

#include "generation/solver.h"

namespace gen {

// The SAT back end (CaDiCaL): one Boolean per possible start of each activity, clauses for every
// must; wishes are penalty literals that later searches are told to keep off one by one. When the
// demand cannot be met, the smallest set of demands it finds impossible together (from failed
// assumptions) is named, and the rest is placed.
SolveResult solveWithSat(const Problem& problem, const SolveOptions& options);

}  // namespace gen
