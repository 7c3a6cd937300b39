// The record-set cursor as the screens use it: seeks on documented indexes, scans that stop at
// the first foreign key, and writes made while a scan runs.

#include "data/dates.h"
#include "data/key_range.h"
#include "support/database_fixture.h"

namespace {

class CursorTest : public DatabaseTest {
protected:
    static void lesson(int year, const char* dept, int grade, const char* klass, int weekday,
                       int period, const char* teacher) {
        insert("組時間割", {{"組_年度", year},
                            {"組_学部", dept},
                            {"組_学年", grade},
                            {"組_組", klass},
                            {"組_曜日", weekday},
                            {"組_時限", period},
                            {"組_教員", teacher}});
    }

    // The teachers met by a scan of one class of one year through Key_時間割.
    static QStringList scanClass(Recordset& rs, int year, const char* klass) {
        QStringList seen;
        rs.setIndex("Key_時間割");
        rs.seek(Seek::AtLeast, {year, "001", 1, "", klass, 0, 0, 0, ""});
        while (!rs.noMatch() && !rs.eof() && rs.integer("組_年度") == year &&
               rs.text("組_組") == klass) {
            seen << rs.text("組_教員");
            rs.moveNext();
        }
        return seen;
    }
};

TEST_F(CursorTest, ExactSeekWithAFullOrPartialKeyFindsTheFirstMatchingRecord) {
    lesson(2007, "001", 1, "1", 2, 1, "T2");
    lesson(2007, "001", 1, "1", 2, 1, "T1");
    lesson(2007, "001", 1, "1", 3, 1, "T3");

    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::Equal, {2007, "001", 1, "", "1", 0, 2, 1, "T2"});
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.text("組_教員"), "T2");

    // Two teachers in one slot are two records differing only in the teacher; a partial key
    // lands on the first of them in key order.
    rs.seek(Seek::Equal, {2007, "001", 1, "", "1", 0, 2, 1});
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.text("組_教員"), "T1");
    rs.moveNext();
    EXPECT_EQ(rs.text("組_教員"), "T2");

    rs.seek(Seek::Equal, {2007, "001", 1, "", "1", 0, 2, 2});
    EXPECT_TRUE(rs.noMatch());
    EXPECT_FALSE(rs.hasCurrent());
    EXPECT_THROW(rs.text("組_教員"), DbError);
}

TEST_F(CursorTest, RangeSeekStartsAtTheFirstRecordOfAYearAndTheScanStopsAtTheNext) {
    lesson(2006, "001", 1, "1", 2, 1, "A");
    lesson(2007, "002", 3, "2", 6, 5, "C");
    lesson(2007, "001", 2, "1", 2, 1, "B");
    lesson(2008, "001", 1, "1", 2, 1, "D");

    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {2007, "", 0, "", "", 0, 0, 0, ""});
    QStringList seen;
    while (!rs.noMatch() && !rs.eof() && rs.integer("組_年度") == 2007) {
        seen << rs.text("組_教員");
        rs.moveNext();
    }
    EXPECT_EQ(seen, QStringList({"B", "C"}));
    EXPECT_FALSE(rs.eof());  // stopped by the year, on the first record of 2008
    EXPECT_EQ(rs.integer("組_年度"), 2008);

    // Past the last record: no match and end of table; a further move stays there.
    rs.seek(Seek::AtLeast, {2009});
    EXPECT_TRUE(rs.noMatch());
    EXPECT_TRUE(rs.eof());
    rs.seek(Seek::AtLeast, {2008});
    ASSERT_FALSE(rs.noMatch());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.hasCurrent());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
}

