// 行事予定 as a clerk uses it: show a department's year, move through the months, pick a day,
// enter events, pick them again to change or delete them.

#include "calendar/event_schedule_screen.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

namespace {

// Business year 2007, today Monday 2007/06/04; departments 中学部 (001) and 高等部 (002), grades
// 1年 and 2年.
class EventScheduleTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        SchoolContext& s = school();
        s.clearMasters();
        s.setToday(QDate(2007, 6, 4));
        s.businessYear = 2007;
        s.businessYearStart = "2007/04/01";
        s.businessYearEnd = "2008/03/31";
        s.departments[1] = {"001", "中学部"};
        s.departments[2] = {"002", "高等部"};
        s.departmentCount = 2;
        s.grades[1] = {"1", "1年"};
        s.grades[2] = {"2", "2年"};
        s.gradeCount = 2;
    }
    void TearDown() override {
        school().clearMasters();
        ScreenTest::TearDown();
    }

    static void event(const char* dept, int grade, const char* from, const char* to, int seq,
                      int kind, const char* name, int periodFrom = 0, int periodTo = 0) {
        insert("予定", {{"予_年度", 2007},
                        {"予_学部", dept},
                        {"予_学年", grade},
                        {"予_日付", from},
                        {"予_終了日", to},
                        {"予_連番", seq},
                        {"予_授業F", kind},
                        {"予_時限From", periodFrom},
                        {"予_時限To", periodTo},
                        {"予_名称", name}});
    }
    std::unique_ptr<ScreenDriver> showing(const char* dept = "高等部", const char* grade = "2年") {
        auto d = std::make_unique<ScreenDriver>(new 行事予定);
        d->pick("C学部", dept);
        d->pick("C学年", grade);
        d->click("B表示");
        messages.clear();
        return d;
    }
    static void enter(ScreenDriver& d, const char* from, const char* to, const char* kind,
                      const char* name) {
        d.set("行事日", from);
        d.set("終了日", to);
        d.pick("C授業", kind);
        d.set("行事名", name);
    }
    static std::vector<Record> events() { return records("予定"); }
    static QStringList listRow(ScreenDriver& d, int row) {
        QStringList cells;
        for (int c = 0; c < 7; ++c) cells << d.cell("G行事", row, c);
        return cells;
    }
};

TEST_F(EventScheduleTest, ShowingListsTheYearsEventsOfTheSelectionAndMarksTheirDays) {
    event("000", 0, "2007/06/13", "2007/06/13", 0, 0, "創立記念日");
    event("002", 2, "2007/06/20", "2007/06/22", 0, 0, "修学旅行");
    event("002", 1, "2007/06/27", "2007/06/27", 0, 1, "1年だけ");
    event("001", 0, "2007/06/28", "2007/06/28", 0, 1, "中学部だけ");
    event("002", 0, "2007/07/06", "2007/07/10", 1, 2, "期末考査", 3, 6);
    insert("予定", {{"予_年度", 2008}, {"予_学部", "000"}, {"予_日付", "2008/04/07"}});

    auto d = std::make_unique<ScreenDriver>(new 行事予定);
    EXPECT_EQ(d->screen().windowTitle(), "行事予定の登録");
    EXPECT_EQ(d->text("年度"), "2007");
    EXPECT_EQ(d->text("予定月"), "04");
    EXPECT_EQ(d->entries("C授業"), QStringList({"授業無", "授業有", "時限換算"}));
    EXPECT_EQ(d->entries("C学部").first(), "共通");
    EXPECT_EQ(d->cell("G行事", 1, 6), "創立記念日");  // the whole school's, before any choice
    EXPECT_EQ(d->cell("G行事", 2, 6), "");

    d->pick("C学部", "高等部");
    d->pick("C学年", "2年");
    d->click("B表示");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(d->text("予定月"), "06");
    EXPECT_EQ(d->fore("G日付", 3, 3), 13);  // the 13th: an event day
    EXPECT_EQ(d->fore("G日付", 4, 5), 13);  // the 22nd, last day of the trip
    EXPECT_EQ(d->fore("G日付", 4, 6), 1);
    EXPECT_EQ(d->fore("G日付", 5, 3), 1);  // 1年's event is not this selection's

    // Key order: the common events, then the department's, each by day.
    EXPECT_EQ(d->cell("G行事", 0, 0), "日From");
    EXPECT_EQ(d->grid("G行事").cellFontSize(0, 3), 8);
    EXPECT_EQ(d->grid("G行事").rows(), 101);
    EXPECT_EQ(listRow(*d, 1),
              QStringList({"07/06/13", "07/06/13", "無", "", "", "0", "創立記念日"}));
    EXPECT_EQ(listRow(*d, 2),
              QStringList({"07/07/06", "07/07/10", "換算", "3", "6", "1", "期末考査"}));
    EXPECT_EQ(listRow(*d, 3), QStringList({"07/06/20", "07/06/22", "無", "", "", "0", "修学旅行"}));
    EXPECT_EQ(d->cell("G行事", 4, 6), "");
    EXPECT_EQ(d->fore("G行事", 1, 6), 12);  // common events in red
    EXPECT_EQ(d->fore("G行事", 2, 6), 12);
    EXPECT_EQ(d->fore("G行事", 3, 6), 0);

    // Under "共通" only what applies to everybody.
    d->pick("C学部", "共通");
    d->pick("C学年", "共通");
    d->click("B表示");
    EXPECT_EQ(d->cell("G行事", 1, 6), "創立記念日");
    EXPECT_EQ(d->cell("G行事", 2, 6), "");
}

