// 科目登録 and 教科登録: course subjects and their subjects of one year, department and grade.

#include "masters/course_subject_screen.h"
#include "masters/subject_screen.h"
#include "school_fixture.h"

namespace {

class SubjectScreensTest : public SchoolTest {
protected:
    static void choose(ScreenDriver& d, const char* dept = "高等部", const char* grade = "1年") {
        d.pick("C学部", dept);
        d.pick("C学年", grade);
        d.click("B表示");
    }
};

TEST_F(SubjectScreensTest, ACourseSubjectIsAddedThenEditedWithItsKeptValuesReset) {
    ScreenDriver d(new 科目登録);
    EXPECT_EQ(d.screen().windowTitle(), "科目の登録");
    EXPECT_EQ(d.text("年度"), "2007");
    d.set("科目番号", "01");
    choose(d);
    EXPECT_EQ(messages.texts(), QStringList({"科目が登録されていません"}));
    EXPECT_EQ(d.text("科目番号"), "01");  // the first entry's typing is kept
    EXPECT_EQ(messages.shown[0].title, "科目登録");
    EXPECT_EQ(d.cell("科目", 0, 2), "名称");
    EXPECT_EQ(d.cell("科目", 1, 0), "");

    messages.clear();
    d.set("科目番号", "01");
    d.set("科目名", "国語");
    d.set("科目略称", "国");
    d.click("選択F");
    d.set("備考", "必修");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "科目は更新(登録)されました。"}));
    EXPECT_EQ(only("科目"), (Record{{"科_年度", 2007},
                                    {"科_学部", "002"},
                                    {"科_学年", 1},
                                    {"科_コース", ""},
                                    {"科_番号", "01"},
                                    {"科_表示順", 0},
                                    {"科_名称", "国語"},
                                    {"科_略称", "国"},
                                    {"科_主要F", 0},
                                    {"科_選択F", 1},
                                    {"科_時間数", 0},
                                    {"科_備考", "必修"}}));
    EXPECT_EQ(d.cell("科目", 1, 1), "国");

    // Saved again, the row is edited, and what this screen does not keep goes back to 0.
    {
        Operation op;
        Recordset rs("科目");
        rs.setIndex("Key_科目");
        rs.seek(Seek::Equal, {2007, "002", 1, "", "01"});
        rs.edit();
        rs.set("科_表示順", 3);
        rs.set("科_主要F", 1);
        rs.set("科_時間数", 4);
        rs.update();
        op.commit();
    }
    d.click("選択F");
    d.set("科目名", "国語総合");
    answer({true});
    d.click("B確定");
    const Record r = only("科目");
    EXPECT_EQ(r.at("科_名称"), "国語総合");
    EXPECT_EQ(r.at("科_選択F"), Value(0));
    EXPECT_EQ(r.at("科_表示順"), Value(0));
    EXPECT_EQ(r.at("科_主要F"), Value(0));
    EXPECT_EQ(r.at("科_時間数"), Value(0));
}

TEST_F(SubjectScreensTest, BadInputIsRefusedWithTheFirstMessageAndNothingStored) {
    insertKamoku("002", 1, "01", "国語", "国");
    ScreenDriver d(new 科目登録);
    choose(d);
    ASSERT_EQ(d.cell("科目", 1, 2), "国語");

    // A year that is no year leaves the list as it was.
    for (const char* year : {"二〇〇七", "9999", "0"}) {
        messages.clear();
        d.set("年度", year);
        d.click("B表示");
        EXPECT_EQ(messages.texts(), QStringList({"年度に正しく入力してください"})) << year;
        EXPECT_EQ(d.cell("科目", 1, 2), "国語");
    }
    d.set("年度", "2007");
    messages.clear();
    d.set("C学年", "");
    d.click("B表示");
    EXPECT_EQ(messages.texts(), QStringList({"学年を正しく選択してください"}));

    d.pick("C学年", "1年");
    d.set("C学部", "専攻科");
    d.set("科目番号", "02");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "学部を正しく選択してください");
    d.pick("C学部", "高等部");
    d.set("科目名", "");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "名称に入力してください");
    EXPECT_EQ(d.colour("科目名"), 12);
    EXPECT_EQ(records("科目").size(), 1u);
}

