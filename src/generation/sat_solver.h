#pragma once

#include "generation/solver.h"

namespace gen {

// The SAT back end (CaDiCaL): one Boolean per possible start of each activity, clauses for every
// must; wishes are penalty literals counted per teacher, demand or class, which later searches are
// asked to lower one owner at a time. When the demand cannot be met, the smallest set of demands
// it finds impossible together (from failed assumptions) is named, and the rest is placed. A
// quick placement by a per-demand model (placeByDemand) or by the constraint back end may serve
// as its starting point.
SolveResult solveWithSat(const Problem& problem, const SolveOptions& options);

}  // namespace gen
