// 変更通知 and the sheet "時間割変更通知" pinned on the staff-room board.

#include "changes/change_notice_screen.h"
#include "changes/changes_fixture.h"
#include "changes/printed_sheet.h"

namespace {

class ChangeNoticeTest : public ChangesTest {
protected:
    // The week of Monday 2007/06/04.
    std::unique_ptr<ScreenDriver> notice(const char* target) {
        auto d = std::make_unique<ScreenDriver>(new 変更通知);
        d->set("照会日", "2007/06/06");
        d->leave("照会日");
        d->set("出力日", "2007/06/01");
        d->set("変更理由", "研修のため");
        d->click(target);
        return d;
    }
    static QString fields(const Record& r, const QStringList& names) {
        QStringList values;
        for (const QString& n : names) values << r.at(n).toText();
        return values.join('|');
    }
    // The pieces of one line of a block: old teacher, old subject, "->", new teacher, subject.
    static QStringList lineAt(const PrintedPage& page, int block, double y) {
        const double x0 = 21 + 45 * (block - 1);
        return placedAt(page, {x0 - 0.5, y, x0 + 9.5, y, x0 + 20, y, x0 + 24.5, y, x0 + 34, y});
    }
};

TEST_F(ChangeNoticeTest, TheWeekRunsFromMondayAndItsChangesStandBesideTheLessonsTheyReplace) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 3, 3, "002", "03", "01", "数学Ⅰ", "");
    lesson("001", 2, "3", 1, 1, "003", "000", "000", "HR", "HR", 0, 1);
    changeTo("2007/06/04", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ", "出張");
    changeTo("2007/06/05", "002", 1, "2", 3, "003", "自習", "自習");
    changeTo("2007/06/10", "001", 2, "3", 1, "002", "数学Ⅰ", "数Ⅰ");  // the Sunday ending it
    changeTo("2007/06/11", "002", 1, "1", 1, "004", "数学Ⅰ", "数Ⅰ");  // the next week
    changeTo("2007/06/03", "002", 1, "1", 1, "004", "数学Ⅰ", "数Ⅰ");  // the Sunday before
    auto d = std::make_unique<ScreenDriver>(new 変更通知);
    EXPECT_EQ(d->screen().windowTitle(), "変更通知");
    EXPECT_EQ(d->text("出力日"), "2007/06/04");
    EXPECT_TRUE(d->checked("全て"));
    for (auto [typed, monday] : {std::pair{"2007/6/6", "2007/06/04"},
                                 {"2007/06/09", "2007/06/04"},
                                 {"2007/06/10", "2007/06/11"},
                                 {"20070604", "2007/06/04"}}) {
        d->set("照会日", typed);
        d->leave("照会日");
        EXPECT_EQ(d->text("照会日") + d->text("曜日"), QString(monday) + "月") << typed;
    }
    EXPECT_EQ(d->text("L期間"), "2007/06/04 ～ 2007/06/10（日）");

    d->click("B印刷");
    auto lines = records("WK時割変");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(
        fields(lines[0], {"W_日付",     "W_時限",       "W_学部",   "W_学年",     "W_組",
                          "W_科目",     "W_教科",       "W_教科名", "W_教科略称", "W_コース",
                          "W_選択番号", "W_教員コード", "W_表示名", "W_教員名",   "W_旧教員コード",
                          "W_旧表示名", "W_旧教員名",   "W_旧科目", "W_旧教科",   "W_備考"}),
        "2007/06/04|1|002|1|1|01|数学Ⅰ|数学Ⅰ|数Ⅰ||0|002|鈴木|鈴木　美咲|001|佐藤|"
        "佐藤　健一||現国|出張");
    EXPECT_EQ(fields(lines[1], {"W_日付", "W_旧教科"}), "2007/06/05|数学Ⅰ");  // no short name
    EXPECT_EQ(fields(lines[2], {"W_日付", "W_旧教科"}), "2007/06/10|HR");
    EXPECT_EQ(printed.size(), 1u);
    // The Sunday has no row on the sheet: left out, and said so.
    EXPECT_EQ(messages.texts(), QStringList({"次の変更は通知書に欄がないため、印刷していません。\n"
                                             "2007/06/10（日） 1時限 中学部 2年 3組 鈴木　美咲",
                                             "変更通知書の出力を終了しました"}));
    EXPECT_EQ(messages.shown[1].title, "変更通知");

    // One teacher: the lessons a change gives them. One class: its changes, whoever gives them.
    d->click("教科");
    d->pick("C教員", "鈴木　美咲");
    d->click("B印刷");
    lines = records("WK時割変");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(fields(lines[0], {"W_教員コード"}) + fields(lines[1], {"W_教員コード"}), "002002");
    d->click("担任");
    d->pick("C学部", "高等部");
    d->pick("C学年", "1年");
    d->pick("C組", "2組");
    d->click("B印刷");
    lines = records("WK時割変");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(fields(lines[0], {"W_教員名"}), "高橋　誠");
}

