// DB再編成: the menu's B再編成 rebuilds every table from the backup 時間割bkup.mdb.

#include <QFile>
#include <sqlite3.h>

#include "app/main_menu.h"
#include "maintenance/reorganization.h"
#include "maintenance_fixture.h"

namespace {

class ReorganizationTest : public MaintenanceTest {
protected:
    void SetUp() override {
        // The backup is a copy of the database file.
        SKIP_ON_SERVER();
        fill();
    }
    void fill() {
        MaintenanceTest::SetUp();
        businessYear(2007);
        insert("教科",
               {{"教_年度", 2007}, {"教_教科番号", "02"}, {"教_名称", "数学Ｂ"}, {"教_略称", ""}});
        insert("教科", {{"教_年度", 2007},
                        {"教_教科番号", "01"},
                        {"教_名称", "𠮷田流書道入門"},
                        {"教_略称", "書道"}});
        insert("教員", {{"員_番号", "T1"}, {"員_氏名", "山田　太郎"}, {"員_表示名", "ﾔﾏﾀﾞ"}});
        insert("教員", {{"員_番号", "T2"}, {"員_氏名", "長谷川 涼子"}});
        lesson(1, "HR", "", "ﾎｰﾑﾙｰﾑ", 0);
        lesson(2, "学活", "000", "学級活動の時間", 1);
        lesson(3, "国語", "01", "現代文講読", 0);
        insert("時限変更", {{"変_年度", 2007},
                            {"変_日付", "2007/05/01"},
                            {"変_時限", 1},
                            {"変_科目", "03"},
                            {"変_教科", "01"},
                            {"変_教科名", "HR"},
                            {"変_教員名", "山田　太郎"}});
        insert("WK時割変", {{"W_日付", "2007/05/01"}, {"W_教科名", "作業中"}});
    }
    static void lesson(int period, const char* kamokuName, const char* codes,
                       const char* subjectName, int registered) {
        insert("組時間割", {{"組_年度", 2007},
                            {"組_組", "1"},
                            {"組_曜日", 2},
                            {"組_時限", period},
                            {"組_教員", "T1"},
                            {"組_科目", codes},
                            {"組_科目名", kamokuName},
                            {"組_教科", codes},
                            {"組_教科名", subjectName},
                            {"組_教科略称", subjectName},
                            {"組_教員名", "山田　太郎"},
                            {"組_登録", registered}});
    }
    // The database as it stands becomes the backup; the working file then changes on.
    void makeBackup() {
        ASSERT_TRUE(QFile::copy(kDatabaseFile, kBackupFile));
        insert("教科", {{"教_年度", 2008}, {"教_教科番号", "09"}, {"教_名称", "後で追加"}});
        sql("DELETE FROM 予定");
    }
    // Runs the menu button, answering its question.
    void reorganize(bool yes = true) {
        ScreenDriver menu(new メニュ(QDate(2008, 2, 10)));
        ASSERT_TRUE(menu.enabled("B再編成"));
        messages.clear();
        answer({yes});
        menu.click("B再編成");
    }
    static Record lessonAt(int period) {
        for (const Record& r : records("組時間割"))
            if (r.at("組_時限") == Value(period)) return r;
        return {};
    }
};

TEST_F(ReorganizationTest, RebuildsEveryTableFromTheBackupInKeyOrderDerivingOnlyEmptyNames) {
    makeBackup();
    reorganize();
    ASSERT_EQ(messages.texts(),
              QStringList({"ﾃﾞｰﾀ･ﾍﾞｽの再編成を行います。ﾊﾞｯｸ･ｱｯﾌﾟの準備は完了していますか？",
                           "ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。"}));
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[1].title, "DB再編成");

    const auto subjects = records("教科");
    ASSERT_EQ(subjects.size(), 2u);  // the record added after the backup is gone
    EXPECT_EQ(subjects[0].at("教_教科番号"), "01");
    EXPECT_EQ(subjects[0].at("教_略称"), "書道");
    EXPECT_EQ(subjects[1].at("教_略称"), "数学Ｂ");
    EXPECT_EQ(records("教員")[0].at("員_表示名"), "ﾔﾏﾀﾞ");
    EXPECT_EQ(records("教員")[1].at("員_表示名"), "長谷川");

    // "HR" becomes a lesson outside the registered subjects; a free-text lesson stays one with
    // its whole text; short names stay as stored, an empty display name becomes the family name.
    const Record hr = lessonAt(1), free = lessonAt(2), ordinary = lessonAt(3);
    EXPECT_EQ(hr.at("組_登録"), Value(1));
    EXPECT_EQ(hr.at("組_科目"), "000");
    EXPECT_EQ(hr.at("組_教科"), "000");
    EXPECT_EQ(hr.at("組_教科略称"), "ﾎｰﾑﾙｰﾑ");
    EXPECT_EQ(free.at("組_登録"), Value(1));
    EXPECT_EQ(free.at("組_教科略称"), "学級活動の時間");
    EXPECT_EQ(ordinary.at("組_登録"), Value(0));
    EXPECT_EQ(ordinary.at("組_科目"), "01");
    EXPECT_EQ(ordinary.at("組_教科略称"), "現代文講読");
    EXPECT_EQ(ordinary.at("組_教員表示名"), "山田");
    const Record change = records("時限変更")[0];
    EXPECT_EQ(change.at("変_登録"), Value(1));
    EXPECT_EQ(change.at("変_科目"), "000");
    EXPECT_EQ(change.at("変_教員表示名"), "山田");