TEST_F(CursorTest, TextKeysOrderByTheirCharactersAndKeepLeadingZeros) {
    for (const char* no : {"2", "10", "001", "1"})
        insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", no}, {"マ_名称", QString("学部") + no}});
    Recordset rs("マスタ");
    rs.setIndex("Key_マスタ");
    rs.seek(Seek::AtLeast, {"002", ""});
    QStringList order;
    while (!rs.eof() && rs.text("マ_番号") == "002") {
        order << rs.text("マ_連番");
        rs.moveNext();
    }
    EXPECT_EQ(order, QStringList({"001", "1", "10", "2"}));

    rs.seek(Seek::Equal, {"002", "1"});
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.text("マ_名称"), "学部1");
}

TEST_F(CursorTest, KeyValuesOfTheWrongTypeAreRefusedInsteadOfMissingSilently) {
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    EXPECT_THROW(rs.seek(Seek::Equal, {"2007"}), DbError);
    EXPECT_THROW(rs.seek(Seek::Equal, {2007, 1}), DbError);
    EXPECT_THROW(rs.seek(Seek::Equal, {2007, "", 0, "", "", 0, 0, 0, "", "extra"}), DbError);
}

TEST_F(CursorTest, WritingDuringAScanNeitherSkipsNorRepeatsTheRecordsThatWereThere) {
    for (const char* t : {"T1", "T2", "T3", "T4", "T5"}) lesson(2007, "001", 1, "1", 2, 1, t);

    Operation op;
    Recordset rs("組時間割");
    Recordset writer("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {2007, "001", 1, "", "1", 0, 0, 0, ""});
    QStringList seen;
    while (!rs.eof() && rs.integer("組_年度") == 2007 && rs.text("組_組") == "1") {
        const QString t = rs.text("組_教員");
        seen << t;
        if (t == "T1") {
            // A record added ahead of the position, another behind it.
            writer.addNew();
            writer.set("組_年度", 2007);
            writer.set("組_学部", "001");
            writer.set("組_学年", 1);
            writer.set("組_組", "1");
            writer.set("組_曜日", 2);
            writer.set("組_時限", 1);
            writer.set("組_教員", "T9");
            writer.update();
            writer.addNew();
            writer.set("組_年度", 2007);
            writer.set("組_教員", "T0");
            writer.update();
        } else if (t == "T2") {
            rs.edit();
            rs.set("組_備考", "edited");
            rs.update();
        } else if (t == "T3") {
            rs.remove();
        } else if (t == "T4") {
            // Moving the current record ahead of the position does not bring it back.
            rs.edit();
            rs.set("組_時限", 9);
            rs.update();
        }
        rs.moveNext();
    }
    op.commit();
    // Records added during the scan are not visited by it.
    EXPECT_EQ(seen, QStringList({"T1", "T2", "T3", "T4", "T5"}));

    Recordset check("組時間割");
    EXPECT_EQ(scanClass(check, 2007, "1"), QStringList({"T1", "T2", "T5", "T9", "T4"}));
    check.seek(Seek::Equal, {2007, "001", 1, "", "1", 0, 2, 1, "T2"});
    EXPECT_EQ(check.text("組_備考"), "edited");
}

// A prefix scan longer than a server reads at a time, with its neighbours on both sides, and
// writes during it: it visits exactly the prefix's records, in key order, each once.
TEST_F(CursorTest, APrefixScanReadsItsWholeRangeInOrderAcrossWritesAndNothingElse) {
    {
        Operation op;
        Recordset rs("組時間割");
        const auto add = [&](const char* klass, int weekday, int period, const QString& t) {
            rs.addNew();
            rs.set("組_年度", 2007);
            rs.set("組_学部", "001");
            rs.set("組_学年", 1);
            rs.set("組_組", klass);
            rs.set("組_曜日", weekday);
            rs.set("組_時限", period);
            rs.set("組_教員", t);
            rs.update();
        };
        add("0", 1, 1, "before");
        add("2", 1, 1, "after");
        // Stored out of key order, as users enter lessons.
        for (int i = 299; i >= 0; --i)
            add("1", 1 + i / 60, 1 + i % 60, QStringLiteral("T%1").arg(i, 3, 10, QChar('0')));
        op.commit();
    }
    Operation op;
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    QStringList seen;
    for (rs.seekPrefix({2007, "001", 1, "", "1"}); rs.inPrefix(); rs.moveNext()) {
        seen << rs.text("組_教員");
        if (seen.size() % 50 == 0) {
            rs.edit();
            rs.set("組_備考", "checked");
            rs.update();
        } else if (seen.size() == 140) {
            rs.remove();
        }
    }
    op.commit();
    ASSERT_EQ(seen.size(), 300);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(seen[i], QStringLiteral("T%1").arg(i, 3, 10, QChar('0')));
    EXPECT_EQ(records("組時間割").size(), 301u);

    // The same range read on with ">=" runs into the next class.
    rs.seek(Seek::AtLeast, {2007, "001", 1, "", "1"});
    int all = 0;
    for (; !rs.eof(); rs.moveNext()) ++all;
    EXPECT_EQ(all, 300);
}

TEST_F(CursorTest, AKeyRangeDeleteTakesItsRecordsOnlyAndAScanStandingInItGoesOnAfterIt) {
    for (int year : {2005, 2006, 2007})
        for (const char* t : {"T1", "T2"}) lesson(year, "001", 1, "1", 2, 1, t);
    lesson(2006, "001", 1, "2", 2, 1, "T3");

    Operation op;
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {2006});
    ASSERT_EQ(rs.text("組_教員"), "T1");
    // Class "1" of 2006 only: the bounds are prefixes, both ends included.
    EXPECT_EQ(deleteKeyRange(
                  {"組時間割", "Key_時間割", {2006, "001", 1, "", "1"}, {2006, "001", 1, "", "1"}}),
              2);
    QStringList seen;
    for (rs.moveNext(); !rs.eof(); rs.moveNext())
        seen << QString::number(rs.integer("組_年度")) + rs.text("組_組") + rs.text("組_教員");
    EXPECT_EQ(seen, QStringList({"20062T3", "20071T1", "20071T2"}));
    // Everything before a year.
    EXPECT_EQ(deleteKeyRange({"組時間割", "Key_時間割", {}, {2006}}), 3);
    EXPECT_THROW(deleteKeyRange({"組時間割", "Key_時間割", {}, {"2006"}}), DbError);
    op.commit();

    Recordset check("組時間割");
    EXPECT_EQ(scanClass(check, 2007, "1"), QStringList({"T1", "T2"}));
    check.seek(Seek::AtLeast, {});
    EXPECT_EQ(check.integer("組_年度"), 2007);
}

