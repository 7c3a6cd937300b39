#pragma once

#include <vector>

#include <QString>
#include <QStringList>
#include <QStringView>

// Comma-separated text as spreadsheet programs write it (RFC 4180). A field may stand in double
// quotes, which lets it hold commas, line breaks (a cell of two lines) and quotes, written doubled.
// Outside quotes a line break (CR LF, LF or CR) ends the record.

struct CsvRecord {
    QStringList fields;
    // The text ended inside a quoted field: the last field runs to the end of the text, which
    // is rarely what its writer meant.
    bool unclosedQuote = false;
};

// The records of a text. Spaces around an unquoted field and around the quotes are dropped; the
// end of the last record adds no empty record.
std::vector<CsvRecord> csvRecords(QStringView text);

// The fields of the first record of a text (one empty field for an empty text).
QStringList csvFields(QStringView line);

// A record for a spreadsheet: every field in double quotes, inner quotes doubled; line breaks in a
// field stay inside its quotes.
QString csvRecord(const QStringList& fields);

// The lines of a text, whatever ends them (CR LF, LF or CR); the end of the last line adds no
// empty line.
QStringList textLines(const QString& text);
