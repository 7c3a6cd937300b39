#pragma once

#include <optional>

#include "generation/problem.h"

namespace CaDiCaL {
class Terminator;
}

namespace gen {

// A first placement from a second SAT model that looks at the week per demand rather than per
// lesson: one Boolean per demand (and lesson length) and slot, "a lesson of it starts here", and
// a count of those per demand. The lessons of one demand are interchangeable, so this model has
// no symmetric copies of one timetable, and a class with as many lessons as slots becomes an
// exactly-one per slot. Schools whose every class is full and whose subjects come once a day
// (a Latin square per class) are placed in moments this way, where the per-lesson model searches
// for minutes. Only musts are modelled (no wishes, nothing left out); nullopt when it finds
// nothing before `stop` says so. The result still has to pass the per-lesson model.
std::optional<Solution> placeByDemand(const Problem& problem, CaDiCaL::Terminator* stop);

}  // namespace gen
