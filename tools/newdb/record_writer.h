#pragma once

#include <initializer_list>
#include <utility>

#include "data/recordset.h"

// Adds one record with the given fields; the others keep the table's defaults.
void addRecord(Recordset& rs, std::initializer_list<std::pair<const char*, Value>> fields);
