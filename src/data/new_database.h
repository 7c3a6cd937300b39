#pragma once

#include <vector>

#include <QString>

// Creates a new database file with every table and index and the standard item labels, and
// opens it as the process connection. Refuses an existing file (DbError, file untouched).
void createNewDatabase(const QString& path);

// The item labels a new database starts with: item number, label, and the message the item
// names a missing or wrong input with (the item name screen requires one for every item).
struct ItemLabel {
    const char* number;
    const char* label;
    const char* message;
};
const std::vector<ItemLabel>& standardItemLabels();