TEST_F(ChangeNoticeTest, ALessonOnAFreePeriodKeepsItsLineAndTheRestOfTheWeekStillPrints) {
    lesson("002", 1, "1", 3, 2, "001", "01", "01", "現代の国語", "現国");
    changeTo("2007/06/04", "002", 1, "1", 5, "002", "数学Ⅰ", "数Ⅰ");  // free periods
    changeTo("2007/06/04", "002", 1, "1", 6, "002", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/06/05", "002", 1, "1", 2, "002", "数学Ⅰ", "数Ⅰ");
    notice("全て")->click("B印刷");
    EXPECT_EQ(messages.texts(), QStringList({"変更もとの授業が取出せません\n"
                                             "2007/06/04（月） 5時限 高等部 1年 1組\n"
                                             "2007/06/04（月） 6時限 高等部 1年 1組",
                                             "変更通知書の出力を終了しました"}));
    const auto lines = records("WK時割変");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(fields(lines[0], {"W_旧教員コード", "W_旧教員名", "W_旧教科"}), "||");
    EXPECT_EQ(fields(lines[2], {"W_旧教員コード"}), "001");
    ASSERT_EQ(printed.size(), 1u);
    const PrintedPage& page = printed[0].pages.at(0);
    EXPECT_EQ(lineAt(page, 1, 43 + 20),
              QStringList({"(not printed)", "(not printed)", "-> @ 41,63 size 9",
                           "鈴木 @ 45.5,63 size 7", "数学Ⅰ @ 55,63 size 9"}));
    EXPECT_EQ(lineAt(page, 1, 83 + 5).at(0), "佐藤 @ 20.5,88 size 7");
}

TEST_F(ChangeNoticeTest, MissingTargetsAreRefusedAndAWeekWithoutChangesPrintsNothing) {
    auto d = notice("教科");
    auto refused = [&](const QString& message) {
        messages.clear();
        d->click("B印刷");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.last().endsWith(message)) << messages.last().toStdString();
    };
    refused("対象教員を選択してください");
    d->set("C教員", "佐藤");
    d->leave("C教員");
    refused("教員を正しく選択して下さい");
    d->click("担任");
    refused("対象学部を選択してください");
    d->pick("C学部", "高等部");
    d->pick("C学年", "1年");
    refused("組を正しく選択してください");
    d->set("照会日", "2007/02/30");
    refused("正しく(YYYY/MM/DD)入力してください");
    EXPECT_TRUE(printed.empty());

    // The lines of an earlier notice do not linger in the work table.
    insert("WK時割変", {{"W_日付", "2007/05/28"}, {"W_教員コード", "001"}});
    messages.clear();
    d->click("全て");
    d->set("照会日", "2007/06/04");
    d->click("B印刷");
    EXPECT_EQ(messages.texts(), QStringList({"この週に通知する授業の変更はありません"}));
    EXPECT_TRUE(records("WK時割変").empty());
    EXPECT_TRUE(printed.empty());
}

