#pragma once

#include <QStringList>

#include "generation/problem.h"

namespace gen {

// Every broken hard constraint of `solution`, in words: double bookings of a teacher or class,
// unavailable slots, runs that leave the day, kept slots moved, consecutive pairs apart, lessons
// of a demand on too close days, a must daily maximum exceeded, activities not placed. Empty when
// the proposal is sound. Judges from the Problem alone, independently of any solver.
QStringList checkSolution(const Problem& problem, const Solution& solution);

}  // namespace gen
