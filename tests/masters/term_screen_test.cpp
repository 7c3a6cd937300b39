// 期間登録: the dated periods of a year for one department and grade or for all of them.

#include "masters/term_screen.h"
#include "school_fixture.h"

namespace {

class TermScreenTest : public SchoolTest {
protected:
    std::unique_ptr<ScreenDriver> showing(const char* dept, const char* grade) {
        auto d = std::make_unique<ScreenDriver>(new 期間登録);
        d->pick("C学部", dept);
        d->pick("C学年", grade);
        d->click("B表示");
        return d;
    }
    static void period(ScreenDriver& d, const char* from, const char* to, const char* name) {
        d.set("開始日", from);
        d.set("終了日", to);
        d.set("登録名称", name);
    }
    static void term(const char* dept, int grade, const char* from, const char* to, int lessons,
                     const char* name) {
        insert("期間", {{"期_年度", 2007},
                        {"期_学部", dept},
                        {"期_学年", grade},
                        {"期_開始日", from},
                        {"期_終了日", to},
                        {"期_授業F", lessons},
                        {"期_名称", name}});
    }
};

TEST_F(TermScreenTest, APeriodIsStoredUnderTheShownSelectionAndAnEditKeepsItsKey) {
    auto d = showing("高等部", "1年");
    EXPECT_EQ(d->screen().windowTitle(), "期間登録");
    EXPECT_EQ(d->entries("C学部"), QStringList({"共通", "中学部", "高等部"}));
    EXPECT_EQ(d->cell("期間", 0, 4), "授業F");
    EXPECT_TRUE(messages.shown.empty());

    period(*d, "2007/4/6", "2007/7/20", "1学期");
    d->click("授業有");
    d->click("学期名");
    d->set("学期", "1");
    d->set("登録略称", "一学");
    d->set("備考", "始業式から");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "期間は更新(登録)されました。"}));
    EXPECT_EQ(d->text("開始日"), "2007/04/06");
    EXPECT_EQ(only("期間"), (Record{{"期_年度", 2007},
                                    {"期_学部", "002"},
                                    {"期_学年", 1},
                                    {"期_開始日", "2007/04/06"},
                                    {"期_終了日", "2007/07/20"},
                                    {"期_授業F", 1},
                                    {"期_学期F", 1},
                                    {"期_学期", "1"},
                                    {"期_名称", "1学期"},
                                    {"期_略称", "一学"},
                                    {"期_備考", "始業式から"}}));
    EXPECT_EQ(d->cell("期間", 1, 0), "高等部");
    EXPECT_EQ(d->cell("期間", 1, 1), "1年");
    EXPECT_EQ(d->cell("期間", 1, 4), "");

    // The same key again changes the description only; without lessons it is another period.
    d->set("登録名称", "前期");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(only("期間").at("期_名称"), "前期");
    d->click("授業有");
    d->click("学期名");
    answer({true});
    d->click("B確定");
    ASSERT_EQ(records("期間").size(), 2u);
    EXPECT_EQ(records("期間")[1].at("期_授業F"), Value(0));
    EXPECT_EQ(records("期間")[1].at("期_学期F"), Value(0));
    EXPECT_EQ(d->cell("期間", 2, 4), "無");
}

