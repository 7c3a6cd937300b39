#pragma once

#include <QDate>

#include "context/work_context.h"
#include "data/dates.h"

// The large school of the benchmarks, built once per run in a temporary folder and opened as the
// process connection. `times` 4 is the same school four times over in one file (its departments
// again under three more sets of codes), for the work that should grow no faster than the data.
void openLargeSchool(int times = 1);

inline const int kYear = businessYearOf(QDate::currentDate());

// The day and period the period-view benchmarks look at: a Wednesday in the test week of June,
// period 3, where lessons, changes and events all meet.
const QDate& benchDate();
constexpr int kBenchPeriod = 3;

// The working values 時限コマ holds after 表示 of that date and period.
WorkContext periodContext();
// The working values 組時間割 holds after 表示 of one class (第2学部 2年 7組).
WorkContext classContext();