TEST_F(EventScheduleTest, TheCalendarStaysWithinTheYearAndMovingClearsTheInputs) {
    auto d = showing();
    d->set("行事名", "typed");
    d->set("終了日", "2007/06/30");
    d->click("次月");
    EXPECT_EQ(d->text("予定月"), "07");
    EXPECT_EQ(d->text("行事名"), "");
    EXPECT_EQ(d->text("終了日"), "");
    EXPECT_EQ(d->cell("G日付", 1, 0), "1");  // 2007/07/01 is a Sunday

    for (int i = 0; i < 4; ++i) d->click("前月");
    EXPECT_EQ(d->text("予定月"), "04");
    EXPECT_EQ(messages.texts(), QStringList({"年度の範囲を超えています"}));
    for (int i = 0; i < 12; ++i) d->click("次月");
    EXPECT_EQ(d->text("予定月"), "03");
    EXPECT_EQ(d->text("L表示年"), "2008年");
    EXPECT_EQ(messages.texts(),
              QStringList({"年度の範囲を超えています", "年度の範囲を超えています"}));

    // Another year: its own April, its own events; a year out of range is refused at once.
    d->set("年度", "2008");
    d->leave("年度");
    EXPECT_EQ(d->text("予定月"), "04");
    EXPECT_EQ(d->text("L表示年"), "2008年");
    d->set("年度", "0");
    d->leave("年度");
    EXPECT_EQ(messages.last(), "年度の範囲を超えています");
    EXPECT_EQ(d->colour("年度"), 12);
    // Today is not in 2009: 表示 opens on the year's first month.
    d->set("年度", "2009");
    d->click("B表示");
    EXPECT_EQ(d->text("予定月"), "04");
    EXPECT_EQ(d->text("L表示年"), "2009年");
}

