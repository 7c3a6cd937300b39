// What every screen gets from its base: handlers behind one operation each, engine errors shown
// once and rolled back, lost-focus wiring, and a shared context for modal sub-screens only.

#include <QLineEdit>
#include <QPushButton>

#include "support/screen_driver.h"

namespace {

class SampleScreen : public Screen {
public:
    explicit SampleScreen(Screen* caller = nullptr) : Screen("見本", "見本画面", caller) {
        ctx().title = QStringLiteral("見本のタイトル");
        field = textBox("名称", 20);
        onLostFocus(field, [this] { ++lostFocus; });
        button("B確定", "確定", [this] { writeThenFail(); });
        button("B追加", "追加", [this] { add("002"); });
    }

    void add(const char* no) {
        Recordset rs("マスタ");
        rs.addNew();
        rs.set("マ_番号", "002");
        rs.set("マ_連番", no);
        rs.update();
    }

    // Writes one record, then meets an index the table does not have.
    void writeThenFail() {
        add("001");
        Recordset rs("マスタ");
        rs.setIndex("Idx_無い索引");
    }

    QLineEdit* field;
    int lostFocus = 0;
};

class ScreenBaseTest : public ScreenTest {};

TEST_F(ScreenBaseTest, AnEngineErrorIsShownOnceRolledBackAndTheScreenStaysUsable) {
    ScreenDriver d(new SampleScreen);
    d.click("B確定");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.last().contains("Idx_無い索引"));
    EXPECT_TRUE(messages.last().contains("取り消されました"));
    EXPECT_EQ(messages.shown[0].title, "見本のタイトル");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(records("マスタ").empty());

    d.click("B追加");
    EXPECT_EQ(records("マスタ").size(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ScreenBaseTest, LeavingAFieldRunsItsLostFocusHandler) {
    ScreenDriver d(new SampleScreen);
    auto& s = static_cast<SampleScreen&>(d.screen());
    d.set("名称", "abc");
    d.leave("名称");
    EXPECT_EQ(s.lostFocus, 1);
    EXPECT_EQ(d.text("名称"), "abc");
}

TEST_F(ScreenBaseTest, OnlyAModalSubScreenSharesItsCallersValues) {
    SampleScreen a, b;
    a.ctx().departmentCode = "001";
    b.ctx().departmentCode = "002";
    EXPECT_EQ(a.ctx().departmentCode, "001");
    SampleScreen sub(&a);
    sub.ctx().slotWeekday = 3;
    EXPECT_EQ(a.ctx().slotWeekday, 3);
    EXPECT_EQ(b.ctx().slotWeekday, 0);
}

TEST_F(ScreenBaseTest, WorkDoneBeforeAModalScreenIsKeptWhenTheModalScreenFails) {
    auto* caller = new SampleScreen;
    ScreenDriver d(caller);
    onModal([](ScreenDriver& sub) { sub.click("B確定"); });  // fails inside the sub-screen
    caller->run([&] {
        caller->add("010");
        caller->showModal(new SampleScreen(caller));
        caller->add("011");
    });
    QStringList numbers;
    for (const Record& r : records("マスタ")) numbers << r.at("マ_連番").toText();
    EXPECT_EQ(numbers, QStringList({"010", "011"}));
    EXPECT_EQ(modalOpened, QStringList({"見本"}));
}

}  // namespace
