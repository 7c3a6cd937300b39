// 時間割自動作成: demand, unavailable and kept slots, settings, and 作成 / 登録 through the screen.

#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <QTabWidget>

#include "generation/solver.h"
#include "common/school_masters.h"
#include "generation_ui/generation_screen.h"
#include "newdb/sample_school.h"
#include "timetable/timetable_check.h"
#include "timetable/timetable_fixture.h"

namespace {

// The solver and loader are the generator's; where they are still empty the tests of 作成
// and 登録 have nothing to judge.
bool generatorReady() {
    gen::Problem p;
    p.teachers.push_back({"001", "佐藤", {}, 0});
    p.groups.push_back({"002", "", "1", 1, "1年1組", {}});
    p.activities.push_back({"1年1組 数学（佐藤）", {0}, {0}, 1, 0});
    gen::Demand demand;
    demand.label = p.activities[0].label;
    demand.activities = {0};
    demand.lines.push_back({0, "03", "01", {0}, 0});
    p.demands.push_back(demand);
    gen::SolveOptions o;
    o.seconds = 2;
    return gen::solve(p, o).complete;
}

class GenerationScreenTest : public TimetableTest {
protected:
    // The class list's row of a class, as "高等部 1年 1組".
    static int classRow(ScreenDriver& d, const QString& label) {
        for (int r = 1; r < d.grid("G組").rows(); ++r)
            if (d.cell("G組", r, 0) == label) return r;
        ADD_FAILURE() << "no class " << label.toStdString();
        return 0;
    }
    static void demandLine(const char* klass, int line, const char* kamoku, const char* subject,
                           const char* teachers, int count, int spread = 100) {
        insert("作成時数", {{"作_年度", 2007},
                            {"作_学部", "002"},
                            {"作_学年", 1},
                            {"作_組", klass},
                            {"作_行", line},
                            {"作_科目", kamoku},
                            {"作_教科", subject},
                            {"作_教員", teachers},
                            {"作_時間数", count},
                            {"作_分散", spread}});
    }
};

TEST_F(GenerationScreenTest, ADemandLineIsStoredWithItsTeamEditedInPlaceAndBadInputRefused) {
    teacher("005", "佐藤　花子", "佐藤");  // a second 佐藤 by display name
    ScreenDriver d(new 時間割自動作成);
    d.click("B表示");
    d.clickCell("G組", classRow(d, "高等部 1年 2組"), 0);
    EXPECT_EQ(d.text("行"), "1");
    d.pick("C科目", "数学");
    d.pick("C教科", "数学Ⅰ");
    d.set("教員", "佐藤・高橋　誠");
    d.set("時間数", "４");  // full-width, as an IME types it
    d.click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList{"「佐藤」という教員が複数います。氏名か教員番号で入力してください"});
    messages.clear();
    d.set("教員", "佐藤　健一・高橋　誠");
    answer({true});
    d.click("B確定");
    ASSERT_EQ(messages.last(), "時数は更新(登録)されました。");
    auto stored = records("作成時数");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["作_組"], Value("2"));
    EXPECT_EQ(stored[0]["作_科目"], Value("03"));
    EXPECT_EQ(stored[0]["作_教科"], Value("01"));
    EXPECT_EQ(stored[0]["作_教員"], Value("001,003"));
    EXPECT_EQ(stored[0]["作_時間数"], Value(4));
    EXPECT_EQ(stored[0]["作_分散"], Value(100));
    // Shown by names that each read back as one teacher.
    EXPECT_EQ(d.cell("G時数", 1, 3), "佐藤　健一・高橋　誠");
    EXPECT_EQ(d.cell("G組", classRow(d, "高等部 1年 2組"), 1), "4");
    EXPECT_EQ(d.text("行"), "2");  // ready for the next line

    // A picked line is edited, not added again.
    d.clickCell("G時数", 1, 0);
    EXPECT_EQ(d.text("C教科"), "数学Ⅰ");
    d.set("時間数", "5");
    answer({true});
    d.click("B確定");
    stored = records("作成時数");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["作_時間数"], Value(5));
    EXPECT_EQ(stored[0]["作_教員"], Value("001,003"));

    // Refused without a question: a name no teacher has, runs that leave a lesson over.
    messages.clear();
    d.pick("C科目", "国語");
    d.pick("C教科", "現代の国語");
    d.set("教員", "田中");
    d.set("時間数", "3");
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList{"教員「田中」は登録されていません"});
    d.set("教員", "鈴木");
    d.set("連続", "2");
    messages.clear();
    d.click("B確定");
    EXPECT_EQ(messages.texts(), QStringList{"時間数が連続 2 コマの倍数になっていません。"});
    EXPECT_EQ(records("作成時数").size(), 1u);
}

