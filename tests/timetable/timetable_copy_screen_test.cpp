// 時間割コピー as a clerk builds next year's week from this year's: load, edit in memory, register.

#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_copy_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"

namespace {

class TimetableCopyTest : public TimetableTest {
protected:
    // 高等部 1年 1組 of 2007: Monday 国語 taught by two teachers (one with a remark), 数学, an
    // elective pair on Wednesday, the split 体育 on Thursday, "HR" by two teachers on Friday.
    void SetUp() override {
        TimetableTest::SetUp();
        insert("組時間割", {{"組_年度", 2007},
                            {"組_学部", "002"},
                            {"組_学年", 1},
                            {"組_組", "1"},
                            {"組_曜日", 2},
                            {"組_時限", 1},
                            {"組_教員", "001"},
                            {"組_科目", "01"},
                            {"組_教科", "01"},
                            {"組_教科略称", "現国"},
                            {"組_備考", "少人数"}});
        lesson("002", 1, "1", 2, 1, "002", "01", "01", "現代の国語", "現国");
        lesson("002", 1, "1", 2, 2, "003", "03", "01", "数学Ⅰ", "数Ⅰ");
        lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
        lesson("002", 1, "1", 4, 5, "002", "07", "02", "芸術β 美術Ⅰ", "芸術β");
        lesson("002", 1, "1", 5, 3, "001", "06", "01", "体育", "体育");
        lesson("002", 1, "1", 6, 6, "003", "000", "000", "HR", "HR", 0, 1);
        lesson("002", 1, "1", 6, 6, "004", "000", "000", "HR", "HR", 0, 1);
    }
    static void mastersOf2008() {
        for (const char* table : {"科目", "教科"})
            for (Record r : records(table)) {
                r[QString::fromUtf8(table) == "科目" ? "科_年度" : "教_年度"] = 2008;
                insert(table, r);
            }
    }
    std::unique_ptr<ScreenDriver> open(const char* year, const char* klass) {
        auto d = std::make_unique<ScreenDriver>(new 時間割コピー);
        d->pick("C学部", "高等部");
        d->pick("C学年", "1年");
        d->pick("C組", "1組");
        d->set("先年度", year);
        d->pick("C先学部", "高等部");
        d->pick("C先学年", "1年");
        d->pick("C先組", klass);
        d->click("B表示");
        return d;
    }
    static void clickSlot(ScreenDriver& d, int weekday, int period) {
        d.clickCell("G時割", lessonRow(period), weekday);
    }
    // The lessons of a class: "<weekday><period> <teacher> <course subject>/<subject> <free>".
    static QStringList week(int year, const char* klass, const char* dept = "002") {
        QStringList out;
        for (const Record& r : records("組時間割"))
            if (r.at("組_年度") == Value(year) && r.at("組_組") == Value(klass) &&
                r.at("組_学部") == Value(dept))
                out << QStringLiteral("%1%2 %3 %4/%5 %6")
                           .arg(r.at("組_曜日").toInt())
                           .arg(r.at("組_時限").toInt())
                           .arg(r.at("組_教員").toText(), r.at("組_科目").toText(),
                                r.at("組_教科").toText())
                           .arg(r.at("組_登録").toInt());
        out.sort();
        return out;
    }
    static const QStringList kSourceWeek;
};

const QStringList TimetableCopyTest::kSourceWeek = {
    "21 001 01/01 0", "21 002 01/01 0", "22 003 03/01 0",   "45 002 07/02 0",
    "45 004 07/01 0", "53 001 06/01 0", "66 003 000/000 1", "66 004 000/000 1"};

TEST_F(TimetableCopyTest, NextYearsWeekIsRegisteredExactlyAsLoadedWithEveryTeacher) {
    mastersOf2008();
    auto d = open("2008", "1組");
    EXPECT_EQ(d->screen().windowTitle(), "時間割のコピー登録");
    EXPECT_EQ(d->text("年度"), "2007");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "現国");
    EXPECT_EQ(d->cell("G時割", teacherRow(5), 4), "芸術");
    EXPECT_TRUE(week(2008, "1").isEmpty());  // showing writes nothing

