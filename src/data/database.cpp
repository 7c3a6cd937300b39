#include "data/database.h"

#include <algorithm>

#include "data/engine.h"
#include "data/recordset.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

std::unique_ptr<Database> g_current;
int g_busyTimeoutMs = Database::kDefaultBusyTimeoutMs;

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// How many records a scan on the server reads at a time: a seek's first page is small, since
// most seeks read a record or a few; a scan that goes on reads bigger pages, and an exact seek
// reads what matches, a class's week at one go.
constexpr int kServerFirstPage = 16;
constexpr int kServerPage = 128;

QString placeholders(int n) {
    QStringList q;
    for (int i = 0; i < n; ++i) q << "?";
    return q.join(", ");
}

}  // namespace

bool isServerLocation(const QString& location) {
    if (location.startsWith(QLatin1String("postgresql://")) ||
        location.startsWith(QLatin1String("postgres://")))
        return true;
    // Or keyword=value pairs ("host=… dbname=…"): a word, then '='. Read by hand: a regular
    // expression is compiled on every call, and the program asks at every start.
    qsizetype i = 0;
    const qsizetype n = location.size();
    while (i < n && location[i].isSpace()) ++i;
    const qsizetype word = i;
    while (i < n && (location[i].isLetterOrNumber() || location[i] == u'_')) ++i;
    if (i == word) return false;
    while (i < n && location[i].isSpace()) ++i;
    return i < n && location[i] == u'=';
}

// ---------------------------------------------------------------------------------------------
// Statement

Statement::Statement(Database* db, int id, std::unique_ptr<EngineStatement> stmt)
    : db_(db), id_(id), stmt_(std::move(stmt)) {}

Statement::Statement() = default;

Statement::Statement(Statement&& o) noexcept {
    *this = std::move(o);
}

Statement::~Statement() {
    release();
}

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        release();
        db_ = o.db_;
        id_ = o.id_;
        stmt_ = std::move(o.stmt_);
    }
    return *this;
}

void Statement::release() {
    if (stmt_) {
        stmt_->reset();
        if (db_) db_->returnStatement(id_, std::move(stmt_));
        stmt_.reset();
    }
}

void Statement::bind(int position, const Value& v) {
    stmt_->bind(position, v);
}

bool Statement::step() {
    return stmt_->step();
}

void Statement::exec() {
    while (step()) {
    }
}

qint64 Statement::columnInt(int i) const {
    return stmt_->columnInt(i);
}

QString Statement::columnText(int i) const {
    return stmt_->columnText(i);
}

QByteArrayView Statement::columnUtf8(int i) const {
    return stmt_->columnUtf8(i);
}

Value Statement::column(int i, FieldType type) const {
    if (type == FieldType::Integer) return Value(columnInt(i));
    return Value(columnText(i));
}

bool Statement::pagedOut() const {
    return stmt_ && stmt_->pagedOut();
}

