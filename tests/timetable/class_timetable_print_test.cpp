// The sheet "時間割表" printed from a class timetable grid.

#include "timetable/class_timetable_print.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

class ClassTimetablePrintTest : public TimetableTest {
protected:
    const PrintedDocument& print() {
        PRT組時割(1, grid, {2007, "高等部", "1年", "1"});
        EXPECT_EQ(printed.size(), 1u);
        return printed.back();
    }
    static std::vector<PrintItem> texts(const PrintedDocument& doc) {
        std::vector<PrintItem> out;
        for (const PrintItem& i : doc.pages.at(0).items)
            if (i.kind == PrintItem::Kind::Text) out.push_back(i);
        return out;
    }
    static const PrintItem* find(const PrintedDocument& doc, const QString& text) {
        for (const PrintItem& i : doc.pages.at(0).items)
            if (i.kind == PrintItem::Kind::Text && i.text == text) return &i;
        return nullptr;
    }
    static int count(const PrintedDocument& doc, const QString& text) {
        int n = 0;
        for (const PrintItem& i : doc.pages.at(0).items)
            n += i.kind == PrintItem::Kind::Text && i.text == text;
        return n;
    }

    WorkContext ctx;
    Grid grid;
};

TEST_F(ClassTimetablePrintTest, AnEmptyTimetablePrintsFrameHeaderAndPeriodsOnly) {
    GRD時割初期化(ctx, grid);
    const PrintedDocument& doc = print();
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(doc.title, "時間割表");
    QStringList shown;
    for (const PrintItem& t : texts(doc)) shown << t.text;
    EXPECT_EQ(shown,
              QStringList({"時間割表", "2007 年度", "高等部", "1年  1組", "日", "月", "火", "水",
                           "木",       "金",        "土",     "時",       "限", " 1", " 2", " 3",
                           " 4",       " 5",        " 6",     " 7",       " 8", " 9", "10"}));
    int box = 0, thick = 0, medium = 0, thin = 0;
    for (const PrintItem& i : doc.pages[0].items) {
        if (i.kind == PrintItem::Kind::Box) ++box;
        if (i.kind == PrintItem::Kind::Line)
            (i.width == 4 ? thick : i.width == 3 ? medium : thin) += 1;
    }
    EXPECT_EQ(box, 1);
    EXPECT_EQ(thick, 2);
    EXPECT_EQ(medium, 15);
    EXPECT_EQ(thin, 10);
}

TEST_F(ClassTimetablePrintTest, TextsAndLinesSitWhereTheSheetPutsThem) {
    lesson("002", 1, "1", 3, 2, "001", "01", "01", "現代の国語", "現国");
    selectClass(ctx, "002", 1, "1");
    GRD時割(ctx, 1, grid);
    const PrintedDocument& doc = print();

    const PrintItem* title = find(doc, "時間割表");
    ASSERT_TRUE(title);
    EXPECT_DOUBLE_EQ(title->x1, 90);
    EXPECT_DOUBLE_EQ(title->y1, 30);
    EXPECT_DOUBLE_EQ(title->size, 16);
    EXPECT_EQ(title->font, "ＭＳＰ ゴシック");
    const PrintItem* year = find(doc, "2007 年度");
    EXPECT_DOUBLE_EQ(year->x1, 160);
    EXPECT_DOUBLE_EQ(year->y1, 35);
    EXPECT_DOUBLE_EQ(year->size, 12);
    const PrintItem* tuesday = find(doc, "火");
    EXPECT_DOUBLE_EQ(tuesday->x1, 30 + 10 + 40 + 8);
    EXPECT_DOUBLE_EQ(tuesday->y1, 59);
    const PrintItem* ten = find(doc, "10");
    EXPECT_DOUBLE_EQ(ten->x1, 32);
    EXPECT_DOUBLE_EQ(ten->y1, 55 + 10 + 180 + 6);
    EXPECT_DOUBLE_EQ(ten->size, 14);

    // Tuesday, period 2: the lesson in dark blue at 12 points, the teacher in black at 10.5.
    const PrintItem* lessonText = find(doc, "現国");
    ASSERT_TRUE(lessonText);
    EXPECT_DOUBLE_EQ(lessonText->x1, 30 + 10 + 40 + 1);
    EXPECT_DOUBLE_EQ(lessonText->y1, 55 + 10 + 20 + 5);
    EXPECT_DOUBLE_EQ(lessonText->size, 12);
    EXPECT_EQ(lessonText->colour, 1);
    const PrintItem* teacherText = find(doc, "佐藤");
    ASSERT_TRUE(teacherText);
    EXPECT_DOUBLE_EQ(teacherText->y1, 55 + 10 + 20 + 14);
    EXPECT_DOUBLE_EQ(teacherText->size, 10.5);
    EXPECT_EQ(teacherText->colour, 0);

    const PrintItem& frame = doc.pages[0].items[0];
    EXPECT_EQ(frame.kind, PrintItem::Kind::Box);
    EXPECT_EQ(frame.width, 4);
    EXPECT_DOUBLE_EQ(frame.x1, 30);
    EXPECT_DOUBLE_EQ(frame.y1, 55);
    EXPECT_DOUBLE_EQ(frame.x2, 180);
    EXPECT_DOUBLE_EQ(frame.y2, 265);
}