    answer({true});
    d->click("B登録");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "授業は更新(登録)されました。"}));
    EXPECT_EQ(messages.shown[1].title, "時間割のコピー作成");
    EXPECT_EQ(week(2008, "1"), kSourceWeek);
    for (const Record& r : records("組時間割")) {
        if (r.at("組_年度") != Value(2008)) continue;
        EXPECT_EQ(r.at("組_コース"), Value(""));
        EXPECT_EQ(r.at("組_選択番号"), Value(0));
        EXPECT_EQ(r.at("組_備考"), Value(""));
        const int slot = r.at("組_曜日").toInt() * 10 + r.at("組_時限").toInt();
        if (slot == 45 && r.at("組_教員") == Value("002")) {
            EXPECT_EQ(r.at("組_科目名"), Value("芸術選択"));
            EXPECT_EQ(r.at("組_教科名"), Value("芸術β 美術Ⅰ"));
            EXPECT_EQ(r.at("組_教科略称"), Value("芸術β"));
            EXPECT_EQ(r.at("組_教員名"), Value("鈴木　美咲"));
            EXPECT_EQ(r.at("組_教員表示名"), Value("鈴木"));
        }
        if (slot == 66) {
            EXPECT_EQ(r.at("組_科目名"), Value("HR"));
            EXPECT_EQ(r.at("組_教科名"), Value("HR"));
            EXPECT_EQ(r.at("組_教科略称"), Value("HR"));
        }
    }
    // The grid now shows the target as stored.
    EXPECT_TRUE(d->text("表示中").startsWith("2008年度"));
    EXPECT_EQ(d->cell("G時割", lessonRow(6), 6), "HR");
}

TEST_F(TimetableCopyTest, MissingMastersStopWithWhatIsMissingAndConflictsAreAWarning) {
    lesson("002", 1, "1", 7, 1, "099", "000", "000", "HR", "HR", 0, 1);  // nobody's number
    auto d = open("2008", "1組");  // 2008 has no course subjects yet
    d->click("B登録");
    EXPECT_EQ(
        messages.last(),
        "登録先（2008年度 高等部 1年）に登録されていない科目・教科・教員があります（赤色の欄）\n"
        "月曜 1時限　科目 01\n月曜 2時限　科目 03\n水曜 5時限　科目 07\n"
        "木曜 3時限　科目 06\n土曜 1時限　教員 099");
    EXPECT_EQ(d->back("G時割", lessonRow(2), 2), 12);
    EXPECT_EQ(d->back("G時割", teacherRow(1), 7), 12);
    EXPECT_EQ(d->back("G時割", teacherRow(2), 2), 15);
    EXPECT_TRUE(week(2008, "1").isEmpty());

    // Without the Saturday lesson, into 2組 of 2007, whose week the same teachers would double.
    clickSlot(*d, 7, 1);
    answer({true});
    d->click("B削除");
    EXPECT_EQ(messages.last(), "指定授業は削除されました");
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 7), "");
    d->set("先年度", "2007");
    d->pick("C先組", "2組");
    // A lesson confirmed in memory is checked against the target as well, as a warning.
    clickSlot(*d, 2, 2);
    answer({false});
    d->click("B確定");
    EXPECT_EQ(messages.last(),
              "高等部 1年 1組 に授業が登録されています\nエラーを無視して登録・更新をしますか");
    answer({false});
    d->click("B登録");
    EXPECT_EQ(messages.last(),
              "高等部 1年 1組 に授業が登録されています（ほか 4 "
              "件）\nエラーを無視して登録・更新をしますか");
    EXPECT_EQ(d->back("G時割", teacherRow(1), 2), 12);
    EXPECT_EQ(d->back("G時割", teacherRow(5), 4), 15);  // electives are never a conflict
    EXPECT_TRUE(week(2007, "2").isEmpty());
    answer({true});
    d->click("B登録");
    EXPECT_EQ(week(2007, "2"), kSourceWeek);
}

