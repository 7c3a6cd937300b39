#pragma once

#include <functional>
#include <vector>

#include <QByteArrayView>

#include "data/value.h"

// Whole key ranges of an index in one statement each, where a record set goes record by record:
// a count over a term's lesson changes or the year-end removal of old years reads or deletes
// thousands of records, and the record set's per-record work (every field of the record, a
// restart after each delete) costs more than the engine's own.
//
// The range holds the records whose first from.size() key values are at or after `from` and whose
// first to.size() key values are at or before `to`; {year} to {year} is one year, {year, date1}
// to {year, date2} the dates between. Key values have the field's type, as in Recordset::seek.
struct KeyRange {
    const char* table;
    const char* index;
    std::vector<Value> from, to;
};

// One record of a range read: its fields in the order named, each converted only when asked for.
class KeyRow {
public:
    explicit KeyRow(const class Statement& s) : s_(s) {}
    QString text(int i) const;
    // The text as stored (UTF-8), valid until the next record: for a reader that meets the same
    // few codes thousands of times and would convert and allocate each one.
    QByteArrayView utf8(int i) const;
    qint64 integer(int i) const;

private:
    const class Statement& s_;
};

// Calls `row` for every record of the range, in the index's order, with the named fields. Only
// those fields are read (from the index alone when it holds them all); nothing may write to the
// table meanwhile.
void readKeyRange(const KeyRange& range, const std::vector<const char*>& fields,
                  const std::function<void(const KeyRow&)>& row);

// Runs a query the caller writes and calls `row` for each of its rows, for counts and joins that
// a server answers in one round trip where a record set would look up record by record. The SQL
// must run on both engines: "?" placeholders for `values` (never values in the text), quoted
// table and field names, INTEGER and TEXT only, no engine's own functions.
//
// How the server plans it: for the values of each run (see Database::prepareForValues), where a
// range's length decides the best plan; or once for any values, where the values only pick one
// year, class or teacher and planning each run would cost more than the run itself.
enum class QueryPlan { ForValues, Once };
void readQuery(const QString& sql, const std::vector<Value>& values,
               const std::function<void(const KeyRow&)>& row,
               QueryPlan plan = QueryPlan::ForValues);

// Deletes every record of the range and returns how many went. Inside an operation; record sets
// open on the table go on after their position as after Recordset::remove().
int deleteKeyRange(const KeyRange& range);
