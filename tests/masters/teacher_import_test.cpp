// 教員一括: teachers imported from a CSV file, refused lines written to the error file.

#include <QDir>
#include <sqlite3.h>
#include <QFile>
#include <QFileSystemModel>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "common/csv.h"
#include "common/text_encoding.h"
#include "masters/teacher_import.h"
#include "masters/teacher_import_screen.h"
#include "masters_fixture.h"
#include "ui/file_save.h"

namespace {

class TeacherImportTest : public MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        entry("002", "001", "中学部", "中");
        entry("003", "001", "1", "1年");
        entry("006", "001", "1", "1組", "001");
        loadMasters();
    }
    static void write(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    // Imports `in.csv` into `err.csv` through the screen; returns the outcome it shows.
    QString import(const QString& in = "in.csv", const QString& out = "err.csv") {
        ScreenDriver d(new 教員一括);
        d.set("入力File", in);
        d.set("出力File", out);
        d.click("確定");
        return d.text("L結果");
    }
    static Record teacher(const QString& number) {
        for (const Record& r : records("教員"))
            if (r.at("員_番号") == Value(number)) return r;
        return {};
    }
};

TEST_F(TeacherImportTest, AShiftJisFileIsImportedAndItsRefusedLinesGoToTheErrorFileInShiftJis) {
    const QString text = QStringLiteral(
        "教員番号,氏名,氏名カナ,表示名,担任F,学部,学年,組,性別\r\n"
        "T001,山田　太郎,ヤマダ　タロウ,,1,中学部,1年,1組,1,1970/4/1,12,345,"
        "\"千代田区1-2, 3F\",,03-1234-5678,,,,\"至急 \"\"要\"\"\"\r\n"
        "\r\n"
        ",,,,,,,,\r\n"
        "T002,佐藤,サトウ,サト,0,中学部,1年,1,2,,,,,,,,2008/4/1,2008/9/30\r\n"
        "T003,,スズキ,,0,,,,1\r\n"
        "T004,鈴木,スズキ,,1,中学部,1年,1,1,,1234\r\n"
        "T005,高橋,タカハシ,,1,中学部,1,1,2\r\n");
    write("in.csv", encodeText(text, TextEncoding::ShiftJis));
    EXPECT_EQ(import(), "登録 3 件、エラー 2 件（エラーの行は「err.csv」）");
    EXPECT_EQ(messages.texts(), QStringList({"教員一括登録処理は終了しました"}));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown[0].title, "教員一括登録");

    EXPECT_EQ(teacher("T001"), (Record{{"員_番号", "T001"},
                                       {"員_氏名", "山田　太郎"},
                                       {"員_氏名カナ", "ヤマダ　タロウ"},
                                       {"員_表示名", "山田"},
                                       {"員_担任F", 1},
                                       {"員_区分", ""},
                                       {"員_学部", "001"},
                                       {"員_学年", 1},
                                       {"員_組", "1"},
                                       {"員_性別", 1},
                                       {"員_生年月日", "1970/04/01"},
                                       {"員_郵便1", "012"},
                                       {"員_郵便2", "0345"},
                                       {"員_住所1", "千代田区1-2, 3F"},
                                       {"員_住所2", ""},
                                       {"員_電話1", "03-1234-5678"},
                                       {"員_電話2", ""},
                                       {"員_休職FROM", ""},
                                       {"員_休職TO", ""},
                                       {"員_備考", "至急 \"要\""}}));
    const Record t2 = teacher("T002");
    EXPECT_EQ(t2.at("員_担任F"), Value(0));
    EXPECT_EQ(t2.at("員_学部"), "");
    EXPECT_EQ(t2.at("員_学年"), Value(0));
    EXPECT_EQ(t2.at("員_休職FROM"), "2008/04/01");
    EXPECT_EQ(t2.at("員_表示名"), "サト");
    EXPECT_EQ(teacher("T005").at("員_組"), "1");  // grade by number, class by name
    EXPECT_EQ(records("教員").size(), 3u);

    const std::optional<DecodedText> errors = decodeText(read("err.csv"));
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(errors->text,
              "\"T003\",\"\",\"スズキ\",\"\",\"0\",\"\",\"\",\"\",\"1\",\"\",\"\",\"\",\"\",\"\","
              "\"\",\"\",\"\",\"\",\"\",\"氏名未入力\"\r\n"
              "\"T004\",\"鈴木\",\"スズキ\",\"\",\"1\",\"中学部\",\"1年\",\"1\",\"1\",\"\","
              "\"1234\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"郵便番号1桁数\"\r\n");
}

