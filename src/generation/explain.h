#pragma once

#include <QStringList>

#include "generation/problem.h"

namespace gen {

// Reasons, in the user's terms, why the problem cannot be solved at all, found by counting before
// any search: a teacher or a class with more lessons than free slots, an elective block or a run
// that fits nowhere. Empty when counting finds nothing (the search may still fail).
QStringList precheck(const Problem& problem);

}  // namespace gen
