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
// for minutes. Only musts are modelled (no wishes, nothing left out).
//
// How the solver is set up for it. Neither is best on every school: each of the two found some
// real schools' weeks in a fraction of a second where the other searched for seconds, so the two
// race, one on each core (see solveWithSat). Both search without simplifying the formula between
// rounds, where CaDiCaL spent most of its time on the full-class schools.
enum class DemandVariant {
    LeaveFirst,  // a decision leaves a lesson out of a slot
    PlaceFirst,  // a decision places a lesson
};

// The placement, or nullopt when there is none or `stop` came first.
std::optional<Solution> placeByDemand(const Problem& problem, CaDiCaL::Terminator* stop,
                                      DemandVariant variant = DemandVariant::LeaveFirst);

}  // namespace gen
