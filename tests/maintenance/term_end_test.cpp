// 期末処理: the year roll-over, the carry-over into the new year and the deletion of old years.

#include <QCheckBox>

#include "maintenance/term_end_screen.h"
#include "maintenance_fixture.h"

namespace {

class TermEndTest : public MaintenanceTest {
protected:
    // One record of every kind in each of the years, and a retention entry when given.
    static void yearsOfData(std::initializer_list<int> years) {
        for (int y : years) {
            const QString d = QString::number(y);
            insert("科目",
                   {{"科_年度", y}, {"科_学部", "001"}, {"科_番号", "01"}, {"科_名称", "国語"}});
            insert("教科", {{"教_年度", y},
                            {"教_科目番号", "01"},
                            {"教_教科番号", "01"},
                            {"教_名称", "現代文"}});
            insert("担当", {{"担_年度", y}, {"担_教員番号", "T1"}, {"担_科目番号", "01"}});
            insert("組時間割", {{"組_年度", y},
                                {"組_組", "1"},
                                {"組_曜日", 2},
                                {"組_時限", 1},
                                {"組_教員", "T1"}});
            insert("期間", {{"期_年度", y},
                            {"期_開始日", d + "/04/06"},
                            {"期_終了日", d + "/07/20"},
                            {"期_名称", "1学期"}});
            insert("予定", {{"予_年度", y},
                            {"予_日付", QString::number(y + 1) + "/02/29"},
                            {"予_終了日", QString::number(y + 1) + "/03/02"},
                            {"予_名称", "修了式"}});
            insert("時限変更", {{"変_年度", y}, {"変_日付", d + "/05/01"}, {"変_時限", 1}});
        }
    }
    static std::vector<int> yearsIn(const QString& table, const char* field) {
        std::vector<int> out;
        for (const Record& r : records(table)) out.push_back(int(r.at(field).toInt()));
        std::sort(out.begin(), out.end());
        return out;
    }
    static void tickAll(ScreenDriver& d) {
        for (QCheckBox* box : d.screen().findChildren<QCheckBox*>()) box->setChecked(true);
    }
};

TEST_F(TermEndTest, ProposesTheYearAfterTheBusinessYearOrAfterLastCalendarYear) {
    {
        ScreenDriver d(new 期末処理);
        EXPECT_EQ(d.text("旧年度"), "2007");
        EXPECT_EQ(d.text("新年度"), "2008");
        EXPECT_EQ(d.text("開始日"), "2008/04/01");
        EXPECT_EQ(d.text("終了日"), "2009/03/31");
        EXPECT_EQ(d.text("移期間"), "  期間");
        EXPECT_EQ(d.text("削変更"), "　時間割変更");
        EXPECT_FALSE(d.checked("移科目"));
    }
    businessYear(2006);
    ScreenDriver d(new 期末処理);
    EXPECT_EQ(d.text("旧年度"), "2006");
    EXPECT_EQ(d.text("新年度"), "2007");
    EXPECT_EQ(d.text("開始日"), "2007/04/01");
    EXPECT_EQ(d.text("終了日"), "2008/03/31");
}

TEST_F(TermEndTest, RollsTheYearCarriesTheOldYearOverAndDeletesWhatIsPastTheRetention) {
    businessYear(2007);
    insertMaster("010", "001", "3", "3");
    yearsOfData({2002, 2003, 2004, 2007});
    ScreenDriver d(new 期末処理);
    tickAll(d);
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"削除したデータは再現できません、よろしいでしょうか？",
                                             "期末処理は終了しました"}));
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::None);
    const auto years = records("業務年度");
    EXPECT_EQ(years[0], (Record{{"業_区分", 1},
                                {"業_年度", 2008},
                                {"業_開始日", "2008/04/01"},
                                {"業_終了日", "2009/03/31"}}));
    EXPECT_EQ(years[1], (Record{{"業_区分", 2},
                                {"業_年度", 2009},
                                {"業_開始日", "2009/04/01"},
                                {"業_終了日", "2010/03/31"}}));
    // Retention 3 from 2007 keeps 2004 to 2007; 2007 is carried into 2008.
    for (const auto& [table, field] :
         std::vector<std::pair<const char*, const char*>>{{"科目", "科_年度"},
                                                          {"教科", "教_年度"},
                                                          {"担当", "担_年度"},
                                                          {"組時間割", "組_年度"},
                                                          {"期間", "期_年度"},
                                                          {"予定", "予_年度"}})
        EXPECT_EQ(yearsIn(table, field), (std::vector<int>{2004, 2007, 2008})) << table;
    EXPECT_EQ(yearsIn("時限変更", "変_年度"), (std::vector<int>{2004, 2007}));
    // Terms and events keep their calendar dates a year later; 29 February has no next year.
    for (const Record& r : records("期間"))
        if (r.at("期_年度") == Value(2008)) {
            EXPECT_EQ(r.at("期_開始日"), "2008/04/06");
            EXPECT_EQ(r.at("期_終了日"), "2008/07/20");
            EXPECT_EQ(r.at("期_名称"), "1学期");
        }
    for (const Record& r : records("予定"))
        if (r.at("予_年度") == Value(2008)) {
            EXPECT_EQ(r.at("予_日付"), "2009/02/28");
            EXPECT_EQ(r.at("予_終了日"), "2009/03/02");
        }

    // Again: the new year's records are updated, not doubled.
    answer({true});
    d.click("B確定");
    EXPECT_EQ(yearsIn("組時間割", "組_年度"), (std::vector<int>{2004, 2007, 2008}));
    EXPECT_EQ(school().businessYear, 2007);  // the running program keeps its year
}

