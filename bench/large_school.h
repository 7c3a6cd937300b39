#pragma once

#include <QDate>

#include "data/dates.h"

// The large school of the benchmarks, built once per run in a temporary folder and opened as the
// process connection.
void openLargeSchool();

inline const int kYear = businessYearOf(QDate::currentDate());
