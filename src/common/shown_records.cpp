#include "common/shown_records.h"

#include "data/recordset.h"
#include "ui/screen.h"

std::vector<Value> recordValues(const Recordset& rs) {
    std::vector<Value> values;
    for (const QString& field : rs.fieldNames()) values.push_back(rs.value(field));
    return values;
}

std::vector<std::vector<Value>> ShownRecords::read(const std::vector<Value>& prefix) const {
    std::vector<std::vector<Value>> records;
    Recordset rs(table_);
    rs.setIndex(index_);
    for (rs.seekPrefix(prefix); rs.inPrefix(); rs.moveNext()) records.push_back(recordValues(rs));
    return records;
}

void ShownRecords::take(const std::vector<Value>& prefix) {
    records_ = read(prefix);
    prefix_ = prefix;
}

bool ShownRecords::unchanged(Screen& screen, const std::vector<Value>& prefix) const {
    if (prefix_.empty() || prefix != prefix_ || read(prefix) == records_) return true;
    screen.showMessage(kChangedText);
    return false;
}
