// 時限コマ's stand-by list with the cover lessons each teacher has taken, and its order by fewest.

#include "changes/changes_fixture.h"
#include "changes/period_slot_screen.h"

namespace {

class CoverCountTest : public ChangesTest {
protected:
    // Monday 2007/06/04, period 2: 佐藤 teaches 高等部 1年1組. Free then, in kana order: 阿部
    // (005), 上田 (006), 山口 (004).
    void SetUp() override {
        ChangesTest::SetUp();
        lesson("002", 1, "1", 2, 2, "001", "01", "01", "現代の国語", "現国");
        teacherWith("005", "阿部　徹", "アベ トオル");
        teacherWith("006", "上田　亮", "ウエダ リョウ");
        assignment("004", "山口　幸子", "002", 1, "01", "01");
        assignment("004", "山口　幸子", "002", 1, "03", "01");
        assignment("005", "阿部　徹", "002", 1, "01", "01");
        assignment("006", "上田　亮", "002", 1, "01", "01");
        term("000", "2007/04/06", "2007/07/19", 1);
        term("000", "2007/07/20", "2007/08/31", 0);  // the summer holidays: no term
        term("002", "2007/06/01", "2007/06/30", 1);  // one department's only
        // 阿部: in the term before the week, on Tuesday and on Sunday of the week.
        for (const char* date : {"2007/05/10", "2007/06/05", "2007/06/10"})
            changeTo(date, "002", 2, "1", 1, "005", "数学Ⅰ", "数Ⅰ");
        // 上田: the Sunday before the week; 山口: the Monday after it.
        changeTo("2007/06/03", "002", 2, "1", 1, "006", "数学Ⅰ", "数Ⅰ");
        changeTo("2007/06/11", "002", 2, "1", 1, "004", "数学Ⅰ", "数Ⅰ");
        // A change filed under another year is not this year's duty.
        insert("時限変更", {{"変_年度", 2006},
                            {"変_日付", "2007/06/06"},
                            {"変_学部", "002"},
                            {"変_学年", 2},
                            {"変_組", "1"},
                            {"変_時限", 1},
                            {"変_教員", "006"}});
    }
    static void term(const char* dept, const char* from, const char* to, int isTerm) {
        insert("期間", {{"期_年度", 2007},
                        {"期_学部", dept},
                        {"期_開始日", from},
                        {"期_終了日", to},
                        {"期_授業F", isTerm},
                        {"期_学期F", isTerm}});
    }
    static QStringList standby(ScreenDriver& d) {
        QStringList rows;
        for (int r = 1; !d.cell("G教員", r, 0).isEmpty(); ++r)
            rows << d.cell("G教員", r, 0) + "," + d.cell("G教員", r, 5) + "," +
                        d.cell("G教員", r, 6);
        return rows;
    }
};

TEST_F(CoverCountTest, EachTeacherShowsTheCoversTakenInTheTermAndInTheWeekOfTheDate) {
    ScreenDriver d(new 時限コマ);
    d.set("C時限", "2");
    d.click("B表示");
    EXPECT_EQ(d.cell("G教員", 0, 5), "教科");
    EXPECT_EQ(d.cell("G教員", 0, 6), "代講 学期/週");
    EXPECT_EQ(standby(d),
              QStringList({"005,現国,3 / 2", "006,現国,1 / 0", "004,現国,1 / 0", "004,数Ⅰ,1 / 0"}));

    // In the holidays no term runs: the school year counts.
    d.set("照会日", "2007/08/01");
    d.leave("照会日");
    d.click("B表示");
    EXPECT_EQ(d.cell("G教員", 0, 6), "代講 年度/週");
    EXPECT_EQ(standby(d),
              QStringList({"005,現国,3 / 0", "006,現国,1 / 0", "004,現国,1 / 0", "004,数Ⅰ,1 / 0"}));
    EXPECT_TRUE(messages.shown.empty()) << messages.last().toStdString();
}

TEST_F(CoverCountTest, FewestCoversFirstKeepsTheKanaOrderOnTiesAndWhatIsPicked) {
    ScreenDriver d(new 時限コマ);
    d.set("C時限", "2");
    d.click("B表示");
    d.clickCell("G時割", 2, 4);
    d.clickCell("G教員", 3, 0);  // 山口, 現国
    d.click("代講順");
    EXPECT_EQ(standby(d),
              QStringList({"006,現国,1 / 0", "004,現国,1 / 0", "004,数Ⅰ,1 / 0", "005,現国,3 / 2"}));
    EXPECT_EQ(d.back("G教員", 2, 6), 10);  // 山口's row, where it moved
    EXPECT_EQ(d.back("G教員", 3, 0), 15);
    EXPECT_EQ(d.back("G時割", 2, 4), 10);
    EXPECT_EQ(d.text("変更教員"), "山口　幸子");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.last(), "授業は変更されました。");
    bool stored = false;
    for (const Record& r : records("時限変更"))
        stored |= r.at("変_日付") == Value("2007/06/04") && r.at("変_教員") == Value("004");
    EXPECT_TRUE(stored);
    // The list shown after the change keeps the order chosen; unticked, kana order is back.
    EXPECT_EQ(standby(d).first(), "006,現国,1 / 0");
    EXPECT_EQ(standby(d).last(), "005,現国,3 / 2");
    d.click("代講順");
    EXPECT_EQ(standby(d).first(), "005,現国,3 / 2");
}

TEST_F(CoverCountTest, AChangeLeftWithTheTeacherOfTheStandardLessonIsNoCover) {
    // 阿部 teaches 2年1組 in period 1 on Tuesdays: the change of Tuesday 06/05 keeps the class
    // with him (a self-study under his name); 上田's on Tuesday 05/15 takes his lesson over.
    lesson("002", 2, "1", 3, 1, "005", "01", "01", "数学Ⅰ", "数Ⅰ");
    changeTo("2007/05/15", "002", 2, "1", 1, "006", "自習", "自習");
    ScreenDriver d(new 時限コマ);
    d.set("C時限", "2");
    d.click("B表示");
    EXPECT_EQ(standby(d),
              QStringList({"005,現国,2 / 1", "006,現国,2 / 0", "004,現国,1 / 0", "004,数Ⅰ,1 / 0"}));
}

}  // namespace