TEST_F(TermScreenTest, SavingAndDeletingNeedTheSelectionThatIsShown) {
    // Nothing shown yet: the pickers are refused as such, and no department-less period is stored.
    ScreenDriver d(new 期間登録);
    period(d, "2007/04/06", "2007/07/20", "1学期");
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"学部を正しく選択して下さい"}));
    d.pick("C学部", "共通");
    d.set("C学年", "3年");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "学年を正しく選択して下さい");
    d.pick("C学年", "共通");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "更新の学部･学科と指定の学部･学科が違います");
    d.click("B表示");
    d.pick("C学部", "中学部");
    for (const char* button : {"B確定", "削除"}) {
        messages.clear();
        d.click(button);
        EXPECT_EQ(messages.texts(), QStringList({"更新の学部･学科と指定の学部･学科が違います"}))
            << button;
    }
    EXPECT_TRUE(records("期間").empty());

    // The fields are checked in their order; the first failure speaks.
    d.pick("C学部", "共通");
    const std::vector<std::tuple<const char*, const char*, const char*, const char*>> cases = {
        {"2007/2/30", "2007/07/20", "1学期", "開始日に正しく(YYYY/MM/DD)入力してください"},
        {"2007/04/06", "七月", "1学期", "終了日に正しく(YYYY/MM/DD)入力してください"},
        {"2007/07/20", "2007/04/06", "1学期", "日付の大小関係を正しく入力してください"},
        {"2007/04/06", "2007/07/20", "", "名称に入力してください"},
    };
    for (const auto& [from, to, name, message] : cases) {
        messages.clear();
        period(d, from, to, name);
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({message})) << from << " " << to;
    }
    period(d, "2007/04/06", "2007/07/20", "1学期");
    d.click("学期名");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "学期に入力してください");
    EXPECT_TRUE(records("期間").empty());

    // One day is a period.
    d.click("学期名");
    period(d, "2007/10/01", "2007/10/01", "開校記念日");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(only("期間").at("期_学部"), "000");
}

TEST_F(TermScreenTest, TheListShowsTheSelectionWithTheCommonPeriodsAndPicksAnyOfThem) {
    term("000", 0, "2007/04/06", "2007/07/20", 1, "1学期");
    term("002", 1, "2007/06/25", "2007/06/29", 0, "期末考査");
    term("002", 2, "2007/06/18", "2007/06/22", 0, "2年考査");
    term("001", 0, "2007/05/01", "2007/05/02", 0, "中学行事");
    insert("期間", {{"期_年度", 2008}, {"期_学部", "000"}, {"期_開始日", "2008/04/07"}});
    auto d = showing("高等部", "1年");
    EXPECT_EQ(d->cell("期間", 1, 0), "共通");
    EXPECT_EQ(d->cell("期間", 1, 1), "共通");
    EXPECT_EQ(d->cell("期間", 2, 5), "期末考査");
    EXPECT_EQ(d->cell("期間", 2, 4), "無");
    EXPECT_EQ(d->cell("期間", 3, 0), "");

    // A common period listed here is shown as it is stored.
    d->clickCell("期間", 1, 2);
    EXPECT_EQ(d->text("登録名称"), "1学期");
    EXPECT_TRUE(d->checked("授業有"));
    EXPECT_EQ(d->back("期間", 1, 6), 10);
    d->clickCell("期間", 2, 0);
    EXPECT_EQ(d->text("開始日"), "2007/06/25");
    EXPECT_FALSE(d->checked("授業有"));

    answer({true});
    d->click("削除");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "選択した期間は削除されました"}));
    EXPECT_EQ(records("期間").size(), 4u);
    EXPECT_EQ(d->cell("期間", 2, 0), "");
    answer({true});
    d->click("削除");
    EXPECT_EQ(messages.last(), "選択した期間は登録されていません");

    // The common list holds the common periods only.
    d->pick("C学部", "共通");
    d->pick("C学年", "共通");
    d->click("B表示");
    EXPECT_EQ(d->cell("期間", 1, 5), "1学期");
    EXPECT_EQ(d->cell("期間", 2, 5), "");
}

TEST_F(TermScreenTest, AtMostAHundredPeriodsAreListed) {
    {
        Operation op;
        Recordset rs("期間");
        for (int i = 0; i < 101; ++i) {
            rs.addNew();
            rs.set("期_年度", 2007);
            rs.set("期_学部", "000");
            rs.set("期_開始日", QDate(2007, 4, 1).addDays(i).toString("yyyy/MM/dd"));
            rs.update();
        }
        op.commit();
    }
    auto d = showing("共通", "共通");
    EXPECT_EQ(d->grid("期間").rows(), 101);
    EXPECT_EQ(d->cell("期間", 100, 2), "2007/07/09");
}

}  // namespace
