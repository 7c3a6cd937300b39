#include "data/database_copy.h"

#include <filesystem>

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "data/database.h"
#include "data/engine.h"

namespace {

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

}  // namespace

DatabaseCopy::DatabaseCopy(const QString& path) : path_(path) {
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) fail(QStringLiteral("「%1」を開けません").arg(fileName()));
    sqlite3_busy_timeout(db_, Database::busyTimeout());
}

DatabaseCopy::~DatabaseCopy() {
    sqlite3_finalize(stmt_);
    sqlite3_close(db_);
}

QString DatabaseCopy::fileName() const {
    return QFileInfo(path_).fileName();
}

void DatabaseCopy::fail(const QString& what) const {
    throwFileEngineError(db_ ? sqlite3_extended_errcode(db_) : SQLITE_CANTOPEN, what, fileName(),
                         db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString());
}

QStringList DatabaseCopy::fieldsOf(const QString& table) {
    // Reading the catalogue is what tells a database from any other file.
    const QString notOurs =
        QStringLiteral("「%1」は時間割のデータベースではありません").arg(fileName());
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT name FROM pragma_table_info(?)", -1, &s, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(s);
        fail(notOurs);
    }
    const QByteArray t = table.toUtf8();
    sqlite3_bind_text(s, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    QStringList out;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE) fail(notOurs);
    return out;
}

void DatabaseCopy::select(const QString& table, const QStringList& fields, const QStringList& key) {
    QStringList cols, order;
    for (const QString& f : fields) cols << quoted(f);
    for (const QString& f : key) order << quoted(f);
    order << "rowid";
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                               .arg(cols.join(", "), quoted(table), order.join(", "))
                               .toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), -1, &stmt_, nullptr) != SQLITE_OK)
        fail(QStringLiteral("「%1」の表「%2」を読めません").arg(fileName(), table));
}

bool DatabaseCopy::next() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) fail(QStringLiteral("「%1」を読めません").arg(fileName()));
    return false;
}

Value DatabaseCopy::value(int i, FieldType type) const {
    if (type == FieldType::Integer) return Value(qint64(sqlite3_column_int64(stmt_, i)));
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return Value(p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)) : QString());
}

namespace {

// Copies one table of the open database into the same table of a new file.
void copyTable(const TableMeta& t, sqlite3* file, const QString& fileName) {
    QStringList cols, marks;
    for (const QString& c : t.columns) {
        cols << quoted(c);
        marks << QStringLiteral("?");
    }
    const QByteArray insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(t.name), cols.join(", "), marks.join(", "))
                                  .toUtf8();
    sqlite3_stmt* ins = nullptr;
    const auto failed = [&](const QString& what) {
        const int code = sqlite3_extended_errcode(file);
        const QString why = QString::fromUtf8(sqlite3_errmsg(file));
        sqlite3_finalize(ins);
        throwFileEngineError(code, what, fileName, why);
    };
    if (sqlite3_prepare_v2(file, insert.constData(), -1, &ins, nullptr) != SQLITE_OK)
        failed(QStringLiteral("「%1」に表「%2」を書けません").arg(fileName, t.name));
    Statement rows = db().prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                      .arg(cols.join(", "), quoted(t.name)));
    const int n = int(t.columns.size());
    while (rows.step()) {
        for (int i = 0; i < n; ++i) {
            if (t.types[i] == FieldType::Integer) {
                sqlite3_bind_int64(ins, i + 1, rows.columnInt(i));
            } else {
                const QByteArray text = rows.columnText(i).toUtf8();
                sqlite3_bind_text(ins, i + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(ins) != SQLITE_DONE)
            failed(QStringLiteral("「%1」に表「%2」を書けません").arg(fileName, t.name));
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
}

}  // namespace

void writeDatabaseFile(const QString& path) {
    const QString fileName = QFileInfo(path).fileName();
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);  // left by a run that was cut off
    createFileDatabase(part);
    sqlite3* file = nullptr;
    try {
        if (sqlite3_open_v2(part.toUtf8().constData(), &file, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            throwFileEngineError(sqlite3_extended_errcode(file),
                                 QStringLiteral("「%1」を作成できません").arg(fileName), fileName,
                                 QString::fromUtf8(sqlite3_errmsg(file)));
        const auto run = [&](const char* sql) {
            if (sqlite3_exec(file, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
                throwFileEngineError(sqlite3_extended_errcode(file),
                                     QStringLiteral("「%1」を書けません").arg(fileName), fileName,
                                     QString::fromUtf8(sqlite3_errmsg(file)));
        };
        run("BEGIN");
        for (const TableDef& def : schemaTables())
            if (!def.perConnection) copyTable(db().table(def.name), file, fileName);
        run("COMMIT");
        if (sqlite3_close(file) != SQLITE_OK)
            throw DbError(QStringLiteral("「%1」を書けません").arg(fileName));
        file = nullptr;
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(part.toStdU16String()),
                                std::filesystem::path(path.toStdU16String()), error);
        if (error)
            throw DbError(QStringLiteral("「%1」を置き換えられません（%2）")
                              .arg(fileName, QString::fromLocal8Bit(error.message())));
    } catch (...) {
        sqlite3_close(file);
        QFile::remove(part);
        throw;
    }
}
