// The inquiry lists saved as workbooks, read back: what is listed, under the list's title.

#include "lists/assignment_list_screen.h"
#include "lists/homeroom_inquiry_screen.h"
#include "lists/teacher_list_screen.h"
#include "masters/school_fixture.h"
#include "support/xlsx_reader.h"

namespace {

class ListsXlsxTest : public SchoolTest {
protected:
    // Saves the list of a screen and reads the workbook back.
    XlsxFile save(ScreenDriver& d) {
        d.click(kXlsxButton);
        EXPECT_FALSE(savedTo.isEmpty());
        return XlsxFile(savedTo.isEmpty() ? QString() : savedTo.back());
    }
};

// The title, an empty row, the heading row, then the rows listed.
constexpr int kHeading = 2;

TEST_F(ListsXlsxTest, TheTeacherListAndTheHomeroomInquiryAreSavedAsListed) {
    teacher("010", "中村　恵子", "ナカムラ　ケイコ", "中村");
    insert("教員", {{"員_番号", "002"},
                    {"員_氏名", "井上　真理"},
                    {"員_氏名カナ", "イノウエ　マリ"},
                    {"員_担任F", 1},
                    {"員_学部", "001"},
                    {"員_学年", 1},
                    {"員_組", "2"}});
    {
        ScreenDriver d(new 教員一覧);
        const XlsxFile x = save(d);
        EXPECT_TRUE(proposedSaves.back().endsWith("/教員一覧.xlsx"));
        EXPECT_EQ(x.sheetName, "教員一覧");
        EXPECT_EQ(x.row(kHeading),
                  QStringList({"番号", "氏名", "ｶﾅ氏名", "表示名", "担任", "備考"}));
        EXPECT_EQ(x.row(kHeading + 1),
                  QStringList({"002", "井上　真理", "イノウエ　マリ", "", "中学部 1年2組"}));
        EXPECT_EQ(x.row(kHeading + 2),
                  QStringList({"010", "中村　恵子", "ナカムラ　ケイコ", "中村"}));
        // Only the rows listed, not the empty ones the screen lays out; the heading on every page.
        EXPECT_EQ(x.rowCount, kHeading + 3);
        EXPECT_EQ(x.repeatedRows, "$3:$3");
    }
    ScreenDriver d(new 担任照会);
    const XlsxFile x = save(d);
    EXPECT_EQ(x.sheetName, "担任照会");
    EXPECT_EQ(x.row(kHeading), QStringList({"学部", "学年", "組", "担任教員名"}));
    EXPECT_EQ(x.row(kHeading + 1), QStringList({"中学部", "1年", "2組", "井上　真理"}));
    EXPECT_EQ(x.rowCount, kHeading + 2);
}

TEST_F(ListsXlsxTest, TheAssignmentListSavesWhatWasShownUnderItsYearAndDepartment) {
    insertKamoku("002", 1, "01", "国語", "国");
    insertSubject("002", 1, "01", "01", 1, "現代の国語", "現国");
    insertSubject("002", 1, "01", "02", 2, "言語文化", "言文");
    for (const char* subject : {"01", "02"})
        insert("担当", {{"担_年度", 2007},
                        {"担_教員番号", "001"},
                        {"担_学部", "002"},
                        {"担_学年", 1},
                        {"担_科目番号", "01"},
                        {"担_教科番号", subject},
                        {"担_氏名", "佐藤　健一"}});
    ScreenDriver d(new 担当一覧);
    {
        // Nothing shown yet: the headings alone.
        const XlsxFile x = save(d);
        EXPECT_EQ(x.row(kHeading), QStringList({"教員名", "科目", "教科", "学部", "学年", "備考"}));
        EXPECT_EQ(x.rowCount, kHeading + 1);
    }
    d.click("B表示");
    d.set("年度", "2008");  // typed, not shown
    const XlsxFile x = save(d);
    EXPECT_TRUE(proposedSaves.back().endsWith("/担当教科一覧_2007年度_全学部_教員別.xlsx"));
    EXPECT_EQ(x.sheetName, "担当教科一覧");
    EXPECT_EQ(x.text(1, 0), "2007 年度　全学部　教員別");
    constexpr int heading = kHeading + 1;
    EXPECT_EQ(x.row(heading + 1),
              QStringList({"佐藤　健一", "国語", "現代の国語", "高等部", "1年"}));
    EXPECT_EQ(x.row(heading + 2), QStringList({"", "", "言語文化", "高等部", "1年"}));
}

}  // namespace
