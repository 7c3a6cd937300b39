#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

#include "data/schema.h"
#include "data/value.h"

struct sqlite3;
struct sqlite3_stmt;

// An engine error: a missing file, table, field or index, a broken file, a duplicate key, a file
// another program keeps locked. It ends the operation, which is rolled back; the screens report it
// once at their event boundary.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Other,
        Busy,  // another program holds the file: nothing is wrong with it, try again later
        DiskFull,
    };
    explicit DbError(const QString& message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), message_(message), kind_(kind) {}
    const QString& message() const { return message_; }
    Kind kind() const { return kind_; }
    bool busy() const { return kind_ == Kind::Busy; }

private:
    QString message_;
    Kind kind_;
};

// The file name the program works on, in the working directory.
inline const QString kDatabaseFile = QStringLiteral("時間割.mdb");
// The copy of it the user prepares before a reorganization, in the same folder.
inline const QString kBackupFile = QStringLiteral("時間割bkup.mdb");

// What a user is told when the disk cannot take what the program writes, database or file.
inline const QString kDiskFullText = QStringLiteral("ディスクの空き容量が足りません");

// Throws the DbError for a failed engine call (`code` its extended result code, `why` the
// engine's text): a file held by another program and a full disk are named as such for `file`.
[[noreturn]] void throwEngineError(int code, const QString& what, const QString& file,
                                   const QString& why);

struct IndexMeta {
    QString name;  // documented name, e.g. "Key_時間割"
    QByteArray nameUtf8;
    QString physical;  // name in the file, e.g. "組時間割.Key_時間割"
    std::vector<int> columns;
    std::uint64_t mask = 0;  // bit per column of the table
    bool unique = false;
    // Prepared-statement ids: fromIds[m] reads in index order from the first record at or after
    // an m-value key prefix; afterId reads the records after a full position (values, row id).
    std::vector<int> fromIds;
    std::vector<int> equalIds;  // equalIds[m]: the records whose first m key values are given
    int afterId = -1;
};

struct TableMeta {
    QString name;
    QByteArray nameUtf8;
    QStringList columns;
    std::vector<QByteArray> columnsUtf8;
    std::vector<FieldType> types;
    std::map<QString, IndexMeta> indexes;
    std::uint64_t keyMask = 0;  // the fields that belong to any index
    QString selectList;         // "rowid, c1, c2, ..."
    int insertId = -1, updateId = -1, deleteId = -1;

    // Write tracking of the running operation (see Database).
    std::uint64_t generation = 0;
    struct Touch {
        std::uint64_t seq;
        std::uint64_t mask;
    };
    std::unordered_map<qint64, Touch> touched;

    int column(const QString& field) const;  // throws DbError naming a missing field
    // The same for a field name in the source text: names are literals, so a lookup by their
    // address (checked against the name) spares converting the name on every record.
    int column(const char* field) const;
    const IndexMeta& index(const QString& name) const;  // throws DbError naming a missing index
    const IndexMeta& index(const char* name) const;

    // The record sets open on this table: before the table is written they take their current
    // record out of the engine, which may change under them.
    std::vector<class Recordset*> cursors;
    void beforeWrite() const;

private:
    mutable std::unordered_map<const char*, int> literalColumns_;
    mutable std::unordered_map<const char*, const IndexMeta*> literalIndexes_;
};

// A prepared statement from the connection's pool; it goes back to the pool when destroyed.
class Statement {
public:
    Statement() = default;
    Statement(class Database* db, int id, sqlite3_stmt* stmt) : db_(db), id_(id), stmt_(stmt) {}
    Statement(Statement&& o) noexcept { *this = std::move(o); }
    Statement& operator=(Statement&& o) noexcept;
    ~Statement() { release(); }

    explicit operator bool() const { return stmt_ != nullptr; }
    void bind(int position, const Value& v);  // 1-based
    bool step();                              // true while a row is available
    void exec();                              // step through to the end
    qint64 columnInt(int i) const;
    QString columnText(int i) const;
    Value column(int i, FieldType type) const;
    void release();

private:
    class Database* db_ = nullptr;
    int id_ = -1;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<QByteArray> bound_;  // the texts bound to the running statement
};

// The one connection of the process to 時間割.mdb. Everything a user action reads or writes happens
// inside one Operation (a transaction), so an engine error never leaves anything half written.
class Database {
public:
    // Opens an existing file; never creates one. Throws DbError when the file is missing, is not
    // an SQLite file, or lacks a table, field or index of this program.
    static void open(const QString& path);
    static void close();
    static bool isOpen();
    static Database& current();

    // Creates a new, empty database file with every table and index. Refuses an existing file.
    static void create(const QString& path);

    // How long an operation waits for a file another program holds before it gives up.
    static constexpr int kDefaultBusyTimeoutMs = 3000;
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    ~Database();
    const QString& path() const { return path_; }

    // The only SQL statement the program runs: "DELETE * FROM <table> ;", which empties a table.
    void execute(const QString& statement);

    TableMeta& table(const QString& name);
    TableMeta& table(const char* name);

    // Statements are prepared once and kept in a pool; an id stands for one SQL text.
    int statementId(const QString& sql);
    Statement prepare(int id);
    Statement prepare(const QString& sql) { return prepare(statementId(sql)); }
    void returnStatement(int id, sqlite3_stmt* stmt);

    // Transactions; Operation is the way to use them.
    void begin();
    void commit();
    void rollback();
    bool inOperation() const { return depth_ > 0; }
    int operationDepth() const { return depth_; }
    void requireOperation() const;
    // True once the running operation has written anything.
    bool hasWrites() const { return depth_ > 0 && seq_ != operationStartSeq_; }
    // Runs `action` once the running operation has committed; drops it when the operation is
    // rolled back. Outside an operation it runs at once. Success messages and in-memory state
    // that mirrors stored data (the business year, the loaded masters) wait for the commit, so
    // that nobody is told of a save the file never received.
    void afterCommit(std::function<void()> action);
    bool hasAfterCommit() const { return !afterCommit_.empty(); }

    // Write tracking, so that a scan neither repeats nor runs after records that the same
    // operation added or moved while the scan was running.
    std::uint64_t writeSequence() const { return seq_; }
    void noteWrite(TableMeta& table, qint64 rowid, std::uint64_t changedMask);
    static bool addedOrMovedSince(const TableMeta& table, qint64 rowid, std::uint64_t seq,
                                  std::uint64_t indexMask);

    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(const QString& what) const;  // throws DbError with the engine's text

private:
    explicit Database(const QString& path, sqlite3* db) : path_(path), db_(db) {}
    void verifySchema();
    void exec(const char* sql);
    void endOperation(bool rolledBack);

    QString path_;
    sqlite3* db_ = nullptr;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    std::uint64_t seq_ = 0;
    std::uint64_t operationStartSeq_ = 0;
    std::vector<std::function<void()>> afterCommit_;
    std::map<QString, std::unique_ptr<TableMeta>> tables_;
    std::unordered_map<const char*, TableMeta*> literalTables_;
    QHash<QString, int> statementIds_;
    std::vector<QByteArray> statementSql_;
    std::vector<std::vector<sqlite3_stmt*>> pool_;

    friend class Operation;
};

// One user action that reads or writes: a transaction that commits when commit() is called and
// is rolled back when the Operation ends without it (an exception, an early return).
// Operations nest; only the outermost one talks to the engine.
class Operation {
public:
    Operation();
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

// The process connection.
inline Database& db() {
    return Database::current();
}