TEST_F(GenerationScreenTest, FillingFromTheTimetableAsksBeforeReplacingLines) {
    demandLine("1", 1, "03", "01", "001", 4);
    lesson("002", 1, "2", 2, 1, "002", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 3, 1, "002", "01", "01", "現代の国語", "現国");
    ScreenDriver d(new 時間割自動作成);
    answer({false});
    d.click("B時数取込");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].question);
    EXPECT_EQ(records("作成時数").size(), 1u);
    if (!generatorReady()) return;  // the filling itself is the generator's

    answer({true});
    d.click("B時数取込");
    EXPECT_EQ(messages.last(), "時間割から時数を 1 行作りました。");
    auto stored = records("作成時数");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["作_組"], Value("2"));
    EXPECT_EQ(stored[0]["作_時間数"], Value(2));
    d.clickCell("G組", classRow(d, "高等部 1年 2組"), 0);
    EXPECT_EQ(d.cell("G時数", 1, 3), "鈴木");
}

TEST_F(GenerationScreenTest, ClickingASlotClosesAndOpensItAndAHeadingClosesTheWholeDay) {
    ScreenDriver d(new 時間割自動作成);
    d.click("B表示");
    d.pick("C不可教員", "佐藤　健一");
    d.clickCell("G不可", 6, 1);  // 月 6限
    auto stored = records("作成不可");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["不_種別"], Value(1));
    EXPECT_EQ(stored[0]["不_教員"], Value("001"));
    EXPECT_EQ(stored[0]["不_曜日"], Value(2));
    EXPECT_EQ(stored[0]["不_時限"], Value(6));
    EXPECT_EQ(d.cell("G不可", 6, 1), "×");
    d.clickCell("G不可", 6, 1);
    EXPECT_TRUE(records("作成不可").empty());

    d.clickCell("G不可", 0, 3);  // 水: 研修日
    stored = records("作成不可");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["不_曜日"], Value(4));
    EXPECT_EQ(stored[0]["不_時限"], Value(0));
    EXPECT_EQ(d.cell("G不可", 1, 3), "終日");
    EXPECT_EQ(d.cell("G不可", 6, 3), "終日");
    d.clickCell("G不可", 2, 3);  // a period of that day is not half-opened
    EXPECT_EQ(records("作成不可").size(), 1u);
    EXPECT_FALSE(messages.texts().isEmpty());

    // A class's own slot, and the grade's.
    d.clickCell("G組", classRow(d, "高等部 1年 3組"), 0);
    d.click("O組");
    d.clickCell("G不可", 1, 5);  // 金 1限
    d.click("O学年");
    d.clickCell("G不可", 2, 5);
    stored = records("作成不可");
    ASSERT_EQ(stored.size(), 3u);
    const auto gradeLines = std::count_if(stored.begin(), stored.end(), [](Record& r) {
        return r["不_種別"] == Value(2) && r["不_学部"] == Value("002") &&
               r["不_学年"] == Value(1) && r["不_曜日"] == Value(6);
    });
    EXPECT_EQ(gradeLines, 2);
    EXPECT_EQ(d.cell("G不可", 1, 5), "");  // the grade's week does not show the class's slot
    EXPECT_EQ(d.cell("G不可", 2, 5), "×");
}

