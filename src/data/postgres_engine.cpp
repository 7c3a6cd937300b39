// The server engine: the school's database lives on a PostgreSQL server that several
// workstations share, reached through libpq. Passwords come from libpq's own password or service
// file, never from a location this program was given.

#include <cstdlib>

#include <QRegularExpression>

#include <libpq-fe.h>

#include "data/database.h"
#include "data/engine.h"

namespace {

QString quotedName(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// "?" placeholders become "$1", "$2", ... (outside quoted names and texts); returns their count.
QByteArray numberedPlaceholders(const QByteArray& sql, int* count) {
    QByteArray out;
    out.reserve(sql.size() + 16);
    char quote = 0;
    int n = 0;
    for (const char c : sql) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '?') {
            out += '$' + QByteArray::number(++n);
            continue;
        }
        out += c;
    }
    *count = n;
    return out;
}

bool connectionLost(PGconn* conn, const QByteArray& state) {
    return PQstatus(conn) != CONNECTION_OK || state.startsWith("08") || state == "57P01" ||
           state == "57P02" || state == "57P03";
}

// The DbError for a failed call: what a clerk can act on is named in the program's words, the
// rest carries the server's text.
[[noreturn]] void throwServerError(PGconn* conn, const PGresult* res, const QString& what) {
    const QByteArray state = res ? QByteArray(PQresultErrorField(res, PG_DIAG_SQLSTATE)) : "";
    const QString why =
        QString::fromUtf8(res ? PQresultErrorMessage(res) : PQerrorMessage(conn)).trimmed();
    if (connectionLost(conn, state)) throw DbError(kOfflineText, DbError::Kind::Offline);
    if (state == "23505") throw DbError(kDuplicateText, DbError::Kind::Duplicate);
    if (state == "40001" || state == "40P01") throw DbError(kChangedText, DbError::Kind::Changed);
    if (state == "42501" || state == "25006") throw DbError(kReadOnlyText, DbError::Kind::ReadOnly);
    if (state == "55P03")
        throw DbError(QStringLiteral("他の端末が処理中です。しばらく待ってから、もう一度操作して"
                                     "ください。"),
                      DbError::Kind::Busy);
    if (state.startsWith("23"))
        throw DbError(
            QStringLiteral("データベースの制約に合わないため保存できません（%1）").arg(why));
    if (state == "53100")
        throw DbError(QStringLiteral("%1（サーバー）").arg(kDiskFullText), DbError::Kind::DiskFull);
    throw DbError(QStringLiteral("%1（%2）").arg(what, why));
}

class PostgresEngine;

class PostgresStatement : public EngineStatement {
public:
    PostgresStatement(PostgresEngine* engine, int id, QByteArray sql, int params, int page)
        : engine_(engine), id_(id), sql_(std::move(sql)), params_(params), page_(page) {
        values_.resize(params);
    }
    ~PostgresStatement() override { PQclear(res_); }

    void bind(int position, const Value& v) override {
        // A statement binds the row id after the key even where its SQL does not compare it.
        if (position > params_) return;
        values_[position - 1] = v.isInt() ? QByteArray::number(v.toInt()) : v.toText().toUtf8();
    }

    bool step() override;

    qint64 columnInt(int i) const override {
        return std::strtoll(PQgetvalue(res_, row_, i), nullptr, 10);
    }

    QString columnText(int i) const override {
        return QString::fromUtf8(PQgetvalue(res_, row_, i), PQgetlength(res_, row_, i));
    }

    QByteArrayView columnUtf8(int i) const override {
        return QByteArrayView(PQgetvalue(res_, row_, i), PQgetlength(res_, row_, i));
    }

    void reset() override {
        PQclear(res_);
        res_ = nullptr;
        row_ = -1;
        rows_ = 0;
    }

    bool pagedOut() const override { return page_ > 0 && res_ && rows_ == page_; }
    qint64 changes() const override { return res_ ? std::atoll(PQcmdTuples(res_)) : 0; }

private:
    PostgresEngine* engine_;
    int id_;
    QByteArray sql_;
    int params_;
    int page_;
    std::vector<QByteArray> values_;
    PGresult* res_ = nullptr;
    int row_ = -1;
    int rows_ = 0;
};

class PostgresEngine : public Engine {
public:
    PostgresEngine(const QString& location, PGconn* conn) : location_(location), conn_(conn) {}
    ~PostgresEngine() override { PQfinish(conn_); }

    Dialect dialect() const override { return Dialect::Server; }

    std::unique_ptr<EngineStatement> prepare(int id, const QByteArray& sql) override {
        int params = 0;
        QByteArray text = numberedPlaceholders(sql, &params);
        static const QRegularExpression limit(QStringLiteral(" LIMIT (\\d+)$"));
        const auto m = limit.match(QString::fromUtf8(sql));
        return std::make_unique<PostgresStatement>(this, id, std::move(text), params,
                                                   m.hasMatch() ? m.captured(1).toInt() : 0);
    }

