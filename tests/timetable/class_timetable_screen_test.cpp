// 組時間割 as a clerk uses it: show a class, click a slot, enter a lesson, confirm or delete.

#include <QApplication>
#include <QTest>

#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_fixture.h"
#include "timetable/timetable_grid.h"

namespace {

class ClassTimetableScreenTest : public TimetableTest {
protected:
    std::unique_ptr<ScreenDriver> openShowing(const char* dept = "高等部",
                                              const char* grade = "1年",
                                              const char* klass = "1組") {
        auto d = std::make_unique<ScreenDriver>(new 組時間割);
        d->pick("C学部", dept);
        d->pick("C学年", grade);
        d->pick("C組", klass);
        d->click("B表示");
        return d;
    }
    // Clicks the slot's lesson line.
    static void clickSlot(ScreenDriver& d, int weekday, int period) {
        d.clickCell("G時割", lessonRow(period), weekday);
    }
    static void enterLesson(ScreenDriver& d, const char* kamoku, const char* subject,
                            const char* teacher, const char* remark = "") {
        d.pick("C科目", kamoku);
        d.pick("C教科", subject);
        d.set("C教員", teacher);
        d.set("備考", remark);
    }
    static std::vector<Record> lessons() { return records("組時間割"); }
};

TEST_F(ClassTimetableScreenTest, ShowingAClassDrawsItsWeekAndOffersItsCourseSubjects) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    auto d = openShowing();
    EXPECT_EQ(d->screen().windowTitle(), "時間割の登録");
    EXPECT_EQ(d->text("年度"), "2007");
    EXPECT_EQ(d->entries("C曜日"), QStringList({"日", "月", "火", "水", "木", "金", "土"}));
    EXPECT_EQ(d->entries("C時限").last(), "10");
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "現国");
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 2), "佐藤");
    EXPECT_TRUE(d->entries("C科目").contains("芸術選択"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ClassTimetableScreenTest, LeavingAnEmptyDropDownSaysWhyAndArrowsDoNotSwitchTheKindOfLesson) {
    auto d = openShowing();
    d->showActive();
    messages.clear();
    d->set("C曜日", "");
    d->focus("C曜日");
    d->key(Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({"曜日を正しく選択して下さい"}));
    EXPECT_EQ(d->focused(), "C曜日");
    // A slip of the arrow key on 授業 does not turn the lesson into a free-text one.
    d->focus("授業");
    d->key(Qt::Key_Down);
    EXPECT_TRUE(d->checked("授業"));
}

TEST_F(ClassTimetableScreenTest, AnEmptySlotIsReadyForANewLessonWhichIsStoredAndDrawn) {
    auto d = openShowing();
    d->set("備考", "old");
    clickSlot(*d, 3, 2);
    EXPECT_EQ(d->text("C曜日"), "火");
    EXPECT_EQ(d->text("C時限"), "2");
    EXPECT_EQ(d->text("C科目"), "");
    EXPECT_EQ(d->text("備考"), "");
    EXPECT_EQ(d->back("G時割", lessonRow(2), 3), 10);
    EXPECT_EQ(d->back("G時割", teacherRow(2), 3), 10);

    enterLesson(*d, "国語", "現代の国語", "鈴木　美咲", "少人数");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "授業は更新(登録)されました。"}));
    EXPECT_EQ(messages.shown[1].title, "時間割の作成");
    ASSERT_EQ(lessons().size(), 1u);
    const auto rows = lessons();
    const Record& r = rows[0];
    EXPECT_EQ(r.at("組_年度"), Value(2007));
    EXPECT_EQ(r.at("組_学部"), Value("002"));
    EXPECT_EQ(r.at("組_学年"), Value(1));
    EXPECT_EQ(r.at("組_組"), Value("1"));
    EXPECT_EQ(r.at("組_曜日"), Value(3));
    EXPECT_EQ(r.at("組_時限"), Value(2));
    EXPECT_EQ(r.at("組_教員"), Value("002"));
    EXPECT_EQ(r.at("組_教員名"), Value("鈴木　美咲"));
    EXPECT_EQ(r.at("組_教員表示名"), Value("鈴木"));
    EXPECT_EQ(r.at("組_科目"), Value("01"));
    EXPECT_EQ(r.at("組_科目名"), Value("国語"));
    EXPECT_EQ(r.at("組_教科"), Value("01"));
    EXPECT_EQ(r.at("組_教科名"), Value("現代の国語"));
    EXPECT_EQ(r.at("組_教科略称"), Value("現国"));
    EXPECT_EQ(r.at("組_登録"), Value(0));
    EXPECT_EQ(r.at("組_備考"), Value("少人数"));
    EXPECT_EQ(d->cell("G時割", lessonRow(2), 3), "現国");
    EXPECT_EQ(d->cell("G時割", teacherRow(2), 3), "鈴木");
    // The redraw forgets the highlighted slot.
    EXPECT_EQ(d->back("G時割", lessonRow(2), 3), 15);
}

