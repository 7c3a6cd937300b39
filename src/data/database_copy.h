#pragma once

#include <QString>
#include <QStringList>

#include "data/schema.h"
#include "data/value.h"

struct sqlite3;
struct sqlite3_stmt;

// A database file of any kind (the embedded engine's format): what a file written over it would
// destroy beyond repair.
bool isDatabaseFile(const QString& path);

// Writes every table of the open database (the per-connection work tables excepted) into a new
// database file at `path`: the backup a reorganization reads, made from a school on a server. The
// copy is written beside `path` and replaces the file there only once it is whole; on a failure
// (DbError) a file that was there stays as it was. Runs inside the caller's operation, so that it
// copies what that operation sees.
void writeDatabaseFile(const QString& path);

// Another database file of this program (the backup a reorganization reads), opened read-only
// beside the process connection, which may be inside an operation that rewrites its own file.
// It waits for a file another program holds as long as the process connection does, and its
// errors name the file the same way: in use, disk full, not a timetable database.
class DatabaseCopy {
public:
    // Throws DbError when the file cannot be opened or is not an SQLite file.
    explicit DatabaseCopy(const QString& path);
    ~DatabaseCopy();
    DatabaseCopy(const DatabaseCopy&) = delete;
    DatabaseCopy& operator=(const DatabaseCopy&) = delete;

    // The fields of a table in their order; empty when the file has no such table.
    QStringList fieldsOf(const QString& table);
    // Starts reading the given fields of every record of a table in the order of `key`.
    void select(const QString& table, const QStringList& fields, const QStringList& key);
    bool next();
    Value value(int i, FieldType type) const;

    QString fileName() const;

private:
    [[noreturn]] void fail(const QString& what) const;

    QString path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};