TEST_F(TimetableCopyTest, TheTargetIsTheOneOnScreenAndEachClassIsFoundInItsOwnDepartment) {
    school().classes[1][4] = {"4", "4組"};  // only 中学部 has a 4組
    school().classCount[1] = 4;
    lesson("001", 1, "4", 3, 2, "001", "000", "000", "HR", "HR", 0, 1);
    ScreenDriver d(new 時間割コピー);
    EXPECT_EQ(d.text("先年度"), "2007");
    d.click("B登録");
    EXPECT_EQ(messages.last(), "コピー元の時間割を表示してください");
    d.pick("C学部", "中学部");
    d.pick("C学年", "1年");
    d.pick("C組", "4組");
    d.pick("C先学部", "高等部");
    d.pick("C先学年", "1年");
    d.pick("C先組", "2組");
    d.set("先年度", "");
    d.click("B表示");
    EXPECT_EQ(messages.last(), "新年度に正しく入力してください");
    EXPECT_EQ(d.colour("先年度"), 12);
    d.set("先年度", "2008");
    d.click("B表示");
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(d.cell("G時割", lessonRow(2), 3), "HR");

    // Another window drawing another class changes nothing here.
    ScreenDriver other(new 組時間割);
    other.pick("C学部", "高等部");
    other.pick("C学年", "1年");
    other.pick("C組", "1組");
    other.click("B表示");

    // 登録 takes the target as it is now, checked again.
    d.set("C先組", "9組");
    d.click("B登録");
    EXPECT_EQ(messages.last(), "組を正しく選択してください");
    d.pick("C先組", "3組");
    answer({true});
    d.click("B登録");
    EXPECT_EQ(week(2008, "3"), QStringList({"32 001 000/000 1"}));
    EXPECT_TRUE(week(2008, "2").isEmpty());
}

TEST_F(TimetableCopyTest, EditsStayInMemoryUntilRegisteredAndReplaceTheWholeSlot) {
    mastersOf2008();
    auto d = open("2008", "1組");
    clickSlot(*d, 2, 1);
    EXPECT_EQ(d->text("C科目"), "国語");
    EXPECT_EQ(d->text("C教科"), "現代の国語");
    EXPECT_EQ(d->text("C教員"), "鈴木　美咲");
    EXPECT_EQ(d->text("C曜日"), "月");
    EXPECT_EQ(d->back("G時割", teacherRow(1), 2), 10);
    clickSlot(*d, 6, 6);
    EXPECT_TRUE(d->checked("登録外授業"));
    EXPECT_EQ(d->text("C科目"), "HR");
    EXPECT_EQ(d->text("C教員"), "山口　幸子");
    EXPECT_EQ(d->back("G時割", teacherRow(1), 2), 15);

    // Monday's two teachers give way to one lesson.
    clickSlot(*d, 2, 1);
    d->pick("C教科", "言語文化");
    d->set("C教員", "高橋　誠");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(
        messages.texts().mid(0, 2),
        QStringList({"月曜 1時限の「現国（佐藤・鈴木）」を入力内容に置き換えます。よろしいですか？",
                     "授業TBLを更新しました"}));
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "言語文化");
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 2), "高橋　誠");
    // The same lesson with another teacher: both teach it.
    d->set("C教員", "鈴木　美咲");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業TBLを更新しました");
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 2), "高橋　誠・鈴木");

    // An empty slot keeps the fields: a free-text lesson goes in.
    clickSlot(*d, 3, 4);
    EXPECT_EQ(d->text("C時限"), "4");
    d->click("登録外授業");
    d->set("C科目", "総合");
    d->set("C教員", "佐藤　健一");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(d->cell("G時割", lessonRow(4), 3), "総合");

    d->set("C科目", "");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "科目に正しく入力して下さい");

    // An elective lesson shows as the elective it is.
    clickSlot(*d, 7, 1);
    d->click("授業");
    d->pick("C科目", "芸術選択");
    d->pick("C教科", "芸術α 音楽Ⅰ");
    d->set("C教員", "山口　幸子");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 7), "芸術");
    clickSlot(*d, 2, 2);
    answer({true, true});
    d->click("B削除");
    d->click("B削除");
    EXPECT_EQ(messages.last(), "指定授業は登録されていません");
    d->click("Bクリア");
    EXPECT_EQ(d->text("C曜日") + d->text("C科目") + d->text("C教員"), "");
    EXPECT_TRUE(week(2008, "1").isEmpty());

    answer({true});
    d->click("B登録");
    EXPECT_EQ(week(2008, "1"),
              QStringList({"21 002 01/02 0", "21 003 01/02 0", "34 001 000/000 1", "45 002 07/02 0",
                           "45 004 07/01 0", "53 001 06/01 0", "66 003 000/000 1",
                           "66 004 000/000 1", "71 004 07/01 0"}));
}

