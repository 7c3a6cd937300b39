// The four input checks as a confirmation runs them on a screen's fields.

#include <QLineEdit>

#include "common/checks.h"
#include "support/screen_driver.h"

namespace {

class FormScreen : public Screen {
public:
    FormScreen() : Screen("検査", "検査") {
        year = textBox("年度");
        from = textBox("開始日");
        to = textBox("終了日");
        postal = textBox("郵便");
    }
    QLineEdit *year, *from, *to, *postal;
};

class ChecksTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        form = new FormScreen;
        driver = std::make_unique<ScreenDriver>(form);
    }
    void TearDown() override {
        driver.reset();
        ScreenTest::TearDown();
    }
    WorkContext& ctx() { return form->ctx(); }
    FormScreen* form = nullptr;
    std::unique_ptr<ScreenDriver> driver;
};

TEST_F(ChecksTest, TwoFailingFieldsAreBothRedButOnlyTheFirstLeadsAndSpeaks) {
    form->year->setText("");
    form->from->setText("2007/2/30");
    ctx().resetReporting();
    CHK必須(ctx(), form->year, "028");
    CHK日付(ctx(), form->from, "015");
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(ctx().checkResult, 1);
    EXPECT_EQ(driver->colour("年度"), 12);
    EXPECT_EQ(driver->colour("開始日"), 12);
    EXPECT_EQ(form->tabFirst(), form->year);
    EXPECT_EQ(ctx().message, "年度に入力してください");

    // Corrected, the field turns black again and the result is 0.
    form->year->setText("2007");
    CHK必須(ctx(), form->year, "028");
    EXPECT_EQ(ctx().checkResult, 0);
    EXPECT_EQ(driver->colour("年度"), 0);
}

TEST_F(ChecksTest, EveryCheckBuildsItsMessageFromTheItemLabelOrTheFixedText) {
    struct Case {
        std::function<void()> check;
        QString expected;
    };
    form->year->setText("");
    form->from->setText("x");
    form->to->setText("2000/01/01");
    const std::vector<Case> cases = {
        {[&] { CHK必須(ctx(), form->year, "028"); }, "年度に入力してください"},
        {[&] { CHK必須(ctx(), form->year, "999"); }, "必須項目に入力してください"},
        {[&] { CHK数字(ctx(), form->from, "032"); }, "時限に正しく入力してください"},
        {[&] { CHK数字(ctx(), form->from, "999"); }, "項目に正しく入力してください"},
        {[&] { CHK日付(ctx(), form->from, "015"); }, "開始日に正しく(YYYY/MM/DD)入力してください"},
        {[&] { CHK日付(ctx(), form->from, "999"); }, "日付に正しく(YYYY/MM/DD)入力してください"},
        {[&] {
             form->from->setText("2007/04/01");
             CHK大小(ctx(), form->from, form->to, "002", 1);
         },
         "日付の大小関係を正しく入力してください"},
        {[&] { CHK大小(ctx(), form->from, form->to, "999", 1); },
         "大小関係を正しく入力してください"},
    };
    for (const Case& c : cases) {
        ctx().resetReporting();
        c.check();
        EXPECT_EQ(ctx().message, c.expected);
    }
}

TEST_F(ChecksTest, NumericFieldsHoldWholeNumbersTheirFieldCanStore) {
    for (const char* bad : {"2007.5", "1e3", "40000", "-1", "12a", "１２ａ"}) {
        form->year->setText(bad);
        ctx().resetReporting();
        CHK数字(ctx(), form->year, "001");
        EXPECT_EQ(ctx().errorFlag, 1) << bad;
        EXPECT_EQ(ctx().message, "年度に正しく入力してください");
    }
    for (const auto& [typed, shown] : std::vector<std::pair<QString, QString>>{
             {"2007", "2007"}, {"２００７", "2007"}, {"32767", "32767"}, {"", "0"}}) {
        form->year->setText(typed);
        ctx().resetReporting();
        CHK数字(ctx(), form->year, "001");
        EXPECT_EQ(ctx().errorFlag, 0) << typed.toStdString();
        EXPECT_EQ(form->year->text(), shown);
    }
    // Blanks are nothing typed: refused, and never turned into the 0 an empty field stands for.
    for (const char* blank : {" ", "　", " 　 "}) {
        form->year->setText(blank);
        ctx().resetReporting();
        CHK必須(ctx(), form->year, "028");
        EXPECT_EQ(ctx().message, "年度に入力してください") << blank;
        ctx().resetReporting();
        CHK数字(ctx(), form->year, "001");
        EXPECT_EQ(ctx().errorFlag, 1) << blank;
        EXPECT_EQ(form->year->text(), "") << blank;
    }
    // A year keeps four digits, the year after it included.
    for (const auto& [typed, ok] : std::vector<std::pair<QString, bool>>{
             {"1", true}, {"9998", true}, {"9999", false}, {"0", false}, {"", false}}) {
        form->year->setText(typed);
        ctx().resetReporting();
        CHK年度(ctx(), form->year, "001");
        EXPECT_EQ(ctx().errorFlag == 0, ok) << typed.toStdString();
    }
    // A postal code is digits kept as typed.
    form->postal->setText("０１２");
    ctx().resetReporting();
    CHK数字(ctx(), form->postal, "036", Numeric::Digits);
    EXPECT_EQ(ctx().errorFlag, 0);
    EXPECT_EQ(form->postal->text(), "012");
}

TEST_F(ChecksTest, DatesAreNormalizedAndImpossibleOnesRefused) {
    form->from->setText("2007/4/1");
    ctx().resetReporting();
    CHK日付(ctx(), form->from, "015");
    EXPECT_EQ(ctx().errorFlag, 0);
    EXPECT_EQ(ctx().normalizedDateText, "2007/04/01");
    EXPECT_EQ(ctx().normalizedDate, QDate(2007, 4, 1));

    form->from->setText("2007/2/30");
    CHK日付(ctx(), form->from, "015");
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(ctx().normalizedDateText, "2007/2/30");  // the raw text when not a date
}

TEST_F(ChecksTest, TheOrderCheckComparesStrictlyOrNotAndDoesNothingAfterAFailure) {
    form->from->setText("2007/04/01");
    form->to->setText("2007/04/01");
    ctx().resetReporting();
    CHK大小(ctx(), form->from, form->to, "002", 1);
    EXPECT_EQ(ctx().errorFlag, 0);
    CHK大小(ctx(), form->from, form->to, "002", 2);
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(driver->colour("開始日"), 12);
    EXPECT_EQ(driver->colour("終了日"), 12);

    // After a failed field check the order check changes nothing, not even colours.
    ctx().resetReporting();
    form->year->setText("");
    CHK必須(ctx(), form->year, "028");
    form->to->setText("2008/03/31");
    CHK大小(ctx(), form->from, form->to, "002", 2);
    EXPECT_EQ(ctx().message, "年度に入力してください");
    EXPECT_EQ(driver->colour("終了日"), 12);
    EXPECT_EQ(ctx().checkResult, 1);

    // Numbers compare as numbers: period 9 before period 10.
    form->from->setText("9");
    form->to->setText("10");
    ctx().resetReporting();
    CHK大小(ctx(), form->from, form->to, "032", 2);
    EXPECT_EQ(ctx().errorFlag, 0);
    // Any other mode tests nothing.
    form->from->setText("10");
    form->to->setText("9");
    CHK大小(ctx(), form->from, form->to, "032", 3);
    EXPECT_EQ(ctx().errorFlag, 0);
}

}  // namespace
