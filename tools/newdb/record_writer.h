#pragma once

#include <initializer_list>
#include <utility>

#include "data/recordset.h"

// Adds one record with the given fields; the others keep the table's defaults.
void addRecord(Recordset& rs, std::initializer_list<std::pair<const char*, Value>> fields);

// The business year `year` (April to March) as the current one and the year after it as the
// next, as the year set-up registers them: a new school opens in that year.
void writeBusinessYears(int year);
