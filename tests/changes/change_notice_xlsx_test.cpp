// The change notice saved as a workbook from 変更通知: a worksheet per page of the print.

#include "changes/change_notice_screen.h"
#include "changes/changes_fixture.h"
#include "support/xlsx_reader.h"

namespace {

using ChangeNoticeXlsxTest = ChangesTest;

// The four title lines, an empty row, then the table: three heading rows, then the days.
constexpr int kTop = 5, kMonday = kTop + 3;

TEST_F(ChangeNoticeXlsxTest, EveryPageOfTheNoticeIsAWorksheetLaidOutLikeIt) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 3, 3, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 1, "2", 1, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/06/04", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/06/05", "002", 1, "2", 3, "002", "言語文化", "言文");
    changeTo("2007/06/10", "002", 1, "2", 1, "002", "数学Ⅰ", "数Ⅰ");  // a Sunday: no row
    ScreenDriver d(new 変更通知);
    d.set("照会日", "2007/06/06");
    d.leave("照会日");
    d.set("出力日", "2007/06/01");
    d.set("変更理由", "研修のため");
    // The dialog waits until the week is stored and the operation has ended.
    bool heldWhileAsking = true;
    setSaveFileChooser([&](const QString& proposed) {
        heldWhileAsking = db().inOperation();
        proposedSaves << proposed;
        savedTo << QDir(dir()).filePath("notice.xlsx");
        return savedTo.back();
    });
    d.click(kXlsxButton);
    EXPECT_FALSE(heldWhileAsking);
    EXPECT_EQ(records("WK時割変").size(), 3u);
    ASSERT_EQ(savedTo.size(), 1);
    EXPECT_TRUE(proposedSaves[0].endsWith("/時間割変更通知_20070604_全体.xlsx"));
    EXPECT_EQ(
        messages.texts(),
        QStringList(
            {QStringLiteral("「%1」に保存しました。").arg(QDir::toNativeSeparators(savedTo[0])),
             "次の変更は通知書に欄がないため、出力していません。\n"
             "2007/06/10（日） 1時限 高等部 1年 2組 鈴木　美咲"}));
    EXPECT_TRUE(printed.empty());

    // The teacher notice: 鈴木's page, a block per class; then the class notice, a page a class.
    const XlsxFile teacher(savedTo[0]);
    EXPECT_EQ(teacher.sheetNames, QStringList({"鈴木　美咲", "高等部 1年1組", "高等部 1年2組"}));
    EXPECT_EQ(QStringList(
                  {teacher.text(0, 0), teacher.text(1, 0), teacher.text(2, 0), teacher.text(3, 0)}),
              QStringList({"時間割変更通知", "( 研修のため )", "[ 鈴木　美咲 ] 先生",
                           "2007/06/01 発表 : 2007/06/04 より実施"}));
    EXPECT_EQ(teacher.row(kTop).mid(0, 8),
              QStringList({"ｸﾗｽ", "", "( 1 年 － 1 組 )", "", "", "", "", "( 1 年 － 2 組 )"}));
    EXPECT_EQ(teacher.text(kTop, 12), "(   －   )");  // blocks 3 and 4 stand empty
    EXPECT_EQ(teacher.text(kTop, 17), "(   －   )");
    EXPECT_TRUE(teacher.merges.contains("A6:B8"));
    EXPECT_TRUE(teacher.merges.contains("C6:G6"));
    EXPECT_EQ(teacher.row(kTop + 1).mid(2, 4), QStringList({"現 行", "", "", "変 更"}));
    EXPECT_EQ(teacher.row(kTop + 2).mid(2, 5), QStringList({"担当", "教科", "", "担当", "教科"}));
    // Monday's date stacked down its first rows, the change in the row of its period.
    EXPECT_EQ(teacher.row(kMonday), QStringList({"6", "1", "佐藤", "現国", "->", "鈴木", "数学Ⅰ"}));
    EXPECT_EQ(QStringList({teacher.text(kMonday + 1, 0), teacher.text(kMonday + 2, 0),
                           teacher.text(kMonday + 3, 0)}),
              QStringList({"／", "4", "月"}));
    EXPECT_EQ(teacher.row(kMonday + 8 + 2).mid(7),
              QStringList({"佐藤", "数Ⅰ", "->", "鈴木", "言語文化"}));
    // Saturday has four rows, and the remark strip ends the page.
    EXPECT_EQ(teacher.text(kMonday + 40 + 3, 1), "4");
    EXPECT_EQ(teacher.text(kMonday + 44, 0), "備考");
    EXPECT_EQ(teacher.rowCount, kMonday + 45);

    const XlsxFile klass(savedTo[0], 2);
    EXPECT_EQ(klass.text(2, 0), "[ 鈴木　美咲 ] 先生　[ 1 年 － 2 組 ]");
    EXPECT_EQ(klass.text(kTop, 2), "( 1 年 － 2 組 )");
    EXPECT_EQ(klass.row(kMonday + 8 + 2).mid(2),
              QStringList({"佐藤", "数Ⅰ", "->", "鈴木", "言語文化"}));
}

}  // namespace
