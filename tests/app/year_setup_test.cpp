// The first start of a new database: the school-year set-up opens before the menu.

#include "app/main_menu.h"
#include "app/year_setup.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

namespace {

class YearSetupTest : public ScreenTest {
protected:
    // Starts the program on 2008/02/10; `script` works the set-up screen.
    std::unique_ptr<ScreenDriver> start(std::function<void(ScreenDriver&)> script) {
        onModal(std::move(script));
        return std::make_unique<ScreenDriver>(new メニュ(QDate(2008, 2, 10)));
    }
    static std::vector<std::tuple<int, int, QString, QString>> years() {
        std::vector<std::tuple<int, int, QString, QString>> out;
        for (const Record& r : records("業務年度"))
            out.emplace_back(r.at("業_区分").toInt(), r.at("業_年度").toInt(),
                             r.at("業_開始日").toText(), r.at("業_終了日").toText());
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(YearSetupTest, TheScreenProposesTheCalendarYearOfToday) {
    QString year, from, to, title;
    auto menu = start([&](ScreenDriver& d) {
        year = d.text("年度");
        from = d.text("開始日");
        to = d.text("終了日");
        title = d.screen().ctx().title;
    });
    EXPECT_EQ(modalOpened, QStringList({"年度登録"}));
    EXPECT_EQ(year, "2008");
    EXPECT_EQ(from, "2008/04/01");
    EXPECT_EQ(to, "2009/03/31");
    EXPECT_EQ(title, "初期年度登録");
    // Closed without registering: no year and no message.
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(school().businessYear, 0);
    EXPECT_TRUE(records("業務年度").empty());
}

TEST_F(YearSetupTest, ConfirmingWritesTheYearAndTheNextAndTheMenuOpensWithoutAMessage) {
    auto menu = start([&](ScreenDriver& d) {
        d.set("年度", "2007");
        d.set("開始日", "2007/4/1");
        d.set("終了日", "2008/03/31");
        answer({true});
        d.click("B確定");
        EXPECT_EQ(d.text("開始日"), "2007/04/01");
    });
    EXPECT_EQ(years(),
              (std::vector<std::tuple<int, int, QString, QString>>{
                  {1, 2007, "2007/04/01", "2008/03/31"}, {2, 2008, "2008/04/01", "2009/03/31"}}));
    ASSERT_EQ(messages.shown.size(), 2u);  // the question and the completion, nothing from the menu
    EXPECT_EQ(messages.shown[0].text, "入力内容で年度の設定を行います");
    EXPECT_EQ(messages.shown[1].text, "年度の設定は終了しました");
    EXPECT_EQ(messages.shown[1].title, "初期年度登録");
    EXPECT_EQ(school().businessYear, 2007);
    EXPECT_EQ(school().businessYearStart, "2007/04/01");
    EXPECT_EQ(school().businessYearEnd, "2008/03/31");
    EXPECT_EQ(menu->screen().ctx().workingYear, 2007);
    EXPECT_TRUE(menu->screen().windowTitle().contains("2007年度"));
}

TEST_F(YearSetupTest, AYearTheFileNeverReceivedIsNeitherReportedNorUsed) {
    SKIP_ON_SERVER();
    auto menu = start([&](ScreenDriver& d) {
        d.set("年度", "9999");
        d.click("B確定");
        EXPECT_EQ(messages.last(), "年度に正しく入力してください");
        d.set("年度", "2007");
        d.set("開始日", "2007/04/01");
        d.set("終了日", "2008/03/31");
        answer({true});
        OtherProgram other(OtherProgram::Hold::Read);
        d.click("B確定");
    });
    EXPECT_FALSE(messages.texts().contains("年度の設定は終了しました"));
    EXPECT_TRUE(messages.texts().join("|").contains("他のプログラムが使用中"));
    EXPECT_EQ(school().businessYear, 0);
    EXPECT_TRUE(records("業務年度").empty());
    EXPECT_FALSE(menu->screen().windowTitle().contains("年度"));
    EXPECT_TRUE(menu->visible("L業務年度"));
}

TEST_F(YearSetupTest, ExistingYearsAreOverwrittenNotDuplicated) {
    insert("業務年度", {{"業_区分", 2}, {"業_年度", 1999}});
    auto menu = start([&](ScreenDriver& d) {
        d.set("年度", "2007");
        d.set("開始日", "2007/04/01");
        d.set("終了日", "2008/03/31");
        answer({true});
        d.click("B確定");
    });
    EXPECT_EQ(years().size(), 2u);
    EXPECT_EQ(std::get<1>(years()[1]), 2008);

    // The screen itself never adds a third record, even when both exist.
    Database::close();
    Database::open(location());
    auto& caller = menu->screen();
    onModal([&](ScreenDriver& d) {
        d.set("年度", "2010");
        d.set("開始日", "2010/04/01");
        d.set("終了日", "2011/03/31");
        answer({true});
        d.click("B確定");
    });
    caller.run([&] { caller.showModal(new 年度登録(&caller)); });
    EXPECT_EQ(years(),
              (std::vector<std::tuple<int, int, QString, QString>>{
                  {1, 2010, "2010/04/01", "2011/03/31"}, {2, 2011, "2011/04/01", "2012/03/31"}}));
}

TEST_F(YearSetupTest, WrongInputIsRefusedAndTheMenuShowsItsMessageWhenTheScreenIsClosed) {
    auto menu = start([&](ScreenDriver& d) {
        d.set("開始日", "2007/04/01");
        d.set("終了日", "2007/04/01");  // equal: the start must come first
        d.click("B確定");
        EXPECT_EQ(messages.last(), "日付の大小関係を正しく入力してください");
        EXPECT_EQ(d.colour("終了日"), 12);

        d.set("年度", "");
        d.set("終了日", "2008/02/30");
        d.click("B確定");
        EXPECT_EQ(messages.last(), "年度に入力してください")
            << messages.texts().join("|").toStdString();
        EXPECT_EQ(d.colour("終了日"), 12);
        d.set("年度", "２０ａ");
        d.click("B確定");
        EXPECT_EQ(messages.last(), "年度に正しく入力してください");
    });
    EXPECT_TRUE(records("業務年度").empty());
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[3].text, "年度に正しく入力してください");
    EXPECT_EQ(messages.shown[3].title, "初期処理");
}

TEST_F(YearSetupTest, ReturnWalksTheFieldsAndAnEndBeforeTheStartIsReportedOnLeaving) {
    auto menu = start([&](ScreenDriver& d) {
        d.showActive();
        d.focus("年度");
        d.key(Qt::Key_Return);
        EXPECT_EQ(d.focused(), "開始日");
        d.key(Qt::Key_Return);
        EXPECT_EQ(d.focused(), "終了日");
        d.key(Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(d.focused(), "開始日");
        d.key(Qt::Key_Return);

        d.set("終了日", "2008/03/31");  // before 2008/04/01
        d.key(Qt::Key_Return);
        EXPECT_EQ(messages.texts(), QStringList({"日付の大小関係を正しく入力してください"}));
        EXPECT_EQ(d.focused(), "開始日");
        EXPECT_EQ(d.colour("終了日"), 12);
        // Leaving again in error keeps the mark and says so again; a right date clears both.
        d.focus("終了日");
        d.key(Qt::Key_Tab);
        EXPECT_EQ(d.colour("終了日"), 12);
        EXPECT_EQ(messages.shown.size(), 2u);
        d.set("終了日", "2009/03/31");
        d.focus("終了日");
        d.key(Qt::Key_Return);
        EXPECT_EQ(d.colour("終了日"), 0);
        EXPECT_EQ(d.colour("開始日"), 0);
        EXPECT_EQ(d.focused(), "B確定");
        d.screen().hide();
    });
}

}  // namespace
