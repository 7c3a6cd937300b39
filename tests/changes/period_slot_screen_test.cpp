// 時限コマ: one period of a date across the school, and who can stand in.

#include <QCoreApplication>
#include <QScrollBar>

#include "changes/changes_fixture.h"
#include "changes/period_slot_screen.h"

namespace {

class PeriodSlotScreenTest : public ChangesTest {
protected:
    // Monday 2007/06/04, period 2: columns 中学部 1年 1, 2年 2 and 高等部 1年 4, 2年 5.
    void SetUp() override {
        ChangesTest::SetUp();
        monday("002", 1, "1", "001", "01", "国語", "01", "現代の国語", "現国");
        monday("002", 1, "2", "002", "03", "数学", "01", "数学Ⅰ", "数Ⅰ");
        monday("001", 1, "1", "003", "000", "", "000", "HR", "HR", 1);
        teacherWith("005", "伊藤　花子", "イトウ ハナコ", "2007/06/01", "2007/06/30");
        teacherWith("006", "加藤　隆", "カトウ タカシ", "2007/05/01", "2007/06/03");
        teacherWith("007", "木村　翔", "キムラ ショウ", "2007/05/01", "");
        teacherWith("008", "阿部　徹", "アベ トオル");
        teacherWith("009", "上田　亮", "ウエダ リョウ");
        changeTo("2007/06/04", "002", 1, "2", 2, "008", "数学Ⅰ", "数Ⅰ", "出張");
        assignment("004", "山口　幸子", "002", 1, "01", "01");
        assignment("004", "山口　幸子", "002", 1, "03", "01");
        for (const char* t : {"005", "007", "008"}) assignment(t, "", "002", 1, "01", "01");
        assignment("006", "加藤　隆", "002", 1, "01", "02");
    }
    static void monday(const char* dept, int grade, const char* klass, const char* teacher,
                       const char* kamoku, const char* kamokuName, const char* subject,
                       const char* subjectName, const char* shortName, int freeText = 0) {
        lesson(dept, grade, klass, 2, 2, teacher, kamoku, subject, subjectName, shortName, 0,
               freeText);
        Operation op;
        Recordset rs("組時間割");
        rs.setIndex("Key_時間割");
        rs.seek(Seek::Equal, {2007, dept, grade, "", klass, 0, 2, 2, teacher});
        rs.edit();
        rs.set("組_科目名", kamokuName);
        rs.update();
        op.commit();
    }
    std::unique_ptr<ScreenDriver> show() {
        auto d = std::make_unique<ScreenDriver>(new 時限コマ);
        d->set("C時限", "2");
        d->click("B表示");
        return d;
    }
    static QStringList standby(ScreenDriver& d) {
        QStringList rows;
        for (int r = 1; !d.cell("G教員", r, 0).isEmpty(); ++r) {
            QStringList cells;
            for (int c = 0; c < 6; ++c) cells << d.cell("G教員", r, c);
            rows << cells.join(",");
        }
        return rows;
    }
    static Record changeOf(const char* dept, const char* klass) {
        for (const Record& r : records("時限変更"))
            if (r.at("変_学部") == Value(dept) && r.at("変_組") == Value(klass)) return r;
        return {};
    }
};

TEST_F(PeriodSlotScreenTest, ShowingListsTheLessonsAndTheTeachersFreeThenByKana) {
    auto d = show();
    EXPECT_EQ(d->screen().windowTitle(), "時限コマの変更・照会");
    EXPECT_EQ(d->text("照会日"), "2007/06/04");
    EXPECT_EQ(d->text("曜日"), "月");
    EXPECT_EQ(d->entries("C時限").size(), 10);
    EXPECT_TRUE(messages.shown.empty()) << messages.last().toStdString();
    EXPECT_EQ(d->cell("G時割", 2, 4), "現国");
    EXPECT_EQ(d->cell("G時割", 5, 4), "阿部　徹");

    // On leave that day, teaching then, or taking a lesson by a change: not listed, even when
    // the teacher's own lesson has gone to someone else. Nor is a teacher without assignments.
    EXPECT_EQ(standby(*d), QStringList({"006,加藤　隆,高等部,1,国語,言語文化",
                                        "004,山口　幸子,高等部,1,国語,現国",
                                        "004,山口　幸子,高等部,1,数学,数Ⅰ"}));
    Grid& g = d->grid("G教員");
    EXPECT_EQ(g.rows(), 501);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.colWidth(1), 850);
    EXPECT_EQ(d->cell("G教員", 0, 5), "教科");
    EXPECT_EQ(d->back("G教員", 0, 3), 14);
    EXPECT_EQ(g.cellFontSize(1, 4), 8);
    EXPECT_EQ(g.cellFontSize(1, 5), 0);
}