TEST_F(TimetableCopyTest, ACopyReplacesTheTargetsLessonsInTheSlotsItWritesAndNeedsALesson) {
    mastersOf2008();
    insert("組時間割", {{"組_年度", 2008},
                        {"組_学部", "002"},
                        {"組_学年", 1},
                        {"組_組", "1"},
                        {"組_曜日", 2},
                        {"組_時限", 1},
                        {"組_教員", "003"},
                        {"組_科目", "03"},
                        {"組_教科", "01"}});
    insert("組時間割", {{"組_年度", 2008},
                        {"組_学部", "002"},
                        {"組_学年", 1},
                        {"組_組", "1"},
                        {"組_曜日", 3},
                        {"組_時限", 3},
                        {"組_教員", "003"},
                        {"組_科目", "03"},
                        {"組_教科", "01"}});
    auto d = open("2008", "1組");
    answer({true});
    d->click("B登録");
    EXPECT_EQ(messages.texts().first(),
              "登録先の授業 1 件をコピーする授業に置き換えます。\n入力内容で更新します。");
    QStringList expected = kSourceWeek;
    expected.insert(3, "33 003 03/01 0");  // the slot the copy leaves empty keeps its lesson
    EXPECT_EQ(week(2008, "1"), expected);

    // A class without a timetable has nothing to copy, and nothing is registered from it.
    messages.clear();
    d->pick("C組", "3組");
    d->set("先年度", "2008");
    d->pick("C先組", "2組");
    d->click("B表示");
    EXPECT_EQ(messages.texts(),
              QStringList({"コピー元に授業が登録されていません。コピーする授業がありません"}));
    d->click("B登録");
    EXPECT_EQ(messages.last(), "コピー元に授業が登録されていません。コピーする授業がありません");
    EXPECT_TRUE(week(2008, "2").isEmpty());
}

TEST_F(TimetableCopyTest, BreakdownSwapShiftAndPrintAreReachedFromTheScreen) {
    auto d = open("2008", "1組");
    onModal([](ScreenDriver& m) { EXPECT_EQ(m.cell("G時割", 2, 1), "山口　幸子"); });
    clickSlot(*d, 4, 5);
    onModal([&](ScreenDriver& m) {
        m.pick("C元曜日", "月");
        m.pick("C元時限", "1");
        m.pick("C先曜日", "水");
        m.pick("C先時限", "5");
        answer({true});
        m.click("B確定");
    });
    d->click("B入替");
    EXPECT_EQ(modalOpened, QStringList({"選時間割TBL", "時間割入替"}));
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "芸術");
    EXPECT_EQ(d->cell("G時割", lessonRow(5), 4), "現国");

    // Monday..Friday to the left: Monday's lessons come round to Friday.
    d->click("B左シフト");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 6), "芸術");
    EXPECT_EQ(d->cell("G時割", lessonRow(6), 5), "HR");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "");
    d->click("B上シフト");
    EXPECT_EQ(messages.last(), "上下シフトの曜日を正しく選択して下さい");
    EXPECT_EQ(messages.shown.back().title, "時間割のコピー作成");
    d->click("O全件");
    d->click("B下シフト");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 3), "現国");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 6), "数Ⅰ");
    EXPECT_EQ(d->cell("G時割", lessonRow(2), 6), "芸術");

    d->click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    QStringList texts;
    for (const PrintItem& i : printed[0].pages.at(0).items) texts << i.text;
    EXPECT_TRUE(texts.contains("2007 年度"));
    EXPECT_TRUE(texts.contains("1年  1組"));
    EXPECT_TRUE(texts.contains("数Ⅰ"));
    EXPECT_EQ(records("組時間割").size(), 8u);
}

}  // namespace