TEST_F(TeacherImportTest, EachLineReportsItsFirstFailingCheck) {
    const QString x26(26, u'x');
    const std::vector<std::pair<QString, QString>> lines = {
        {"123456,,カナ,,0,,,,1", "教員番号桁数"},
        {",名,カナ,,0,,,,1", "教員番号未入力"},
        {"1,１２３４５６７８９０１,カナ,,0,,,,1", "氏名桁数"},
        {"1,名,,,0,,,,1", "氏名カナ未入力"},
        {"1,名," + QString(21, u'ア') + ",,0,,,,1", "氏名カナ桁数"},
        {"1,名,カナ,表示名です,0,,,,1", "表示名桁数"},
        {"1,名,カナ,,2,,,,1", "担任F"},
        {"1,名,カナ,,,,,,1", "担任F"},
        {"1,名,カナ,,1,普通部,1年,1,1", "担任学部"},
        {"1,名,カナ,,1,中学部,3年,1,1", "担任学年"},
        {"1,名,カナ,,1,中学部,1年,9組,1", "担任組"},
        {"1,名,カナ,,0,,,,3", "性別"},
        {"1,名,カナ,,0,,,,1,1970/2/30", "生年月日"},
        {"1,名,カナ,,0,,,,1,,1a", "郵便番号1"},
        {"1,名,カナ,,0,,,,1,,,12345", "郵便番号2桁数"},
        {"1,名,カナ,,0,,,,1,,,,\"" + x26 + "\"", "住所1桁数"},
        {"1,名,カナ,,0,,,,1,,,,,,,,2008/13/1", "休職FROM"},
        {"1,名,カナ,,0,,,,1,,,,,,,,2008/4/1,x", "休職TO"},
        {"1,名,カナ,,0,,,,1,,,,,,,,2008/4/2,2008/4/1", "休職From-To"},
        {"1,名,カナ,,0,,,,1,,,,,,,,,," + x26, "備考桁数"},
        {"1,𠮷野家𠮷野家𠮷野家𠮷,カナ,,0,,,,１,,,,,,,,,,,extra,fields", ""},
    };
    WorkContext ctx;
    for (const auto& [line, label] : lines)
        EXPECT_EQ(checkTeacherLine(ctx, csvFields(line)).error, label) << line.toStdString();
    // A short line is checked on its own: its missing fields are empty.
    const TeacherLine shortLine = checkTeacherLine(ctx, csvFields(u"1,名,カナ,,0,中学部"));
    EXPECT_EQ(shortLine.fields.size(), 19);
    EXPECT_EQ(shortLine.fields[teacher_field::担任学部], "");
    EXPECT_EQ(shortLine.error, "項目数不足（19項目中6項目）");
}

TEST_F(TeacherImportTest, FileProblemsAreRefusedBeforeAnythingIsWritten) {
    write("in.csv", "T001,a,b,,0,,,,1\n");
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {"in.csv", "", "出力ファイルを指定して下さい。"},
        {"", "err.csv", "入力ファイルを指定して下さい。"},
        {"in.csv", "./in.csv", "入力ファイルと同じファイルは出力ファイルに指定できません。"},
        {"none.csv", "err.csv",
         "入力ファイル「" + QDir::toNativeSeparators(dir() + "/none.csv") + "」を読めません。"},
    };
    for (const auto& [in, out, message] : cases) {
        messages.clear();
        import(in, out);
        EXPECT_EQ(messages.texts(), QStringList({message}));
    }
    write("utf16.csv", QByteArray("\xFF\xFE"
                                  "T\0"
                                  "0\0",
                                  6));
    messages.clear();
    import("utf16.csv");
    EXPECT_TRUE(messages.last().contains("文字コードを判別できません"));
    EXPECT_EQ(read("in.csv"), "T001,a,b,,0,,,,1\n");
    EXPECT_FALSE(QFile::exists("err.csv"));
    EXPECT_TRUE(records("教員").empty());
}

