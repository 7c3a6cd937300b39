// Several workstations on one school database on a server: each test plays a second workstation
// beside the process connection. They run only when the tests are pointed at a server.

#include "data/engine.h"
#include "support/database_fixture.h"

namespace {

class WorkstationsTest : public DatabaseTest {
protected:
    void SetUp() override {
        if (!testingOnServer()) GTEST_SKIP() << "needs a database server";
        DatabaseTest::SetUp();
        other = openServerEngine(location());
        other->setBusyTimeout(50);
    }
    void TearDown() override {
        other.reset();
        if (testingOnServer()) DatabaseTest::TearDown();
    }

    // Runs a statement on the other workstation.
    void otherRuns(const QString& sql) { other->exec(sql); }

    // A write of ours in one operation; returns what the user is told (empty when stored).
    template <typename F>
    QString ourOperation(F&& write) {
        try {
            Operation op;
            write();
            op.commit();
            return {};
        } catch (const DbError& e) {
            return e.message();
        }
    }

    std::unique_ptr<Engine> other;
};

void addLabel(const char* no, const char* label) {
    Recordset rs("項目名");
    rs.addNew();
    rs.set("MSG_番号", no);
    rs.set("MSG_項目", label);
    rs.update();
}

TEST_F(WorkstationsTest, TheSameKeyFromTwoWorkstationsKeepsTheFirstAndStoresNothingOfTheSecond) {
    otherRuns("INSERT INTO \"項目名\" (\"MSG_番号\", \"MSG_項目\") VALUES ('900', '他')");
    const QString told = ourOperation([] {
        addLabel("901", "こちら");  // stored first in the same operation, then undone
        addLabel("900", "こちら");
    });
    EXPECT_EQ(told, kDuplicateText);
    int ours = 0;
    for (const Record& r : records("項目名")) ours += r.at("MSG_項目") == Value("こちら");
    EXPECT_EQ(ours, 0);
}

TEST_F(WorkstationsTest, AnEditOfARecordChangedElsewhereSinceItWasReadIsRefused) {
    insert("マスタ", {{"マ_番号", "001"}, {"マ_連番", "001"}, {"マ_名称", "桜丘"}});
    const QString told = ourOperation([&] {
        Recordset rs("マスタ");
        rs.setIndex("Key_マスタ");
        rs.seek(Seek::Equal, {"001", "001"});
        ASSERT_FALSE(rs.noMatch());
        EXPECT_EQ(rs.text("マ_名称"), "桜丘");
        otherRuns("UPDATE \"マスタ\" SET \"マ_名称\" = '若葉'");
        rs.edit();
        rs.set("マ_名称", "青葉");
        rs.update();
    });
    EXPECT_EQ(told, kChangedText);
    EXPECT_EQ(records("マスタ").at(0).at("マ_名称"), Value("若葉"));
}

TEST_F(WorkstationsTest, EachWorkstationHasItsOwnNoticeWorkTable) {
    otherRuns("INSERT INTO \"WK時割変\" (\"W_日付\") VALUES ('2007/10/01')");
    EXPECT_TRUE(records("WK時割変").empty());
    insert("WK時割変", {{"W_日付", "2007/10/02"}});
    ASSERT_EQ(records("WK時割変").size(), 1u);
    EXPECT_EQ(records("WK時割変")[0].at("W_日付"), Value("2007/10/02"));
}

TEST_F(WorkstationsTest, TermEndAndWritesElsewhereExcludeEachOther) {
    const char* key = "hashtext(current_database() || '/' || current_schema())";
    // Another workstation is in the middle of a write: our term-end waits a moment, then says so.
    otherRuns("BEGIN");
    otherRuns(QStringLiteral("SELECT pg_advisory_xact_lock_shared(%1)").arg(key));
    QString told = ourOperation([] { db().lockSchoolExclusively(); });
    EXPECT_TRUE(told.startsWith("他の端末で処理中のため")) << told.toStdString();
    otherRuns("ROLLBACK");

    // Another workstation runs term-end: our write is refused with a message, nothing stored.
    otherRuns("BEGIN");
    otherRuns(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(key));
    told = ourOperation([] { addLabel("900", "こちら"); });
    EXPECT_TRUE(told.startsWith("他の端末で年度末処理または整理を実行中")) << told.toStdString();
    otherRuns("ROLLBACK");
    EXPECT_EQ(ourOperation([] { addLabel("900", "こちら"); }), "");
}

TEST_F(WorkstationsTest, AReadOnlyWorkstationIsToldItMayNotChange) {
    otherRuns(
        "DO $$ BEGIN CREATE ROLE jk_reader LOGIN; EXCEPTION WHEN duplicate_object THEN "
        "NULL; END $$");
    otherRuns("GRANT USAGE ON SCHEMA " + location().section("search_path=", 1).remove('\'') +
              " TO jk_reader");
    otherRuns("GRANT SELECT ON ALL TABLES IN SCHEMA " +
              location().section("search_path=", 1).remove('\'') + " TO jk_reader");
    Database::open(location() + " user=jk_reader");
    EXPECT_EQ(records("項目名").size(), records("項目名").size());  // reading works
    EXPECT_EQ(ourOperation([] { addLabel("900", "こちら"); }), kReadOnlyText);
}

TEST_F(WorkstationsTest, ALostConnectionLosesNothingAndTheNextOperationConnectsAgain) {
    Statement pid = db().prepare(QStringLiteral("SELECT pg_backend_pid()"));
    ASSERT_TRUE(pid.step());
    const qint64 ours = pid.columnInt(0);
    pid.release();
    const QString told = ourOperation([&] {
        addLabel("900", "こちら");
        otherRuns(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(ours));
        addLabel("901", "こちら");
    });
    EXPECT_EQ(told, kOfflineText);
    EXPECT_EQ(ourOperation([] { addLabel("902", "次"); }), "");
    // A connection closed while the workstation stood idle is made again without a word.
    Statement again = db().prepare(QStringLiteral("SELECT pg_backend_pid()"));
    ASSERT_TRUE(again.step());
    const qint64 second = again.columnInt(0);
    again.release();
    otherRuns(QStringLiteral("SELECT pg_terminate_backend(%1, 5000)").arg(second));
    EXPECT_EQ(ourOperation([] { addLabel("903", "次"); }), "");
    QStringList stored;
    for (const Record& r : records("項目名")) stored << r.at("MSG_番号").toText();
    EXPECT_FALSE(stored.contains("900"));
    EXPECT_TRUE(stored.contains("902"));
    EXPECT_TRUE(stored.contains("903"));
}

}  // namespace
