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
    // A sheet of two title lines over a 3 x 3 table with a heading row and a merged block.
    static XlsxSheet sample() {
        XlsxSheet s;
        s.name = QStringLiteral("時間割表");
        s.fileName = QStringLiteral("時間割表_2007年度_高等部_1年_1組");
        s.title(QStringLiteral("時間割表"), 16, 4);
        s.title(QStringLiteral("2007 年度"), 12, 7);
        s.cells.assign(3, std::vector<XlsxCell>(3));
        for (int c = 0; c < 3; ++c) {
            s.at(0, c).text = QStringList{"", "日", "月"}[c];
            s.at(0, c).back = colour::kLightYellow;
            s.at(0, c).align = 4;
        }
        s.at(1, 0).text = s.at(2, 0).text = QStringLiteral("1");
        s.at(1, 1).text = s.at(2, 1).text = QStringLiteral("芸術選択");
        s.at(1, 2).text = QStringLiteral("=SUM(A1)");
        s.at(2, 2).text = QStringLiteral("𠮷田");
        s.at(2, 2).fore = colour::kLightMagenta;
        s.spans = {{1, 0, 2, 1}, {1, 1, 2, 1}};
        s.widths = {300, 1134, 1134};
        s.onePage = true;
        return s;
    }
};

TEST_F(XlsxExportTest, TheWorkbookHoldsTitlesTableMergesLooksAndAnA4PageSetUp) {
    const QString path = QDir(dir()).filePath("sheet.xlsx");
    QString error;
    ASSERT_TRUE(writeXlsx(sample(), path, &error)) << error.toStdString();
    const XlsxFile x(path);
    EXPECT_EQ(x.sheetName, "時間割表");
    // Each title line spans the table's width; an empty row separates them from the table.
    EXPECT_EQ(x.text(0, 0), "時間割表");
    EXPECT_EQ(x.horizontal(0, 0), "center");
    EXPECT_EQ(x.fontSize(0, 0), 16);
    EXPECT_EQ(x.text(1, 0), "2007 年度");
    EXPECT_EQ(x.horizontal(1, 0), "right");
    EXPECT_EQ(x.row(2), QStringList());
    EXPECT_EQ(x.row(3), QStringList({"", "日", "月"}));
    EXPECT_EQ(x.fill(3, 1), "FFFF00");
    EXPECT_EQ(x.fill(4, 2), "");
    EXPECT_EQ(x.merges, QStringList({"A1:C1", "A2:C2", "A5:A6", "B5:B6"}));
    EXPECT_EQ(x.text(4, 1), "芸術選択");
    EXPECT_EQ(x.text(5, 1), "");
    // Texts stay texts, whatever they look like, and characters beyond the BMP survive.
    EXPECT_EQ(x.text(4, 2), "=SUM(A1)");
    EXPECT_EQ(x.text(5, 2), "𠮷田");
    EXPECT_EQ(x.colour(5, 2), "FF00FF");
    EXPECT_EQ(x.font(5, 2), "ＭＳ Ｐゴシック");
    EXPECT_GT(x.columnWidth(1), 3 * x.columnWidth(0));
    EXPECT_EQ(x.pageSetup.at("paperSize"), "9");
    EXPECT_EQ(x.pageSetup.at("orientation"), "portrait");
    EXPECT_EQ(x.sheetProps.at("fitToPage"), "1");
    EXPECT_EQ(x.pageSetup.count("fitToHeight"), 0u);  // one page, like the print
}

TEST_F(XlsxExportTest, AListGridGivesItsEntriesWithTheHeadingOnEveryPage) {
    Grid g;
    g.setRows(50);
    g.setCols(2);
    g.setFixedRows(1);
    g.setColWidth(0, 800);
    g.setColWidth(1, 3000);
    g.setTextMatrix(0, 0, "番号");
    g.setTextMatrix(0, 1, "氏名");
    g.setTextMatrix(1, 0, "001");
    g.setTextMatrix(1, 1, "佐藤 一郎");
    g.setTextMatrix(2, 1, "鈴木 花子");
    g.setRow(2);
    g.setCol(0);
    g.setColSel(1);
    g.setCellBackColor(colour::kLightGreen);  // the picked row

    XlsxSheet s = sheetFromGrid(g, true);
    EXPECT_EQ(s.rows(), 3);
    EXPECT_EQ(s.widths, std::vector<int>({800, 3000}));
    EXPECT_EQ(s.at(2, 0).back, colour::kWhite);
    s.name = QStringLiteral("一覧 [1/2]: 教員?");
    const QString path = QDir(dir()).filePath("list.xlsx");
    ASSERT_TRUE(writeXlsx(s, path));
    const XlsxFile x(path);
    EXPECT_EQ(x.sheetName, "一覧 _1_2__ 教員_");
    EXPECT_EQ(x.rowCount(), 3);
    EXPECT_EQ(x.row(2), QStringList({"", "鈴木 花子"}));
    EXPECT_EQ(x.repeatedRows, "$1:$1");
    EXPECT_EQ(x.pageSetup.at("fitToHeight"), "0");  // as many pages as the list needs

    // A grid's merged blocks come along.
    g.setMergeCells(3);
    g.setTextMatrix(2, 0, "001");
    g.setMergeCol(0, true);
    EXPECT_EQ(sheetFromGrid(g, true).spans, std::vector<Grid::Span>({{1, 0, 2, 1}}));
}

TEST_F(XlsxExportTest, SavingProposesTheSheetsNameWritesAndSaysWhere) {
    Screen screen("見本", "見本画面");
    screen.ctx().title = QStringLiteral("見本のタイトル");
    saveXlsx(screen, sample());
    ASSERT_EQ(proposedSaves.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/時間割表_2007年度_高等部_1年_1組.xlsx"));
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_EQ(XlsxFile(savedTo[0]).text(0, 0), "時間割表");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last(),
              QStringLiteral("「%1」に保存しました。").arg(QDir::toNativeSeparators(savedTo[0])));
    EXPECT_EQ(messages.shown[0].title, "見本のタイトル");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);

    // The next save proposes the folder saved to; a name typed without ".xlsx" gets it.
    saveAnswers = {QDir(dir()).filePath("週案")};
    saveXlsx(screen, sample());
    EXPECT_EQ(proposedSaves[1], QDir(dir()).filePath("時間割表_2007年度_高等部_1年_1組.xlsx"));
    EXPECT_TRUE(QFile::exists(QDir(dir()).filePath("週案.xlsx")));

    // Cancelling the dialog writes and says nothing.
    messages.clear();
    saveAnswers = {QString()};
    saveXlsx(screen, sample());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(XlsxExportTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneStays) {
    Screen screen("見本", "見本画面");
    const QString missing = QDir(dir()).filePath("ない/時間割表.xlsx");
    saveAnswers = {missing};
    saveXlsx(screen, sample());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.last().startsWith(
        QStringLiteral("「%1」に保存できませんでした。\n表計算ソフトで開いているときは閉じてから")
            .arg(QDir::toNativeSeparators(missing))));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(QFile::exists(missing));

    // A folder where the file should be: nothing is replaced.
    const QString taken = QDir(dir()).filePath("使用中.xlsx");
    QDir(dir()).mkdir("使用中.xlsx");
    saveAnswers = {taken};
    saveXlsx(screen, sample());
    EXPECT_TRUE(messages.last().startsWith(
        QStringLiteral("「%1」に保存できませんでした。").arg(QDir::toNativeSeparators(taken))));
    EXPECT_TRUE(QFileInfo(taken).isDir());
}

}  // namespace