qint64 Statement::changes() const {
    return stmt_->changes();
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

void TableMeta::checkKeys(const IndexMeta& ix, const std::vector<Value>& keys) const {
    if (keys.size() > ix.columns.size())
        throw DbError(QStringLiteral("インデックス「%1」のキーは %2 項目です")
                          .arg(ix.name)
                          .arg(ix.columns.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        const int c = ix.columns[i];
        if (keys[i].isInt() != (types[c] == FieldType::Integer))
            throw DbError(QStringLiteral("インデックス「%1」の「%2」に型の違う値 %3 が渡されました")
                              .arg(ix.name, columns[c], keys[i].describe()));
    }
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

Database::Database(const QString& path, std::unique_ptr<Engine> engine)
    : path_(path), engine_(std::move(engine)) {}

int Database::busyTimeout() {
    return g_busyTimeoutMs;
}

void Database::setBusyTimeout(int milliseconds) {
    g_busyTimeoutMs = milliseconds;
    if (g_current) g_current->engine_->setBusyTimeout(milliseconds);
}

void Database::open(const QString& path) {
    close();
    std::unique_ptr<Engine> engine =
        isServerLocation(path) ? openServerEngine(path) : openFileEngine(path);
    engine->setBusyTimeout(g_busyTimeoutMs);
    std::unique_ptr<Database> d(new Database(path, std::move(engine)));
    d->verifySchema();
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
    if (isServerLocation(path))
        createServerDatabase(path);
    else
        createFileDatabase(path);
}

void Database::openNew(const QString& path) {
    close();
    if (!isServerLocation(path)) {
        createFileDatabase(path);
        open(path);
        g_current->begin();
        return;
    }
    std::unique_ptr<Engine> engine = openServerEngine(path);
    engine->setBusyTimeout(g_busyTimeoutMs);
    // Destroyed on a failure before it is current, which rolls the creation back.
    std::unique_ptr<Database> d(new Database(path, std::move(engine)));
    d->begin();
    d->engine_->createTables();
    d->verifySchema();
    g_current = std::move(d);
}

void Engine::createTables() {
    throw DbError(QStringLiteral("このデータベースには表をこの方法で作成できません"));
}

Database::~Database() {
    // The statements go before the connection they belong to.
    pool_.clear();
    if (depth_ > 0) engine_->execQuietly("ROLLBACK");
}

bool Database::onServer() const {
    return engine_->dialect() == Dialect::Server;
}

QString Database::displayName() const {
    if (!onServer()) return QFileInfo(path_).fileName();
    return path_;
}

sqlite3* Database::handle() const {
    return onServer() ? nullptr : static_cast<sqlite3*>(engine_->nativeHandle());
}

void Database::fail(const QString& what) const {
    engine_->fail(what);
    // Not reached: the engine throws.
    throw DbError(what);
}

void Database::exec(const char* sql) {
    engine_->exec(QString::fromUtf8(sql));
}

namespace {
// The statements that add the fields a later version gave a table the database already has.
QStringList missingFields(Engine& engine, const TableDef& t) {
    QStringList out;
    std::vector<std::pair<QString, FieldType>> columns;
    for (const FieldDef& f : t.fields) {
        if (!f.addedLater) continue;
        if (columns.empty()) columns = engine.columns(QString::fromUtf8(t.name));
        const QString name = QString::fromUtf8(f.name);
        if (std::none_of(columns.begin(), columns.end(),
                         [&](const auto& c) { return c.first == name; }))
            out << addFieldStatement(t, f, engine.dialect());
    }
    return out;
}
}  // namespace

void Database::verifySchema() {
    // Reading the catalogue also tells a database of this program from anything else.
    const QStringList present = engine_->tableNames();
    QStringList missing;
    for (const TableDef& t : schemaTables()) {
        if (present.contains(QString::fromUtf8(t.name))) {
            missing << missingFields(*engine_, t);
            continue;
        }
        if (!t.addedLater)
            throw DbError(
                QStringLiteral("「%1」は時間割のデータベースではありません（表「%2」がありません）")
                    .arg(path_, QString::fromUtf8(t.name)));
        missing << tableStatements(t, engine_->dialect());
    }
    if (missing.isEmpty()) return;
    // A database from before these tables and fields: they are added together or not at all.
    exec("BEGIN");
    try {
        for (const QString& sql : missing) engine_->exec(sql);
        exec("COMMIT");
    } catch (...) {
        engine_->execQuietly("ROLLBACK");
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
    for (const auto& [field, type] : engine_->columns(name)) {
        meta->columns << field;
        meta->columnsUtf8.push_back(field.toUtf8());
        meta->types.push_back(type);
    }
    if (meta->columns.isEmpty()) throw DbError(QStringLiteral("表「%1」がありません").arg(name));
    if (meta->columns.size() > 64)
        throw DbError(QStringLiteral("表「%1」のフィールドが多すぎます").arg(name));

    const bool server = onServer();
    QStringList cols;
    for (const QString& c : meta->columns) cols << quoted(c);
    meta->selectList = "rowid, " + cols.join(", ");
    meta->insertId =
        statementId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoted(name), cols.join(", "), placeholders(cols.size())) +
                    (server ? QStringLiteral(" RETURNING rowid") : QString()));
    QStringList sets;
    for (const QString& c : cols) sets << c + " = ?";
    // The record is changed only while it still holds what was read: another workstation's
    // change in between is found instead of overwritten.
    meta->updateId = statementId(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ? AND (%3) = (%4)")
            .arg(quoted(name), sets.join(", "), cols.join(", "), placeholders(cols.size())));
    meta->deleteId =
        statementId(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(name)));

    const QString prefix = name + '.';
    for (const IndexInfo& info : engine_->indexes(name)) {
        if (!info.physical.startsWith(prefix)) continue;
        IndexMeta ix;
        ix.physical = info.physical;
        ix.name = info.physical.mid(prefix.size());
        ix.nameUtf8 = ix.name.toUtf8();
        ix.unique = info.unique;
        QStringList order;
        for (const QString& field : info.fields) {
            const int c = meta->column(field);
            ix.columns.push_back(c);
            ix.mask |= std::uint64_t(1) << c;
            order << quoted(field);
        }
        meta->keyMask |= ix.mask;
        // INDEXED BY: the order the documents rely on is the index's, whatever the planner would
        // prefer. The server has no such clause; there the ORDER BY matches the index, and a
        // scan reads a page at a time, since its statement cannot stay open while others run.
        const QString head =
            QStringLiteral("SELECT %1 FROM %2").arg(meta->selectList, quoted(name)) +
            (server ? QString() : QStringLiteral(" INDEXED BY %1").arg(quoted(ix.physical)));
        const QString orderBy = " ORDER BY " + order.join(", ") + ", rowid" +
                                (server ? QStringLiteral(" LIMIT %1").arg(kServerPage) : QString());
        const QString firstOrderBy =
            " ORDER BY " + order.join(", ") + ", rowid" +
            (server ? QStringLiteral(" LIMIT %1").arg(kServerFirstPage) : QString());
        for (int m = 0; m <= int(order.size()); ++m) {
            const QString where = m == 0 ? QString()
                                         : QStringLiteral(" WHERE (%1) >= (%2)")
                                               .arg(order.mid(0, m).join(", "), placeholders(m));
            ix.fromIds.push_back(statementId(head + where + firstOrderBy));
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
        std::unique_ptr<EngineStatement> s = std::move(free.back());
        free.pop_back();
        return Statement(this, id, std::move(s));
    }
    return Statement(this, id, engine_->prepare(id, statementSql_[id]));
}

Statement Database::prepareForValues(const QString& sql) {
    if (!onServer()) return prepare(sql);
    // Neither pooled nor prepared on the server under a name (id -1).
    return Statement(nullptr, -1, engine_->prepare(-1, sql.toUtf8()));
}

void Database::returnStatement(int id, std::unique_ptr<EngineStatement> stmt) {
    // Every use binds all parameters again, so the old values need not be cleared.
    pool_[id].push_back(std::move(stmt));
}

qint64 Database::insertedRowid(Statement& insert) {
    // The server's insert returns the new row id as its row; the file tells it afterwards.
    if (onServer()) return insert.columnInt(0);
    return engine_->lastInsertRowid();
}

void Database::execute(const QString& statement) {
    static const QRegularExpression form(QStringLiteral("^DELETE \\* FROM (\\S+) ;$"));
    const auto m = form.match(statement);
    if (!m.hasMatch()) throw DbError(QStringLiteral("実行できない命令です: %1").arg(statement));
    beforeFirstWrite();
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
        engine_->beforeOperation();
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

void Database::lockSchoolExclusively() {
    requireOperation();
    engine_->lockSchool(true);
    writing_ = true;
}

void Database::beforeFirstWrite() {
    requireOperation();
    if (writing_) return;
    engine_->lockSchool(false);
    writing_ = true;
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
    engine_->execQuietly("ROLLBACK");
    depth_ = 0;
    afterCommit_.clear();
    endOperation(true);
}

void Database::endOperation(bool rolledBack) {
    writing_ = false;
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