TEST_F(TeacherImportTest, EmptyAndUtf8FilesAndAnExistingTeacher) {
    write("in.csv", "");
    import();
    EXPECT_EQ(messages.last(), "教員一括登録処理は終了しました");
    EXPECT_EQ(read("err.csv"), "");

    insert("教員",
           {{"員_番号", "T1"}, {"員_氏名", "旧姓"}, {"員_区分", "常勤"}, {"員_備考", "前の備考"}});
    write("in.csv", encodeText(QStringLiteral("T1,新姓,シンセイ,,0,,,,2\nT2,,x,,0,,,,1\n"),
                               TextEncoding::Utf8WithBom));
    answer({true});  // replaces the error file of the first run
    import();
    const Record t1 = teacher("T1");
    EXPECT_EQ(t1.at("員_氏名"), "新姓");
    EXPECT_EQ(t1.at("員_区分"), "");
    EXPECT_EQ(t1.at("員_備考"), "");
    EXPECT_EQ(records("教員").size(), 1u);
    EXPECT_EQ(
        read("err.csv"),
        encodeText(QStringLiteral("\"T2\",\"\",\"x\",\"\",\"0\",\"\",\"\",\"\",\"1\",\"\",\"\","
                                  "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"氏名未入力\"\n"),
                   TextEncoding::Utf8WithBom));
}

TEST_F(TeacherImportTest, TenThousandLinesWithAnEngineErrorStoreNothing) {
    QString text;
    for (int i = 1; i <= 10000; ++i)
        text += QStringLiteral("T%1,教員%1,キョウイン,,0,,,,%2\r\n").arg(i).arg(i % 1000 ? 1 : 3);
    write("in.csv", encodeText(text, TextEncoding::ShiftJis));
    import();
    EXPECT_EQ(records("教員").size(), 9990u);
    EXPECT_EQ(read("err.csv").count("\r\n"), 10);

    refuseWrites("教員", "UPDATE", "員_番号", "T9999");
    text.replace("教員", "先生");
    write("in.csv", encodeText(text, TextEncoding::ShiftJis));
    messages.clear();
    answer({true});
    EXPECT_EQ(import(), "");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.last().contains("書込み不可"));
    EXPECT_TRUE(messages.last().contains("取り消されました"));
    EXPECT_EQ(teacher("T1").at("員_氏名"), "教員1");
}

TEST_F(TeacherImportTest, TheErrorFileIsNeverADatabaseAndAnExistingFileIsReplacedOnlyWhenAllowed) {
    SKIP_ON_SERVER();
    write("in.csv", "T001,a,b,,0,,,,1\nT002,,b,,0,,,,1\n");
    const QByteArray database = read(kDatabaseFile);
    ASSERT_TRUE(QFile::copy(kDatabaseFile, "other.db"));
    const std::vector<std::pair<QString, QString>> refused = {
        {kDatabaseFile,
         "「時間割.mdb」は時間割のデータベースです。出力ファイルには指定できません。"},
        {kBackupFile,
         "「時間割bkup.mdb」は時間割のデータベースです。出力ファイルには指定できません。"},
        {"other.db", "「other.db」はデータベースのファイルです。出力ファイルには指定できません。"},
    };
    for (const auto& [out, message] : refused) {
        messages.clear();
        import("in.csv", out);
        EXPECT_EQ(messages.texts(), QStringList({message}));
    }
    EXPECT_EQ(read(kDatabaseFile), database);
    EXPECT_FALSE(QFile::exists(kBackupFile));
    EXPECT_TRUE(records("教員").empty());

    write("err.csv", "keep");
    const QString question = "出力ファイル「" + QDir::toNativeSeparators(dir() + "/err.csv") +
                             "」は既にあります。置き換えますか？";
    messages.clear();
    answer({false});
    import();
    EXPECT_EQ(messages.texts(), QStringList({question}));
    EXPECT_EQ(read("err.csv"), "keep");
    EXPECT_TRUE(records("教員").empty());
    messages.clear();
    answer({true});
    import();
    EXPECT_EQ(messages.texts(), QStringList({question, "教員一括登録処理は終了しました"}));
    EXPECT_TRUE(decodeText(read("err.csv"))->text.contains("氏名未入力"));
}

