#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "data/recordset.h"

// Every test runs in a fresh working directory holding a new, empty 時間割.mdb (tables, indexes
// and the standard item labels), opened as the process connection.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString dir() const { return dir_->path(); }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_;
};

using Record = std::map<QString, Value>;

// Every record of a table in storage order, read without the cursor so that tests see what
// is really stored.
std::vector<Record> records(const QString& table);

// Adds one record in its own operation; unnamed fields keep their defaults.
void insert(const QString& table, const Record& fields);

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const Value& v, std::ostream* os) {
    *os << v.describe().toStdString();
}