TEST_F(ClassTimetableScreenTest, ClickingALessonLoadsItEvenForATeacherWithADisplayName) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    auto d = openShowing();
    clickSlot(*d, 2, 1);
    EXPECT_EQ(d->text("C科目"), "");  // 組_科目名 was not stored for this lesson
    EXPECT_EQ(d->text("C教科"), "現代の国語");
    EXPECT_EQ(d->text("C教員"), "佐藤　健一");
    EXPECT_EQ(d->text("C曜日"), "月");
    EXPECT_TRUE(d->checked("授業"));

    // The previous slot goes back to white when another is picked.
    clickSlot(*d, 4, 3);
    EXPECT_EQ(d->back("G時割", lessonRow(1), 2), 15);
    EXPECT_EQ(d->back("G時割", teacherRow(3), 4), 10);
    EXPECT_EQ(d->text("C教員"), "");
}

TEST_F(ClassTimetableScreenTest, ASecondTeacherTeachesAlongAndAnotherLessonReplacesTheWholeSlot) {
    insert("組時間割", {{"組_年度", 2007},
                        {"組_学部", "002"},
                        {"組_学年", 1},
                        {"組_組", "1"},
                        {"組_曜日", 2},
                        {"組_時限", 1},
                        {"組_教員", "001"},
                        {"組_科目", "01"},
                        {"組_教科", "01"},
                        {"組_教科名", "現代の国語"},
                        {"組_教科略称", "現国"},
                        {"組_教員名", "佐藤　健一（旧）"},
                        {"組_教員表示名", "佐藤（旧）"}});
    auto d = openShowing();
    clickSlot(*d, 2, 1);
    enterLesson(*d, "国語", "現代の国語", "佐藤　健一", "新しい備考");
    answer({true});
    d->click("B確定");
    ASSERT_EQ(lessons().size(), 1u);  // the same teacher: the lesson is rewritten, not doubled
    EXPECT_EQ(lessons()[0].at("組_教員名"), Value("佐藤　健一（旧）"));
    EXPECT_EQ(lessons()[0].at("組_教員表示名"), Value("佐藤（旧）"));
    EXPECT_EQ(lessons()[0].at("組_備考"), Value("新しい備考"));
    EXPECT_EQ(lessons()[0].at("組_科目名"), Value("国語"));

    // The same lesson with another teacher: both teach it, and both are shown.
    enterLesson(*d, "国語", "現代の国語", "鈴木　美咲");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts().mid(messages.texts().size() - 2),
              QStringList({"入力内容で更新します。", "授業は更新(登録)されました。"}));
    ASSERT_EQ(lessons().size(), 2u);
    EXPECT_EQ(lessons()[1].at("組_教員"), Value("002"));
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 2), "佐藤・鈴木");

    // Another subject replaces the slot, every teacher of it, once the user agrees.
    clickSlot(*d, 2, 1);
    EXPECT_EQ(d->text("C教員"), "佐藤　健一（旧）");
    enterLesson(*d, "国語", "言語文化", "鈴木　美咲");
    answer({false});
    d->click("B確定");
    EXPECT_EQ(messages.last(),
              "月曜 1時限の「現国（佐藤・鈴木）」を入力内容に置き換えます。よろしいですか？");
    EXPECT_EQ(lessons().size(), 2u);
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業は更新(登録)されました。");
    ASSERT_EQ(lessons().size(), 1u);
    EXPECT_EQ(lessons()[0].at("組_教科"), Value("02"));
    EXPECT_EQ(d->cell("G時割", teacherRow(1), 2), "鈴木");
}

TEST_F(ClassTimetableScreenTest, TheFieldsShowTheSlotAfterItsBreakdownAndNothingOfAnotherClass) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "1", 4, 5, "004", "07", "01", "芸術α 音楽Ⅰ", "芸術α");
    auto d = openShowing();
    clickSlot(*d, 2, 1);
    EXPECT_EQ(d->text("C教員"), "佐藤　健一");
    clickSlot(*d, 4, 5);  // the breakdown opens and closes
    ASSERT_EQ(modalOpened, QStringList({"選時間割"}));
    EXPECT_EQ(d->text("C曜日"), "水");
    EXPECT_EQ(d->text("C時限"), "5");
    EXPECT_EQ(d->text("C教科"), "芸術α 音楽Ⅰ");
    EXPECT_EQ(d->back("G時割", lessonRow(5), 4), 10);

    d->pick("C組", "2組");
    d->click("B表示");
    EXPECT_EQ(d->text("C曜日") + d->text("C時限") + d->text("C教科") + d->text("C教員"), "");
}

