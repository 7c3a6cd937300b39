// The Excel export every sheet and list shares: what the workbook holds, read back from the file,
// and how saving asks, reports and fails.

#include <QDir>
#include <QFile>

#include "support/screen_driver.h"
#include "support/xlsx_reader.h"
#include "ui/xlsx_export.h"

namespace {

class XlsxExportTest : public ScreenTest {
protected:
    // Two title lines over a table: a heading row and a block merged over two rows.
    static XlsxSheet sample() {
        XlsxSheet s;
        s.name = s.fileName = QStringLiteral("時間割表_2007年度_1組");
        s.title(QStringLiteral("時間割表"), 16, 4);
        s.title(QStringLiteral("2007 年度"), 12, 7);
        s.cells.assign(3, std::vector<XlsxCell>(3));
        s.at(0, 1) = {QStringLiteral("日"), colour::kLightYellow};
        s.at(1, 1).text = s.at(2, 1).text = QStringLiteral("芸術選択");
        s.at(1, 2).text = QStringLiteral("=SUM(A1)");
        s.at(2, 2) = {QStringLiteral("𠮷田"), colour::kWhite, colour::kLightMagenta};
        s.spans = {{1, 1, 2, 1}};
        s.widths = {300, 1134, 1134};
        s.onePage = true;
        return s;
    }
    Screen screen{"見本", "見本画面"};
};

TEST_F(XlsxExportTest, TheWorkbookHoldsTitlesTableMergesLooksAndAnA4PageSetUp) {
    const QString path = QDir(dir()).filePath("sheet.xlsx");
    QString error;
    ASSERT_TRUE(writeXlsx(sample(), path, &error)) << error.toStdString();
    const XlsxFile x(path);
    EXPECT_EQ(x.sheetName, "時間割表_2007年度_1組");
    // Each title line spans the table; an empty row separates them from it.
    EXPECT_EQ(x.text(0, 0), "時間割表");
    EXPECT_EQ(x.style(0, 0).horizontal, "center");
    EXPECT_EQ(x.style(1, 0).horizontal, "right");
    EXPECT_EQ(x.row(2), QStringList());
    EXPECT_EQ(x.merges, QStringList({"A1:C1", "A2:C2", "B5:B6"}));
    EXPECT_EQ(x.row(3), QStringList({"", "日"}));
    EXPECT_EQ(x.style(3, 1).fill, "FFFF00");
    EXPECT_EQ(x.text(4, 1), "芸術選択");
    // Texts stay texts, whatever they look like, and characters beyond the BMP survive.
    EXPECT_EQ(x.text(4, 2), "=SUM(A1)");
    EXPECT_EQ(x.text(5, 2), "𠮷田");
    EXPECT_EQ(x.style(5, 2).colour, "FF00FF");
    EXPECT_EQ(x.style(5, 2).font, "ＭＳ Ｐゴシック");
    EXPECT_GT(x.columnWidth(1), 3 * x.columnWidth(0));
    EXPECT_EQ(x.pageSetup.at("paperSize"), "9");
    EXPECT_EQ(x.pageSetup.at("orientation"), "portrait");
    EXPECT_EQ(x.pageSetup.at("fitToPage"), "1");
    EXPECT_EQ(x.pageSetup.count("fitToHeight"), 0u);  // one page, like the print
}

TEST_F(XlsxExportTest, AListGridGivesItsEntriesWithTheHeadingOnEveryPage) {
    Grid g;
    g.setRows(50);
    g.setCols(2);
    g.setFixedRows(1);
    g.setColWidth(1, 3000);
    for (auto [r, c, text] : {std::tuple{0, 0, "番号"},
                              {0, 1, "氏名"},
                              {1, 0, "001"},
                              {1, 1, "佐藤 一郎"},
                              {2, 0, "001"},
                              {2, 1, "鈴木 花子"}})
        g.setTextMatrix(r, c, text);
    g.setRow(2);
    g.setCol(0);
    g.setColSel(1);
    g.setCellBackColor(colour::kLightGreen);  // the picked row
    g.setMergeCells(3);
    g.setMergeCol(0, true);

    XlsxSheet s = sheetFromGrid(g, true);
    EXPECT_EQ(s.widths, std::vector<int>({950, 3000}));
    EXPECT_EQ(s.at(2, 0).back, colour::kWhite);
    EXPECT_EQ(s.spans, std::vector<Grid::Span>({{1, 0, 2, 1}}));
    // Two sheets of one name get different tabs; characters a tab refuses are replaced.
    s.name = QStringLiteral("一覧 [1/2]: 教員?");
    const QString path = QDir(dir()).filePath("list.xlsx");
    ASSERT_TRUE(writeXlsx({s, s}, path));
    const XlsxFile x(path);
    EXPECT_EQ(x.sheetNames, QStringList({"一覧 _1_2__ 教員_", "一覧 _1_2__ 教員_ (2)"}));
    EXPECT_EQ(x.rowCount, 3);
    EXPECT_EQ(x.row(2), QStringList({"", "鈴木 花子"}));
    EXPECT_EQ(x.repeatedRows, "$1:$1");
    EXPECT_EQ(x.pageSetup.at("fitToHeight"), "0");  // as many pages as the list needs
}

TEST_F(XlsxExportTest, SavingProposesTheSheetsNameWritesAndSaysWhere) {
    screen.ctx().title = QStringLiteral("見本のタイトル");
    saveXlsx(screen, sample());
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/時間割表_2007年度_1組.xlsx"));
    EXPECT_EQ(XlsxFile(savedTo[0]).text(0, 0), "時間割表");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last(),
              QStringLiteral("「%1」に保存しました。").arg(QDir::toNativeSeparators(savedTo[0])));
    EXPECT_EQ(messages.shown[0].title, "見本のタイトル");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);

    // The next save proposes the folder saved to; a name typed without ".xlsx" gets it. Folders
    // with Japanese names, for the target and the temporary files (as under a Japanese user
    // name on Windows), reach the library intact.
    const QString folder = QDir(dir()).filePath("教務部");
    QDir(dir()).mkpath("教務部/一時");
    const QByteArray tmpdir = qgetenv("TMPDIR"), tmp = qgetenv("TMP");
    qputenv("TMPDIR", QFile::encodeName(folder + "/一時"));
    qputenv("TMP", QFile::encodeName(folder + "/一時"));
    saveAnswers = {QDir(folder).filePath("週案")};
    saveXlsx(screen, sample());
    for (auto [name, value] : {std::pair{"TMPDIR", tmpdir}, {"TMP", tmp}})
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    EXPECT_EQ(proposedSaves[1], QDir(dir()).filePath("時間割表_2007年度_1組.xlsx"));
    EXPECT_EQ(XlsxFile(QDir(folder).filePath("週案.xlsx")).text(0, 0), "時間割表");

    // Cancelling the dialog writes and says nothing.
    messages.clear();
    saveAnswers = {QString()};
    saveXlsx(screen, sample());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(XlsxExportTest, AFileThatCannotBeWrittenIsReportedAndWhatIsThereStays) {
    const QString missing = QDir(dir()).filePath("ない/時間割表.xlsx");
    const QString taken = QDir(dir()).filePath("使用中.xlsx");
    QDir(dir()).mkdir("使用中.xlsx");
    saveAnswers = {missing, taken};
    saveXlsx(screen, sample());
    saveXlsx(screen, sample());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(
        QStringLiteral("「%1」に保存できませんでした。\n表計算ソフトで開いているときは閉じてから")
            .arg(QDir::toNativeSeparators(missing))));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(messages.shown[1].text.startsWith(
        QStringLiteral("「%1」に保存できませんでした。").arg(QDir::toNativeSeparators(taken))));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_TRUE(QFileInfo(taken).isDir());
}

}  // namespace
