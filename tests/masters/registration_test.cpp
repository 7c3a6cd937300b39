// The registration steps every master screen shares, driven on the basic master screen.

#include "masters/basic_master_screen.h"
#include "common/registration.h"
#include "masters_fixture.h"

namespace {

class RegistrationTest : public MastersTest {
protected:
    // The department kind, with two departments already registered.
    std::unique_ptr<ScreenDriver> departments() {
        entry("002", "001", "中学部", "中");
        entry("002", "002", "高等部", "高");
        auto d = std::make_unique<ScreenDriver>(new 基本登録);
        d->click("学部");
        messages.clear();
        return d;
    }
};

TEST_F(RegistrationTest, SavingAddsANewEntryAndReplacesAnExistingOne) {
    auto d = departments();
    d->set("備考", "新設");
    answer({true});
    save(*d, "003", "専攻科", "専");
    ASSERT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "マスタは更新(登録)されました。"}));
    EXPECT_TRUE(messages.shown[0].question);
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[1].title, "基本情報登録");
    auto stored = kind("002");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2], (Record{{"マ_番号", "002"},
                                 {"マ_連番", "003"},
                                 {"マ_名称", "専攻科"},
                                 {"マ_略称", "専"},
                                 {"マ_学部", ""},
                                 {"マ_教科", ""},
                                 {"マ_備考", "新設"}}));
    EXPECT_EQ(d->cell("マスタ", 3, 3), "専攻科");

    // The same number again edits that entry; the inputs stay as typed.
    answer({true});
    save(*d, "001", "中等部", "中等");
    stored = kind("002");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].at("マ_名称"), "中等部");
    EXPECT_EQ(stored[0].at("マ_備考"), "新設");
    EXPECT_EQ(d->cell("マスタ", 1, 2), "中等");
    EXPECT_EQ(d->text("登録名称"), "中等部");
}

TEST_F(RegistrationTest, AnsweringNoOrFailingACheckWritesNothing) {
    auto d = departments();
    answer({false});
    save(*d, "003", "専攻科", "専");
    EXPECT_EQ(messages.texts(), QStringList({"入力内容で更新します。"}));
    EXPECT_EQ(kind("002").size(), 2u);

    // A refusal asks nothing; the first failing field leads, and an empty number stays empty.
    messages.clear();
    save(*d, "", "", "専");
    EXPECT_EQ(messages.texts(), QStringList({"番号に入力してください"}));
    EXPECT_EQ(d->text("登録NO"), "");
    EXPECT_EQ(d->colour("登録NO"), 12);
    EXPECT_EQ(d->colour("登録名称"), 12);
    EXPECT_EQ(d->screen().tabFirst(), d->control("登録NO"));
    save(*d, "1a", "専攻科", "専");
    EXPECT_EQ(messages.last(), "番号に正しく入力してください");
    EXPECT_EQ(kind("002").size(), 2u);
}

TEST_F(RegistrationTest, DeletingAsksFindsByTheNumberTypedAndRelists) {
    auto d = departments();
    d->set("登録NO", "002");
    answer({false});
    d->click("削除");
    EXPECT_EQ(kind("002").size(), 2u);

    answer({true});
    d->click("削除");
    EXPECT_EQ(messages.texts(), QStringList({"入力内容を削除します。", "入力内容を削除します。",
                                             "表示内容は削除されました。"}));
    EXPECT_EQ(kind("002").size(), 1u);
    EXPECT_EQ(d->cell("マスタ", 2, 1), "");

    // "2" is not "002".
    d->set("登録NO", "2");
    answer({true});
    d->click("削除");
    EXPECT_EQ(messages.last(), "指定された名称は登録されていません。");
    EXPECT_EQ(kind("002").size(), 1u);
    EXPECT_EQ(d->cell("マスタ", 1, 3), "中学部");
}

TEST_F(RegistrationTest, PickingARowShowsItAndMovesTheHighlight) {
    auto d = departments();
    d->clickCell("マスタ", 2, 3);
    EXPECT_EQ(d->text("登録NO"), "002");
    EXPECT_EQ(d->text("登録名称"), "高等部");
    EXPECT_EQ(d->text("登録略称"), "高");
    for (int c = 0; c < 4; ++c) EXPECT_EQ(d->back("マスタ", 2, c), 10);
    d->clickCell("マスタ", 1, 0);
    EXPECT_EQ(d->back("マスタ", 2, 3), 15);
    EXPECT_EQ(d->back("マスタ", 1, 3), 10);
    EXPECT_EQ(d->text("登録名称"), "中学部");
    EXPECT_TRUE(messages.shown.empty());

    // An empty row and the heading row are outside the list and change nothing.
    for (int row : {3, 49, 0}) {
        messages.clear();
        d->clickCell("マスタ", row, 1);
        EXPECT_EQ(messages.texts(), QStringList({"指示位置が有効範囲外です。"})) << row;
        EXPECT_EQ(d->back("マスタ", 1, 0), 10);
        EXPECT_EQ(d->text("登録名称"), "中学部");
        EXPECT_EQ(d->text("マスターNO"), "002");
        EXPECT_EQ(d->cell("マスタ", 2, 3), "高等部");
    }

    // A listed entry that has gone since is reported, not shown.
    {
        Operation op;
        Recordset rs("マスタ");
        rs.setIndex("Key_マスタ");
        rs.seek(Seek::Equal, {"002", "002"});
        rs.remove();
        op.commit();
    }
    messages.clear();
    d->clickCell("マスタ", 2, 0);
    EXPECT_EQ(messages.texts(), QStringList({"指定された名称は登録されていません。"}));
    EXPECT_EQ(d->text("登録名称"), "中学部");
}

// Lists that do not grow (the longer lists of other screens) stop at their last row.
TEST_F(RegistrationTest, AListThatDoesNotGrowLeavesOutWhatDoesNotFit) {
    Grid grid;
    EntryList list(&grid, {.headings = {"NO"}, .widths = {500}, .entryRows = 2, .grows = false});
    list.reset();
    EXPECT_TRUE(list.append({"1"}));
    EXPECT_TRUE(list.append({"2"}));
    EXPECT_FALSE(list.append({"3"}));
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(grid.textMatrix(2, 0), "2");
}

}  // namespace