TEST_F(CursorTest, AScanCopyingIntoItsOwnKeyRangeEnds) {
    // The year-end carry-over reads one year and writes the next through the same index; a
    // copy within one range (a timetable copied onto the next period) must also terminate.
    for (int p = 1; p <= 3; ++p) lesson(2007, "001", 1, "1", 2, p, "T");
    Operation op;
    Recordset rs("組時間割");
    Recordset out("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {2007, "001", 1, "", "1"});
    int copied = 0;
    while (!rs.eof() && rs.integer("組_年度") == 2007) {
        out.addNew();
        for (const QString& f : rs.fieldNames()) out.set(f, rs.value(f));
        out.set("組_時限", rs.integer("組_時限") + 3);
        out.update();
        ++copied;
        rs.moveNext();
    }
    op.commit();
    EXPECT_EQ(copied, 3);
    EXPECT_EQ(records("組時間割").size(), 6u);
}

TEST_F(CursorTest, MissingTablesFieldsAndIndexesAreNamedInTheError) {
    try {
        Recordset rs("時間表");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("時間表"));
    }
    Recordset rs("組時間割");
    try {
        rs.setIndex("Idx_存在しない");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("Idx_存在しない"));
    }
    Operation op;
    rs.addNew();
    try {
        rs.set("組_存在しない", 1);
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("組_存在しない"));
    }
}

