// 教員コマ as a clerk uses it on a morning when a teacher is away.

#include "changes/changes_fixture.h"
#include "changes/lesson_change.h"
#include "changes/teacher_slot_screen.h"
#include "changes/teacher_week.h"

namespace {

class TeacherSlotScreenTest : public ChangesTest {
protected:
    std::unique_ptr<ScreenDriver> showWeek(const char* teacher, const char* date) {
        auto d = std::make_unique<ScreenDriver>(new 教員コマ);
        d->set("照会日", date);
        d->leave("照会日");
        d->set("C教員", teacher);
        d->click("B表示");
        return d;
    }
    // The three rows of a lesson cell.
    static QStringList cellOf(ScreenDriver& d, int col, int period) {
        const int row = weekFirstRow(period);
        return {d.cell("G時割", row, col), d.cell("G時割", row + 1, col),
                d.cell("G時割", row + 2, col)};
    }
};

TEST_F(TeacherSlotScreenTest, ADatedWeekShowsTheTeachersChangesOverTheStandardLessons) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国の旧名");
    lesson("002", 1, "2", 4, 3, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("001", 2, "3", 6, 2, "001", "000", "000", "HR", "HR", 0, 1);
    changeTo("2007/06/08", "002", 1, "3", 4, "001", "言語文化", "");
    changeTo("2007/06/13", "002", 1, "3", 4, "001", "言語文化", "");  // the next week
    changeTo("2007/06/05", "002", 1, "3", 4, "001", "言語文化", "");  // the week before
    changeTo("2007/06/06", "002", 1, "2", 3, "002", "言語文化", "");  // another teacher's
    auto d = showWeek("佐藤　健一", "2007/6/6");
    EXPECT_EQ(d->screen().windowTitle(), "教員コマの変更・照会");
    EXPECT_EQ(d->text("照会日"), "2007/06/06");
    EXPECT_EQ(d->text("曜日"), "水");
    Grid& g = d->grid("G時割");
    EXPECT_EQ(g.rows(), 32);
    EXPECT_EQ(g.cols(), 8);
    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.colWidth(0), 500);
    EXPECT_EQ(d->cell("G時割", 0, 0), "時限");
    EXPECT_EQ(d->cell("G時割", 0, 1), "2007/06/06");
    EXPECT_EQ(d->cell("G時割", 1, 1), "水");
    EXPECT_EQ(d->cell("G時割", 0, 7), "2007/06/12");
    EXPECT_EQ(d->cell("G時割", 1, 7), "火");
    EXPECT_EQ(d->back("G時割", 1, 3), 14);
    EXPECT_EQ(d->span("G時割", weekFirstRow(2), 0), (Grid::Span{weekFirstRow(2), 0, 3, 1}));

    // Monday is column 6; the subject shows the master's short name.
    EXPECT_EQ(cellOf(*d, 6, 1), QStringList({"高等部", "1年 1組", "現国"}));
    EXPECT_EQ(cellOf(*d, 1, 3), QStringList({"高等部", "1年 2組", "数Ⅰ"}));
    EXPECT_EQ(cellOf(*d, 3, 2), QStringList({"中学部", "2年 3組", "HR"}));
    EXPECT_EQ(cellOf(*d, 3, 4), QStringList({"高等部", "1年 3組", "言語文化"}));
    EXPECT_EQ(d->fore("G時割", weekFirstRow(4) + 2, 3), 13);
    EXPECT_EQ(d->fore("G時割", weekFirstRow(1), 6), 0);
    EXPECT_EQ(cellOf(*d, 7, 4), QStringList({"", "", ""}));

    // The standard week: weekday names from Sunday, no changes.
    d->click("標準F");
    EXPECT_EQ(d->text("照会日"), "");
    EXPECT_FALSE(d->enabled("照会日"));
    d->click("B表示");
    EXPECT_TRUE(messages.shown.empty()) << messages.last().toStdString();
    EXPECT_EQ(d->cell("G時割", 0, 1), "日");
    EXPECT_EQ(d->span("G時割", 0, 1), (Grid::Span{0, 1, 2, 1}));
    EXPECT_EQ(cellOf(*d, 2, 1), QStringList({"高等部", "1年 1組", "現国"}));
    EXPECT_EQ(cellOf(*d, 6, 4), QStringList({"", "", ""}));
}

