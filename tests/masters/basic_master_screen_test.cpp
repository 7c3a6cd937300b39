// 基本登録: what the basic master screen adds to the shared registration steps.

#include "app/main_menu.h"
#include "masters/basic_master_screen.h"
#include "masters_fixture.h"

namespace {

class BasicMasterTest : public MastersTest {};

TEST_F(BasicMasterTest, OpensOnTheSchoolNameWithoutTheDepartmentPicker) {
    entry("001", "001", "桜丘学園", "桜丘");
    entry("002", "001", "中学部", "中");
    ScreenDriver d(new 基本登録);
    EXPECT_TRUE(d.checked("学校名"));
    EXPECT_EQ(d.text("マスターNO"), "001");
    EXPECT_FALSE(d.visible("L学部"));
    EXPECT_FALSE(d.visible("C学部"));
    EXPECT_EQ(d.grid("マスタ").rows(), 50);
    EXPECT_EQ(d.cell("マスタ", 0, 1), "NO");
    EXPECT_EQ(d.back("マスタ", 0, 3), 14);
    EXPECT_EQ(d.cell("マスタ", 1, 3), "桜丘学園");
    EXPECT_EQ(d.cell("マスタ", 2, 0), "");
}

TEST_F(BasicMasterTest, EachKindListsItsOwnEntriesInTextOrderOfTheirNumbers) {
    entry("003", "2", "2", "2年");
    entry("003", "10", "10", "専1");
    entry("003", "001", "1", "1年");
    entry("010", "001", "5", "5");
    ScreenDriver d(new 基本登録);
    d.set("登録名称", "typed");
    d.click("学年");
    EXPECT_EQ(d.text("マスターNO"), "003");
    EXPECT_EQ(d.text("登録名称"), "");
    EXPECT_EQ(d.cell("マスタ", 1, 1), "001");
    EXPECT_EQ(d.cell("マスタ", 2, 1), "10");
    EXPECT_EQ(d.cell("マスタ", 3, 1), "2");
    EXPECT_EQ(d.cell("マスタ", 4, 1), "");

    // "1" is the entry "001": saving it replaces that entry instead of adding a twin.
    answer({true});
    save(d, "1", "1", "一年");
    EXPECT_EQ(kind("003").size(), 3u);
    EXPECT_EQ(d.cell("マスタ", 1, 1), "001");
    EXPECT_EQ(d.cell("マスタ", 1, 2), "一年");

    d.click("保存期間");
    EXPECT_EQ(d.cell("マスタ", 1, 0), "010");
    EXPECT_EQ(d.cell("マスタ", 2, 0), "");
}

TEST_F(BasicMasterTest, AGradeIsTheNumberItsNameStartsWithAndANameWithoutOneIsRefused) {
    ScreenDriver d(new 基本登録);
    d.click("学年");
    for (const char* name : {"一年", "年1", "11年", "0"}) {
        messages.clear();
        save(d, "9", name, "x");
        EXPECT_EQ(
            messages.texts(),
            QStringList({"学年の名称には学年の数字（1～10、例「1」「1年」）を入力してください。"
                         "画面に表示されるのは略称です。"}))
            << name;
    }
    EXPECT_TRUE(kind("003").empty());
    for (const auto& [no, name] :
         std::vector<std::pair<QString, QString>>{{"1", "1年"}, {"2", "２"}, {"3", "１０年"}}) {
        answer({true});
        save(d, no, name, name + "生");
    }
    ASSERT_EQ(school().gradeCount, 3);
    EXPECT_EQ(school().grades[1].name, "1");
    EXPECT_EQ(school().grades[2].name, "2");
    EXPECT_EQ(school().grades[3].name, "10");
    EXPECT_EQ(school().grades[3].shortName, "１０年生");
}

TEST_F(BasicMasterTest, TheSchoolNameSavedUnderNumberOneIsTheOneTheMenuShows) {
    insert("業務年度", {{"業_区分", 1},
                        {"業_年度", 2007},
                        {"業_開始日", "2007/04/01"},
                        {"業_終了日", "2008/03/31"}});
    {
        ScreenDriver d(new 基本登録);
        answer({true});
        save(d, "1", "桜丘学園", "桜丘");
    }
    ScreenDriver menu(new メニュ(QDate(2008, 2, 10)));
    EXPECT_TRUE(menu.screen().windowTitle().contains("桜丘学園"));
}

TEST_F(BasicMasterTest, AKindWithMoreEntriesThanRowsGetsMoreRows) {
    for (int i = 1; i <= 60; ++i) entry("006", QStringLiteral("%1").arg(i, 3, 10, QChar('0')), "x");
    ScreenDriver d(new 基本登録);
    d.click("組");
    EXPECT_EQ(d.grid("マスタ").rows(), 61);
    EXPECT_EQ(d.cell("マスタ", 60, 1), "060");
    d.clickCell("マスタ", 60, 1);
    EXPECT_EQ(d.text("登録NO"), "060");
}

TEST_F(BasicMasterTest, AClassBelongsToOneRegisteredDepartment) {
    entry("002", "001", "中学部", "中");
    entry("002", "002", "高等部", "高");
    loadMasters();
    ScreenDriver d(new 基本登録);
    d.click("組");
    EXPECT_TRUE(d.visible("L学部"));
    EXPECT_EQ(d.entries("C学部"), QStringList({"中学部", "高等部"}));
    EXPECT_EQ(d.text("C学部"), "");

    // The department message wins even when another input is wrong too; "共通" is no department.
    for (const char* department : {"普通部", "共通", ""}) {
        messages.clear();
        d.set("C学部", department);
        save(d, "001", "", "1組");
        EXPECT_EQ(messages.texts(), QStringList({"学部を正しく選択して下さい"})) << department;
    }
    EXPECT_TRUE(kind("006").empty());

    d.pick("C学部", "高等部");
    answer({true});
    save(d, "001", "1", "1組");
    ASSERT_EQ(kind("006").size(), 1u);
    EXPECT_EQ(kind("006")[0].at("マ_学部"), "002");

    // Saved again under another department, the class moves there.
    d.pick("C学部", "中学部");
    answer({true});
    save(d, "001", "1", "1組");
    EXPECT_EQ(kind("006")[0].at("マ_学部"), "001");

    d.set("C学部", "");
    d.clickCell("マスタ", 1, 2);
    EXPECT_EQ(d.text("C学部"), "中学部");
    d.click("学年");
    EXPECT_FALSE(d.visible("C学部"));
}

// Another workstation changes the picked entry before 確定: this one's edit is refused, not
// written over it, until the entry is picked again.
TEST_F(BasicMasterTest, AnEntryChangedElsewhereSincePickedIsNotOverwritten) {
    entry("002", "001", "中学部", "中");
    ScreenDriver d(new 基本登録);
    d.click("学部");
    d.clickCell("マスタ", 1, 2);
    runSql("UPDATE \"マスタ\" SET \"マ_名称\" = '中等部' WHERE \"マ_番号\" = '002'");
    d.set("登録略称", "中学");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.last(), kChangedText);
    EXPECT_EQ(kind("002")[0].at("マ_名称"), Value("中等部"));