TEST_F(CursorTest, TextThatIsNoNumberIsRefusedByAnIntegerFieldAndNamesIt) {
    Operation op;
    Recordset rs("組時間割");
    rs.addNew();
    for (const QString& text :
         {QStringLiteral("一"), QStringLiteral(" "), QStringLiteral("\u3000")}) {
        try {
            rs.set("組_時限", text);
            ADD_FAILURE() << text.toStdString();
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains("組_時限"));
        }
    }
    rs.set("組_時限", QString());
    rs.set("組_曜日", QStringLiteral(" 3"));
    rs.update();
    op.commit();
    ASSERT_EQ(records("組時間割").size(), 1u);
    EXPECT_EQ(records("組時間割")[0].at("組_時限").toInt(), 0);
    EXPECT_EQ(records("組時間割")[0].at("組_曜日").toInt(), 3);
}

TEST_F(CursorTest, WritesOutsideAnOperationAreRefused) {
    Recordset rs("マスタ");
    EXPECT_THROW(rs.addNew(), DbError);
    EXPECT_TRUE(records("マスタ").empty());
}

TEST_F(CursorTest, TheEmptyingStatementEmptiesTheWorkTableAndNothingElseRuns) {
    insert("WK時割変", {{"W_日付", "2007/04/10"}, {"W_時限", 1}});
    insert("WK時割変", {{"W_日付", "2007/04/11"}, {"W_時限", 2}});
    insert("予定", {{"予_年度", 2007}});
    {
        Operation op;
        db().execute("DELETE * FROM WK時割変 ;");
        op.commit();
    }
    EXPECT_TRUE(records("WK時割変").empty());
    EXPECT_EQ(records("予定").size(), 1u);

    Operation op;
    for (const char* sql : {"DELETE FROM 予定", "DELETE * FROM 予定 ; DROP TABLE 予定 ;",
                            "DROP TABLE 予定", "DELETE * FROM 無い表 ;", "delete * from 予定 ;"})
        EXPECT_THROW(db().execute(sql), DbError) << sql;
    op.commit();
    EXPECT_EQ(records("予定").size(), 1u);
}

TEST_F(CursorTest, TheEngineWorksOutTheWeekdayOfAStoredDateAsTheProgramDoes) {
    // Across a turn of the year (January and February count with the year before), a leap day
    // and the century years that are and are not leap years.
    const QString sql = QStringLiteral("SELECT %1 FROM (SELECT CAST(? AS TEXT) AS d) x")
                            .arg(weekdayNumberSql(QStringLiteral("x.d")));
    std::vector<QDate> days;
    for (QDate d(2007, 12, 20); d <= QDate(2009, 3, 10); d = d.addDays(1)) days.push_back(d);
    for (const QDate& d : {QDate(2000, 2, 29), QDate(2000, 3, 1), QDate(2100, 2, 28),
                           QDate(2100, 3, 1), QDate(1999, 12, 31)})
        days.push_back(d);
    for (const QDate& day : days)
        readQuery(sql, {dateText(day)}, [&](const KeyRow& r) {
            EXPECT_EQ(r.integer(0), weekdayNumber(day)) << dateText(day).toStdString();
        });
}

TEST(StoredDates, ADateTextIsReadAsTheDateParserReadsIt) {
    // The usual form, days that do not exist, and texts that are not of the usual form (which
    // the parser may still read, or not).
    for (const char* text : {"2007/06/04", "2008/02/29", "2007/02/29", "2000/02/29", "2100/02/29",
                             "2007/13/01", "2007/00/10", "2007/06/00", "2007/06/31", "0000/01/01",
                             "2007/6/04", "2007-06-04", "20070604", " 2007/06/04", "2007/06/4 ",
                             "２００７/06/04", "2007/0a/04", ""}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(dateFrom(t), QDate::fromString(t, QStringLiteral("yyyy/MM/dd"))) << text;
    }
    for (QDate d(2007, 12, 20); d <= QDate(2009, 3, 10); d = d.addDays(1))
        EXPECT_EQ(dateFrom(dateText(d)), d);
}

}  // namespace