TEST_F(ChangeNoticeTest, TheSheetSetsEveryTextWhereTheNoticeFormHasItAndRendersToAPdf) {
    lesson("002", 1, "1", 3, 2, "001", "01", "01", "現代の国語", "現国");
    teacher("020", "長谷川　浩一郎", "");
    insertMaster("002", "002", "高等部", "高");
    changeTo("2007/06/05", "002", 1, "1", 2, "020", "現代の国語", "");
    notice("全て")->click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    const PrintedDocument& doc = printed[0];
    EXPECT_EQ(doc.title, "時間割変更通知");
    EXPECT_TRUE(proposedPdfPath(doc).endsWith("時間割変更通知_20070604_全体.pdf"));
    ASSERT_EQ(doc.pages.size(), 2u);  // the teacher notice's page and the class notice's
    const PrintedPage& page = doc.pages[0];
    EXPECT_EQ(
        placedAt(page, {35, 10, 125, 10, 15, 20, 18, 20,  50, 20,
                        52, 20, 165, 20, 12, 27, 13, 264, 13, 271}),
        QStringList({"( 研修のため ) @ 35,10 size 12", "時間割変更通知 @ 125,10 size 14",
                     "[ @ 15,20 size 12", "長谷川　浩一郎  @ 18,20 size 12", "] @ 50,20 size 12",
                     "先生 @ 52,20 size 12", "2007/06/04 より実施 @ 165,20 size 10",
                     "ｸﾗｽ @ 12,27 size 10", "備 @ 13,264 size 11", "考 @ 13,271 size 11"}));
    // The issue date stops short of the date the notice takes effect.
    const PrintItem* issued = textAt(page, 135, 20);
    ASSERT_TRUE(issued);
    EXPECT_EQ(issued->text, "2007/06/01 発表 :");
    EXPECT_LE(rightEdge(*issued), 165);
    // Block 3's headings, Tuesday's date down the left, period numbers (Saturday has four).
    // The class label is set as small as its room needs.
    QStringList block3 =
        placedAt(page, {115,  26, 132, 26, 150, 26,  115,  33,  141,  33, 112,  38,
                        122,  38, 137, 38, 147, 38,  10.5, 83,  10.5, 88, 10.5, 93,
                        10.5, 98, 17,  78, 17,  258, 17,   263, 31,   26, 51,   26});
    block3[16] = block3[16].section(" size", 0, 0);
    EXPECT_EQ(
        block3,
        QStringList({"( @ 115,26 size 12", "－ @ 132,26 size 12", ") @ 150,26 size 12",
                     "現 行 @ 115,33 size 10", "変 更 @ 141,33 size 10", "担当 @ 112,38 size 9",
                     "教科 @ 122,38 size 9", "担当 @ 137,38 size 9", "教科 @ 147,38 size 9",
                     "6 @ 10.5,83 size 11", "／ @ 10.5,88 size 11", "5 @ 10.5,93 size 11",
                     "火 @ 10.5,98 size 11", "8 @ 17,78 size 11", "4 @ 17,258 size 11",
                     "(not printed)", "高 1 年 @ 31,26", "1 組 @ 51,26 size 12"}));
    // Tuesday period 2: names cut to four characters and subjects to three, set smaller only as
    // far as their columns need.
    EXPECT_EQ(lineAt(page, 1, 88).mid(0, 3),
              QStringList({"佐藤 @ 20.5,88 size 7", "現国 @ 30.5,88 size 9", "-> @ 41,88 size 9"}));
    const PrintItem* name = textAt(page, 45.5, 88);
    const PrintItem* subject = textAt(page, 55, 88);
    ASSERT_TRUE(name && subject);
    EXPECT_EQ(name->text + subject->text, "長谷川　現代の");
    EXPECT_LE(rightEdge(*name), 55);     // the new subject's rule
    EXPECT_LE(rightEdge(*subject), 65);  // the block's edge
    const PrintItem& frame = page.items.at(0);
    EXPECT_EQ(std::vector<double>({frame.x1, frame.y1, frame.x2, frame.y2, double(frame.width)}),
              std::vector<double>({10, 25, 200, 277, 5}));

    const QString out = pdfText(doc);
    for (const char* shown : {"時間割変更通知", "研修のため", "長谷川", "先生", "佐藤", "現国",
                              "->", "現代の", "2007/06/01 発表 :", "2007/06/04 より実施"})
        EXPECT_TRUE(out.contains(shown)) << shown;
    EXPECT_EQ(out.count("\f"), 2);
}