TEST_F(ClassTimetablePrintTest, ALongNameShrinksToItsCellAndThePdfIsNamedAfterTheSheet) {
    insert("教員", {{"員_番号", "020"}, {"員_氏名", "長谷川　浩"}});
    lesson("002", 1, "1", 2, 1, "020", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "1", 3, 1, "001", "01", "01", "現代の国語", "現国");
    selectClass(ctx, "002", 1, "1");
    GRD時割(ctx, 1, grid);
    const PrintedDocument& doc = print();
    const PrintItem* longName = find(doc, "長谷川　浩");
    ASSERT_TRUE(longName);
    EXPECT_LT(longName->size, 10.5);
    Printer probe(QString{});
    probe.setFontName(longName->font);
    probe.setFontSize(longName->size);
    EXPECT_LE(longName->x1 + probe.textWidth(longName->text), 30 + 10 + 20 * 2);  // Monday's edge
    EXPECT_DOUBLE_EQ(find(doc, "佐藤")->size, 10.5);  // what fits keeps its size
    EXPECT_TRUE(proposedPdfPath(doc).endsWith("時間割表_2007年度_高等部_1年_1組.pdf"));
}

TEST_F(ClassTimetablePrintTest, AGradeOrClassNamedWithItsCounterWordGetsNoSecondOne) {
    GRD時割初期化(ctx, grid);
    PRT組時割(1, grid, {2007, "高等部", "2", "1組"});
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(find(printed[0], "2年  1組"));
    EXPECT_TRUE(proposedPdfPath(printed[0]).endsWith("時間割表_2007年度_高等部_2年_1組.pdf"));
}

TEST_F(ClassTimetablePrintTest, AnElectiveSlotPrintsAsOneCellAndTheSchoolNameIsOnTheSheet) {
    insert("マスタ", {{"マ_番号", "001"}, {"マ_連番", "001"}, {"マ_名称", "見本高等学校"}});
    lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
    selectClass(ctx, "002", 1, "1");
    GRD時割(ctx, 1, grid);
    const PrintedDocument& doc = print();
    EXPECT_EQ(count(doc, "芸術"), 1);
    ASSERT_TRUE(find(doc, "芸術"));
    EXPECT_DOUBLE_EQ(find(doc, "芸術")->y1, 55 + 10 + 80 + 9);
    // Wednesday's middle line of period 5 is left out: the line stops at Tuesday and goes on
    // from Thursday.
    const double y = 55 + 100;
    int segments = 0;
    for (const PrintItem& i : doc.pages[0].items)
        if (i.kind == PrintItem::Kind::Line && i.width == 1 && i.y1 == y) {
            ++segments;
            EXPECT_TRUE(i.x2 <= 30 + 10 + 60 || i.x1 >= 30 + 10 + 80) << i.x1 << "-" << i.x2;
        }
    EXPECT_EQ(segments, 2);
    EXPECT_TRUE(find(doc, "見本高等学校"));
}

TEST_F(ClassTimetablePrintTest, ThePrintButtonPrintsTheShownClassToARealPdf) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    ScreenDriver d(new 組時間割);
    d.click("B印刷");
    EXPECT_EQ(messages.last(), "組を正しく選択してください");
    EXPECT_TRUE(printed.empty());
    d.pick("C学部", "高等部");
    d.pick("C学年", "1年");
    d.pick("C組", "1組");
    d.click("B表示");
    d.pick("C学部", "中学部");  // picked afterwards, not shown
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(find(printed[0], "高等部"));
    EXPECT_TRUE(find(printed[0], "1年  1組"));

    const QString out = pdfText(printed[0]);
    EXPECT_TRUE(out.contains("時間割表"));
    EXPECT_TRUE(out.contains("現国"));
    EXPECT_TRUE(out.contains("佐藤"));
}

}  // namespace
