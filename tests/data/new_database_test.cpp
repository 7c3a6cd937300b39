// jikanwari-newdb and the sample school it writes.

#include <set>

#include <QDate>
#include <QFile>
#include <QProcess>

#include "data/dates.h"
#include "data/engine.h"
#include "newdb/sample_school.h"
#include "support/database_fixture.h"

namespace {

class NewDatabaseTest : public DatabaseTest {};

int runTool(const QStringList& args, QString* output = nullptr) {
    QProcess p;
    p.start(NEWDB_TOOL, args);
    p.waitForFinished(60000);
    if (output) *output = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitCode();
}

TEST_F(NewDatabaseTest, TheToolRefusesAnExistingFileAndLeavesItUnchanged) {
    QFile f("existing.mdb");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    QString out;
    EXPECT_EQ(runTool({"--demo", "existing.mdb"}, &out), 1);
    EXPECT_TRUE(out.contains("existing.mdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST_F(NewDatabaseTest, TheToolReportsAnUnwritablePathAndCreatesAGoodFileOtherwise) {
    QString out;
    EXPECT_EQ(runTool({"無いフォルダ/時間割.mdb"}, &out), 1);
    EXPECT_TRUE(out.contains("無いフォルダ")) << out.toStdString();
    EXPECT_EQ(runTool({}), 2);

    EXPECT_EQ(runTool({"new.mdb"}), 0);
    Database::open("new.mdb");
    EXPECT_TRUE(records("組時間割").empty());
    EXPECT_FALSE(records("項目名").empty());
}

TEST_F(NewDatabaseTest, TheSampleSchoolIsConsistent) {
    const QDate today(2026, 12, 7);
    fillSampleSchool(today);

    // The business year containing today, with its successor.
    const auto years = records("業務年度");
    ASSERT_EQ(years.size(), 2u);
    EXPECT_EQ(years[0].at("業_年度"), Value(2026));
    EXPECT_EQ(years[0].at("業_開始日"), Value("2026/04/01"));
    EXPECT_EQ(years[1].at("業_年度"), Value(2027));

    std::set<QString> classes, kamoku, kyouka, teachers;
    std::map<QString, QString> deptOfClassEntry;
    for (const Record& m : records("マスタ"))
        if (m.at("マ_番号") == Value("006"))
            classes.insert(m.at("マ_学部").toText() + "/" + m.at("マ_名称").toText());
    for (const Record& k : records("科目"))
        kamoku.insert(
            QStringLiteral("%1/%2/%3")
                .arg(k.at("科_学部").toText(), k.at("科_学年").toText(), k.at("科_番号").toText()));
    for (const Record& k : records("教科"))
        kyouka.insert(QStringLiteral("%1/%2/%3/%4")
                          .arg(k.at("教_学部").toText(), k.at("教_学年").toText(),
                               k.at("教_科目番号").toText(), k.at("教_教科番号").toText()));
    for (const Record& t : records("教員")) teachers.insert(t.at("員_番号").toText());
    EXPECT_GE(teachers.size(), 35u);

    // Every lesson names an existing class, course subject, subject and teacher; nobody teaches
    // two classes at once outside the elective slots; every class has a full week.
    std::map<QString, int> booked;  // teacher + slot -> lessons
    std::map<QString, std::set<QString>> slotsOfClass;
    int electives = 0, freeText = 0;
    for (const Record& r : records("組時間割")) {
        const QString dept = r.at("組_学部").toText(), grade = r.at("組_学年").toText();
        const QString cls = dept + "/" + grade + "/" + r.at("組_組").toText();
        EXPECT_TRUE(classes.count(dept + "/" + r.at("組_組").toText())) << cls.toStdString();
        EXPECT_TRUE(teachers.count(r.at("組_教員").toText()));
        const QString slot = r.at("組_曜日").toText() + "-" + r.at("組_時限").toText();
        slotsOfClass[cls].insert(slot);
        if (r.at("組_登録") == Value(1)) {
            ++freeText;
            EXPECT_EQ(r.at("組_科目"), Value("000"));
            EXPECT_EQ(r.at("組_教科"), Value("000"));
            EXPECT_EQ(r.at("組_教科略称"), Value("HR"));
        } else {
            EXPECT_TRUE(kamoku.count(dept + "/" + grade + "/" + r.at("組_科目").toText()));
            EXPECT_TRUE(kyouka.count(dept + "/" + grade + "/" + r.at("組_科目").toText() + "/" +
                                     r.at("組_教科").toText()));
        }
        if (r.at("組_科目名") == Value("芸術選択")) {
            ++electives;
            continue;
        }
        EXPECT_EQ(++booked[r.at("組_教員").toText() + "@" + slot], 1)
            << "double booking " << r.at("組_教員").toText().toStdString() << " "
            << slot.toStdString();
    }
    EXPECT_EQ(slotsOfClass.size(), 21u);
    for (const auto& [cls, slots] : slotsOfClass) EXPECT_EQ(slots.size(), 30u) << cls.toStdString();
    EXPECT_EQ(freeText, 21);
    EXPECT_GT(electives, 0);

    // Events of every lesson classification, and changes in the current week with a self-study.
    std::set<qint64> classifications;
    for (const Record& e : records("予定")) classifications.insert(e.at("予_授業F").toInt());
    EXPECT_EQ(classifications, (std::set<qint64>{0, 1, 2}));
    const auto changes = records("時限変更");
    EXPECT_GE(changes.size(), 3u);
    bool selfStudy = false;
    for (const Record& c : changes) {
        const QDate d = QDate::fromString(c.at("変_日付").toText(), "yyyy/MM/dd");
        EXPECT_LE(std::abs(d.daysTo(today)), 6);
        selfStudy |= c.at("変_教科名") == Value("自習");
    }
    EXPECT_TRUE(selfStudy);
}

}  // namespace

namespace {

// A school moves from its file to a schema of its own on the server; a second move onto it is
// refused and leaves it as it was.
TEST_F(NewDatabaseTest, TheToolMovesASchoolFromItsFileToTheServerWhole) {
    if (!testingOnServer()) GTEST_SKIP() << "needs a database server";
    ASSERT_EQ(runTool({"--demo", "school.mdb"}), 0);
    // A schema of its own, which the tool makes.
    const QString target = QString(location()).replace("search_path=", "search_path=moved_");
    QString out;
    ASSERT_EQ(runTool({"--from", "school.mdb", target}, &out), 0) << out.toStdString();
    EXPECT_EQ(runTool({"--from", "school.mdb", target}, &out), 1);
    EXPECT_TRUE(out.contains("既に")) << out.toStdString();
    EXPECT_EQ(runTool({"--demo", target}, &out), 1);

    std::map<QString, std::vector<Record>> file;
    Database::open("school.mdb");
    for (const TableDef& t : schemaTables())
        if (!t.perConnection) file[t.name] = records(t.name);
    Database::open(target);
    for (const auto& [table, rows] : file) EXPECT_EQ(records(table), rows) << table.toStdString();
    EXPECT_FALSE(file.at("組時間割").empty());
    Database::close();
    openServerEngine(testServer())
        ->exec("DROP SCHEMA " + target.section("search_path=", 1).remove('\'') + " CASCADE");
}

// A new school that fails on the way leaves no tables on the server, as a new file is removed:
// they are made in the transaction that fills them.
TEST_F(NewDatabaseTest, ANewSchoolThatFailsOnTheServerLeavesNothing) {
    if (!testingOnServer()) GTEST_SKIP() << "needs a database server";
    const QString schema = "failed_" + location().section("search_path=", 1).remove('\'');
    const QString target = QString(location()).replace("search_path=", "search_path=failed_");
    // Another workstation holds the school for term-end: the tool's first write is refused.
    const QString lock =
        QStringLiteral("hashtext(current_database() || '/' || '%1')").arg(schema);
    runSql("SELECT pg_advisory_lock(" + lock + ")");
    QString out;
    EXPECT_EQ(runTool({"--demo", target}, &out), 1);
    EXPECT_TRUE(out.contains("他の端末")) << out.toStdString();
    runSql("SELECT pg_advisory_unlock(" + lock + ")");

    ASSERT_EQ(runTool({target}, &out), 0) << out.toStdString();
    Database::open(target);
    EXPECT_FALSE(records("項目名").empty());
    Database::close();
    openServerEngine(testServer())->exec("DROP SCHEMA " + schema + " CASCADE");
}

}  // namespace
