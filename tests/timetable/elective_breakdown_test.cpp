// The lessons of an elective slot, on the database (from 組時間割) and on a loaded timetable.

#include "timetable/class_timetable_screen.h"
#include "timetable/elective_breakdown_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

class ElectiveBreakdownTest : public TimetableTest {
protected:
    // 高等部 1年 1組, Wednesday (4) period 5: the elective pair.
    void SetUp() override {
        TimetableTest::SetUp();
        lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
        lesson("002", 1, "1", 4, 5, "002", "07", "02", "芸術β 美術Ⅰ", "芸術β");
    }
    std::unique_ptr<ScreenDriver> showClass() {
        auto d = std::make_unique<ScreenDriver>(new 組時間割);
        d->pick("C学部", "高等部");
        d->pick("C学年", "1年");
        d->pick("C組", "1組");
        d->click("B表示");
        return d;
    }
    // Opens the breakdown of the elective slot from the class timetable and runs `script` in it.
    void inBreakdown(ScreenDriver& timetable, std::function<void(ScreenDriver&)> script) {
        onModal(std::move(script));
        timetable.clickCell("G時割", lessonRow(5), 4);
        ASSERT_EQ(modalOpened.size(), 1u);
        EXPECT_EQ(modalOpened[0], "選時間割");
    }
    static QStringList listed(ScreenDriver& d) {
        QStringList out;
        for (int r = 1; r < d.grid("G時割").rows(); ++r)
            if (!d.cell("G時割", r, 0).isEmpty())
                out << d.cell("G時割", r, 0) + "/" + d.cell("G時割", r, 1);
        return out;
    }
};

TEST_F(ElectiveBreakdownTest, AMergedSlotOpensItsLessonsOfEverySelectionNumber) {
    lesson("002", 1, "1", 4, 5, "001", "07", "01", "芸術α 音楽Ⅰ", "", 1);  // selection number 1
    auto timetable = showClass();
    inBreakdown(*timetable, [&](ScreenDriver& d) {
        EXPECT_EQ(d.screen().windowTitle(), "選択教科の登録");
        EXPECT_EQ(d.screen().ctx().title, "選択教科の時間割内訳作成");
        EXPECT_EQ(d.text("学部"), "高等部");
        EXPECT_EQ(d.text("学年"), "1年");
        EXPECT_EQ(d.text("組"), "1組");
        EXPECT_EQ(d.text("曜日"), "水曜");
        EXPECT_EQ(d.text("時限"), "5 時限");
        EXPECT_EQ(d.cell("G時割", 0, 0), "教科名");
        EXPECT_EQ(d.cell("G時割", 0, 1), "担当教員");
        EXPECT_EQ(d.back("G時割", 0, 1), 14);
        EXPECT_EQ(listed(d),
                  QStringList({"芸術α/山口　幸子", "芸術β/鈴木　美咲", "芸術α 音楽Ⅰ/佐藤　健一"}));
        EXPECT_TRUE(d.entries("C科目").contains("芸術選択"));
    });
    // Back on the class timetable, its messages carry its own title again.
    timetable->clickCell("G時割", 0, 0);
    EXPECT_EQ(messages.shown.back().title, "時間割の作成");
}

TEST_F(ElectiveBreakdownTest, AfterTheBreakdownOneSlotIsHighlightedAtATime) {
    auto timetable = showClass();
    inBreakdown(*timetable, [&](ScreenDriver& d) { d.clickCell("G時割", 1, 0); });
    EXPECT_EQ(timetable->back("G時割", lessonRow(5), 4), 10);
    timetable->clickCell("G時割", lessonRow(2), 3);
    EXPECT_EQ(timetable->back("G時割", lessonRow(5), 4), 15);
    EXPECT_EQ(timetable->back("G時割", lessonRow(2), 3), 10);
}