TEST_F(TermEndTest, WithoutARetentionEntryThreeYearsAreKeptAndNoTickedBoxStillRollsTheYear) {
    businessYear(2007);
    yearsOfData({2003, 2004});
    ScreenDriver d(new 期末処理);
    d.control<QCheckBox>("削時間割")->setChecked(true);
    answer({true});
    d.click("B確定");
    EXPECT_EQ(yearsIn("組時間割", "組_年度"), (std::vector<int>{2004}));
    EXPECT_EQ(yearsIn("科目", "科_年度"), (std::vector<int>{2003, 2004}));

    d.control<QCheckBox>("削時間割")->setChecked(false);
    d.set("旧年度", "2008");
    d.set("新年度", "2009");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(records("業務年度")[0].at("業_年度"), Value(2009));
    EXPECT_EQ(messages.last(), "期末処理は終了しました");
}

TEST_F(TermEndTest, YearsOutOfOrderAndUnusableRetentionsAreRefusedBeforeAnyChange) {
    businessYear(2007);
    yearsOfData({2001});
    ScreenDriver d(new 期末処理);
    tickAll(d);
    const std::vector<std::tuple<QString, QString, QString>> years = {
        {"2007", "2007", "大小関係を正しく入力してください"},
        {"2007", "2006", "大小関係を正しく入力してください"},
        {"2007", "2009", "新年度には旧年度の翌年を入力してください"},
        {"", "2008", "年度に入力してください"},
        {"二〇〇七", "2008", "年度に正しく入力してください"},
        {"2007", "9999", "新年度に正しく入力してください"},
    };
    for (const auto& [old, next, message] : years) {
        messages.clear();
        d.set("旧年度", old);
        d.set("新年度", next);
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({message}))
            << old.toStdString() << next.toStdString();
    }
    d.set("旧年度", "2007");
    d.set("新年度", "2008");
    d.set("開始日", "4月1日");
    messages.clear();
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"開始日に正しく(YYYY/MM/DD)入力してください"}));
    d.set("開始日", "2008/4/1");

    for (const char* retention : {"0", "-1", "abc"}) {
        sql("DELETE FROM マスタ");
        insertMaster("010", "001", retention);
        messages.clear();
        d.click("B確定");
        ASSERT_EQ(messages.shown.size(), 1u) << retention;
        EXPECT_TRUE(messages.last().startsWith(
            QStringLiteral("保存期間「%1」が正しくありません。").arg(retention)));
    }
    EXPECT_EQ(records("業務年度")[0].at("業_年度"), Value(2007));
    EXPECT_EQ(count("組時間割"), 1);
    EXPECT_EQ(d.text("開始日"), "2008/04/01");
}

TEST_F(TermEndTest, AnEngineErrorPartWayLeavesEverythingAsItWas) {
    businessYear(2007);
    yearsOfData({2001, 2007});
    // Events are carried over last: by then the year has rolled and the other kinds are copied.
    refuseWrites("予定", "INSERT");
    const auto before = std::make_tuple(records("業務年度"), records("科目"), records("組時間割"),
                                        records("時限変更"));
    ScreenDriver d(new 期末処理);
    tickAll(d);
    answer({true});
    d.click("B確定");
    EXPECT_TRUE(rolledBack());
    EXPECT_TRUE(messages.last().contains("書込み不可"));
    EXPECT_FALSE(messages.texts().contains("期末処理は終了しました"));
    EXPECT_EQ(std::make_tuple(records("業務年度"), records("科目"), records("組時間割"),
                              records("時限変更")),
              before);
}

}  // namespace
