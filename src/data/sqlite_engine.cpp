// The embedded engine: the school's database is one SQLite file in the working directory.

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "data/database.h"
#include "data/database_copy.h"
#include "data/engine.h"

namespace {

bool isBusy(int code) {
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

DbError busyError(const QString& file = kDatabaseFile) {
    return DbError(
        QStringLiteral(
            "「%1」は他のプログラムが使用中です。しばらく待ってから、もう一度操作してください。")
            .arg(file),
        DbError::Kind::Busy);
}

// The engine's own words for a full disk mean nothing to a school clerk.
DbError diskFullError(const QString& file) {
    return DbError(QStringLiteral("%1（「%2」）").arg(kDiskFullText, file),
                   DbError::Kind::DiskFull);
}

// The program uses the engine from one thread only: no locking, no memory statistics.
void configureEngineOnce() {
    static const bool done = [] {
        sqlite3_config(SQLITE_CONFIG_SINGLETHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)done;
}

class SqliteStatement : public EngineStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }

    void bind(int position, const Value& v) override {
        int rc;
        if (v.isInt()) {
            rc = sqlite3_bind_int64(stmt_, position, v.toInt());
        } else {
            // The text stays with the statement while it runs, so the engine need not copy it.
            bound_.push_back(v.toText().toUtf8());
            rc = sqlite3_bind_text(stmt_, position, bound_.back().constData(),
                                   int(bound_.back().size()), SQLITE_STATIC);
        }
        if (rc != SQLITE_OK) fail(QStringLiteral("値を設定できません"));
    }

    bool step() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        const int extended = sqlite3_extended_errcode(db_);
        const QString why = QString::fromUtf8(sqlite3_errmsg(db_));
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw DbError(QStringLiteral("同じキーのレコードが既にあります（%1）").arg(why),
                          DbError::Kind::Duplicate);
        if ((extended & 0xff) == SQLITE_CONSTRAINT)
            throw DbError(
                QStringLiteral("データベースの制約に合わないため保存できません（%1）").arg(why));
        fail(QStringLiteral("データベースの読み書きに失敗しました"));
    }

    qint64 columnInt(int i) const override { return sqlite3_column_int64(stmt_, i); }
    qint64 changes() const override { return sqlite3_changes64(db_); }

    QString columnText(int i) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)) : QString();
    }

    QByteArrayView columnUtf8(int i) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        return p ? QByteArrayView(p, sqlite3_column_bytes(stmt_, i)) : QByteArrayView();
    }

    void reset() override {
        sqlite3_reset(stmt_);
        bound_.clear();
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throwFileEngineError(sqlite3_extended_errcode(db_), what, kDatabaseFile,
                             QString::fromUtf8(sqlite3_errmsg(db_)));
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_;
    std::vector<QByteArray> bound_;  // the texts bound to the running statement
};

class SqliteEngine : public Engine {
public:
    SqliteEngine(const QString& path, sqlite3* db) : path_(path), db_(db) {}
    ~SqliteEngine() override { sqlite3_close(db_); }

    Dialect dialect() const override { return Dialect::Embedded; }

