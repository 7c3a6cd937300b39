#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QtGlobal>
#include <QString>
#include <QStringList>

#include "data/schema.h"
#include "data/value.h"

// What the data layer needs of a database engine. Two engines stand behind it: the embedded
// file (one PC) and a server several workstations share. Only src/data sees this header; the
// rest of the program works through Database, Statement, Operation and Recordset.

// One prepared statement of an engine, reused through the connection's pool.
class EngineStatement {
public:
    virtual ~EngineStatement() = default;
    virtual void bind(int position, const Value& v) = 0;  // 1-based
    virtual bool step() = 0;
    virtual qint64 columnInt(int i) const = 0;
    virtual QString columnText(int i) const = 0;
    // The text as the engine holds it (UTF-8), valid until the next step.
    virtual QByteArrayView columnUtf8(int i) const = 0;
    // Ready for the next use; the parameters are bound again before it.
    virtual void reset() = 0;
    // True when the statement ran out only because it reads a page at a time: the records after
    // its last one are read by a new statement from there. The columns still read the last row.
    virtual bool pagedOut() const { return false; }
    // How many records the statement, an update or delete, changed.
    virtual qint64 changes() const = 0;
};

struct IndexInfo {
    QString physical;
    bool unique = false;
    QStringList fields;  // in key order
};

class Engine {
public:
    virtual ~Engine() = default;

    // The SQL of this engine: "?" placeholders are written by the data layer and translated here.
    virtual Dialect dialect() const = 0;
    virtual std::unique_ptr<EngineStatement> prepare(int id, const QByteArray& sql) = 0;
    // Runs statements without results (transaction control, schema); throws DbError.
    virtual void exec(const QString& sql) = 0;
    // For the way out of an error: never throws.
    virtual void execQuietly(const char* sql) noexcept = 0;
    // The row id the last insert gave, for engines whose insert does not return it.
    virtual qint64 lastInsertRowid() = 0;
    // Raises a DbError for the last failed call, `what` saying what was being done.
    [[noreturn]] virtual void fail(const QString& what) = 0;

    virtual QStringList tableNames() = 0;
    virtual std::vector<std::pair<QString, FieldType>> columns(const QString& table) = 0;
    virtual std::vector<IndexInfo> indexes(const QString& table) = 0;

    virtual void setBusyTimeout(int milliseconds) = 0;
    // The school-wide lock of the server (see Database::lockSchoolExclusively): shared for an
    // operation that writes, exclusive for term-end and reorganization. Nothing on a file, where
    // the engine locks the whole file for every write anyway.
    virtual void lockSchool(bool exclusive) { (void)exclusive; }
    // Called before an operation starts: a server connection lost earlier is made again here.
    virtual void beforeOperation() {}
    // Makes every table and index of a new school inside the running transaction, so that they
    // go with it when it is rolled back; refuses a database that has the tables already. Only the
    // server makes its tables this way: a new file is made whole by createFileDatabase.
    virtual void createTables();
    // The engine's own handle, for measurements against raw calls.
    virtual void* nativeHandle() const { return nullptr; }
};

// The file engine.
std::unique_ptr<Engine> openFileEngine(const QString& path);
void createFileDatabase(const QString& path);

// The server engine; `location` is a libpq connection string, URI or "service=name". It lives in
// a module of its own, loaded by the first call; without the module both throw a DbError that
// says so.
std::unique_ptr<Engine> openServerEngine(const QString& location);
void createServerDatabase(const QString& location);

// What the server engine's module offers through its entry jikanwariServerEngine().
struct ServerEngineEntry {
    Engine* (*open)(const QString& location);
    void (*create)(const QString& location);
};
inline const QString kServerEngineModule = QStringLiteral("jikanwari-postgres");
extern "C" Q_DECL_EXPORT const ServerEngineEntry* jikanwariServerEngine();

// Throws the DbError for a failed call of the file engine (`code` its extended result code,
// `why` its text): a file held by another program and a full disk are named as such for `file`.
[[noreturn]] void throwFileEngineError(int code, const QString& what, const QString& file,
                                       const QString& why);