TEST_F(ClassTimetableScreenTest, AFreeTextLessonIsStoredWithItsTextAndCode000) {
    auto d = openShowing();
    clickSlot(*d, 6, 6);
    d->click("登録外授業");
    d->set("C科目", "特別活動");
    d->set("C教科", "HR");
    d->leave("C教科");  // offers the homeroom teacher first, then everybody
    EXPECT_EQ(d->entries("C教員").size(), 4);
    d->set("C教員", "高橋　誠");
    answer({true});
    d->click("B確定");
    ASSERT_EQ(lessons().size(), 1u);
    const auto rows = lessons();
    const Record& r = rows[0];
    EXPECT_EQ(r.at("組_科目"), Value("000"));
    EXPECT_EQ(r.at("組_科目名"), Value("特別活動"));
    EXPECT_EQ(r.at("組_教科"), Value("000"));
    EXPECT_EQ(r.at("組_教科名"), Value("HR"));
    EXPECT_EQ(r.at("組_教科略称"), Value("HR"));
    EXPECT_EQ(r.at("組_登録"), Value(1));
    EXPECT_EQ(d->cell("G時割", lessonRow(6), 6), "HR");
    EXPECT_EQ(d->cell("G時割", teacherRow(6), 6), "高橋　誠");

    // Reloaded by a click, the option follows the record.
    d->click("授業");
    clickSlot(*d, 6, 6);
    EXPECT_TRUE(d->checked("登録外授業"));

    // Without its text a free-text lesson would be invisible: refused.
    clickSlot(*d, 6, 5);
    d->click("登録外授業");
    d->set("C科目", "特別活動");
    d->set("C教員", "高橋　誠");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "教科に正しく入力して下さい");
    EXPECT_EQ(lessons().size(), 1u);
}

TEST_F(ClassTimetableScreenTest, ADoubleBookingIsRefusedButReconfirmingTheSameLessonIsNot) {
    lesson("002", 1, "2", 2, 3, "001", "03", "01", "数学Ⅰ", "数Ⅰ");  // 佐藤 in 2組, Monday 3rd
    auto d = openShowing();
    clickSlot(*d, 2, 3);
    enterLesson(*d, "数学", "数学Ⅰ", "佐藤　健一");
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"高等部 1年 2組 に授業が登録されています"}));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(lessons().size(), 1u);

    // In the class's own slot the lesson can be confirmed again, with a new remark.
    auto other = openShowing("高等部", "1年", "2組");
    clickSlot(*other, 2, 3);
    EXPECT_EQ(other->text("C教員"), "佐藤　健一");
    other->pick("C科目", "数学");
    other->pick("C教科", "数学Ⅰ");
    other->set("C教員", "佐藤　健一");
    other->set("備考", "教室変更");
    answer({true});
    other->click("B確定");
    EXPECT_EQ(messages.last(), "授業は更新(登録)されました。");
    EXPECT_EQ(lessons()[0].at("組_備考"), Value("教室変更"));
}

TEST_F(ClassTimetableScreenTest, FieldChecksRefuseWrongEntriesAndNoAnswerWritesNothing) {
    auto d = openShowing();
    clickSlot(*d, 2, 1);
    enterLesson(*d, "国語", "現代の国語", "佐藤　健一");

    d->set("C時限", "11");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "時限に正しく入力してください");
    EXPECT_EQ(d->colour("C時限"), 12);
    d->set("C時限", "");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "時限を選択して下さい");
    d->set("C時限", "3");
    d->set("C曜日", "月曜");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "曜日を正しく選択して下さい");
    d->set("C曜日", "月");
    d->set("C教員", "誰か");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "教員を正しく選択して下さい");
    EXPECT_EQ(d->colour("C教員"), 12);
    d->set("C教員", "佐藤　健一");
    d->set("C教科", "古典");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "教科を正しく選択して下さい");
    d->set("C教科", "現代の国語");
    d->set("C科目", "理科");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "科目を正しく選択してください");
    EXPECT_EQ(d->colour("C科目"), 12);
    EXPECT_TRUE(lessons().empty());
    // Picking a valid entry clears the red at once.
    d->pick("C科目", "国語");
    EXPECT_EQ(d->colour("C科目"), 0);
    d->set("C教科", "現代の国語");

    // A period typed as 10 fits the grid; a No answer stops before anything is written.
    d->set("C科目", "国語");
    d->set("C時限", "10");
    answer({false});
    d->click("B確定");
    EXPECT_TRUE(lessons().empty());
    answer({true});
    d->click("B確定");
    ASSERT_EQ(lessons().size(), 1u);
    EXPECT_EQ(lessons()[0].at("組_時限"), Value(10));
    EXPECT_EQ(d->cell("G時割", lessonRow(10), 2), "現国");
}

