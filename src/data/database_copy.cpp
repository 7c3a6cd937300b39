#include "data/database_copy.h"

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