    // Runs a statement; prepared on the server at its first use on this connection.
    PGresult* run(int id, const QByteArray& sql, const std::vector<QByteArray>& values) {
        std::vector<const char*> v;
        std::vector<int> lengths;
        for (const QByteArray& b : values) {
            v.push_back(b.constData());
            lengths.push_back(int(b.size()));
        }
        if (id < 0)
            return check(PQexecParams(conn_, sql.constData(), int(v.size()), nullptr, v.data(),
                                      lengths.data(), nullptr, 0),
                         QStringLiteral("データベースの読み書きに失敗しました"));
        const QByteArray name = "jk" + QByteArray::number(id);
        if (size_t(id) >= prepared_.size()) prepared_.resize(id + 1, false);
        if (!prepared_[id]) {
            PQclear(check(PQprepare(conn_, name.constData(), sql.constData(), 0, nullptr),
                          QStringLiteral("データベースの命令を準備できません")));
            prepared_[id] = true;
        }
        return check(PQexecPrepared(conn_, name.constData(), int(v.size()), v.data(),
                                    lengths.data(), nullptr, 0),
                     QStringLiteral("データベースの読み書きに失敗しました"));
    }

    PGresult* check(PGresult* res, const QString& what) {
        const ExecStatusType st = PQresultStatus(res);
        if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) return res;
        try {
            throwServerError(conn_, res, what);
        } catch (...) {
            PQclear(res);
            throw;
        }
    }

    void exec(const QString& sql) override {
        PQclear(check(PQexec(conn_, sql.toUtf8().constData()),
                      QStringLiteral("データベースの処理に失敗しました")));
    }

    void execQuietly(const char* sql) noexcept override { PQclear(PQexec(conn_, sql)); }

    qint64 lastInsertRowid() override { return 0; }

    [[noreturn]] void fail(const QString& what) override { throwServerError(conn_, nullptr, what); }

    QStringList query(const QByteArray& sql, const std::vector<QByteArray>& values, int fields) {
        PGresult* res = run(-1, sql, values);
        QStringList out;
        for (int r = 0; r < PQntuples(res); ++r)
            for (int c = 0; c < fields; ++c)
                out << QString::fromUtf8(PQgetvalue(res, r, c), PQgetlength(res, r, c));
        PQclear(res);
        return out;
    }

    QStringList tableNames() override {
        return query(
            "SELECT relname FROM pg_class WHERE relkind = 'r' AND "
            "relnamespace = current_schema()::regnamespace",
            {}, 1);
    }

    std::vector<std::pair<QString, FieldType>> columns(const QString& table) override {
        const QStringList rows = query(
            "SELECT attname, format_type(atttypid, NULL) FROM pg_attribute WHERE attrelid = "
            "to_regclass($1) AND attnum > 0 AND NOT attisdropped AND attname <> 'rowid' "
            "ORDER BY attnum",
            {quotedName(table).toUtf8()}, 2);
        std::vector<std::pair<QString, FieldType>> out;
        for (int i = 0; i + 1 < rows.size(); i += 2)
            out.emplace_back(rows[i],
                             rows[i + 1].contains("int") ? FieldType::Integer : FieldType::Text);
        return out;
    }

    std::vector<IndexInfo> indexes(const QString& table) override {
        const QStringList rows = query(
            "SELECT ic.relname, i.indisunique::int, a.attname FROM pg_index i "
            "JOIN pg_class ic ON ic.oid = i.indexrelid "
            "CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, ord) "
            "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
            "WHERE i.indrelid = to_regclass($1) ORDER BY ic.relname, k.ord",
            {quotedName(table).toUtf8()}, 3);
        std::vector<IndexInfo> out;
        for (int i = 0; i + 2 < rows.size(); i += 3) {
            if (out.empty() || out.back().physical != rows[i])
                out.push_back(IndexInfo{rows[i], rows[i + 1] == "1", {}});
            // The row id closes every index as the tie-breaker; the key is the fields before it.
            if (rows[i + 2] != "rowid") out.back().fields << rows[i + 2];
        }
        return out;
    }

    void setBusyTimeout(int milliseconds) override {
        busyTimeoutMs_ = milliseconds;
        if (PQstatus(conn_) == CONNECTION_OK)
            exec(QStringLiteral("SET lock_timeout = %1").arg(milliseconds));
    }

    void lockSchool(bool exclusive) override {
        // One lock per school: its database and schema on the server.
        static const char* key = "hashtext(current_database() || '/' || current_schema())";
        if (exclusive) {
            try {
                query(QByteArray("SELECT pg_advisory_xact_lock(") + key + ")", {}, 1);
            } catch (const DbError& e) {
                if (!e.busy()) throw;
                throw DbError(
                    QStringLiteral("他の端末で処理中のため、実行できません。他の端末の処理"
                                   "が終わってから、もう一度操作してください。"),
                    DbError::Kind::Busy);
            }
            return;
        }
        if (query(QByteArray("SELECT pg_try_advisory_xact_lock_shared(") + key + ")::int", {}, 1)
                .value(0) != "1")
            throw DbError(QStringLiteral("他の端末で年度末処理または整理を実行中のため、変更できま"
                                         "せん。終わってから、もう一度操作してください。"),
                          DbError::Kind::Busy);
    }

    // Settings and work tables of this connection; made again after a reconnect.
    void startSession() {
        exec(QStringLiteral("SET lock_timeout = %1").arg(busyTimeoutMs_));
        for (const TableDef& t : schemaTables()) {
            if (!t.perConnection) continue;
            for (QString sql : tableStatements(t, Dialect::Server)) {
                if (sql.startsWith(QLatin1String("CREATE TABLE")))
                    sql.replace(0, 12, QStringLiteral("CREATE TEMPORARY TABLE"));
                exec(sql);
            }
        }
    }

    void beforeOperation() override {
        // A connection the server closed while the program stood idle (a restart, an
        // administrator) shows only once what the server sent is read.
        // (The server's farewell and the end of the stream may come in two reads.)
        if (PQstatus(conn_) == CONNECTION_OK && PQconsumeInput(conn_) && !PQisBusy(conn_) &&
            PQconsumeInput(conn_) && PQstatus(conn_) == CONNECTION_OK)
            return;
        // The server went away since the last operation: try once to connect again.
        PQreset(conn_);
        if (PQstatus(conn_) != CONNECTION_OK) throw DbError(kOfflineText, DbError::Kind::Offline);
        prepared_.clear();
        PQsetClientEncoding(conn_, "UTF8");
        startSession();
    }

    void createTables() override {
        // Several schools share one server database as schemas of their own: the first schema
        // of the location's search path is made when it is not there yet.
        if (query("SELECT coalesce(current_schema(), '')", {}, 1).value(0).isEmpty()) {
            QString first = query("SELECT current_setting('search_path')", {}, 1)
                                .value(0)
                                .section(',', 0, 0)
                                .trimmed();
            if (first.startsWith('"') && first.endsWith('"') && first.size() > 1)
                first = first.mid(1, first.size() - 2).replace("\"\"", "\"");
            if (first.isEmpty() || first == "$user")
                first = query("SELECT session_user", {}, 1).value(0);
            exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quotedName(first)));
        }
        for (const QString& t : tableNames())
            if (findTableDef(t))
                throw DbError(
                    QStringLiteral("「%1」には既に時間割のデータベースがあります。既存のデータ"
                                   "ベースは変更しません")
                        .arg(location_));
        // This connection's own work tables would stand in front of the school's tables of the
        // same names: they go first and are made again afterwards.
        for (const TableDef& t : schemaTables())
            if (t.perConnection)
                exec(QStringLiteral("DROP TABLE IF EXISTS pg_temp.%1").arg(quotedName(t.name)));
        for (const QString& sql : schemaStatements(Dialect::Server)) exec(sql);
        startSession();
    }

    void* nativeHandle() const override { return conn_; }

    PGconn* conn() const { return conn_; }