TEST_F(ElectiveBreakdownTest, PickingARowLoadsItsLessonAndWritingRewritesOrAdds) {
    auto timetable = showClass();
    inBreakdown(*timetable, [&](ScreenDriver& d) {
        d.clickCell("G時割", 1, 0);
        EXPECT_EQ(d.back("G時割", 1, 1), 10);
        EXPECT_EQ(d.text("C科目"), "芸術選択");
        EXPECT_EQ(d.text("C教科"), "芸術α 音楽Ⅰ");
        EXPECT_EQ(d.text("C教員"), "山口　幸子");
        // The other subjects of the course subject are offered without picking it again.
        EXPECT_TRUE(d.entries("C教科").contains("芸術β 美術Ⅰ"));

        // The listed teacher: her lesson is rewritten.
        d.set("備考", "音楽室");
        answer({true});
        d.click("B確定");
        EXPECT_EQ(messages.last(), "授業は更新(登録)されました。");
        EXPECT_EQ(records("組時間割").size(), 2u);

        // Another teacher: a lesson is added, carrying the display name and an ordinary mark.
        d.clickCell("G時割", 3, 0);
        EXPECT_EQ(d.back("G時割", 1, 1), 15);
        d.pick("C科目", "芸術選択");
        d.pick("C教科", "芸術β 美術Ⅰ");
        d.set("C教員", "佐藤　健一");
        d.set("備考", "");
        answer({true});
        d.click("B確定");
        EXPECT_EQ(listed(d).size(), 3);
    });
    const auto rows = records("組時間割");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("組_備考"), Value("音楽室"));
    const Record& added = rows[2];
    EXPECT_EQ(added.at("組_教員"), Value("001"));
    EXPECT_EQ(added.at("組_教員名"), Value("佐藤　健一"));
    EXPECT_EQ(added.at("組_教員表示名"), Value("佐藤"));
    EXPECT_EQ(added.at("組_登録"), Value(0));
    EXPECT_EQ(added.at("組_科目"), Value("07"));
    EXPECT_EQ(added.at("組_教科"), Value("02"));
    EXPECT_EQ(added.at("組_教科略称"), Value("芸術β"));
    EXPECT_EQ(added.at("組_曜日"), Value(4));
    EXPECT_EQ(added.at("組_時限"), Value(5));
}

TEST_F(ElectiveBreakdownTest, AnEmptyRowEmptiesTheFieldsQuietlyAndDeleteRemovesThePickedLesson) {
    auto timetable = showClass();
    inBreakdown(*timetable, [&](ScreenDriver& d) {
        d.clickCell("G時割", 1, 0);
        d.clickCell("G時割", 4, 0);
        EXPECT_EQ(d.text("C科目"), "");
        EXPECT_EQ(d.text("C教員"), "");
        EXPECT_TRUE(messages.shown.empty());
        d.clickCell("G時割", 0, 0);
        EXPECT_EQ(messages.last(), "選択が有効範囲外です。");

        d.set("C教員", "誰か");
        d.click("B確定");
        EXPECT_EQ(messages.last(), "科目を正しく選択して下さい");

        answer({true});
        d.click("B削除");
        EXPECT_EQ(messages.last(), "指定授業は登録されていません");
        d.clickCell("G時割", 1, 0);
        answer({true});
        d.click("B削除");
        EXPECT_EQ(messages.last(), "指定授業は削除されました");
        EXPECT_EQ(listed(d), QStringList({"芸術β/鈴木　美咲"}));
    });
    EXPECT_EQ(records("組時間割").size(), 1u);
}

TEST_F(ElectiveBreakdownTest, MoreThanFiveLessonsAreAllListed) {
    for (int t = 1; t <= 6; ++t)
        lesson("002", 1, "1", 4, 5, QStringLiteral("1%1").arg(t).toUtf8().constData(), "07", "01",
               "芸術α 音楽Ⅰ", "芸術α");
    auto timetable = showClass();
    inBreakdown(*timetable, [&](ScreenDriver& d) { EXPECT_EQ(listed(d).size(), 8); });
}