    EXPECT_EQ(count("予定"), 0);
    EXPECT_EQ(count("業務年度"), 2);
    EXPECT_EQ(records("WK時割変")[0].at("W_教科名"), "作業中");
}

TEST_F(ReorganizationTest, WithoutABackupOrWithNoNothingChanges) {
    const auto before = records("教科");
    reorganize();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.last().startsWith("バックアップファイル「時間割bkup.mdb」がありません。"));
    EXPECT_TRUE(messages.last().contains("データベースは変更していません。"));

    makeBackup();
    const auto changed = records("教科");
    reorganize(false);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(records("教科"), changed);
    EXPECT_NE(changed, before);
}

TEST_F(ReorganizationTest, ABackupLackingATableOrAFieldRollsEverythingBackAndSaysWhat) {
    makeBackup();
    const auto before = std::make_tuple(records("マスタ"), records("教科"), records("組時間割"));
    {
        sqlite3* backup = nullptr;
        ASSERT_EQ(sqlite3_open(kBackupFile.toUtf8().constData(), &backup), SQLITE_OK);
        sqlite3_exec(backup, "ALTER TABLE 期間 DROP COLUMN 期_備考", nullptr, nullptr, nullptr);
        sqlite3_close(backup);
    }
    reorganize();
    EXPECT_TRUE(rolledBack());
    EXPECT_TRUE(messages.last().contains("表「期間」にフィールド「期_備考」がありません"));
    EXPECT_EQ(std::make_tuple(records("マスタ"), records("教科"), records("組時間割")), before);

    {
        sqlite3* backup = nullptr;
        ASSERT_EQ(sqlite3_open(kBackupFile.toUtf8().constData(), &backup), SQLITE_OK);
        sqlite3_exec(backup, "DROP TABLE 予定", nullptr, nullptr, nullptr);
        sqlite3_close(backup);
    }
    reorganize();
    EXPECT_TRUE(messages.last().contains("表「期間」"));  // still the first problem met
    QFile::remove(kBackupFile);
    QFile junk(kBackupFile);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database");
    junk.close();
    reorganize();
    EXPECT_TRUE(rolledBack());
    EXPECT_TRUE(messages.last().contains("時間割のデータベースではありません"));
    EXPECT_EQ(std::make_tuple(records("マスタ"), records("教科"), records("組時間割")), before);
}

TEST_F(ReorganizationTest, ABackupAnotherProgramHoldsIsReportedAsInUse) {
    makeBackup();
    const auto before = records("教科");
    {
        OtherProgram holder(OtherProgram::Hold::Write, kBackupFile);
        reorganize();
    }
    EXPECT_TRUE(rolledBack());
    EXPECT_TRUE(messages.last().startsWith("「時間割bkup.mdb」は他のプログラムが使用中です。"))
        << messages.last().toStdString();
    EXPECT_EQ(records("教科"), before);
}

// On a server nobody can copy the database as a file: the program writes the backup itself.
class ServerReorganizationTest : public ReorganizationTest {
protected:
    void SetUp() override {
        if (!testingOnServer()) GTEST_SKIP() << "needs a database server";
        fill();
    }
};

TEST_F(ServerReorganizationTest, WritesTheBackupFromTheServerAndRebuildsFromItInOneOperation) {
    // A table that refuses its records half way: everything rebuilt before it is rolled back.
    refuseWrites("時限変更", "INSERT");
    const auto lessons = records("組時間割");
    reorganize();
    EXPECT_TRUE(rolledBack());
    EXPECT_EQ(records("組時間割"), lessons);
    runSql("DROP TRIGGER refuse ON \"時限変更\"");

    reorganize();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.contains("サーバーのデータベースをバックアップファイル"));
    EXPECT_TRUE(messages.shown[0].text.contains("今あるファイルは置き換えます"));
    EXPECT_EQ(messages.last(), "ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。");
    EXPECT_EQ(lessonAt(1).at("組_登録"), Value(1));
    EXPECT_EQ(records("教員")[1].at("員_表示名"), "長谷川");
    EXPECT_EQ(records("WK時割変")[0].at("W_教科名"), "作業中");

    // The backup holds the school as the server had it before the rebuild.
    const QString server = location();
    Database::open(kBackupFile);
    EXPECT_EQ(records("教員")[1].at("員_表示名"), "");
    EXPECT_EQ(records("組時間割"), lessons);
    Database::open(server);
}

}  // namespace