TEST_F(PeriodSlotScreenTest, APickedLessonGoesToAStandbyTeacherOrBecomesSelfStudy) {
    auto d = show();
    d->clickCell("G時割", 3, 4);
    EXPECT_EQ(d->text("科目"), "国語");
    EXPECT_EQ(d->text("教科"), "現代の国語");
    EXPECT_EQ(d->text("変更教員"), "佐藤　健一");
    EXPECT_EQ(d->back("G時割", 2, 4), 10);
    EXPECT_EQ(d->back("G時割", 3, 4), 10);

    d->clickCell("G教員", 2, 1);
    EXPECT_EQ(d->text("変更教員"), "山口　幸子");
    EXPECT_EQ(d->back("G教員", 2, 5), 10);
    d->set("備考", "出張のため");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"入力内容で更新します。", "授業は変更されました。"}));
    const Record expected = {{"変_年度", 2007},
                             {"変_日付", "2007/06/04"},
                             {"変_学部", "002"},
                             {"変_学年", 1},
                             {"変_コース", ""},
                             {"変_組", "1"},
                             {"変_選択番号", 0},
                             {"変_時限", 2},
                             {"変_科目", "01"},
                             {"変_教科", "01"},
                             {"変_教科名", "現代の国語"},
                             {"変_教科略称", "現国"},
                             {"変_教員", "004"},
                             {"変_教員名", "山口　幸子"},
                             {"変_教員表示名", "山口"},
                             {"変_備考", "出張のため"},
                             {"変_登録", 0}};
    EXPECT_EQ(changeOf("002", "1"), expected);
    EXPECT_EQ(d->cell("G時割", 3, 4), "山口");
    EXPECT_EQ(d->fore("G時割", 2, 4), 13);
    EXPECT_EQ(standby(*d).size(), 1);
    EXPECT_EQ(d->text("備考"), "");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "時間割を選択して下さい");

    // The teacher of a free-text lesson supervises its self-study: the lesson being replaced is
    // no double booking.
    d->clickCell("G時割", 2, 1);
    EXPECT_EQ(d->text("教科"), "HR");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "変更教科を選択して下さい");
    d->click("自習");
    EXPECT_EQ(d->text("科目"), "自習");
    d->click("自習");
    EXPECT_EQ(d->text("教科"), "HR");
    d->click("自習");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), "授業は変更されました。");
    const Record study = changeOf("001", "1");
    EXPECT_EQ(study.at("変_科目"), Value("000"));
    EXPECT_EQ(study.at("変_教科"), Value("000"));
    EXPECT_EQ(study.at("変_教科名"), Value("自習"));
    EXPECT_EQ(study.at("変_教科略称"), Value("自習"));
    EXPECT_EQ(study.at("変_教員"), Value("003"));

    // A changed lesson shows its change and is changed again in place.
    d->clickCell("G時割", 4, 4);
    EXPECT_EQ(d->text("変更教員"), "阿部　徹");
    EXPECT_EQ(d->text("備考"), "出張");
    d->click("自習");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(changeOf("002", "2").at("変_教科名"), Value("自習"));
    EXPECT_EQ(records("時限変更").size(), 3u);
}

