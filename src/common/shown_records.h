#pragma once

#include <utility>
#include <vector>

#include <QString>

#include "data/value.h"

class Recordset;
class Screen;

// Every field of the record a record set stands on, in the table's order.
std::vector<Value> recordValues(const Recordset& rs);

// The stored records a screen showed for what the user picked (a slot's lessons, a dated change),
// kept as they were read. Before the screen writes over them it reads them again: when another
// workstation has added, changed or deleted one since, the write is refused instead of silently
// overwriting what the user never saw.
class ShownRecords {
public:
    ShownRecords(QString table, QString index)
        : table_(std::move(table)), index_(std::move(index)) {}

    // Reads and keeps the records whose first index fields hold `prefix`.
    void take(const std::vector<Value>& prefix);
    void forget() { prefix_.clear(); }

    // False, after telling the user to show them again, when records under `prefix` were taken
    // and those stored now differ. A prefix never taken was not shown and passes.
    bool unchanged(Screen& screen, const std::vector<Value>& prefix) const;

private:
    std::vector<std::vector<Value>> read(const std::vector<Value>& prefix) const;

    QString table_, index_;
    std::vector<Value> prefix_;
    std::vector<std::vector<Value>> records_;
};