private:
    QString location_;
    PGconn* conn_;
    std::vector<bool> prepared_;
    int busyTimeoutMs_ = Database::kDefaultBusyTimeoutMs;
};

bool PostgresStatement::step() {
    if (!res_) {
        res_ = engine_->run(id_, sql_, values_);
        rows_ = PQntuples(res_);
        row_ = -1;
    }
    if (row_ + 1 < rows_) {
        ++row_;
        return true;
    }
    // At the end the last row stays readable: a paged scan goes on from it.
    return false;
}

// Opens a connection; refuses a location that carries a password.
PGconn* connect(const QString& location) {
    const QByteArray conninfo = location.toUtf8();
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.constData(), &error);
    if (!options) {
        const QString why = QString::fromUtf8(error ? error : "").trimmed();
        PQfreemem(error);
        throw DbError(QStringLiteral("接続先「%1」を読めません（%2）").arg(location, why));
    }
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (QByteArray(o->keyword) == "password" && o->val && *o->val) password = true;
    PQconninfoFree(options);
    if (password)
        throw DbError(QStringLiteral(
            "接続先にパスワードを書かないでください。パスワードは PostgreSQL のパスワードファイル"
            "（.pgpass）に置きます。"));
    PGconn* conn = PQconnectdb(conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString why = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        throw DbError(QStringLiteral("%1（%2）").arg(kOfflineText, why), DbError::Kind::Offline);
    }
    PQsetClientEncoding(conn, "UTF8");
    return conn;
}

Engine* openEngine(const QString& location) {
    auto engine = std::make_unique<PostgresEngine>(location, connect(location));
    engine->startSession();
    return engine.release();
}

void createDatabase(const QString& location) {
    PostgresEngine engine(location, connect(location));
    engine.exec("BEGIN");
    try {
        engine.createTables();
        engine.exec("COMMIT");
    } catch (...) {
        engine.execQuietly("ROLLBACK");
        throw;
    }
}

}  // namespace

extern "C" Q_DECL_EXPORT const ServerEngineEntry* jikanwariServerEngine() {
    static const ServerEngineEntry entry{openEngine, createDatabase};
    return &entry;
}