TEST_F(PeriodSlotScreenTest, PicksOutsideTheClassesFailedPicksAndDoubleBookingsAreRefused) {
    assignment("009", "上田　亮", "001", 2, "01", "01");  // no such course subject there
    auto d = show();
    for (auto [row, col] : {std::pair{1, 4}, {2, 0}, {2, 3}, {6, 6}}) {
        d->clickCell("G時割", row, col);
        EXPECT_EQ(messages.last(), "選択が有効範囲外です。") << row << "," << col;
    }
    d->clickCell("G教員", 0, 0);
    EXPECT_EQ(messages.shown.size(), 5u);
    d->clickCell("G教員", 30, 0);
    EXPECT_EQ(messages.last(), "教員情報を取出せません");
    messages.clear();

    // After 表示 the stand-by list shows from its first teacher.
    Grid& standbyGrid = d->grid("G教員");
    d->screen().show();
    QCoreApplication::processEvents();
    standbyGrid.scrollToBottom();
    ASSERT_GT(standbyGrid.verticalScrollBar()->value(), 0);
    d->click("B表示");
    QCoreApplication::processEvents();
    EXPECT_EQ(standbyGrid.verticalScrollBar()->value(), 0);

    // With two grades column 4 is 高等部 1年; a failed stand-by pick leaves the lesson picked.
    d->clickCell("G時割", 2, 4);
    EXPECT_TRUE(messages.shown.empty());
    const int row = standby(*d).indexOf("009,上田　亮,中学部,2,,") + 1;
    ASSERT_GT(row, 0) << standby(*d).join(" / ").toStdString();
    d->clickCell("G教員", row, 0);
    EXPECT_EQ(messages.last(), "科目情報を取出せません");
    EXPECT_EQ(d->text("変更教員"), "佐藤　健一");
    answer({true});
    d->click("B確定");
    // Its own teacher and subject are the standard lesson: nothing to store.
    EXPECT_TRUE(changeOf("002", "1").empty());
    EXPECT_EQ(records("時限変更").size(), 1u);

    // Busy elsewhere by a change of this date: refused, nothing written.
    changeTo("2007/06/04", "001", 2, "1", 2, "001", "数学Ⅰ", "数Ⅰ");
    d->click("B表示");
    d->clickCell("G時割", 2, 4);
    d->click("B確定");
    EXPECT_EQ(messages.last(), "中学部 2年 1組 に授業が登録されています");
    EXPECT_EQ(records("時限変更").size(), 2u);
}

TEST_F(PeriodSlotScreenTest, ACancelledChangeGivesTheClassItsStandardLessonAgain) {
    auto d = show();
    d->click("B変更取消");
    EXPECT_EQ(messages.last(), "時間割を選択して下さい");
    d->clickCell("G時割", 4, 4);
    answer({true});
    d->click("B変更取消");
    EXPECT_EQ(messages.texts().mid(1),
              QStringList({"2007/06/04 2限 高等部1年2組 の変更（数学Ⅰ　阿部　徹）を取消します。",
                           "変更を取消しました。"}));
    EXPECT_TRUE(records("時限変更").empty());
    EXPECT_EQ(d->cell("G時割", 5, 4), "鈴木");
    d->clickCell("G時割", 4, 4);
    d->click("B変更取消");
    EXPECT_EQ(messages.last(), "2007/06/04 2限 高等部1年2組 の授業は変更されていません");
}

// Another workstation adds or edits the change after the pick: the screen refuses to write over
// what it did not show, until the lesson is picked again.
TEST_F(PeriodSlotScreenTest, AChangeMadeElsewhereSinceThePickIsNotOverwritten) {
    auto d = show();
    d->clickCell("G時割", 3, 4);
    d->clickCell("G教員", 2, 1);
    changeTo("2007/06/04", "002", 1, "1", 2, "005", "現代の国語", "現国", "他の端末");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.last(), kChangedText);
    EXPECT_EQ(changeOf("002", "1").at("変_教員"), Value("005"));

    d->clickCell("G時割", 4, 4);
    runSql("UPDATE \"時限変更\" SET \"変_備考\" = '研修' WHERE \"変_組\" = '2'");
    d->click("B変更取消");
    EXPECT_EQ(messages.last(), kChangedText);
    EXPECT_EQ(changeOf("002", "2").at("変_備考"), Value("研修"));
    d->clickCell("G時割", 4, 4);
    answer({true});
    d->click("B変更取消");
    EXPECT_EQ(messages.last(), "変更を取消しました。");
}

}  // namespace
