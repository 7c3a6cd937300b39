#pragma once

#include <limits>

#include <QString>

#include "context/work_context.h"

class QWidget;

// The four input checks. Each reports through the screen's working values: a failing field
// turns light red (12), the first failure of a confirmation puts its field first in the tab
// order and prepares the message, and the error flag stays set until the screen clears it.
// The item number names the field in the message through its label in 項目名.

void CHK必須(WorkContext& ctx, QWidget* field, const QString& item);

// What a numeric field holds. An integer field (year, grade, period, sequence number) passes only
// as a whole number 0..32767, because that is what it is stored in; a digits field (a postal
// code, an entry number kept as text) passes when it is all digits and keeps its leading zeros.
// Both accept full-width digits and write them back half-width; an empty field becomes 0.
// A field may also narrow the range (a period is 1..10, a retention period at least 1).
enum class Numeric { Integer, Digits };
void CHK数字(WorkContext& ctx, QWidget* field, const QString& item, Numeric kind = Numeric::Integer,
             int min = 0, int max = std::numeric_limits<int>::max());

// A year typed by the user: 1..9998, so that the year after it (which the year set-up and the
// term-end write) is still a four-digit year like every year in the file.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9998;
void CHK年度(WorkContext& ctx, QWidget* field, const QString& item);

// Sets the normalized date and its text "yyyy/mm/dd" (the raw text when the date is not valid);
// the screen writes the text back into its field.
void CHK日付(WorkContext& ctx, QWidget* field, const QString& item);

// Mode 1: first <= second; mode 2: first < second; any other mode tests nothing. Does nothing at
// all once an earlier check of the confirmation failed. Two whole numbers compare as numbers
// (so period 9 comes before 10), anything else as text (dates "yyyy/mm/dd" order correctly).
void CHK大小(WorkContext& ctx, QWidget* first, QWidget* second, const QString& item, int mode);

// Reports a screen's own problem with a field the way the checks do: the error flag and, when it
// is the first failure, the message and tab position 0. The field's colour is left alone.
void reportError(WorkContext& ctx, QWidget* field, const QString& message);
// The same, and the field turns light red.
void reportFieldError(WorkContext& ctx, QWidget* field, const QString& message);
// The same, except that the message replaces one prepared earlier (some fields insist on it).
void reportFieldErrorFirst(WorkContext& ctx, QWidget* field, const QString& message);

// The label of an item number, or empty when 項目名 has no such item.
QString itemLabel(const QString& item);