TEST_F(EventScheduleTest, PickingADayPutsItIntoTheFirstDay) {
    auto d = showing();
    d->set("終了日", "2007/06/15");
    d->clickCell("G日付", 3, 4);
    EXPECT_EQ(d->text("行事日"), "2007/06/14");
    EXPECT_EQ(d->text("終了日"), "");  // not the end of whatever was there before
    EXPECT_EQ(d->back("G日付", 3, 4), 10);
    d->clickCell("G日付", 5, 6);
    EXPECT_EQ(d->text("行事日"), "2007/06/30");
    EXPECT_EQ(d->back("G日付", 3, 4), 15);
    EXPECT_TRUE(messages.shown.empty());

    for (auto [row, col] : {std::pair{0, 3}, {1, 0}, {6, 0}}) {
        messages.clear();
        d->clickCell("G日付", row, col);
        EXPECT_EQ(messages.texts(), QStringList({"日付が有効範囲外です。"})) << row << col;
        EXPECT_EQ(d->text("行事日"), "2007/06/30");
    }
}

TEST_F(EventScheduleTest, SavingStoresEveryFieldOfTheEventAndRelists) {
    auto d = showing();
    d->clickCell("G日付", 3, 2);  // 06/12
    d->set("終了日", "");
    d->pick("C授業", "時限換算");
    d->set("時限From", "３");
    d->set("行事名", "校内研修会");
    d->set("行事略称", "研修");
    d->set("備考", "午後");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "行事は更新(登録)されました。"}));
    EXPECT_EQ(messages.shown[1].title, "行事予定登録");
    ASSERT_EQ(events().size(), 1u);
    EXPECT_EQ(events()[0], (Record{{"予_年度", 2007},
                                   {"予_学部", "002"},
                                   {"予_学年", 2},
                                   {"予_コース", ""},
                                   {"予_日付", "2007/06/12"},
                                   {"予_連番", 0},
                                   {"予_時限From", 3},
                                   {"予_時限To", 3},
                                   {"予_組", ""},
                                   {"予_終了日", "2007/06/12"},
                                   {"予_授業F", 2},
                                   {"予_予定番号", ""},
                                   {"予_名称", "校内研修会"},
                                   {"予_略称", "研修"},
                                   {"予_備考", "午後"}}));
    EXPECT_EQ(d->text("連番"), "0");
    EXPECT_EQ(d->cell("G行事", 1, 6), "校内研修会");
    EXPECT_EQ(d->fore("G日付", 3, 2), 13);  // the calendar marks it at once

    // Lessons held (or none at all): no periods are kept, whatever was typed.
    enter(*d, "2007/6/12", "2007/06/15", "時限換算", "三者面談");
    d->set("連番", "2");
    d->set("時限From", "5");
    d->set("時限To", "6");
    d->pick("C授業", "授業有");
    EXPECT_FALSE(d->enabled("時限From"));
    answer({true});
    d->click("B確定");
    ASSERT_EQ(events().size(), 2u);  // another sequence number, another event
    EXPECT_EQ(events()[1].at("予_日付"), Value("2007/06/12"));
    EXPECT_EQ(events()[1].at("予_終了日"), Value("2007/06/15"));
    EXPECT_EQ(events()[1].at("予_連番"), Value(2));
    EXPECT_EQ(events()[1].at("予_授業F"), Value(1));
    EXPECT_EQ(events()[1].at("予_時限From"), Value(0));
    EXPECT_EQ(events()[1].at("予_時限To"), Value(0));

    // The same key again changes that event.
    d->set("行事名", "保護者面談");
    answer({true});
    d->click("B確定");
    ASSERT_EQ(events().size(), 2u);
    EXPECT_EQ(events()[1].at("予_名称"), Value("保護者面談"));
}

