// The printer service: what a print records, and a real PDF rendered from it.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "data/database.h"
#include "support/pdf_reader.h"
#include "ui/file_save.h"
#include "ui/fonts.h"
#include "ui/language.h"
#include "ui/printer.h"

namespace {

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        setPrintSink([this](const PrintedDocument& d) { ended.push_back(d); });
    }
    void TearDown() override { setPrintSink(nullptr); }
    std::vector<PrintedDocument> ended;
};

PrintedDocument samplePage() {
    Printer p("時間割表");
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName("ＭＳＰ ゴシック");
    p.setDrawWidth(4);
    p.box(30, 55, 180, 265);
    p.setDrawWidth(1);
    p.line(40, 75, 180, 75);
    p.setFontSize(16);
    p.moveTo(90, 30);
    p.print("時間割表");
    p.setFontSize(10.5);
    p.setForeColor(1);
    p.moveTo(41, 69);
    p.print("数学Ⅰ");
    p.endDoc();
    return p.document();
}

TEST_F(PrinterTest, ARecordedPageHoldsEachTextWithPositionSizeAndInk) {
    samplePage();
    ASSERT_EQ(ended.size(), 1u);
    const PrintedDocument& doc = ended[0];
    ASSERT_EQ(doc.pages.size(), 1u);
    const auto& items = doc.pages[0].items;
    ASSERT_EQ(items.size(), 4u);

    EXPECT_EQ(items[0].kind, PrintItem::Kind::Box);
    EXPECT_EQ(items[0].width, 4);
    EXPECT_DOUBLE_EQ(items[0].x2, 180);
    EXPECT_EQ(items[1].kind, PrintItem::Kind::Line);
    EXPECT_EQ(items[1].width, 1);

    EXPECT_EQ(items[2].text, "時間割表");
    EXPECT_DOUBLE_EQ(items[2].x1, 90);
    EXPECT_DOUBLE_EQ(items[2].y1, 30);
    EXPECT_DOUBLE_EQ(items[2].size, 16);
    EXPECT_EQ(items[2].colour, 0);
    EXPECT_EQ(items[3].text, "数学Ⅰ");
    EXPECT_DOUBLE_EQ(items[3].size, 10.5);
    EXPECT_EQ(items[3].colour, 1);
    EXPECT_EQ(items[3].font, "ＭＳＰ ゴシック");
}

TEST_F(PrinterTest, PrintingMovesToTheNextLineAndTextsHaveAWidth) {
    Printer p("test");
    p.setFontSize(12);
    p.moveTo(50, 20);
    p.print("あ");
    EXPECT_DOUBLE_EQ(p.currentX(), 0);
    EXPECT_GT(p.currentY(), 20 + 4);  // 12 pt is 4.2 mm
    const double one = p.textWidth("あ"), two = p.textWidth("ああ");
    EXPECT_GT(one, 3.0);
    EXPECT_LT(one, 5.0);
    EXPECT_NEAR(two, 2 * one, 0.01);
    p.newPage();
    EXPECT_EQ(p.document().pages.size(), 2u);
}

TEST_F(PrinterTest, AMeasuredWidthIsKeptForItsOwnFontAndSizeOnly) {
    // A document keeps the widths it has measured: the same text in another size or font is
    // still measured as a fresh document measures it, and so is a text fitted to its room.
    const QString text = QStringLiteral("数学Ⅰ Math");
    const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    auto fresh = [&](const QString& font, double size) {
        Printer q("fresh");
        q.setFontName(font);
        q.setFontSize(size);
        return q.textWidth(text);
    };
    Printer p("test");
    p.setFontName(kPrintFont);
    p.setFontSize(12);
    const double large = p.textWidth(text);
    p.setFontSize(6);
    EXPECT_DOUBLE_EQ(p.textWidth(text), fresh(kPrintFont, 6));
    EXPECT_LT(p.textWidth(text), large * 0.6);
    p.setFontName(mono);
    p.setFontSize(12);
    EXPECT_DOUBLE_EQ(p.textWidth(text), fresh(mono, 12));
    p.setFontName(kPrintFont);
    const double fitted = p.sizeToFit(text, large / 2, 12);
    EXPECT_LT(fitted, 12);
    EXPECT_LE(fresh(kPrintFont, fitted), large / 2);
    EXPECT_DOUBLE_EQ(p.sizeToFit(text, large, 12), 12);
}

TEST_F(PrinterTest, ARenderedPdfCarriesTheJapaneseText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("timetable.pdf");
    ASSERT_TRUE(writePdf(samplePage(), path));
    const PdfContent pdf = readPdf(path);
    EXPECT_TRUE(pdf.text.contains("時間割表")) << pdf.text.toStdString();
    EXPECT_TRUE(pdf.text.contains("数学Ⅰ")) << pdf.text.toStdString();
    // A4 is 595 × 842 points.
    EXPECT_EQ(pdf.pageSize.toSize(), QSize(595, 842));
}

TEST(FontTest, ScreensTakeAnInstalledJapaneseUiFontAndPrintsTheMsFontsSubstitute) {
    const QFont ui = uiFont();
    ASSERT_EQ(ui.families().size(), uiFontFamilies().size());
    EXPECT_EQ(QFontInfo(ui).family(), ui.families().first());
    EXPECT_TRUE(
        QFontDatabase::writingSystems(ui.families().first()).contains(QFontDatabase::Japanese));
    // This machine has no MS fonts: their names reach the IPA fonts.
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(kPrintFont))).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(kGridFont))).family(), "IPAGothic");

    // Captions go without fallback fonts only where the font they name is there to draw them.
    EXPECT_TRUE(captionFont(ui).styleStrategy() & QFont::NoFontMerging);
    QFont missing = ui;
    missing.setFamilies({QStringLiteral("Yu Gothic UI"), QStringLiteral("IPAPGothic")});
    EXPECT_FALSE(captionFont(missing).styleStrategy() & QFont::NoFontMerging);
}

TEST_F(PrinterTest, APdfSaveThatRunsOutOfDiskKeepsTheOldFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("timetable.pdf");
    ASSERT_TRUE(writePdf(samplePage(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();

    setDiskSpaceForTests(1000);
    QString why;
    const bool saved = writePdf(samplePage(), path, &why);
    setDiskSpaceForTests(-1);
    EXPECT_FALSE(saved);
    EXPECT_EQ(why, kDiskFullText);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"timetable.pdf"}));
}

TEST(LanguageTest, QtsOwnDialogsSpeakJapanese) {
    ASSERT_TRUE(installJapaneseTranslations());
    EXPECT_NE(QCoreApplication::translate("QPrintPreviewDialog", "Page Setup"), "Page Setup");
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Save As"), "Save As");
}

}  // namespace
