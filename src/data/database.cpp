#include "data/database.h"

#include "data/recordset.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace {

std::unique_ptr<Database> g_current;
int g_busyTimeoutMs = Database::kDefaultBusyTimeoutMs;

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

}  // namespace

void throwEngineError(int code, const QString& what, const QString& file, const QString& why) {
    if (isBusy(code)) throw busyError(file);
    if ((code & 0xff) == SQLITE_FULL) throw diskFullError(file);
    throw DbError(QStringLiteral("%1（%2）").arg(what, why));
}

namespace {

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

QString placeholders(int n) {
    QStringList q;
    for (int i = 0; i < n; ++i) q << "?";
    return q.join(", ");
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Statement

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        release();
        db_ = o.db_;
        id_ = o.id_;
        bound_ = std::move(o.bound_);
        stmt_ = o.stmt_;
        o.stmt_ = nullptr;
    }
    return *this;
}

void Statement::release() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        bound_.clear();
        if (db_)
            db_->returnStatement(id_, stmt_);
        else
            sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

void Statement::bind(int position, const Value& v) {
    int rc;
    if (v.isInt()) {
        rc = sqlite3_bind_int64(stmt_, position, v.toInt());
    } else {
        // The text stays with the statement while it runs, so the engine need not copy it.
        bound_.push_back(v.toText().toUtf8());
        rc = sqlite3_bind_text(stmt_, position, bound_.back().constData(), bound_.back().size(),
                               SQLITE_STATIC);
    }
    if (rc != SQLITE_OK) db_->fail(QStringLiteral("値を設定できません"));
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int extended = sqlite3_extended_errcode(db_->handle());
    const QString why = QString::fromUtf8(sqlite3_errmsg(db_->handle()));
    if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw DbError(QStringLiteral("同じキーのレコードが既にあります（%1）").arg(why));
    if ((extended & 0xff) == SQLITE_CONSTRAINT)
        throw DbError(
            QStringLiteral("データベースの制約に合わないため保存できません（%1）").arg(why));
    db_->fail(QStringLiteral("データベースの読み書きに失敗しました"));
}

void Statement::exec() {
    while (step()) {
    }
}

qint64 Statement::columnInt(int i) const {
    return sqlite3_column_int64(stmt_, i);
}

QString Statement::columnText(int i) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)) : QString();
}

Value Statement::column(int i, FieldType type) const {
    if (type == FieldType::Integer) return Value(columnInt(i));
    return Value(columnText(i));
}

// ---------------------------------------------------------------------------------------------
// TableMeta

int TableMeta::column(const QString& field) const {
    // A table has at most a few dozen fields: comparing names beats hashing them, and a name
    // taken from fieldNames() is found by its shared data at once.
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].constData() == field.constData()) return i;
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i] == field) return i;
    throw DbError(QStringLiteral("表「%1」にフィールド「%2」がありません").arg(name, field));
}

int TableMeta::column(const char* field) const {
    const auto it = literalColumns_.find(field);
    if (it != literalColumns_.end() && columnsUtf8[it->second] == field) return it->second;
    const int c = column(QString::fromUtf8(field));
    literalColumns_[field] = c;
    return c;
}

const IndexMeta& TableMeta::index(const char* indexName) const {
    const auto it = literalIndexes_.find(indexName);
    if (it != literalIndexes_.end() && it->second->nameUtf8 == indexName) return *it->second;
    const IndexMeta& ix = index(QString::fromUtf8(indexName));
    literalIndexes_[indexName] = &ix;
    return ix;
}

void TableMeta::beforeWrite() const {
    for (Recordset* rs : cursors) rs->detachFromEngine();
}

const IndexMeta& TableMeta::index(const QString& indexName) const {
    const auto it = indexes.find(indexName);
    if (it == indexes.end())
        throw DbError(
            QStringLiteral("表「%1」にインデックス「%2」がありません").arg(name, indexName));
    return it->second;
}

// ---------------------------------------------------------------------------------------------
// Database

