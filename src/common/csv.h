#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Comma-separated text as spreadsheet programs write it. A field may stand in double quotes, which
// lets it hold commas; a doubled quote inside stands for one quote. One line is one record: a
// quote left open ends with its line, so a broken line never swallows the lines after it.

// The fields of one line. Spaces around an unquoted field and around the quotes are dropped.
QStringList csvFields(QStringView line);

// A record for a spreadsheet: every field in double quotes, inner quotes doubled.
QString csvRecord(const QStringList& fields);

// The lines of a text, whatever ends them (CR LF, LF or CR); the end of the last line adds no
// empty line.
QStringList textLines(const QString& text);
