#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// The tables, fields and indexes of 時間割.mdb. This list is the single source for creating a new
// database and for telling whether a file is a database of this program.

enum class FieldType { Integer, Text };

// The SQL of the two engines differs in the table definitions: the server needs an explicit row
// id and byte order for texts, which the embedded file has of itself.
enum class Dialect { Embedded, Server };

struct FieldDef {
    const char* name;
    FieldType type;
    // Added to its table by a later version: opening a database made before adds the field,
    // holding its default (0 or "") in every record.
    bool addedLater = false;
};

struct IndexDef {
    const char* name;  // the name callers use, e.g. "Idx_名称"
    std::vector<const char*> fields;
    bool unique;
};

struct TableDef {
    const char* name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
    // Added by a later version: a database made before it lacks the table, and opening one
    // creates it instead of refusing the file.
    bool addedLater = false;
    // A work table each user fills for a print of their own: on a server every connection has
    // its own copy, so two people printing at once never mix their records.
    bool perConnection = false;
};

const std::vector<TableDef>& schemaTables();
const TableDef* findTableDef(const QString& table);

// SQLite index names are global to the file while several tables share index names
// (教科 and 科目 both have Idx_名称), so the stored name carries the table.
QString physicalIndexName(const QString& table, const QString& index);

// The SQL that creates every table and index of a new database.
QStringList schemaStatements(Dialect dialect = Dialect::Embedded);
// The SQL that creates one table and its indexes.
QStringList tableStatements(const TableDef& table, Dialect dialect = Dialect::Embedded);
// The SQL that adds a field to an existing table.
QString addFieldStatement(const TableDef& table, const FieldDef& field,
                          Dialect dialect = Dialect::Embedded);