TEST_F(GenerationScreenTest, KeptSlotsAreToggledOnTheTimetableAndHomeroomPeriodsInOneClick) {
    lesson("002", 1, "1", 3, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("002", 1, "1", 2, 6, "004", "000", "", "HR", "HR", 0, 1);
    lesson("002", 1, "2", 6, 6, "002", "000", "", "道徳", "道徳", 0, 1);
    lesson("002", 1, "2", 6, 5, "002", "01", "02", "歴史総合", "歴総");  // a subject, not 総合
    ScreenDriver d(new 時間割自動作成);
    d.click("B表示");
    d.clickCell("G組", classRow(d, "高等部 1年 1組"), 0);
    d.clickCell("G固定", 1, 3);  // 火 1限, 数学
    auto stored = records("作成固定");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["固_組"], Value("1"));
    EXPECT_EQ(stored[0]["固_曜日"], Value(3));
    EXPECT_EQ(stored[0]["固_時限"], Value(1));
    EXPECT_EQ(d.back("G固定", 2, 3), 13);
    d.clickCell("G固定", 3, 4);  // an empty slot
    EXPECT_EQ(messages.last(), "授業のないコマは固定できません。");
    EXPECT_EQ(records("作成固定").size(), 1u);

    d.click("B固定HR");
    EXPECT_EQ(messages.last(), "HR・道徳・総合の 2 コマを固定しました。");
    EXPECT_EQ(records("作成固定").size(), 3u);
    d.click("B固定HR");
    EXPECT_EQ(messages.last(), "HR・道徳・総合の 0 コマを固定しました。");
    d.clickCell("G固定", 1, 3);
    EXPECT_EQ(records("作成固定").size(), 2u);
}

TEST_F(GenerationScreenTest, SettingsAreStoredAndShapeTheWeek) {
    ScreenDriver d(new 時間割自動作成);
    d.set("時限数", "11");
    d.click("B設定確定");
    EXPECT_EQ(messages.last(), "時限数は 1～10 の数で入力してください。");
    EXPECT_TRUE(records("作成設定").empty());
    d.set("曜日数", "6");
    d.set("時限数", "10");
    d.set("重み_空き", "7");
    // F2 stores what the tab in front shows: here the settings, not a demand line.
    d.showActive();
    d.control<QTabWidget>("T作成")->setCurrentIndex(3);
    d.key(Qt::Key_F2);
    EXPECT_EQ(messages.last(), "作成設定は更新(登録)されました。");
    std::map<QString, int> items;
    for (Record& r : records("作成設定")) items[r["設_項目"].toText()] = r["設_値"].toInt();
    EXPECT_EQ(items["曜日数"], 6);
    EXPECT_EQ(items["時限数"], 10);
    EXPECT_EQ(items["重み_空き"], 7);
    EXPECT_EQ(items["重み_分散"], 10);      // untouched, stored as shown
    EXPECT_EQ(d.grid("G不可").cols(), 7);   // 月..土 and the period column
    EXPECT_EQ(d.grid("G不可").rows(), 11);  // the heading and periods 1..10
    EXPECT_EQ(d.cell("G不可", 0, 6), "土");
}