TEST_F(SubjectScreensTest, TheListShowsTheSelectionPicksARowAndDeletesByTheNumberTyped) {
    insertKamoku("002", 1, "02", "数学", "数");
    insertKamoku("002", 1, "01", "国語", "国");
    insertKamoku("002", 2, "01", "古典", "古");
    insertKamoku("001", 1, "01", "国語", "国");
    ScreenDriver d(new 科目登録);
    choose(d);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(d.cell("科目", 1, 0), "01");
    EXPECT_EQ(d.cell("科目", 2, 2), "数学");
    EXPECT_EQ(d.cell("科目", 3, 0), "");

    d.clickCell("科目", 2, 3);
    EXPECT_EQ(d.text("科目番号"), "02");
    EXPECT_EQ(d.text("科目名"), "数学");
    EXPECT_EQ(d.back("科目", 2, 0), 10);
    d.clickCell("科目", 5, 0);
    EXPECT_EQ(messages.last(), "指示位置が有効範囲外です。");

    // Another grade chosen without 表示: the listed row is not one 確定 would write to, so the
    // pick is refused instead of shown and then saved as a new row of that grade.
    d.pick("C学年", "2年");
    d.clickCell("科目", 2, 0);
    EXPECT_EQ(messages.last(), "科目を取出せません、一旦終了して再処理してください");
    // Without a department the list runs on through the departments of the year and grade.
    d.set("C学部", "");
    d.pick("C学年", "1年");
    d.click("B表示");
    EXPECT_EQ(d.cell("科目", 3, 2), "数学");
    EXPECT_EQ(d.cell("科目", 4, 0), "");
    choose(d);

    d.set("科目番号", "09");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.last(), "選択した科目は登録されていません");
    EXPECT_EQ(records("科目").size(), 4u);
    EXPECT_EQ(d.back("科目", 2, 0), 15);  // relisted

    d.set("科目番号", "02");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.last(), "選択した科目は削除されました");
    EXPECT_EQ(records("科目").size(), 3u);
    EXPECT_EQ(d.cell("科目", 2, 0), "");

    // A row removed behind the screen's back cannot be shown.
    {
        Operation op;
        Recordset rs("科目");
        rs.setIndex("Key_科目");
        rs.seek(Seek::Equal, {2007, "002", 1, "", "01"});
        rs.remove();
        op.commit();
    }
    d.clickCell("科目", 1, 0);
    EXPECT_EQ(messages.last(), "科目を取出せません、一旦終了して再処理してください");
}

TEST_F(SubjectScreensTest, SubjectsAreListedPerCourseSubjectAndSavedUnderIt) {
    insertKamoku("002", 1, "03", "数学", "数");
    insertKamoku("002", 1, "01", "国語", "国");
    insertSubject("002", 1, "01", "02", 2, "言語文化", "言文");
    insertSubject("002", 1, "01", "01", 1, "現代の国語", "現国");
    ScreenDriver d(new 教科登録);
    EXPECT_EQ(d.screen().windowTitle(), "教科の登録");
    choose(d);
    EXPECT_EQ(d.entries("C科目"), QStringList({"国語", "数学"}));
    EXPECT_EQ(d.cell("教科", 1, 0), "");

    d.set("教科番号", "07");
    d.pick("C科目", "数学");
    EXPECT_EQ(messages.texts(), QStringList({"教科登録がされていません"}));
    EXPECT_EQ(d.text("教科番号"), "07");
    d.pick("C科目", "国語");
    EXPECT_EQ(d.cell("教科", 1, 2), "現代の国語");
    EXPECT_EQ(d.cell("教科", 2, 1), "言文");
    EXPECT_EQ(d.text("教科番号"), "");

    d.clickCell("教科", 2, 0);
    EXPECT_EQ(d.text("教科名"), "言語文化");
    d.set("教科略称", "言語");
    d.click("展開F");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.last(), "教科は更新(登録)されました。");
    const auto rows = records("教科");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("教_略称"), "言語");
    EXPECT_EQ(rows[0].at("教_展開F"), Value(1));
    EXPECT_EQ(rows[0].at("教_選択F"), Value(0));
    EXPECT_EQ(rows[0].at("教_表示順"), Value(0));
    EXPECT_EQ(d.text("教科名"), "");  // relisting clears the inputs

    // A new subject goes under the course subject chosen.
    d.pick("C科目", "数学");
    messages.clear();
    d.set("教科番号", "01");
    d.set("教科名", "数学Ⅰ");
    d.set("教科略称", "数Ⅰ");
    answer({true});
    d.click("B確定");
    ASSERT_EQ(records("教科").size(), 3u);
    EXPECT_EQ(records("教科")[2].at("教_科目番号"), "03");
    EXPECT_EQ(d.cell("教科", 1, 2), "数学Ⅰ");

    // Without a course subject nothing is saved.
    d.set("C科目", "");
    d.set("教科番号", "02");
    d.set("教科名", "数学A");
    d.set("教科略称", "数A");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "科目を正しく選択してください");
    EXPECT_EQ(records("教科").size(), 3u);

    d.pick("C科目", "数学");
    d.set("教科番号", "01");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.texts().mid(messages.texts().size() - 2),
              QStringList({"選択した教科は削除されました", "教科登録がされていません"}));
    EXPECT_EQ(records("教科").size(), 2u);
}

}  // namespace