TEST_F(TeacherImportTest, CellsOfSeveralLinesShortLinesAndAnOpenQuoteAsSpreadsheetsWriteThem) {
    write("in.csv",
          encodeText(QStringLiteral("T1,名,カナ,,0,,,,1,,,,\"東京都港区\r\n芝公園1丁目\","
                                    ",,,,,\"一行目\n二行目\"\r\n"
                                    "T2,,カナ,,0,,,,1,,,,\"a,\"\"b\"\"\r\nc\"\r\n"
                                    "T3,名,カナ\r\n"
                                    "T4,名,カナ,,0,,,,1,,,,\"閉じない\r\nT5,名,カナ,,0,,,,1\r\n"),
                     TextEncoding::Utf8));
    EXPECT_EQ(import(), "登録 1 件、エラー 3 件（エラーの行は「err.csv」）");
    EXPECT_EQ(records("教員").size(), 1u);
    EXPECT_EQ(teacher("T1").at("員_住所1"), "東京都港区\r\n芝公園1丁目");
    EXPECT_EQ(teacher("T1").at("員_備考"), "一行目\n二行目");

    const std::vector<CsvRecord> errors = csvRecords(decodeText(read("err.csv"))->text);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].fields[teacher_field::住所1], "a,\"b\"\r\nc");
    EXPECT_EQ(errors[0].fields.back(), "氏名未入力");
    EXPECT_EQ(errors[1].fields.back(), "項目数不足（19項目中3項目）");
    EXPECT_EQ(errors[2].fields[teacher_field::住所1], "閉じない\r\nT5,名,カナ,,0,,,,1\r\n");
    EXPECT_EQ(errors[2].fields.back(), "引用符が閉じていません（ファイルの終わりまで）");
    for (const CsvRecord& r : errors) EXPECT_EQ(r.fields.size(), 20);
}

TEST_F(TeacherImportTest, AFullDiskKeepsTheOldErrorFileAndStoresNothingAndSaysSo) {
    write("in.csv", "T1,a,b,,0,,,,1\nT2,,b,,0,,,,1\n");
    write("err.csv", "old errors");
    setDiskSpaceForTests(10);
    answer({true});
    import();
    setDiskSpaceForTests(-1);
    EXPECT_TRUE(messages.last().contains("ディスクの空き容量が足りません"))
        << messages.last().toStdString();
    EXPECT_EQ(read("err.csv"), "old errors");
    EXPECT_EQ(QDir().entryList({"err.csv*"}, QDir::Files | QDir::Hidden), QStringList({"err.csv"}));
    EXPECT_TRUE(records("教員").empty());

    // The database's own disk full, in the same words rather than the engine's.
    if (testingOnServer()) return;  // a server's disk is not this PC's
    QString text;
    for (int i = 1; i <= 3000; ++i) text += QStringLiteral("T%1,名前%1,カナ,,0,,,,1\n").arg(i);
    write("in.csv", text.toUtf8());
    // The engine keeps the file at the size it has: not one page more.
    sqlite3_exec(db().handle(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
    messages.clear();
    answer({true});
    import();
    EXPECT_TRUE(messages.last().startsWith("ディスクの空き容量が足りません"))
        << messages.last().toStdString();
    EXPECT_FALSE(messages.last().contains("disk is full"));
    EXPECT_TRUE(records("教員").empty());
}

TEST_F(TeacherImportTest, AClickedFolderStaysUnderThePointerForTheNextClick) {
    for (int i = 10; i < 70; ++i) ASSERT_TRUE(QDir().mkpath(QStringLiteral("f%1/sub").arg(i)));
    auto* screen = new 教員一括;
    ScreenDriver d(screen);
    screen->show();
    auto* tree = screen->findChild<QTreeView*>("OUTDir");
    screen->setOutputFolder(dir() + "/f40");
    // Two folders below the chosen one, once the list has been read and sorted.
    const auto below = [tree] { return tree->indexBelow(tree->indexBelow(tree->currentIndex())); };
    const auto inView = [tree](const QModelIndex& i) {
        return i.isValid() && tree->viewport()->rect().contains(tree->visualRect(i));
    };
    // The list is read in the background; once it is, choosing the folder centres it at once.
    for (int wait = 0; wait < 100 && !(inView(tree->currentIndex()) && inView(below())); ++wait) {
        QTest::qWait(100);
        screen->setOutputFolder(dir() + "/f40");
    }
    QTest::qWait(200);
    ASSERT_TRUE(inView(below())) << tree->visualRect(below()).y();
    const QPoint at = tree->visualRect(below()).center();
    const QString wanted = dir() + "/" + below().data().toString();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(screen->outputFolder(), wanted);
    // The clicked folder's contents are read in the background and arrive before the next click,
    // which must find the list where it was.
    const int scrolled = tree->verticalScrollBar()->value();
    Q_EMIT static_cast<QFileSystemModel*>(tree->model())->directoryLoaded(wanted);
    QTest::qWait(50);
    EXPECT_EQ(tree->verticalScrollBar()->value(), scrolled);
}

}  // namespace