TEST_F(ClassTimetableScreenTest, WritesGoToTheShownClassWhateverIsPickedElsewhere) {
    auto d = openShowing();
    auto other = openShowing("中学部", "2年", "3組");  // another window with its own picks
    clickSlot(*d, 2, 1);
    enterLesson(*d, "国語", "現代の国語", "佐藤　健一");
    d->pick("C組", "2組");  // picked but not shown
    answer({true});
    d->click("B確定");
    ASSERT_EQ(lessons().size(), 1u);
    EXPECT_EQ(lessons()[0].at("組_学部"), Value("002"));
    EXPECT_EQ(lessons()[0].at("組_組"), Value("1"));
    EXPECT_EQ(other->screen().ctx().departmentCode, "001");
}

TEST_F(ClassTimetableScreenTest, DeletingTheClickedLessonOrOneThatIsNotThere) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    auto d = openShowing();
    clickSlot(*d, 2, 2);
    answer({true});
    d->click("B削除");
    EXPECT_EQ(messages.last(), "指定授業は登録されていません");
    EXPECT_EQ(lessons().size(), 1u);

    clickSlot(*d, 2, 1);
    answer({false});
    d->click("B削除");
    EXPECT_EQ(lessons().size(), 1u);
    answer({true});
    d->click("B削除");
    EXPECT_EQ(messages.last(), "指定授業は削除されました");
    EXPECT_TRUE(lessons().empty());
    EXPECT_EQ(d->cell("G時割", lessonRow(1), 2), "");
}

// Another workstation writes the slot between the pick and 確定 or 削除: nothing is overwritten
// or deleted until the slot is picked again.
TEST_F(ClassTimetableScreenTest, ASlotChangedElsewhereSinceItWasPickedIsNotOverwritten) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    auto d = openShowing();
    clickSlot(*d, 2, 1);
    runSql("UPDATE \"組時間割\" SET \"組_備考\" = '他の端末'");
    answer({true});
    d->click("B削除");
    EXPECT_EQ(messages.last(), kChangedText);
    ASSERT_EQ(lessons().size(), 1u);

    clickSlot(*d, 2, 2);
    enterLesson(*d, "国語", "現代の国語", "佐藤　健一", "自分");
    lesson("002", 1, "1", 2, 2, "002", "03", "01", "数学Ⅰ", "数Ⅰ");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), kChangedText);
    ASSERT_EQ(lessons().size(), 2u);
    EXPECT_EQ(lessons()[1].at("組_教員"), Value("002"));

    clickSlot(*d, 2, 2);
    enterLesson(*d, "国語", "現代の国語", "佐藤　健一", "自分");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業は更新(登録)されました。");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業は更新(登録)されました。");
}

TEST_F(ClassTimetableScreenTest, TheKeyboardReachesEveryControlInTurnAndPicksSlots) {
    auto d = openShowing();
    Screen& s = d->screen();
    s.show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    d->control("年度")->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty()) w = w->parentWidget();
        order << (w ? w->objectName() : QString());
    }
    EXPECT_EQ(order, QStringList({"C学部", "C学年", "C組", "B表示", "G時割", "授業"}));
    // In the grid, the arrow keys move and Return picks the slot as a click would.
    auto& g = d->grid("G時割");
    g.setCurrentIndex(g.model()->index(lessonRow(1), 1));
    QTest::keyClick(&g, Qt::Key_Right);
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Return);
    EXPECT_EQ(d->text("C曜日"), "月");
    EXPECT_EQ(d->text("C時限"), "2");
}

TEST_F(ClassTimetableScreenTest, NothingIsWrittenBeforeAClassIsShownAndHeadersAreNoSlots) {
    ScreenDriver d(new 組時間割);
    d.clickCell("G時割", 0, 3);
    EXPECT_EQ(messages.last(), "選択が有効範囲外です。");
    d.clickCell("G時割", 5, 0);
    EXPECT_EQ(messages.shown.size(), 2u);
    d.click("B確定");
    EXPECT_EQ(messages.last(), "組を正しく選択してください");
    d.click("B削除");
    EXPECT_EQ(messages.last(), "組を正しく選択してください");
    EXPECT_TRUE(lessons().empty());

    // Showing needs a valid class. Nothing is chosen until the user chooses it.
    for (const char* picker : {"C学部", "C学年", "C組", "C科目", "C教員"})
        EXPECT_EQ(d.text(picker), "") << picker;
    d.pick("C学部", "高等部");
    d.click("B表示");
    EXPECT_EQ(messages.last(), "学年を正しく選択してください");
    d.pick("C学年", "1年");
    d.set("C組", "9組");
    d.click("B表示");
    EXPECT_EQ(messages.last(), "組を正しく選択してください");
}

}  // namespace
