#include "support/database_fixture.h"

#include <sqlite3.h>

#include "data/new_database.h"

void DatabaseTest::SetUp() {
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    createNewDatabase(kDatabaseFile);
}

void DatabaseTest::TearDown() {
    Database::close();
    QDir::setCurrent(previous_);
    dir_.reset();
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
