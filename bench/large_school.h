#pragma once

#include <QDate>

#include "data/dates.h"

// The large school of the benchmarks, built once per run in a temporary folder and opened as the
// process connection. `times` 4 is the same school four times over in one file (its departments
// again under three more sets of codes), for the work that should grow no faster than the data.
void openLargeSchool(int times = 1);

inline const int kYear = businessYearOf(QDate::currentDate());
