#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include "data/schema.h"
#include "data/value.h"

struct sqlite3;
class Engine;
class EngineStatement;

// An engine error: a missing file, table, field or index, a broken file, a duplicate key, a file
// another program keeps locked. It ends the operation, which is rolled back; the screens report it
// once at their event boundary.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Other,
        Busy,  // another program holds the file: nothing is wrong with it, try again later
        DiskFull,
        Offline,    // the server cannot be reached; what the operation wrote is rolled back
        Duplicate,  // another workstation stored the same key first
        Changed,    // another workstation changed the record since it was read
        ReadOnly,   // this workstation may read but not change the school's data
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

// What a user is told when the server cannot be reached.
inline const QString kOfflineText = QStringLiteral("サーバーに接続できません");
inline const QString kDuplicateText =
    QStringLiteral("他の端末で同じ内容が登録されました。表示し直してください。");
inline const QString kChangedText =
    QStringLiteral("他の端末で変更されました。表示し直してください。");
inline const QString kReadOnlyText = QStringLiteral("この端末には変更の権限がありません");

// True when `location` names a database server (a connection URI "postgresql://...", or a
// connection string "host=... dbname=..." / "service=name") rather than a file.
bool isServerLocation(const QString& location);

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
    // Refuses a key longer than the index's or a value of another type than its field's: a text
    // "2007" would never match the number 2007, and the look-up would find nothing silently.
    void checkKeys(const IndexMeta& ix, const std::vector<Value>& keys) const;

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
    Statement();
    Statement(class Database* db, int id, std::unique_ptr<EngineStatement> stmt);
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    explicit operator bool() const { return stmt_ != nullptr; }
    void bind(int position, const Value& v);  // 1-based
    bool step();                              // true while a row is available
    void exec();                              // step through to the end
    qint64 columnInt(int i) const;
    QString columnText(int i) const;
    QByteArrayView columnUtf8(int i) const;  // valid until the next step
    Value column(int i, FieldType type) const;
    // The statement reads a page at a time and stopped at the end of its page (see Recordset).
    bool pagedOut() const;
    qint64 changes() const;  // records an update or delete changed
    void release();

private:
    class Database* db_ = nullptr;
    int id_ = -1;
    std::unique_ptr<EngineStatement> stmt_;
};

// The one connection of the process to the school's database: the file 時間割.mdb, or a database
// on a server (see isServerLocation). Everything a user action reads or writes happens inside
// one Operation (a transaction), so an engine error never leaves anything half written.
class Database {
public:
    // Opens an existing database; never creates one. Throws DbError when the file is missing,
    // is not a database file, the server cannot be reached, or a table, field or index of this
    // program is missing.
    static void open(const QString& path);
    static void close();
    static bool isOpen();
    static Database& current();

    // Creates a new, empty database file (or the tables in an empty server database) with every
    // table and index. Refuses an existing file and a server database that has the tables.
    static void create(const QString& path);
    // Creates a new database and opens it with an operation running (depth 1), which the caller
    // ends with commit() or abandons by close(). On a server the tables are made inside that
    // operation, so an abandoned one leaves the server database as it was; a new file has its
    // tables already and is the caller's to remove (see NewDatabase).
    static void openNew(const QString& path);

    // How long an operation waits for a file another program holds before it gives up.
    static constexpr int kDefaultBusyTimeoutMs = 3000;
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    ~Database();
    // The file or the server location the connection was opened with.
    const QString& path() const { return path_; }
    bool onServer() const;
    // Every statement is a round trip to a server: where a view would look up record by record,
    // one read of a whole range costs less there (on the file the look-ups are cheaper).
    bool statementsAreRoundTrips() const { return onServer(); }
    // How the window title names the open database: the file name, or the server and database.
    QString displayName() const;

    // The only SQL statement the program runs: "DELETE * FROM <table> ;", which empties a table.
    void execute(const QString& statement);

    TableMeta& table(const QString& name);
    TableMeta& table(const char* name);

    // Statements are prepared once and kept in a pool; an id stands for one SQL text.
    int statementId(const QString& sql);
    Statement prepare(int id);
    Statement prepare(const QString& sql) { return prepare(statementId(sql)); }
    // A query whose best plan depends on its values (a range of a week or of a whole year): the
    // server plans it for the values of each run, where a plan made once for any values would
    // probe an index once per record of a long range. On the file it is a pooled statement.
    Statement prepareForValues(const QString& sql);
    void returnStatement(int id, std::unique_ptr<EngineStatement> stmt);
    // The row id of the record an insert statement just stored (stepped once).
    qint64 insertedRowid(Statement& insert);

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

    // Term-end processing and the reorganization rewrite the whole school: on a server no other
    // workstation may write while one runs, and only one runs at a time. Waits a moment for
    // writes under way elsewhere, then refuses (DbError, Busy); held until the operation ends.
    void lockSchoolExclusively();
    // Before the first write of an operation: refused at once, with a message, while another
    // workstation runs one of those.
    void beforeFirstWrite();

    // Write tracking, so that a scan neither repeats nor runs after records that the same
    // operation added or moved while the scan was running.
    std::uint64_t writeSequence() const { return seq_; }
    void noteWrite(TableMeta& table, qint64 rowid, std::uint64_t changedMask);
    static bool addedOrMovedSince(const TableMeta& table, qint64 rowid, std::uint64_t seq,
                                  std::uint64_t indexMask);

    // The embedded engine's handle, for measurements against raw calls; null on a server.
    sqlite3* handle() const;
    [[noreturn]] void fail(const QString& what) const;  // throws DbError with the engine's text
    Engine& engine() const { return *engine_; }

private:
    Database(const QString& path, std::unique_ptr<Engine> engine);
    void verifySchema();
    void exec(const char* sql);
    void endOperation(bool rolledBack);

    QString path_;
    std::unique_ptr<Engine> engine_;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    bool writing_ = false;  // the running operation holds the school for writing
    std::uint64_t seq_ = 0;
    std::uint64_t operationStartSeq_ = 0;
    std::vector<std::function<void()>> afterCommit_;
    std::map<QString, std::unique_ptr<TableMeta>> tables_;
    std::unordered_map<const char*, TableMeta*> literalTables_;
    QHash<QString, int> statementIds_;
    std::vector<QByteArray> statementSql_;
    std::vector<std::vector<std::unique_ptr<EngineStatement>>> pool_;

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