TEST_F(TeacherSlotScreenTest, EventsTakeTheLessonsOfTheirDepartmentGradeAndPeriods) {
    school().grades[3] = {"10", "10年"};
    school().gradeCount = 3;
    for (int p : {1, 3, 5}) lesson("002", 1, "1", 2, p, "001", "01", "01", "現代の国語", "現国");
    lesson("001", 2, "3", 3, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    lesson("001", 10, "1", 4, 1, "001", "03", "01", "数学Ⅰ", "数Ⅰ");
    event("2007/06/04", "2007/06/04", "002", 1, 2, 3, 4, "定期考査", "考査");
    event("2007/06/04", "2007/06/04", "000", 0, 1, 0, 0, "歯科検診", "検診");
    event("2007/06/05", "2007/06/05", "000", 0, 0, 0, 0, "体育祭");
    event("2007/06/06", "2007/06/06", "001", 1, 0, 0, 0, "学年集会", "集会");
    event("2007/06/20", "2007/06/20", "000", 0, 0, 0, 0, "遠足");
    event("2007/05/28", "2007/06/30", "002", 1, 2, 5, 5, "補講期間", "補講");
    auto d = showWeek("佐藤　健一", "2007/06/04");
    EXPECT_EQ(cellOf(*d, 1, 1), QStringList({"高等部", "1年 1組", "現国"}));
    EXPECT_EQ(cellOf(*d, 1, 3), QStringList({"考査", "考査", "考査"}));
    EXPECT_EQ(d->fore("G時割", weekFirstRow(3), 1), 13);
    EXPECT_EQ(d->span("G時割", weekFirstRow(3), 1), (Grid::Span{weekFirstRow(3), 1, 3, 1}));
    EXPECT_EQ(cellOf(*d, 1, 5), QStringList({"補講", "補講", "補講"}));
    EXPECT_EQ(cellOf(*d, 2, 1), QStringList({"体育祭", "体育祭", "体育祭"}));
    // The grade is the lesson's, not the first figure of "10年".
    EXPECT_EQ(cellOf(*d, 3, 1), QStringList({"中学部", "10年 1組", "数Ⅰ"}));
}

TEST_F(TeacherSlotScreenTest, TheWeeksLastDayEndsItsEventsAndASubjectGoneShowsTheLessonsName) {
    lesson("002", 1, "1", 2, 2, "001", "03", "09", "数学Ⅱ", "数Ⅱ");  // not in the master
    lesson("002", 1, "1", 1, 1, "001", "01", "01", "現代の国語", "現国");
    event("2007/06/10", "2007/06/10", "000", 0, 0, 0, 0, "文化祭");
    event("2007/06/11", "2007/06/12", "000", 0, 0, 0, 0, "遠足");
    auto d = showWeek("佐藤　健一", "2007/06/04");
    // Monday first: the Sunday of the week is its last column.
    EXPECT_EQ(cellOf(*d, 1, 2), QStringList({"高等部", "1年 1組", "数Ⅱ"}));
    EXPECT_EQ(cellOf(*d, 7, 1), QStringList({"文化祭", "文化祭", "文化祭"}));
}

TEST_F(TeacherSlotScreenTest, APickedLessonGoesToAnotherTeacherForItsDate) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    auto d = showWeek("佐藤　健一", "2007/06/04");
    d->clickCell("G時割", weekFirstRow(1) + 1, 1);
    EXPECT_EQ(d->text("C学部"), "高等部");
    EXPECT_EQ(d->text("C学年"), "1年");
    EXPECT_EQ(d->text("C組"), "1組");
    EXPECT_EQ(d->text("C教科"), "現代の国語");
    EXPECT_EQ(d->back("G時割", weekFirstRow(1), 1), 10);
    EXPECT_EQ(d->back("G時割", weekFirstRow(1) + 2, 1), 10);

    d->pick("C科目", "数学");
    d->pick("C教科", "数学Ⅰ");
    d->set("C教員", "鈴木　美咲");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"入力内容で更新します。", "授業は変更されました。"}));
    EXPECT_EQ(messages.shown[1].title, "教員コマの変更・照会");
    auto changes = records("時限変更");
    ASSERT_EQ(changes.size(), 1u);
    const Record expected = {{"変_年度", 2007},
                             {"変_日付", "2007/06/04"},
                             {"変_学部", "002"},
                             {"変_学年", 1},
                             {"変_コース", ""},
                             {"変_組", "1"},
                             {"変_選択番号", 0},
                             {"変_時限", 1},
                             {"変_科目", "03"},
                             {"変_教科", "01"},
                             {"変_教科名", "数学Ⅰ"},
                             {"変_教科略称", "数Ⅰ"},
                             {"変_教員", "002"},
                             {"変_教員名", "鈴木　美咲"},
                             {"変_教員表示名", "鈴木"},
                             {"変_備考", ""},
                             {"変_登録", 0}};
    EXPECT_EQ(changes[0], expected);
    // The week of the teacher who now gives the lesson, with the change in it.
    EXPECT_EQ(cellOf(*d, 1, 1), QStringList({"高等部", "1年 1組", "数Ⅰ"}));
    EXPECT_EQ(d->fore("G時割", weekFirstRow(1), 1), 13);
    EXPECT_EQ(d->text("C組"), "");

    // Picked again, the lesson shows the change; a second change edits it and keeps its remark.
    messages.clear();
    {
        Operation op;
        Recordset rs("時限変更");
        ChangeKey{2007, "2007/06/04", "002", 1, "", "1", 1}.find(rs);
        rs.edit();
        rs.set("変_備考", "出張のため");
        rs.update();
        op.commit();
    }
    d->clickCell("G時割", weekFirstRow(1), 1);
    EXPECT_EQ(d->text("C科目"), "数学");
    EXPECT_EQ(d->text("C教科"), "数学Ⅰ");
    d->set("C教員", "高橋　誠");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業は変更されました。");
    changes = records("時限変更");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].at("変_教員"), Value("003"));
    EXPECT_EQ(changes[0].at("変_備考"), Value("出張のため"));
}

