// The inquiry lists: 教員一覧, 担任照会 and 担当一覧.

#include "lists/assignment_list_screen.h"
#include "lists/homeroom_inquiry_screen.h"
#include "lists/teacher_list_screen.h"
#include "masters/school_fixture.h"

namespace {

class ListsTest : public SchoolTest {
protected:
    static void homeroomTeacher(const char* no, const char* name, const char* kana,
                                const char* dept, int grade, const char* klass) {
        insert("教員", {{"員_番号", no},
                        {"員_氏名", name},
                        {"員_氏名カナ", kana},
                        {"員_担任F", 1},
                        {"員_学部", dept},
                        {"員_学年", grade},
                        {"員_組", klass}});
    }
    static void assignment(const char* teacher, const char* name, const char* dept, int grade,
                           const char* kamoku, const char* subject, const char* remark = "",
                           int year = 2007) {
        insert("担当", {{"担_年度", year},
                        {"担_教員番号", teacher},
                        {"担_学部", dept},
                        {"担_学年", grade},
                        {"担_科目番号", kamoku},
                        {"担_教科番号", subject},
                        {"担_氏名", name},
                        {"担_備考", remark}});
    }
    static QStringList row(ScreenDriver& d, const char* grid, int r) {
        QStringList out;
        for (int c = 0; c < d.grid(grid).cols(); ++c) out << d.cell(grid, r, c);
        return out;
    }
};

TEST_F(ListsTest, TheTeacherListIsInKanaOrderWithEachHomeroomClass) {
    {
        ScreenDriver empty(new 教員一覧);
        EXPECT_EQ(empty.grid("G担任").rows(), 300);
        EXPECT_EQ(row(empty, "G担任", 0),
                  QStringList({"番号", "氏名", "ｶﾅ氏名", "表示名", "担任", "備考"}));
        EXPECT_EQ(empty.back("G担任", 0, 5), 14);
        EXPECT_EQ(empty.grid("G担任").cellAlignment(0, 2), 4);
        EXPECT_EQ(empty.cell("G担任", 1, 0), "");
    }
    teacher("010", "中村　恵子", "ナカムラ　ケイコ", "中村");
    homeroomTeacher("002", "井上　真理", "イノウエ　マリ", "002", 2, "1");
    ScreenDriver d(new 教員一覧);
    EXPECT_EQ(row(d, "G担任", 1),
              QStringList({"002", "井上　真理", "イノウエ　マリ", "", "高等部 2年1組", ""}));
    EXPECT_EQ(row(d, "G担任", 2),
              QStringList({"010", "中村　恵子", "ナカムラ　ケイコ", "中村", "", ""}));
    EXPECT_EQ(d.cell("G担任", 3, 0), "");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ListsTest, TheHomeroomInquiryListsFlaggedTeachersClassByClass) {
    {
        ScreenDriver empty(new 担任照会);
        EXPECT_EQ(messages.texts(), QStringList({"G担任登録がされていません"}));
        EXPECT_EQ(messages.shown[0].title, "担任照会");
        EXPECT_EQ(empty.cell("G担任", 0, 3), "担任教員名");
    }
    messages.clear();
    teacher("009", "小林　翔太", "コバヤシ　ショウタ");
    {
        ScreenDriver none(new 担任照会);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(none.cell("G担任", 1, 0), "");
    }
    homeroomTeacher("005", "伊藤　大輔", "イトウ", "002", 1, "2");
    homeroomTeacher("004", "田中　由美", "タナカ", "001", 1, "1");
    homeroomTeacher("003", "高橋　誠", "タカハシ", "002", 1, "2");
    ScreenDriver d(new 担任照会);
    EXPECT_EQ(row(d, "G担任", 1), QStringList({"中学部", "1年", "1組", "田中　由美"}));
    EXPECT_EQ(row(d, "G担任", 2), QStringList({"高等部", "1年", "2組", "伊藤　大輔"}));
    EXPECT_EQ(row(d, "G担任", 3), QStringList({"高等部", "1年", "2組", "高橋　誠"}));
    EXPECT_EQ(d.cell("G担任", 4, 3), "");
}

TEST_F(ListsTest, TheAssignmentListGroupsByTeacherOrByCourseSubject) {
    insertKamoku("002", 1, "01", "国語", "国");
    insertSubject("002", 1, "01", "01", 1, "現代の国語", "現国");
    insertSubject("002", 1, "01", "02", 2, "言語文化", "言文");
    insertKamoku("001", 1, "01", "国語", "国");
    insertSubject("001", 1, "01", "01", 1, "国語", "国");
    assignment("001", "佐藤　健一", "002", 1, "01", "01", "少人数");
    assignment("001", "佐藤　健一", "002", 1, "01", "02");
    assignment("001", "佐藤　健一", "001", 1, "01", "01");
    assignment("002", "鈴木　美咲", "002", 1, "01", "01");
    assignment("003", "佐藤　健一", "002", 1, "01", "01");  // another teacher of the same name
    assignment("002", "鈴木　美咲", "002", 1, "01", "01", "", 2008);
    ScreenDriver d(new 担当一覧);
    EXPECT_EQ(d.screen().windowTitle(), "担当教科一覧");
    EXPECT_EQ(d.entries("C学部"), QStringList({"中学部", "高等部", "全学部"}));
    d.click("B表示");
    EXPECT_EQ(row(d, "G担当", 0), QStringList({"教員名", "科目", "教科", "学部", "学年", "備考"}));
    EXPECT_EQ(row(d, "G担当", 1), QStringList({"佐藤　健一", "国語", "国語", "中学部", "1年", ""}));
    EXPECT_EQ(row(d, "G担当", 2), QStringList({"", "", "現代の国語", "高等部", "1年", "少人数"}));
    EXPECT_EQ(row(d, "G担当", 3), QStringList({"", "", "言語文化", "高等部", "1年", ""}));
    EXPECT_EQ(row(d, "G担当", 4),
              QStringList({"鈴木　美咲", "国語", "現代の国語", "高等部", "1年", ""}));
    EXPECT_EQ(d.cell("G担当", 5, 0), "佐藤　健一");
    EXPECT_EQ(d.cell("G担当", 6, 0), "");

    d.pick("C学部", "高等部");
    d.click("科目");
    d.click("B表示");
    EXPECT_EQ(row(d, "G担当", 0), QStringList({"学部", "学年", "科目", "教科", "教員名", "備考"}));
    EXPECT_EQ(d.grid("G担当").colWidth(4), 1500);  // a teacher's name keeps its width
    EXPECT_EQ(row(d, "G担当", 1),
              QStringList({"高等部", "1年", "国語", "現代の国語", "佐藤　健一", "少人数"}));
    EXPECT_EQ(row(d, "G担当", 2), QStringList({"", "", "", "", "鈴木　美咲", ""}));
    EXPECT_EQ(row(d, "G担当", 3), QStringList({"", "", "", "", "佐藤　健一", ""}));
    EXPECT_EQ(row(d, "G担当", 4), QStringList({"", "", "", "言語文化", "佐藤　健一", ""}));
    EXPECT_EQ(d.cell("G担当", 5, 0), "");

    d.set("年度", "2009");
    d.click("B表示");
    EXPECT_EQ(d.cell("G担当", 0, 0), "学部");
    EXPECT_EQ(d.cell("G担当", 1, 0), "");
    d.set("年度", "year");
    d.click("B表示");
    EXPECT_EQ(messages.texts(), QStringList({"年度に正しく入力してください"}));
}

// A line whose course subject or subject is gone still lists, with the number in place of the
// name; a subject is only ever found under its own course subject.
TEST_F(ListsTest, TheAssignmentListShowsTheNumberOfWhatIsNoLongerRegistered) {
    insertKamoku("002", 1, "01", "国語", "国");
    insertSubject("002", 1, "01", "01", 1, "現代の国語", "現国");
    assignment("001", "佐藤　健一", "002", 1, "01", "09");
    assignment("001", "佐藤　健一", "002", 1, "05", "01");
    assignment("001", "佐藤　健一", "001", 1, "01", "01");
    ScreenDriver d(new 担当一覧);
    d.pick("C学部", "高等部");
    d.click("B表示");
    EXPECT_EQ(row(d, "G担当", 1), QStringList({"佐藤　健一", "国語", "09", "高等部", "1年", ""}));
    EXPECT_EQ(row(d, "G担当", 2), QStringList({"", "05", "01", "高等部", "1年", ""}));
    EXPECT_EQ(d.cell("G担当", 3, 1), "");
}

}  // namespace