    std::unique_ptr<EngineStatement> prepare(int, const QByteArray& sql) override {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &s, nullptr) != SQLITE_OK) {
            sqlite3_finalize(s);
            fail(QStringLiteral("データベースの命令を準備できません"));
        }
        return std::make_unique<SqliteStatement>(db_, s);
    }

    void exec(const QString& sql) override {
        char* msg = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
            const QString why = QString::fromUtf8(msg ? msg : "");
            sqlite3_free(msg);
            throwFileEngineError(sqlite3_extended_errcode(db_),
                                 QStringLiteral("データベースの処理に失敗しました"), kDatabaseFile,
                                 why);
        }
    }

    void execQuietly(const char* sql) noexcept override {
        sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    }

    qint64 lastInsertRowid() override { return sqlite3_last_insert_rowid(db_); }

    [[noreturn]] void fail(const QString& what) override {
        throwFileEngineError(sqlite3_extended_errcode(db_), what, kDatabaseFile,
                             QString::fromUtf8(sqlite3_errmsg(db_)));
    }

    QStringList tableNames() override {
        QStringList present;
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type='table'", -1, &s,
                               nullptr) != SQLITE_OK) {
            if (isBusy(sqlite3_extended_errcode(db_))) {
                sqlite3_finalize(s);
                throw busyError();
            }
            const QString why = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_finalize(s);
            throw DbError(
                QStringLiteral("「%1」は時間割のデータベースではありません（%2）").arg(path_, why));
        }
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            present << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        if (isBusy(rc)) throw busyError();
        return present;
    }

    std::vector<std::pair<QString, FieldType>> columns(const QString& table) override {
        std::vector<std::pair<QString, FieldType>> out;
        auto s = prepare(0, "SELECT name, type FROM pragma_table_info(?)");
        s->bind(1, table);
        while (s->step())
            out.emplace_back(s->columnText(0), s->columnText(1).toUpper().contains("INT")
                                                   ? FieldType::Integer
                                                   : FieldType::Text);
        return out;
    }

    std::vector<IndexInfo> indexes(const QString& table) override {
        std::vector<IndexInfo> out;
        auto list =
            prepare(0, "SELECT name, \"unique\" FROM pragma_index_list(?) WHERE origin = 'c'");
        list->bind(1, table);
        while (list->step()) {
            IndexInfo ix;
            ix.physical = list->columnText(0);
            ix.unique = list->columnInt(1) != 0;
            auto info = prepare(0, "SELECT name FROM pragma_index_info(?) ORDER BY seqno");
            info->bind(1, ix.physical);
            while (info->step()) ix.fields << info->columnText(0);
            out.push_back(std::move(ix));
        }
        return out;
    }

    void setBusyTimeout(int milliseconds) override { sqlite3_busy_timeout(db_, milliseconds); }
    void* nativeHandle() const override { return db_; }

private:
    QString path_;
    sqlite3* db_;
};

}  // namespace

void throwFileEngineError(int code, const QString& what, const QString& file, const QString& why) {
    if (isBusy(code)) throw busyError(file);
    if ((code & 0xff) == SQLITE_FULL) throw diskFullError(file);
    throw DbError(QStringLiteral("%1（%2）").arg(what, why));
}

bool isDatabaseFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

std::unique_ptr<Engine> openFileEngine(const QString& path) {
    configureEngineOnce();
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("データベース「%1」がありません").arg(path));
    sqlite3* handle = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString();
        sqlite3_close(handle);
        throw DbError(QStringLiteral("データベース「%1」を開けません（%2）").arg(path, why));
    }
    auto engine = std::make_unique<SqliteEngine>(path, handle);
    // Another program (a copy being made, a second window of this program) may hold the file for
    // a moment: wait for it rather than fail at once.
    sqlite3_busy_timeout(handle, Database::busyTimeout());
    // Reading the catalogue first tells an SQLite file from anything else.
    engine->tableNames();
    // Rollback journal and full sync: between operations the single file is complete, so a copy
    // of it (the backup the reorganization reads) is always a consistent database.
    engine->exec("PRAGMA journal_mode=DELETE");
    engine->exec("PRAGMA synchronous=FULL");
    return engine;
}

void createFileDatabase(const QString& path) {
    configureEngineOnce();
    if (QFileInfo::exists(path))
        throw DbError(
            QStringLiteral("「%1」は既にあります。既存のファイルは変更しません").arg(path));
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString();
        sqlite3_close(handle);
        throw DbError(QStringLiteral("「%1」を作成できません（%2）").arg(path, why));
    }
    QString error;
    for (const QString& sql : QStringList{"BEGIN"} + schemaStatements() + QStringList{"COMMIT"}) {
        char* msg = nullptr;
        if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
            error = QString::fromUtf8(msg ? msg : "");
            sqlite3_free(msg);
            break;
        }
    }
    sqlite3_close(handle);
    if (!error.isEmpty()) {
        QFile::remove(path);
        throw DbError(QStringLiteral("「%1」を作成できません（%2）").arg(path, error));
    }
}