TEST_F(ChangeNoticeTest, TeachersGetPagesOfTheirOwnAndTheClassNoticeAPagePerClass) {
    // 鈴木 takes lessons in five classes; 高橋 one more in 高等部 1年 1組.
    const char* classes[][2] = {
        {"001", "1"}, {"001", "2"}, {"001", "3"}, {"002", "1"}, {"002", "2"}};
    for (const auto& [dept, klass] : classes)
        changeTo("2007/06/04", dept, 1, klass, 1, "002", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/06/05", "002", 1, "1", 2, "003", "数学Ⅰ", "数Ⅰ");
    notice("全て")->click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    const auto& pages = printed[0].pages;
    // Teacher notice: 鈴木's four blocks, then one; 高橋 on a page of their own, although the
    // second has room. Then the class notice, a page per class.
    ASSERT_EQ(pages.size(), 3u + 5u);
    QStringList addressees, classLabels;
    for (const PrintedPage& p : pages) {
        addressees << textAt(p, 18, 20)->text.trimmed();
        classLabels << placed(textAt(p, 70, 20)).section(" @", 0, 0);
    }
    EXPECT_EQ(addressees, QStringList({"鈴木　美咲", "鈴木　美咲", "高橋　誠", "鈴木　美咲",
                                       "鈴木　美咲", "鈴木　美咲", "鈴木　美咲", "鈴木　美咲"}));
    EXPECT_EQ(classLabels, QStringList({"(not printed)", "(not printed)", "(not printed)",
                                        "[ 中学部 1 年 － 1 組 ]", "[ 中学部 1 年 － 2 組 ]",
                                        "[ 中学部 1 年 － 3 組 ]", "[ 高等部 1 年 － 1 組 ]",
                                        "[ 高等部 1 年 － 2 組 ]"}));
    EXPECT_TRUE(textAt(pages[0], 21 + 135 + 24.5, 43));  // a line in block 4
    EXPECT_TRUE(textAt(pages[1], 21 + 24.5, 43));        // the fifth class, block 1
    EXPECT_FALSE(textAt(pages[1], 21 + 45 + 24.5, 43));  // and nothing beside it
    // 高等部 1年 1組 has both teachers' lines on its one page.
    EXPECT_EQ(textAt(pages[6], 45.5, 43)->text + textAt(pages[6], 45.5, 88)->text, "鈴木高橋　誠");
}

TEST_F(ChangeNoticeTest, LinesPastTheirDaysRowsAreLeftOutAndSaidSoNeverPrintedIntoTheNextDay) {
    changeTo("2007/06/09", "002", 1, "1", 4, "002", "数学Ⅰ", "数Ⅰ");  // Saturday, last row
    changeTo("2007/06/09", "002", 1, "1", 5, "002", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/06/04", "002", 1, "1", 9, "002", "数学Ⅰ", "数Ⅰ");
    auto d = notice("教科");
    d->pick("C教員", "鈴木　美咲");
    d->set("出力日", " ");
    d->click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    const PrintedPage& page = printed[0].pages.at(0);
    EXPECT_EQ(placed(textAt(page, 45.5, 243 + 15)), "鈴木 @ 45.5,258 size 7");
    EXPECT_EQ(std::count_if(page.items.begin(), page.items.end(),
                            [](const PrintItem& i) { return i.text == "->"; }),
              1);
    EXPECT_FALSE(textAt(page, 135, 20));  // no issue date given
    EXPECT_EQ(messages.texts(), QStringList({"変更もとの授業が取出せません\n"
                                             "2007/06/04（月） 9時限 高等部 1年 1組\n"
                                             "2007/06/09（土） 4時限 高等部 1年 1組\n"
                                             "2007/06/09（土） 5時限 高等部 1年 1組",
                                             "次の変更は通知書に欄がないため、印刷していません。\n"
                                             "2007/06/04（月） 9時限 高等部 1年 1組 鈴木　美咲\n"
                                             "2007/06/09（土） 5時限 高等部 1年 1組 鈴木　美咲",
                                             "変更通知書の出力を終了しました"}));

    // Nothing left to print: no sheet and no word of one.
    messages.clear();
    d->set("照会日", "2007/06/11");
    changeTo("2007/06/17", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ");
    d->click("B印刷");
    EXPECT_EQ(printed.size(), 1u);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.last().startsWith("次の変更は通知書に欄がないため"));
}

TEST_F(ChangeNoticeTest, TwoDigitDatesStayInTheirColumnAndAnEmptyReasonPrintsNothing) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    changeTo("2007/12/10", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ");
    auto d = notice("全て");
    d->set("照会日", "2007/12/10");
    d->leave("照会日");
    d->set("変更理由", "");
    d->click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    const PrintedPage& page = printed[0].pages.at(0);
    EXPECT_FALSE(textAt(page, 35, 10));
    for (double y : {43.0, 53.0}) {  // month and day of Monday 12/10
        const PrintItem* figure = textAt(page, 10.5, y);
        ASSERT_TRUE(figure);
        EXPECT_EQ(figure->text, y == 43.0 ? "12" : "10");
        EXPECT_LE(rightEdge(*figure), 15);
    }

    // A preview closed without printing or saving is no output.
    EXPECT_EQ(messages.last(), "変更通知書の出力を終了しました");
    messages.clear();
    setSinkOutputs(false);
    d->click("B印刷");
    EXPECT_EQ(printed.size(), 2u);
    EXPECT_TRUE(messages.shown.empty()) << messages.last().toStdString();
}

}  // namespace

TEST(NoticeFileNameTest, AClassNamedWithItsCounterWordGetsNoSecondOne) {
    NoticeLine line;
    line.grade = 1;
    line.klass = "1組";
    EXPECT_EQ(noticeFileName({NoticeTarget::Class, "2007/06/04", "", ""}, line),
              "時間割変更通知_20070604_1年1組");
    line.klass = "2";
    EXPECT_EQ(noticeFileName({NoticeTarget::Class, "2007/06/04", "", ""}, line),
              "時間割変更通知_20070604_1年2組");
}