TEST_F(GenerationScreenTest, ALineIsFollowedByAnotherOfItsClassAndKeptDaysApart) {
    demandLine("1", 1, "03", "01", "001", 2);
    demandLine("1", 2, "01", "01", "002", 2);
    demandLine("1", 3, "01", "02", "002", 1);
    ScreenDriver d(new 時間割自動作成);
    d.clickCell("G組", classRow(d, "高等部 1年 1組"), 0);
    d.clickCell("G時数", 1, 0);
    EXPECT_EQ(d.text("間隔"), "1");  // stored as 0 before the field existed
    d.pick("C後続", "2 現代の国語");
    d.set("間隔", "2");
    answer({true});
    d.click("B確定");
    ASSERT_EQ(messages.last(), "時数は更新(登録)されました。");
    std::map<qint64, std::pair<qint64, qint64>> stored;
    for (Record& r : records("作成時数"))
        stored[r["作_行"].toInt()] = {r["作_後続"].toInt(), r["作_間隔"].toInt()};
    EXPECT_EQ(stored[1], (std::pair<qint64, qint64>(2, 2)));
    EXPECT_EQ(d.cell("G時数", 1, 8), "2");
    EXPECT_EQ(d.cell("G時数", 1, 9), "2");
    d.clickCell("G時数", 1, 0);
    EXPECT_EQ(d.text("C後続"), "2 現代の国語");
    EXPECT_EQ(d.entries("C後続"), (QStringList{"2 現代の国語", "3 言語文化"}));

    // Refused: itself, a row the class lacks, a way back to the line, a week's worth of days.
    const auto refused = [&](const char* line, const char* following, const char* apart) {
        messages.clear();
        d.clickCell("G時数", QString(line).toInt(), 0);
        d.set("C後続", following);
        d.set("間隔", apart);
        d.click("B確定");
        return messages.texts();
    };
    EXPECT_EQ(refused("2", "2", "1"), QStringList{"後続には他の行を選んでください。"});
    EXPECT_EQ(refused("2", "4", "1"), QStringList{"後続はこの組の行から選んでください。"});
    d.set("C後続", "3");
    answer({true});
    d.click("B確定");  // 1 → 2 → 3
    EXPECT_EQ(refused("3", "1 数学Ⅰ", "1"),
              QStringList{"後続が一巡して戻ってきます（3→1→2→3）。"});
    EXPECT_EQ(refused("3", "", "7"), QStringList{"間隔は 1～6 の数で入力してください。"});
    stored.clear();
    for (Record& r : records("作成時数"))
        stored[r["作_行"].toInt()] = {r["作_後続"].toInt(), r["作_間隔"].toInt()};
    EXPECT_EQ(stored[3], (std::pair<qint64, qint64>(0, 0)));

    // Deleting line 2 leaves line 1 following nothing rather than a line that is gone.
    d.clickCell("G時数", 2, 0);
    answer({true});
    d.click("B削除");
    ASSERT_EQ(messages.last(), "表示内容は削除されました。");
    stored.clear();
    for (Record& r : records("作成時数"))
        stored[r["作_行"].toInt()] = {r["作_後続"].toInt(), r["作_間隔"].toInt()};
    EXPECT_EQ(stored.count(2), 0u);
    EXPECT_EQ(stored[1].first, 0);
    EXPECT_EQ(d.cell("G時数", 1, 9), "");
}