TEST_F(TeacherSlotScreenTest, HeadersMissingPicksStandardWeeksAndDoubleBookingsAreRefused) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    lesson("002", 1, "2", 2, 1, "002", "01", "01", "現代の国語", "現国");
    changeTo("2007/06/04", "001", 1, "1", 1, "003", "数学Ⅰ", "数Ⅰ");
    auto d = showWeek("佐藤　健一", "2007/06/04");
    for (auto [row, col] : {std::pair{0, 1}, {1, 1}, {5, 0}}) {
        d->clickCell("G時割", row, col);
        EXPECT_EQ(messages.last(), "選択が有効範囲外です。");
    }
    messages.clear();
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"時間割を選択して下さい"}));

    // The replacement must be free that date and period, in the timetable and in the changes.
    d->clickCell("G時割", weekFirstRow(1), 1);
    d->pick("C科目", "国語");
    d->pick("C教科", "現代の国語");
    for (auto [teacher, message] :
         {std::pair{"鈴木　美咲", "高等部 1年 2組 に授業が登録されています"},
          {"高橋　誠", "中学部 1年 1組 に授業が登録されています"}}) {
        d->set("C教員", teacher);
        d->click("B確定");
        EXPECT_EQ(messages.last(), message);
    }

    // The standard week changes nothing.
    d->click("標準F");
    d->click("B表示");
    d->clickCell("G時割", weekFirstRow(1), 2);
    d->set("C教員", "山口　幸子");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "教員コマ照会では、標準の時間割の変更を出来ません");
    EXPECT_EQ(records("時限変更").size(), 1u);
}

TEST_F(TeacherSlotScreenTest, AChangeIsCancelledOrUndoneByConfirmingTheStandardLesson) {
    lesson("002", 1, "1", 2, 1, "001", "01", "01", "現代の国語", "現国");
    changeTo("2007/06/04", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ");
    auto d = showWeek("鈴木　美咲", "2007/06/04");
    d->clickCell("G時割", weekFirstRow(1), 1);
    answer({false});
    d->click("B変更取消");
    EXPECT_EQ(messages.last(),
              "2007/06/04 1限 高等部1年1組 の変更（数学Ⅰ　鈴木　美咲）を取消します。");
    EXPECT_EQ(records("時限変更").size(), 1u);
    answer({true});
    d->click("B変更取消");
    EXPECT_EQ(messages.last(), "変更を取消しました。");
    EXPECT_TRUE(records("時限変更").empty());
    EXPECT_EQ(cellOf(*d, 1, 1), QStringList({"", "", ""}));

    // Giving the lesson back to its own teacher with its own subject stores no copy of it.
    changeTo("2007/06/04", "002", 1, "1", 1, "002", "数学Ⅰ", "数Ⅰ");
    auto own = showWeek("佐藤　健一", "2007/06/04");
    own->clickCell("G時割", weekFirstRow(1), 1);
    own->pick("C科目", "国語");
    own->pick("C教科", "現代の国語");
    own->set("C教員", "佐藤　健一");
    answer({true});
    own->click("B確定");
    EXPECT_TRUE(records("時限変更").empty());
    EXPECT_EQ(cellOf(*own, 1, 1), QStringList({"高等部", "1年 1組", "現国"}));
    EXPECT_EQ(own->fore("G時割", weekFirstRow(1), 1), 0);
}

}  // namespace