class SlotTableBreakdownTest : public TimetableTest {
protected:
    // A caller with a loaded timetable: 高等部 1年 1組, Wednesday period 5 with `entries` lessons.
    void load(int entries) {
        for (const auto& [no, name, display] :
             std::vector<std::tuple<const char*, const char*, const char*>>{
                 {"005", "伊藤　大輔", "伊藤"}, {"006", "渡辺　直子", "渡辺"}})
            teacher(no, name, display);
        const char* teachers[] = {"001", "002", "003", "004", "005", "006"};
        for (int k = 0; k < entries; ++k)
            lesson("002", 1, "1", 4, 5, teachers[k], "07", k % 2 ? "02" : "01", "", "");
        selectClass(caller.ctx(), "002", 1, "1");
        GRD時割(caller.ctx(), 1, grid);
        caller.ctx().slotWeekday = 4;
        caller.ctx().slotPeriod = 5;
        caller.ctx().departmentName = "高等部";
    }
    Slot& slot() { return caller.ctx().slotTables.at(4, 5); }
    QStringList teachersInSlot() {
        QStringList out;
        for (int k = 1; k <= 10; ++k)
            if (!slot().entries[k].empty())
                out << QString::number(k) + ":" + slot().entries[k].teacher;
        return out;
    }

    Screen caller{"時間割コピー", "時間割コピー"};
    Grid grid;
};

TEST_F(SlotTableBreakdownTest, DeletingAnEntryMovesTheLaterOnesUp) {
    load(4);
    ScreenDriver d(new 選時間割TBL(&caller));
    EXPECT_EQ(d.entries("C番号").size(), 10);
    EXPECT_EQ(d.cell("G時割", 1, 0), "芸術α");
    EXPECT_EQ(d.cell("G時割", 2, 1), "鈴木　美咲");
    d.clickCell("G時割", 2, 0);
    EXPECT_EQ(d.text("C番号"), "2");
    EXPECT_EQ(d.text("C科目"), "芸術選択");
    EXPECT_EQ(d.text("C教科"), "芸術β 美術Ⅰ");
    EXPECT_EQ(d.text("C教員"), "鈴木　美咲");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.last(), "授業をテーブルから削除しました");
    EXPECT_EQ(teachersInSlot(), QStringList({"1:001", "2:003", "3:004"}));
    EXPECT_EQ(d.cell("G時割", 3, 1), "山口　幸子");
    EXPECT_EQ(d.cell("G時割", 4, 1), "");
    EXPECT_TRUE(records("組時間割").size() == 4u);  // only the loaded timetable changed
}

TEST_F(SlotTableBreakdownTest, DeletingTheOnlyEntryEmptiesTheSlot) {
    load(1);
    ScreenDriver d(new 選時間割TBL(&caller));
    d.set("C番号", "1");
    answer({true});
    d.click("B削除");
    EXPECT_FALSE(slot().occupied());
    EXPECT_TRUE(slot().subject.isEmpty());
    GRD時割再表示(caller.ctx(), grid);
    EXPECT_EQ(grid.textMatrix(lessonRow(5), 4), "");
}

TEST_F(SlotTableBreakdownTest, EntryNumbersOneToTenAreAcceptedAndAGapIsNeverLeft) {
    load(2);
    ScreenDriver d(new 選時間割TBL(&caller));
    for (const char* wrong : {"0", "11", "", "二"}) {
        d.set("C番号", wrong);
        d.click("B削除");
        EXPECT_EQ(messages.last(), "番号を選択して下さい") << wrong;
        EXPECT_EQ(d.colour("C番号"), 12);
    }
    d.set("C番号", "２");
    d.pick("C科目", "芸術選択");
    d.pick("C教科", "芸術α 音楽Ⅰ");
    d.set("C教員", "山口　幸子");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.last(), "授業テーブルの更新を行いました");
    EXPECT_EQ(teachersInSlot(), QStringList({"1:001", "2:004"}));

    // Entry 7 of a slot with two entries becomes the third.
    d.set("C番号", "7");
    d.set("C教員", "伊藤　大輔");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(teachersInSlot(), QStringList({"1:001", "2:004", "3:005"}));
    EXPECT_EQ(d.cell("G時割", 3, 1), "伊藤　大輔");
}

}  // namespace