TEST_F(GenerationScreenTest, WithoutDemandThereIsNothingToMake) {
    ScreenDriver d(new 時間割自動作成);
    // 作成 has Shift+F1 of its own: F1 alone is 表示.
    d.showActive();
    d.key(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(messages.texts(),
              QStringList{"作成する時数がありません。\n"
                          "時数を入力するか、「現在の時間割から作る」で作ってください。"});
    EXPECT_FALSE(d.enabled("B登録"));
}

// ---------------------------------------------------------------- with the generator behind it

TEST_F(GenerationScreenTest, ASmallSchoolIsMadeShownAndRegisteredWithoutDoubleBookings) {
    if (!generatorReady()) GTEST_SKIP() << "the generator is not built in";
    demandLine("1", 1, "03", "01", "001", 4);
    demandLine("1", 2, "01", "01", "002", 3);
    demandLine("2", 1, "03", "01", "001", 4);
    demandLine("2", 2, "01", "01", "002,004", 3);
    lesson("002", 1, "1", 2, 1, "003", "000", "", "HR", "HR", 0, 1);
    insert("作成固定", {{"固_年度", 2007},
                        {"固_学部", "002"},
                        {"固_学年", 1},
                        {"固_組", "1"},
                        {"固_曜日", 2},
                        {"固_時限", 1}});
    ScreenDriver d(new 時間割自動作成);
    d.clickCell("G組", classRow(d, "高等部 1年 1組"), 0);
    d.click("B作成");
    EXPECT_TRUE(d.text("L評価").contains("すべて配置しました")) << d.text("L評価").toStdString();
    int maths = 0;
    for (int p = 1; p <= 10; ++p)
        for (int w = 1; w <= 7; ++w) maths += d.cell("G結果", 2 * p - 1, w) == "数Ⅰ";
    EXPECT_EQ(maths, 4);
    EXPECT_EQ(d.cell("G結果", 1, 2), "HR");  // the kept lesson where it was

    answer({true});
    d.click("B登録");
    EXPECT_EQ(messages.last(), "時間割を登録しました。");
    EXPECT_EQ(records("組時間割").size(), 1u + 4 + 3 + 4 + 3 * 2);
    for (const TimetableProblem& p : checkWholeTimetable(2007))
        EXPECT_NE(p.kind, TimetableProblem::Kind::DoubleBooking) << p.detail.toStdString();
}

TEST_F(GenerationScreenTest, AnImpossibleDemandIsExplainedBeforeTheSearch) {
    if (!generatorReady()) GTEST_SKIP() << "the generator is not built in";
    demandLine("1", 1, "03", "01", "001", 20, 0);
    demandLine("2", 1, "03", "01", "001", 12, 0);  // 佐藤: 32 lessons in a week of 30
    ScreenDriver d(new 時間割自動作成);
    answer({false});
    d.click("B作成");
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_TRUE(messages.shown[0].question);
    EXPECT_TRUE(messages.shown[0].text.contains("佐藤")) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains("32")) << messages.shown[0].text.toStdString();
    EXPECT_FALSE(d.cell("G未配置", 1, 0).isEmpty());  // the reasons stay in the list
    EXPECT_FALSE(d.enabled("B登録"));
}

TEST_F(GenerationScreenTest, RegistrationThatCannotCommitLeavesTheTimetableAsItWas) {
    if (!generatorReady()) GTEST_SKIP() << "the generator is not built in";
    demandLine("1", 1, "03", "01", "001", 2);
    lesson("002", 1, "1", 4, 4, "002", "01", "01", "現代の国語", "現国");
    ScreenDriver d(new 時間割自動作成);
    d.click("B作成");
    const auto before = records("組時間割");
    if (testingOnServer()) {
        // A server has no file to hold: the engine refuses the new lessons instead.
        refuseWrites("組時間割", "INSERT");
        answer({true});
        d.click("B登録");
    } else {
        OtherProgram other(OtherProgram::Hold::Read);
        answer({true});
        d.click("B登録");
    }
    EXPECT_NE(messages.last(), "時間割を登録しました。");
    if (!testingOnServer()) {
        EXPECT_TRUE(messages.last().contains("取り消されました")) << messages.last().toStdString();
    }
    EXPECT_EQ(records("組時間割"), before);
}

// The sample school that jikanwari-newdb --demo writes: big enough for the search to go on
// improving the wishes long after everything is placed.
class SampleSchoolGenerationTest : public ScreenTest {
protected:
    void TearDown() override {
        school().clearMasters();
        ScreenTest::TearDown();
    }
};

TEST_F(SampleSchoolGenerationTest, StoppingTheSearchKeepsTheBestProposalSoFar) {
    if (!generatorReady()) GTEST_SKIP() << "the generator is not built in";
    const QDate today(2007, 6, 4);
    fillSampleSchool(today);
    school().setToday(today);
    school().businessYear = 2007;
    loadMasters();
    ScreenDriver d(new 時間割自動作成);
    d.click("B時数取込");
    // 中止 while the search runs: the window's own event loop goes on meanwhile.
    QTimer::singleShot(1500, &d.screen(), [&] {
        if (auto* progress = d.screen().findChild<QProgressDialog*>("D作成中"))
            Q_EMIT progress->canceled();
    });
    d.click("B作成");
    EXPECT_TRUE(d.text("L評価").contains("中止")) << d.text("L評価").toStdString();
    EXPECT_TRUE(d.enabled("B登録"));
}

}  // namespace