TEST_F(EventScheduleTest, PickingAnEventShowsItUnlessItWasRegisteredForAnotherSelection) {
    event("000", 0, "2007/06/13", "2007/06/13", 0, 0, "創立記念日");
    event("002", 2, "2007/07/06", "2007/07/10", 1, 2, "期末考査", 3, 6);
    // The same day, number and periods as the common event, but the department's own.
    event("002", 2, "2007/06/13", "2007/06/13", 0, 1, "記念講演");
    auto d = showing();
    d->clickCell("G行事", 3, 2);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(d->text("行事日"), "2007/07/06");
    EXPECT_EQ(d->text("終了日"), "2007/07/10");
    EXPECT_EQ(d->text("連番"), "1");
    EXPECT_EQ(d->text("C授業"), "時限換算");
    EXPECT_EQ(d->text("時限From"), "3");
    EXPECT_EQ(d->text("時限To"), "6");
    EXPECT_EQ(d->text("行事名"), "期末考査");
    for (int c = 0; c < 7; ++c) EXPECT_EQ(d->back("G行事", 3, c), 10);

    // The common event is changed under "共通" only: here it is refused, not mistaken for the
    // department's event of the same day.
    d->clickCell("G行事", 1, 6);
    EXPECT_EQ(messages.texts(),
              QStringList({"登録時の指定と違います、登録内容の変更は出来ません"}));
    EXPECT_EQ(d->text("行事名"), "期末考査");
    EXPECT_EQ(d->back("G行事", 1, 0), 15);
    EXPECT_EQ(d->back("G行事", 3, 0), 15);

    d->clickCell("G行事", 2, 0);
    EXPECT_EQ(d->text("行事名"), "記念講演");
    EXPECT_EQ(d->text("C授業"), "授業有");
    EXPECT_EQ(d->text("時限From"), "");

    for (int row : {0, 4}) {
        messages.clear();
        d->clickCell("G行事", row, 0);
        EXPECT_EQ(messages.texts(), QStringList({"行事指定が有効範囲外です。"}));
    }
}

TEST_F(EventScheduleTest, DeletingRemovesExactlyTheEventPicked) {
    event("002", 2, "2007/06/13", "2007/06/13", 0, 0, "体育祭");
    event("002", 2, "2007/06/13", "2007/06/13", 1, 2, "説明会", 5, 6);
    auto d = showing();
    d->click("B削除");
    EXPECT_EQ(messages.texts(), QStringList({"削除する行事を一覧から選択してください"}));

    // Picked, then another event saved: the delete still means the one picked.
    d->clickCell("G行事", 1, 0);
    enter(*d, "2007/06/20", "", "時限換算", "模試");
    d->set("連番", "1");
    d->set("時限From", "5");
    d->set("時限To", "6");
    answer({true});
    d->click("B確定");
    EXPECT_EQ(d->back("G行事", 1, 0), 10);  // still picked after the relist
    ASSERT_EQ(events().size(), 3u);
    messages.clear();
    answer({false, true});
    d->click("B削除");
    EXPECT_EQ(events().size(), 3u);
    d->click("B削除");
    EXPECT_EQ(messages.texts(),
              QStringList({"予定を削除します。", "予定を削除します。", "行事は削除されました"}));
    const auto left = events();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].at("予_名称"), Value("説明会"));
    EXPECT_EQ(left[1].at("予_名称"), Value("模試"));
    EXPECT_EQ(d->cell("G行事", 1, 6), "説明会");

    // Nothing is picked once the event is gone.
    messages.clear();
    d->click("B削除");
    EXPECT_EQ(messages.texts(), QStringList({"削除する行事を一覧から選択してください"}));
}

