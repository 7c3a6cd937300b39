#pragma once

#include <array>
#include <optional>
#include <vector>

#include <QDate>
#include <QString>

class Progress;

// The kinds of yearly data the term-end processing carries over and deletes, in its order:
// course subjects, subjects, assignments, the class timetable, terms, events, and (deleted only)
// the lesson changes.
struct YearTable {
    const char* table;
    const char* key;        // the primary index
    const char* yearField;  // the year the records belong to, the first field of the key
    const char* caption;    // how the screen names the kind
    // Date fields that a record carried into the next year takes one year later.
    std::vector<const char*> datesMoved;
};
const std::vector<YearTable>& yearTables();
constexpr int kCarriedTables = 6;  // 時限変更 is deleted, never carried over
constexpr int kDeletedTables = 7;

struct TermEndRun {
    int oldYear = 0;  // the year that ends; the new year is the one after it
    // The new business year's first and last day: only their months and days are used.
    QDate start, end;
    std::array<bool, kCarriedTables> carry{};
    std::array<bool, kDeletedTables> remove{};
    int retention = 3;  // business years kept, counted back from the year that ends
};

// Rolls the business year forward, carries the ticked kinds of the old year into the new one and
// deletes the ticked kinds older than the retention. Runs inside the caller's operation, so it
// is stored as a whole or not at all.
void runTermEnd(const TermEndRun& run, Progress* progress = nullptr);

// The pieces, one table at a time. A record already in the target year is updated, not doubled.
int carryOver(const YearTable& t, int fromYear, Progress* progress = nullptr);
int deleteBefore(const YearTable& t, int limitYear, Progress* progress = nullptr);
void rollBusinessYear(int oldYear, const QDate& start, const QDate& end);

// The retention entry: the first master entry of kind "010" in key order, as the basic master
// screen stores it under an entry number; nothing when there is none.
std::optional<QString> retentionEntry();
constexpr int kDefaultRetention = 3;
