#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "data/recordset.h"

// The tests run on the embedded file, or on the database server that the environment variable
// JIKANWARI_TEST_SERVER names (a libpq connection string; ./test starts a throwaway one).
QString testServer();
bool testingOnServer();

// Every test runs in a fresh working directory holding a new, empty 時間割.mdb (tables, indexes
// and the standard item labels), opened as the process connection; on a server, in a schema of
// its own instead of the file.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString dir() const { return dir_->path(); }
    // What Database::open takes to open the test's database again.
    const QString& location() const { return location_; }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_;
    QString schema_;
    QString location_;
};

// Makes the engine refuse every insert or update (`when` "INSERT" or "UPDATE") of a table with
// the message 書込み不可, or only of the records whose `field` holds `value`: an engine error in
// the middle of an operation, on either back end.
void refuseWrites(const QString& table, const char* when, const QString& field = {},
                  const QString& value = {});
// Runs SQL on the process connection, outside the cursor, for what no screen does.
void runSql(const QString& statement);

// For tests of what only the embedded file has (locks held by other programs on the file, the
// file itself).
#define SKIP_ON_SERVER() \
    if (testingOnServer()) GTEST_SKIP() << "the embedded file only"

using Record = std::map<QString, Value>;

// Every record of a table in storage order, read without the cursor so that tests see what
// is really stored.
std::vector<Record> records(const QString& table);

// Adds one record in its own operation; unnamed fields keep their defaults.
void insert(const QString& table, const Record& fields);

// Records many tests set up: a master entry, and a course subject or subject of 2007. Fields
// left out keep their defaults.
void insertMaster(const char* kind, const QString& no, const QString& name,
                  const QString& shortName = {}, const QString& dept = {});
void insertKamoku(const char* dept, int grade, const char* no, const char* name,
                  const char* shortName, int elective = 0, int order = 0);
void insertSubject(const char* dept, int grade, const char* kamoku, const char* no, int order,
                   const char* name, const char* shortName, int split = 0, int elective = 0);

// Another program on the same database file, holding a lock until it is destroyed: `Read` keeps
// a reading transaction open (our reads and writes go on, our commit cannot), `Write` holds the
// file exclusively (nothing of ours goes through).
class OtherProgram {
public:
    enum class Hold { Read, Write };
    explicit OtherProgram(Hold hold, const QString& file = kDatabaseFile);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;

private:
    struct sqlite3* db_ = nullptr;
};

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const Value& v, std::ostream* os) {
    *os << v.describe().toStdString();
}