TEST_F(EventScheduleTest, WrongInputIsRefusedWithItsMessageAndNothingIsStored) {
    auto d = showing();
    const auto refused = [&](const char* message, const char* field) {
        messages.clear();
        d->click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({message})) << field;
        EXPECT_EQ(d->colour(field), 12) << field;
        EXPECT_EQ(d->screen().tabFirst(), d->control(field)) << field;
        EXPECT_TRUE(events().empty()) << field;
    };
    enter(*d, "2007/02/30", "", "授業無", "遠足");
    refused("日付に正しく(YYYY/MM/DD)入力してください", "行事日");
    // Dates outside the year would be stored under a year that does not contain them.
    d->set("行事日", "2008/04/01");
    refused("行事予定日は2007年度の2007/04/01～2008/03/31の日付を入力してください", "行事日");
    d->set("行事日", "2008/03/30");
    d->set("終了日", "2008/04/02");
    refused("行事終了日は2007年度の2007/04/01～2008/03/31の日付を入力してください", "終了日");
    d->set("終了日", "2008/03/29");
    refused("大小関係を正しく入力してください", "行事日");
    d->set("終了日", "2008/03/31");
    d->set("連番", "x");
    refused("項目に正しく入力してください", "連番");
    d->set("連番", "1");
    d->pick("C授業", "時限換算");
    d->set("時限From", "0");
    refused("時限Fromを入力してください", "時限From");
    d->set("時限From", "11");
    refused("項目に正しく入力してください", "時限From");
    d->set("時限From", "6");
    d->set("時限To", "5");
    refused("大小関係を正しく入力してください", "時限From");
    d->set("時限To", "6");
    d->set("行事名", "");
    refused("必須項目に入力してください", "行事名");

    // Without a department the event would reach no class.
    // Names and remarks longer than their boxes do not get in; 𠮷 is one character.
    d->set("行事名", QString("𠮷").repeated(21));
    EXPECT_EQ(d->text("行事名"), QString("𠮷").repeated(20));
    d->set("C学部", "");
    d->pick("C学年", "共通");
    messages.clear();
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"学部を正しく選択してください"}));
    EXPECT_TRUE(events().empty());
    d->set("年度", "２０x7");
    d->click("B確定");
    EXPECT_EQ(messages.last(), "年度の範囲を超えています");
    EXPECT_TRUE(events().empty());
}

}  // namespace

// 2007/04 to 2008/03 has 18 holidays and days off; the whole school's 連休 already covers three,
// a department's event covers none.
TEST_F(EventScheduleTest, HolidaysAreAddedOnceAsWholeSchoolDaysWithoutLessons) {
    event("000", 0, "2007/05/03", "2007/05/05", 0, 1, "連休");
    event("002", 0, "2007/07/16", "2007/07/16", 0, 1, "高等部だけ");
    auto d = showing("共通", "共通");
    if (!testingOnServer()) {
        {
            // Nothing half-written when the commit cannot go through.
            OtherProgram other(OtherProgram::Hold::Read);
            answer({true});
            d->click("B祝日登録");
        }
        EXPECT_EQ(events().size(), 2u);
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_EQ(messages.shown[0].text, "2007年度の祝日を行事として登録します。");
        EXPECT_TRUE(messages.last().contains("他のプログラムが使用中"));
        messages.clear();
    }

    answer({true});
    d->click("B祝日登録");
    EXPECT_EQ(messages.last(), "祝日を15件登録しました。");
    const std::vector<Record> stored = events();
    ASSERT_EQ(stored.size(), 17u);
    const auto on = [&](const char* day) {
        for (const Record& r : stored)
            if (r.at("予_日付") == Value(day) && r.at("予_学部") == Value("000")) return r;
        return Record{};
    };
    const Record substitute = on("2007/04/30");
    EXPECT_EQ(substitute.at("予_名称"), Value("振替休日"));
    EXPECT_EQ(substitute.at("予_略称"), Value("振替休日"));
    EXPECT_EQ(substitute.at("予_終了日"), Value("2007/04/30"));
    EXPECT_EQ(substitute.at("予_授業F"), Value(0));
    EXPECT_EQ(substitute.at("予_学年"), Value(0));
    EXPECT_TRUE(on("2007/05/04").empty());  // within 連休
    EXPECT_EQ(on("2007/07/16").at("予_名称"), Value("海の日"));
    EXPECT_EQ(on("2008/03/20").at("予_名称"), Value("春分の日"));
    // Listed and picked like any event, to be changed or deleted.
    EXPECT_EQ(d->cell("G行事", 1, 6), "昭和の日");
    d->clickCell("G行事", 1, 0);
    EXPECT_EQ(d->text("行事名"), "昭和の日");

    messages.clear();
    answer({true});
    d->click("B祝日登録");
    EXPECT_EQ(messages.last(), "登録する祝日はありません（すべて登録済みです）");
    EXPECT_EQ(events().size(), 17u);
}