namespace {

// The program uses the engine from one thread only: no locking, no memory statistics.
void configureEngineOnce() {
    static const bool done = [] {
        sqlite3_config(SQLITE_CONFIG_SINGLETHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)done;
}

}  // namespace

int Database::busyTimeout() {
    return g_busyTimeoutMs;
}

void Database::setBusyTimeout(int milliseconds) {
    g_busyTimeoutMs = milliseconds;
    if (g_current) sqlite3_busy_timeout(g_current->db_, milliseconds);
}

void Database::open(const QString& path) {
    configureEngineOnce();
    close();
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
    std::unique_ptr<Database> d(new Database(path, handle));
    // Another program (a copy being made, a second window of this program) may hold the file for
    // a moment: wait for it rather than fail at once.
    sqlite3_busy_timeout(handle, g_busyTimeoutMs);
    d->verifySchema();
    // Rollback journal and full sync: between operations the single file is complete, so a copy
    // of it (the backup the reorganization reads) is always a consistent database.
    d->exec("PRAGMA journal_mode=DELETE");
    d->exec("PRAGMA synchronous=FULL");
    g_current = std::move(d);
}

void Database::close() {
    g_current.reset();
}

bool Database::isOpen() {
    return g_current != nullptr;
}

Database& Database::current() {
    if (!g_current) throw DbError(QStringLiteral("データベースが開かれていません"));
    return *g_current;
}

void Database::create(const QString& path) {
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

Database::~Database() {
    for (auto& stmts : pool_)
        for (sqlite3_stmt* s : stmts) sqlite3_finalize(s);
    if (depth_ > 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

void Database::fail(const QString& what) const {
    throwEngineError(sqlite3_extended_errcode(db_), what, kDatabaseFile,
                     QString::fromUtf8(sqlite3_errmsg(db_)));
}

void Database::exec(const char* sql) {
    char* msg = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
        const QString why = QString::fromUtf8(msg ? msg : "");
        sqlite3_free(msg);
        throwEngineError(sqlite3_extended_errcode(db_),
                         QStringLiteral("データベースの処理に失敗しました"), kDatabaseFile, why);
    }
}

void Database::verifySchema() {
    // Reading the catalogue also tells an SQLite file from anything else.
    QStringList present;
    {
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
    }
    QStringList missing;
    for (const TableDef& t : schemaTables()) {
        if (present.contains(QString::fromUtf8(t.name))) continue;
        if (!t.addedLater)
            throw DbError(
                QStringLiteral("「%1」は時間割のデータベースではありません（表「%2」がありません）")
                    .arg(path_, QString::fromUtf8(t.name)));
        missing << tableStatements(t);
    }
    if (missing.isEmpty()) return;
    // A database from before these tables: they are added together or not at all.
    exec("BEGIN");
    try {
        for (const QString& sql : missing) exec(sql.toUtf8().constData());
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

TableMeta& Database::table(const char* name) {
    const auto it = literalTables_.find(name);
    if (it != literalTables_.end() && it->second->nameUtf8 == name) return *it->second;
    TableMeta& t = table(QString::fromUtf8(name));
    literalTables_[name] = &t;
    return t;
}

TableMeta& Database::table(const QString& name) {
    if (auto it = tables_.find(name); it != tables_.end()) return *it->second;

    auto meta = std::make_unique<TableMeta>();
    meta->name = name;
    meta->nameUtf8 = name.toUtf8();
    {
        Statement info = prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
        info.bind(1, name);
        while (info.step()) {
            const QString type = info.columnText(1).toUpper();
            meta->columns << info.columnText(0);
            meta->columnsUtf8.push_back(info.columnText(0).toUtf8());
            meta->types.push_back(type.contains("INT") ? FieldType::Integer : FieldType::Text);
        }
    }
    if (meta->columns.isEmpty()) throw DbError(QStringLiteral("表「%1」がありません").arg(name));
    if (meta->columns.size() > 64)
        throw DbError(QStringLiteral("表「%1」のフィールドが多すぎます").arg(name));

    QStringList cols;
    for (const QString& c : meta->columns) cols << quoted(c);
    meta->selectList = "rowid, " + cols.join(", ");
    meta->insertId =
        statementId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoted(name), cols.join(", "), placeholders(cols.size())));
    QStringList sets;
    for (const QString& c : cols) sets << c + " = ?";
    meta->updateId = statementId(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(name), sets.join(", ")));
    meta->deleteId =
        statementId(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(name)));

    {
        Statement list = prepare(
            QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?) WHERE origin = 'c'"));
        list.bind(1, name);
        const QString prefix = name + '.';
        while (list.step()) {
            const QString physical = list.columnText(0);
            if (!physical.startsWith(prefix)) continue;
            IndexMeta ix;
            ix.physical = physical;
            ix.name = physical.mid(prefix.size());
            ix.nameUtf8 = ix.name.toUtf8();
            ix.unique = list.columnInt(1) != 0;
            Statement info =
                prepare(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
            info.bind(1, physical);
            QStringList order;
            while (info.step()) {
                const int c = meta->column(info.columnText(0));
                ix.columns.push_back(c);
                ix.mask |= std::uint64_t(1) << c;
                order << quoted(info.columnText(0));
            }
            meta->keyMask |= ix.mask;
            // INDEXED BY: the order the documents rely on is the index's, whatever the planner
            // would prefer.
            const QString head = QStringLiteral("SELECT %1 FROM %2 INDEXED BY %3")
                                     .arg(meta->selectList, quoted(name), quoted(physical));
            const QString orderBy = " ORDER BY " + order.join(", ") + ", rowid";
            for (int m = 0; m <= int(order.size()); ++m) {
                const QString where = m == 0
                                          ? QString()
                                          : QStringLiteral(" WHERE (%1) >= (%2)")
                                                .arg(order.mid(0, m).join(", "), placeholders(m));
                ix.fromIds.push_back(statementId(head + where + orderBy));
                QStringList equal;
                for (int i = 0; i < m; ++i) equal << order[i] + " = ?";
                ix.equalIds.push_back(
                    m == 0 ? ix.fromIds[0]
                           : statementId(head + " WHERE " + equal.join(" AND ") + orderBy));
            }
            ix.afterId = statementId(head +
                                     QStringLiteral(" WHERE (%1, rowid) > (%2, ?)")
                                         .arg(order.join(", "), placeholders(order.size())) +
                                     orderBy);
            meta->indexes.emplace(ix.name, std::move(ix));
        }
    }
    TableMeta& ref = *meta;
    tables_.emplace(name, std::move(meta));
    return ref;
}

int Database::statementId(const QString& sql) {
    const auto it = statementIds_.constFind(sql);
    if (it != statementIds_.constEnd()) return *it;
    const int id = int(statementSql_.size());
    statementSql_.push_back(sql.toUtf8());
    pool_.emplace_back();
    statementIds_.insert(sql, id);
    return id;
}

Statement Database::prepare(int id) {
    auto& free = pool_[id];
    if (!free.empty()) {
        sqlite3_stmt* s = free.back();
        free.pop_back();
        return Statement(this, id, s);
    }
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, statementSql_[id].constData(), -1, &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        fail(QStringLiteral("データベースの命令を準備できません"));
    }
    return Statement(this, id, s);
}

void Database::returnStatement(int id, sqlite3_stmt* stmt) {
    // Every use binds all parameters again, so the old values need not be cleared.
    sqlite3_reset(stmt);
    pool_[id].push_back(stmt);
}

void Database::execute(const QString& statement) {
    static const QRegularExpression form(QStringLiteral("^DELETE \\* FROM (\\S+) ;$"));
    const auto m = form.match(statement);
    if (!m.hasMatch()) throw DbError(QStringLiteral("実行できない命令です: %1").arg(statement));
    requireOperation();
    TableMeta& t = table(m.captured(1));
    t.beforeWrite();
    prepare(QStringLiteral("DELETE FROM %1").arg(quoted(t.name))).exec();
    noteWrite(t, 0, 0);
}

void Database::requireOperation() const {
    if (depth_ == 0)
        throw DbError(QStringLiteral("書き込みは処理（トランザクション）の中で行ってください"));
}

void Database::begin() {
    if (depth_ == 0) {
        exec("BEGIN");
        rollbackOnly_ = false;
        operationStartSeq_ = seq_;
        afterCommit_.clear();
    }
    ++depth_;
}

void Database::commit() {
    if (depth_ == 0) return;
    if (depth_ > 1) {
        --depth_;
        return;
    }
    if (rollbackOnly_) {
        rollback();
        throw DbError(QStringLiteral("処理の途中で失敗したため、変更を取り消しました"));
    }
    try {
        exec("COMMIT");
    } catch (...) {
        rollback();
        throw;
    }
    depth_ = 0;
    endOperation(false);
    // Taken out first: an action may start the next operation.
    auto actions = std::move(afterCommit_);
    afterCommit_.clear();
    for (auto& action : actions) action();
}

void Database::afterCommit(std::function<void()> action) {
    if (depth_ == 0)
        action();
    else
        afterCommit_.push_back(std::move(action));
}

void Database::rollback() {
    if (depth_ == 0) return;
    if (depth_ > 1) {
        --depth_;
        rollbackOnly_ = true;
        return;
    }
    // Open record sets keep what they stand on; their statements restart on demand.
    for (auto& [name, t] : tables_) t->beforeWrite();
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    depth_ = 0;
    afterCommit_.clear();
    endOperation(true);
}

void Database::endOperation(bool rolledBack) {
    for (auto& [name, t] : tables_) {
        // Dropped rather than cleared: a big operation leaves a big table behind.
        if (!t->touched.empty()) t->touched = {};
        // Rolled-back writes may have changed what open cursors would read next.
        if (rolledBack) ++t->generation;
    }
}

void Database::noteWrite(TableMeta& table, qint64 rowid, std::uint64_t changedMask) {
    ++seq_;
    ++table.generation;
    if (changedMask == 0) return;
    TableMeta::Touch& t = table.touched[rowid];
    t.seq = seq_;
    t.mask |= changedMask;
}

bool Database::addedOrMovedSince(const TableMeta& table, qint64 rowid, std::uint64_t seq,
                                 std::uint64_t indexMask) {
    if (table.touched.empty()) return false;
    const auto r = table.touched.find(rowid);
    return r != table.touched.end() && r->second.seq > seq && (r->second.mask & indexMask) != 0;
}

// ---------------------------------------------------------------------------------------------
// Operation

Operation::Operation() : db_(Database::current()) {
    db_.begin();
}

Operation::~Operation() {
    if (!done_) db_.rollback();
}

void Operation::commit() {
    done_ = true;
    db_.commit();
}