    d.clickCell("マスタ", 1, 2);
    EXPECT_EQ(d.text("登録名称"), "中等部");
    d.set("登録略称", "中学");
    answer({true, true});
    d.click("B確定");
    d.click("B確定");  // saving twice is no change by anyone else
    EXPECT_EQ(kind("002")[0].at("マ_略称"), Value("中学"));
    EXPECT_NE(messages.last(), kChangedText);
}

TEST_F(BasicMasterTest, ARetentionPeriodIsAWholeNumberOfYearsFromOne) {
    ScreenDriver d(new 基本登録);
    d.click("保存期間");
    for (const auto& [name, abbr] : std::vector<std::pair<QString, QString>>{
             {"五", "5"}, {"5", "x"}, {"0", "0"}, {"5", "00"}}) {
        messages.clear();
        save(d, "001", name, abbr);
        EXPECT_EQ(messages.texts(), QStringList({"項目に正しく入力してください"}))
            << name.toStdString() << " " << abbr.toStdString();
    }
    answer({true});
    save(d, "001", "５", "5");
    ASSERT_EQ(kind("010").size(), 1u);
    EXPECT_EQ(kind("010")[0].at("マ_名称"), "5");
}

TEST_F(BasicMasterTest, ADepartmentAndAClassEnteredAreUsableAtOnceHereAndOnScreensOpenedLater) {
    ScreenDriver d(new 基本登録);
    answer({true});
    save(d, "001", "桜丘学園", "桜丘");
    EXPECT_EQ(d.text("L反映"), "");
    d.click("学部");
    answer({true});
    save(d, "001", "中学部", "中");
    EXPECT_EQ(messages.last(), "マスタは更新(登録)されました。");
    EXPECT_EQ(d.text("L反映"),
              "学部・学年・組の変更を反映しました。開いている画面には、開き直すと反映されます。");
    // The first day at school: the class of the department just entered is accepted.
    d.click("組");
    EXPECT_EQ(d.entries("C学部"), QStringList({"中学部"}));
    d.pick("C学部", "中学部");
    answer({true});
    save(d, "1", "1", "1組");
    EXPECT_EQ(messages.last(), "マスタは更新(登録)されました。");
    EXPECT_EQ(school().classCount[1], 1);
    EXPECT_EQ(school().departments[1].name, "中学部");
}

TEST_F(BasicMasterTest, TheMenuOpensTheBasicAndTheItemNameScreens) {
    insert("業務年度", {{"業_区分", 1},
                        {"業_年度", 2007},
                        {"業_開始日", "2007/04/01"},
                        {"業_終了日", "2008/03/31"}});
    ScreenDriver menu(new メニュ(QDate(2008, 2, 10)));
    for (const auto& [button, form] : std::vector<std::pair<QString, QString>>{
             {"B基本情報", "基本登録"}, {"B項目名登", "項目名登"}}) {
        EXPECT_TRUE(menu.enabled(button));
        Screen* opened = static_cast<メニュ&>(menu.screen()).open(form);
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->isVisible());
        delete opened;
    }
}

}  // namespace
