#include "support/database_fixture.h"

#include <sqlite3.h>

#include <QCoreApplication>

#include "data/engine.h"
#include "data/new_database.h"

QString testServer() {
    return qEnvironmentVariable("JIKANWARI_TEST_SERVER");
}

bool testingOnServer() {
    return !testServer().isEmpty();
}

void DatabaseTest::SetUp() {
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    if (testingOnServer()) {
        // Each test has a school of its own on the shared server: a schema named after the test
        // process and a counter, dropped at the end.
        static int counter = 0;
        schema_ = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        location_ = QStringLiteral("%1 options='-csearch_path=%2'").arg(testServer(), schema_);
    } else {
        location_ = kDatabaseFile;
    }
    createNewDatabase(location_);
    // A locked file is given up on quickly here; the program waits a few seconds.
    Database::setBusyTimeout(50);
}

void DatabaseTest::TearDown() {
    Database::close();
    Database::setBusyTimeout(Database::kDefaultBusyTimeoutMs);
    if (!schema_.isEmpty())
        openServerEngine(testServer())->exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema_));
    QDir::setCurrent(previous_);
    dir_.reset();
}

void runSql(const QString& statement) {
    db().prepare(statement).exec();
}

void refuseWrites(const QString& table, const char* when, const QString& field,
                  const QString& value) {
    const QString condition =
        field.isEmpty() ? QString() : QStringLiteral("NEW.\"%1\" = '%2'").arg(field, value);
    if (db().onServer()) {
        runSql(
            QStringLiteral("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql "
                           "AS $$BEGIN RAISE EXCEPTION '書込み不可'; END$$"));
        runSql(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON \"%2\" FOR EACH ROW %3 "
                              "EXECUTE FUNCTION refuse()")
                   .arg(when, table, condition.isEmpty() ? QString() : "WHEN (" + condition + ")"));
    } else {
        runSql(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON \"%2\" %3 BEGIN SELECT "
                              "RAISE(ABORT, '書込み不可'); END")
                   .arg(when, table, condition.isEmpty() ? QString() : "WHEN " + condition));
    }
}

std::vector<Record> records(const QString& table) {
    const TableMeta& meta = db().table(table);
    Statement s = db().prepare(
        QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(meta.selectList, table));
    std::vector<Record> out;
    while (s.step()) {
        Record r;
        for (int i = 0; i < meta.columns.size(); ++i)
            r[meta.columns[i]] = s.column(i + 1, meta.types[i]);
        out.push_back(std::move(r));
    }
    return out;
}

void insert(const QString& table, const Record& fields) {
    Operation op;
    Recordset rs(table);
    rs.addNew();
    for (const auto& [name, value] : fields) rs.set(name, value);
    rs.update();
    op.commit();
}

void insertMaster(const char* kind, const QString& no, const QString& name,
                  const QString& shortName, const QString& dept) {
    insert("マスタ", {{"マ_番号", kind},
                      {"マ_連番", no},
                      {"マ_名称", name},
                      {"マ_略称", shortName},
                      {"マ_学部", dept}});
}

void insertKamoku(const char* dept, int grade, const char* no, const char* name,
                  const char* shortName, int elective, int order) {
    insert("科目", {{"科_年度", 2007},
                    {"科_表示順", order},
                    {"科_学部", dept},
                    {"科_学年", grade},
                    {"科_番号", no},
                    {"科_名称", name},
                    {"科_略称", shortName},
                    {"科_選択F", elective}});
}

void insertSubject(const char* dept, int grade, const char* kamoku, const char* no, int order,
                   const char* name, const char* shortName, int split, int elective) {
    insert("教科", {{"教_年度", 2007},
                    {"教_学部", dept},
                    {"教_学年", grade},
                    {"教_科目番号", kamoku},
                    {"教_教科番号", no},
                    {"教_表示順", order},
                    {"教_名称", name},
                    {"教_略称", shortName},
                    {"教_展開F", split},
                    {"教_選択F", elective}});
}

OtherProgram::OtherProgram(Hold hold, const QString& file) {
    sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (hold == Hold::Read) {
        sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    } else {
        sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
}

OtherProgram::~OtherProgram() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}
