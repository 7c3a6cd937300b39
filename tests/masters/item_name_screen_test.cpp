// 項目名登: the item names every input check names its field with.

#include "masters/basic_master_screen.h"
#include "masters/item_name_screen.h"
#include "masters_fixture.h"

namespace {

class ItemNameTest : public MastersTest {};

TEST_F(ItemNameTest, ListsEveryItemAndShowsThePickedOne) {
    ScreenDriver d(new 項目名登);
    EXPECT_EQ(d.cell("項目", 0, 2), "ﾒｯｾｰｼﾞ");
    const auto items = records("項目名");
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(d.cell("項目", 1, 0), "001");
    EXPECT_EQ(d.cell("項目", 1, 1), "年度");
    EXPECT_EQ(d.cell("項目", int(items.size()), 0), "036");
    EXPECT_EQ(d.cell("項目", int(items.size()) + 1, 0), "");

    d.clickCell("項目", 3, 1);
    EXPECT_EQ(d.text("項目NO"), "004");
    EXPECT_EQ(d.text("項目名"), "番号");
    EXPECT_EQ(d.back("項目", 3, 2), 10);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ItemNameTest, ARenamedItemRenamesEveryMessageThatNamesIt) {
    ScreenDriver d(new 項目名登);
    d.clickCell("項目", 3, 0);
    // A standard item comes with its message, so renaming it is all it takes.
    EXPECT_EQ(d.text("メッセージ"), "番号に入力してください");
    d.set("項目名", "登録番号");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "メッセージは更新(登録)されました。"}));
    EXPECT_EQ(d.cell("項目", 3, 1), "登録番号");

    ScreenDriver basic(new 基本登録);
    save(basic, "", "桜丘学園", "桜丘");
    EXPECT_EQ(messages.last(), "登録番号に入力してください");
}

TEST_F(ItemNameTest, AnItemNeedsANumericNumberANameAndAMessage) {
    ScreenDriver d(new 項目名登);
    const auto before = records("項目名").size();
    struct Case {
        const char *no, *name, *message, *expected;
    };
    for (const Case& c : {Case{"04a", "区分", "x", "項目番号に正しく入力してください"},
                          Case{"", "区分", "x", "項目番号に入力してください"},
                          Case{"040", "", "x", "項目名に入力してください"},
                          Case{"040", "区分", "", "メッセージに入力してください"}}) {
        messages.clear();
        d.set("項目NO", c.no);
        d.set("項目名", c.name);
        d.set("メッセージ", c.message);
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({c.expected})) << c.expected;
    }
    EXPECT_EQ(records("項目名").size(), before);
}

TEST_F(ItemNameTest, DeletingRemovesTheItemTypedAndSaysWhenThereIsNone) {
    ScreenDriver d(new 項目名登);
    const auto before = records("項目名").size();
    d.set("項目NO", "036");
    answer({true, true});
    d.click("削除");
    EXPECT_EQ(messages.last(), "表示内容は削除されました。");
    EXPECT_EQ(records("項目名").size(), before - 1);
    EXPECT_EQ(d.cell("項目", int(before), 0), "");
    d.click("削除");
    EXPECT_EQ(messages.last(), "指定された名称は登録されていません。");
}

}  // namespace
