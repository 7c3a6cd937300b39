// An operation is all or nothing: an engine error halfway leaves the file as it was.

#include <QFile>
#include <sqlite3.h>

#include "data/new_database.h"
#include "support/database_fixture.h"

namespace {

class OperationTest : public DatabaseTest {};

void addMaster(Recordset& rs, const char* no) {
    rs.addNew();
    rs.set("マ_番号", "002");
    rs.set("マ_連番", no);
    rs.update();
}

TEST_F(OperationTest, AnEngineErrorHalfwayLeavesTheDatabaseAsItWas) {
    insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", "001"}, {"マ_名称", "中学部"}});
    try {
        Operation op;
        Recordset rs("マスタ");
        addMaster(rs, "002");
        rs.setIndex("Key_マスタ");
        rs.seek(Seek::Equal, {"002", "001"});
        rs.edit();
        rs.set("マ_名称", "変更");
        rs.update();
        addMaster(rs, "001");  // duplicate key: the engine refuses
        op.commit();
        FAIL() << "the duplicate was stored";
    } catch (const DbError&) {
    }
    const auto rows = records("マスタ");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("マ_名称"), Value("中学部"));

    // The connection stays usable after the failure.
    insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", "002"}});
    EXPECT_EQ(records("マスタ").size(), 2u);
}

TEST_F(OperationTest, NestedOperationsCommitOnceAndAFailedInnerOneUndoesTheWhole) {
    {
        Operation outer;
        {
            Operation inner;
            Recordset rs("マスタ");
            addMaster(rs, "001");
            inner.commit();
        }
        Recordset rs("マスタ");
        addMaster(rs, "002");
        outer.commit();
    }
    EXPECT_EQ(records("マスタ").size(), 2u);

    Operation outer;
    {
        Operation inner;  // ends without commit, as after an exception caught further up
        Recordset rs("マスタ");
        addMaster(rs, "003");
    }
    EXPECT_THROW(outer.commit(), DbError);
    EXPECT_EQ(records("マスタ").size(), 2u);
}

TEST_F(OperationTest, OnlyAKeyThatIsTakenIsCalledADuplicate) {
    {
        Operation op;
        db().prepare(QStringLiteral("CREATE TEMP TABLE 検査(x INTEGER CHECK (x > 0))")).exec();
        try {
            db().prepare(QStringLiteral("INSERT INTO 検査 VALUES (-1)")).exec();
            FAIL();
        } catch (const DbError& e) {
            EXPECT_NE(e.kind(), DbError::Kind::Duplicate) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains("制約"));
        }
    }
    Operation op;
    Recordset rs("マスタ");
    addMaster(rs, "001");
    try {
        addMaster(rs, "001");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Duplicate);
    }
}

TEST_F(OperationTest, OpeningRefusesMissingFilesAndFilesOfOtherPrograms) {
    SKIP_ON_SERVER();
    Database::close();
    try {
        Database::open("無い.mdb");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("無い.mdb"));
    }
    QFile text("text.mdb");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database");
    text.close();
    EXPECT_THROW(Database::open("text.mdb"), DbError);
    EXPECT_FALSE(Database::isOpen());

    Database::open(kDatabaseFile);
    EXPECT_TRUE(Database::isOpen());
}

// A file from before the bell schedule existed opens with the table added; one that lacks a table
// every version has is still refused.
TEST_F(OperationTest, OpeningAddsTheTablesOfLaterVersionsOnly) {
    SKIP_ON_SERVER();
    Database::close();
    const auto dropping = [](const char* sql) {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(kDatabaseFile.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    };
    dropping("DROP TABLE 時程");
    Database::open(kDatabaseFile);
    insert("時程", {{"時_学部", "000"}, {"時_時限", 1}, {"時_開始", "08:50"}});
    EXPECT_EQ(records("時程").size(), 1u);


    Database::close();
    dropping("DROP TABLE 予定");
    EXPECT_THROW(Database::open(kDatabaseFile), DbError);
}

// A database from before a field of the generator's demand opens with the field added, holding
// its default in the records already there.
TEST_F(OperationTest, OpeningAddsTheFieldsOfLaterVersions) {
    runSql("ALTER TABLE 作成時数 DROP COLUMN 作_間隔");
    runSql("INSERT INTO 作成時数 (作_行) VALUES (1)");
    Database::close();
    Database::open(location());
    insert("作成時数", {{"作_行", 2}, {"作_間隔", 2}});
    const auto lines = records("作成時数");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].at("作_間隔"), Value(0));
    EXPECT_EQ(lines[1].at("作_間隔"), Value(2));
}

}  // namespace
