// 時間割チェック: the whole-school check of the standard timetable, its list and its print.

#include <QApplication>
#include <QLabel>

#include "common/school_masters.h"
#include "newdb/sample_school.h"
#include "timetable/timetable_check.h"
#include "timetable/timetable_check_print.h"
#include "timetable/timetable_check_screen.h"
#include "timetable/timetable_fixture.h"

namespace {

using Kind = TimetableProblem::Kind;

class TimetableCheckTest : public TimetableTest {
protected:
    // A lesson of 高等部 1年 as the screens store it: the names as registered then.
    static void stored(const char* klass, int weekday, int period, const char* teacher,
                       const char* kamoku, const char* subject, Record changes = {}) {
        static const std::map<QString, QString> kamokuNames = {
            {"01", "国語"}, {"03", "数学"}, {"06", "保健体育"}, {"07", "芸術選択"}};
        static const std::map<QString, std::pair<QString, QString>> subjects = {
            {"01/01", {"現代の国語", "現国"}},
            {"03/01", {"数学Ⅰ", "数Ⅰ"}},
            {"06/01", {"体育", "体育"}},
            {"07/01", {"芸術α 音楽Ⅰ", "芸術α"}},
            {"07/02", {"芸術β 美術Ⅰ", "芸術β"}}};
        static const std::map<QString, std::pair<QString, QString>> teachers = {
            {"001", {"佐藤　健一", "佐藤"}},
            {"002", {"鈴木　美咲", "鈴木"}},
            {"003", {"高橋　誠", ""}},
            {"004", {"山口　幸子", "山口"}}};
        const QString key = QString(kamoku) + "/" + subject;
        const bool freeText = QString(kamoku) == "000";
        const auto s = subjects.count(key) ? subjects.at(key) : std::pair{QString(), QString()};
        const auto t =
            teachers.count(teacher) ? teachers.at(teacher) : std::pair{QString(), QString()};
        Record r = {{"組_年度", 2007},
                    {"組_学部", "002"},
                    {"組_学年", 1},
                    {"組_組", klass},
                    {"組_曜日", weekday},
                    {"組_時限", period},
                    {"組_教員", teacher},
                    {"組_科目", kamoku},
                    {"組_科目名", freeText                    ? "HR"
                                  : kamokuNames.count(kamoku) ? kamokuNames.at(kamoku)
                                                              : ""},
                    {"組_教科", subject},
                    {"組_教科名", freeText ? "HR" : s.first},
                    {"組_教科略称", freeText ? "HR" : s.second},
                    {"組_教員名", t.first},
                    {"組_教員表示名", t.second},
                    {"組_登録", freeText ? 1 : 0}};
        for (auto& [field, value] : changes) r[field] = value;
        insert("組時間割", r);
    }
    static QStringList listed(Kind kind) {
        QStringList out;
        for (const TimetableProblem& p : checkWholeTimetable(2007))
            if (p.kind == kind) out << problemCells(p).join(",");
        return out;
    }
    static void term(const char* dept, const char* from, const char* to, int isTerm, const char* no,
                     const char* name) {
        insert("期間", {{"期_年度", 2007},
                        {"期_学部", dept},
                        {"期_開始日", from},
                        {"期_終了日", to},
                        {"期_授業F", isTerm},
                        {"期_学期F", isTerm},
                        {"期_学期", no},
                        {"期_名称", name}});
    }
    static void leave(const char* teacher, const char* from, const char* to) {
        Operation op;
        Recordset rs("教員");
        rs.setIndex("Key_教員");
        rs.seek(Seek::Equal, {teacher});
        rs.edit();
        rs.set("員_休職FROM", from);
        rs.set("員_休職TO", to);
        rs.update();
        op.commit();
    }
};

TEST_F(TimetableCheckTest, ATeacherInTwoClassesAtOnceIsADoubleBookingUnlessTheyShareAnElective) {
    stored("1", 2, 1, "001", "01", "01");
    stored("2", 2, 1, "001", "01", "01");
    stored("1", 2, 2, "001", "01", "01");  // the same teacher another period: fine
    // One elective taught to three classes together, and a split subject of two.
    for (const char* k : {"1", "2", "3"}) stored(k, 3, 2, "004", "07", "01");
    for (const char* k : {"1", "2"}) stored(k, 4, 3, "003", "06", "01");
    // The elective teacher also booked for an ordinary lesson then; a free-text lesson twice.
    stored("1", 5, 1, "004", "07", "01");
    stored("2", 5, 1, "004", "07", "01");
    stored("3", 5, 1, "004", "03", "01");
    stored("1", 6, 6, "002", "000", "000");
    stored("3", 6, 6, "002", "000", "000");
    // One lesson given to classes of two grades at once is stored under one selection number;
    // under two numbers it is two lessons.
    stored("1", 3, 5, "002", "01", "01", {{"組_選択番号", 1}});
    stored("1", 3, 5, "002", "01", "01", {{"組_学年", 2}, {"組_選択番号", 1}});
    stored("2", 3, 6, "002", "01", "01", {{"組_選択番号", 2}});
    stored("2", 3, 6, "002", "01", "01", {{"組_学年", 2}, {"組_選択番号", 3}});
    EXPECT_EQ(listed(Kind::DoubleBooking),
              QStringList({"高等部,1年,1組,月,1,佐藤　健一,高等部 1年2組 と重複しています",
                           "高等部,1年,2組,月,1,佐藤　健一,高等部 1年1組 と重複しています",
                           "高等部,1年,2組,火,6,鈴木　美咲,高等部 2年2組 と重複しています",
                           "高等部,2年,2組,火,6,鈴木　美咲,高等部 1年2組 と重複しています",
                           "高等部,1年,1組,木,1,山口　幸子,高等部 1年3組 と重複しています",
                           "高等部,1年,2組,木,1,山口　幸子,高等部 1年3組 と重複しています",
                           "高等部,1年,3組,木,1,山口　幸子,"
                           "高等部 1年1組、高等部 1年2組 と重複しています",
                           "高等部,1年,1組,金,6,鈴木　美咲,高等部 1年3組 と重複しています",
                           "高等部,1年,3組,金,6,鈴木　美咲,高等部 1年1組 と重複しています"}));
}

// Lessons are read course by course, so a class under a later course comes last; the classes a
// finding names are still in class order.
TEST_F(TimetableCheckTest, TheClassesADoubleBookingNamesAreInClassOrderWhateverTheirCourse) {
    stored("1", 2, 2, "001", "01", "01", {{"組_コース", "02"}});
    stored("2", 2, 2, "001", "01", "01");
    stored("3", 2, 2, "001", "01", "01");
    EXPECT_EQ(listed(Kind::DoubleBooking),
              QStringList({"高等部,1年,1組,月,2,佐藤　健一,"
                           "高等部 1年2組、高等部 1年3組 と重複しています",
                           "高等部,1年,2組,月,2,佐藤　健一,"
                           "高等部 1年1組、高等部 1年3組 と重複しています",
                           "高等部,1年,3組,月,2,佐藤　健一,"
                           "高等部 1年1組、高等部 1年2組 と重複しています"}));
}

TEST_F(TimetableCheckTest, LessonsNamingWhatIsNoLongerRegisteredOrRenamedSinceAreListed) {
    stored("1", 2, 1, "001", "01", "01");
    stored("1", 2, 2, "001", "09", "01");
    stored("1", 2, 3, "001", "01", "05");
    stored("1", 2, 4, "099", "01", "01", {{"組_教員名", "退職　太郎"}});
    stored("2", 2, 1, "001", "01", "01",
           {{"組_科目名", "国語総合"},
            {"組_教科名", "現代文"},
            {"組_教科略称", ""},
            {"組_教員名", "佐藤　健"},
            {"組_教員表示名", "佐"}});
    stored("3", 2, 1, "002", "000", "000", {{"組_科目名", "学活"}});  // free text: any text
    EXPECT_EQ(listed(Kind::Masters),
              QStringList(
                  {"高等部,1年,1組,月,2,佐藤　健一,科目が登録されていません（番号 09）",
                   "高等部,1年,1組,月,3,佐藤　健一,教科が登録されていません（番号 05）",
                   "高等部,1年,1組,月,4,退職　太郎,教員が登録されていません（番号 099）",
                   "高等部,1年,2組,月,1,佐藤　健一,科目名が変更されています：国語総合 → 国語",
                   "高等部,1年,2組,月,1,佐藤　健一,教科名が変更されています：現代文 → 現代の国語",
                   "高等部,1年,2組,月,1,佐藤　健一,教科略称が変更されています：（なし） → 現国",
                   "高等部,1年,2組,月,1,佐藤　健一,教員名が変更されています：佐藤　健 → 佐藤　健一",
                   "高等部,1年,2組,月,1,佐藤　健一,教員表示名が変更されています：佐 → 佐藤"}));
}

TEST_F(TimetableCheckTest, LessonsOfATeacherOnLeaveDuringATermOfTheClassAreListed) {
    // 高等部 has terms; 中学部 none, so the school year counts for it.
    term("002", "2007/04/06", "2007/07/19", 1, "1", "1学期");
    term("002", "2007/07/20", "2007/08/31", 0, "", "夏季休業");
    term("002", "2007/09/01", "2007/12/24", 1, "2", "2学期");
    term("002", "2008/01/08", "2008/03/24", 1, "3", "");  // named by its number
    leave("003", "2007/07/25", "2007/08/20");             // the summer holidays only
    leave("002", "2007/12/01", "");                       // without an end
    leave("001", "2008/03/28", "2008/03/31");             // after the last term
    stored("1", 3, 1, "003", "01", "01");
    stored("1", 3, 2, "002", "01", "01");
    stored("2", 2, 5, "002", "01", "01");
    stored("2", 3, 3, "001", "01", "01");
    lesson("001", 1, "1", 4, 1, "001", "000", "000", "HR", "HR", 0, 1);
    EXPECT_EQ(listed(Kind::Leave),
              QStringList({"中学部,1年,1組,水,1,佐藤　健一,休職 2008/03/28～2008/03/31",
                           "高等部,1年,2組,月,5,鈴木　美咲,休職 2007/12/01～（2学期・3学期）",
                           "高等部,1年,1組,火,2,鈴木　美咲,休職 2007/12/01～（2学期・3学期）"}));
}

TEST_F(TimetableCheckTest, AClassWithoutLessonsOnAWeekdayItsGradeUsesIsListed) {
    for (int w : {2, 3}) stored("1", w, 1, "001", "01", "01");
    stored("2", 2, 2, "002", "01", "01");
    stored("4", 5, 2, "003", "01", "01");  // a class the masters do not know still counts
    EXPECT_EQ(
        listed(Kind::EmptyDay),
        QStringList({"高等部,1年,1組,木,,,授業が1つもありません（同じ学年の他の組にはあります）",
                     "高等部,1年,2組,火,,,授業が1つもありません（同じ学年の他の組にはあります）",
                     "高等部,1年,2組,木,,,授業が1つもありません（同じ学年の他の組にはあります）",
                     "高等部,1年,3組,,,,この組の時間割がありません（同じ学年の他の組にはあります）",
                     "高等部,1年,4,月,,,授業が1つもありません（同じ学年の他の組にはあります）",
                     "高等部,1年,4,火,,,授業が1つもありません（同じ学年の他の組にはあります）"}));
}

TEST_F(TimetableCheckTest, TheListGroupsEachKindUnderItsHeadingAndAPickOpensTheClassAtTheSlot) {
    for (const char* k : {"1", "2"}) stored(k, 2, 1, "001", "01", "01");
    for (const char* k : {"1", "2"}) stored(k, 3, 2, "004", "07", "01");
    stored("3", 3, 2, "004", "03", "01");
    ScreenDriver d(new 時間割チェック);
    EXPECT_EQ(d.screen().windowTitle(), "時間割チェック");
    EXPECT_EQ(d.text("年度"), "2007");
    EXPECT_EQ(d.text("L件数"), "2007年度　問題 6件（教員の重複 5件、授業のない曜日 1件）");
    EXPECT_EQ(d.cell("G問題", 0, 6), "内容");
    EXPECT_EQ(d.cell("G問題", 1, 0), "■ 教員の重複（5件）");
    EXPECT_EQ(d.span("G問題", 1, 3), (Grid::Span{1, 0, 1, 7}));
    EXPECT_EQ(d.back("G問題", 1, 0), 14);
    EXPECT_EQ(d.cell("G問題", 6, 2), "3組");
    EXPECT_EQ(d.cell("G問題", 7, 0), "■ 授業のない曜日（1件）");
    EXPECT_EQ(d.cell("G問題", 8, 3), "月");
    EXPECT_EQ(d.grid("G問題").rows(), 9);

    auto timetables = [] {
        std::vector<Screen*> open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = dynamic_cast<Screen*>(w);
                s && s->formName() == "組時間割" && s->isVisible())
                open.push_back(s);
        return open;
    };
    d.clickCell("G問題", 3, 4);
    ASSERT_EQ(timetables().size(), 1u);
    ScreenDriver t(timetables().front());
    EXPECT_EQ(t.text("表示中"), "2007年度　高等部　1年　2組");
    EXPECT_EQ(t.text("C曜日"), "月");
    EXPECT_EQ(t.text("C時限"), "1");
    EXPECT_EQ(t.text("C教員"), "佐藤　健一");
    EXPECT_EQ(t.back("G時割", 1, 2), 10);
    EXPECT_EQ(d.back("G問題", 3, 6), 10);

    // An elective slot is marked, not broken down; the same window shows the next pick.
    d.clickCell("G問題", 4, 0);
    EXPECT_TRUE(modalOpened.isEmpty());
    EXPECT_EQ(t.text("表示中"), "2007年度　高等部　1年　1組");
    EXPECT_EQ(t.back("G時割", 3, 3), 10);
    EXPECT_EQ(d.back("G問題", 3, 6), 15);
    d.clickCell("G問題", 8, 0);
    EXPECT_EQ(t.text("表示中"), "2007年度　高等部　1年　3組");
    EXPECT_EQ(t.text("C曜日"), "月");
    EXPECT_EQ(t.text("C時限"), "1");
    d.clickCell("G問題", 7, 0);  // a heading: nothing to open
    EXPECT_EQ(timetables().size(), 1u);
    EXPECT_EQ(t.text("表示中"), "2007年度　高等部　1年　3組");
    EXPECT_TRUE(messages.shown.empty()) << messages.last().toStdString();

    d.click("B印刷");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, "時間割チェック");
    d.set("年度", "2008");
    d.click("B表示");
    EXPECT_EQ(d.text("L件数"), "2008年度　この年度の時間割は登録されていません");
    d.click("B印刷");
    ASSERT_EQ(printed.size(), 2u);
    const auto& items = printed[1].pages.at(0).items;
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const PrintItem& i) {
        return i.text == "この年度の時間割は登録されていません";
    }));
    EXPECT_EQ(d.grid("G問題").rows(), 1);
}

TEST_F(TimetableCheckTest, ThePrintHeadsEachKindAgainOnTheNextPageAndNumbersThePages) {
    std::vector<TimetableProblem> problems;
    for (int i = 0; i < 40; ++i)
        problems.push_back({Kind::Masters, "002", 1, "", "1", 2, 1 + i % 6, "001", "佐藤　健一",
                            QStringLiteral("教員名が変更されています：%1").arg(i)});
    problems.insert(problems.begin(), {Kind::DoubleBooking, "002", 1, "", "2", 2, 1, "001",
                                       "佐藤　健一", "高等部 1年1組 と重複しています"});
    PRT時割チェック(2007, problems);
    ASSERT_EQ(printed.size(), 1u);
    const PrintedDocument& doc = printed[0];
    EXPECT_TRUE(proposedPdfPath(doc).endsWith("時間割チェック_2007年度.pdf"));
    ASSERT_EQ(doc.pages.size(), 2u);
    auto texts = [&](int page) {
        QStringList out;
        for (const PrintItem& i : doc.pages[page].items)
            if (i.kind == PrintItem::Kind::Text) out << i.text;
        return out;
    };
    const QStringList first = texts(0), second = texts(1);
    EXPECT_EQ(first.mid(0, 4),
              QStringList({"時間割チェック", "2007 年度", "印刷日 2007/06/04",
                           "問題 41件（教員の重複 1件、未登録・名称変更の授業 40件）"}));
    EXPECT_EQ(first.mid(4, 8), QStringList({"学部", "学年", "組", "曜日", "時限", "教員", "内容",
                                            "■ 教員の重複（1件）"}));
    EXPECT_TRUE(first.contains("■ 未登録・名称変更の授業（40件）"));
    EXPECT_TRUE(first.contains("1 / 2"));
    EXPECT_TRUE(second.contains("■ 未登録・名称変更の授業（40件）　続き"));
    EXPECT_TRUE(second.contains("教員名が変更されています：39"));
    EXPECT_TRUE(second.contains("2 / 2"));
    for (const auto& page : doc.pages)
        for (const PrintItem& i : page.items) EXPECT_LE(std::max(i.y1, i.y2), 287);

    const QString out = pdfText(doc);
    EXPECT_TRUE(out.contains("時間割チェック"));
    EXPECT_TRUE(out.contains("高等部 1年1組 と重複しています"));
}

// The sample school that jikanwari-newdb --demo writes has no problem, and a teacher moved into
// another class's slot is found at once.
class SampleSchoolCheckTest : public ScreenTest {
protected:
    void TearDown() override {
        school().clearMasters();
        ScreenTest::TearDown();
    }
};

TEST_F(SampleSchoolCheckTest, TheSampleSchoolIsInOrderUntilATeacherIsBookedTwice) {
    const QDate today(2007, 6, 4);
    fillSampleSchool(today);
    school().setToday(today);
    school().businessYear = 2007;
    loadMasters();
    EXPECT_TRUE(checkWholeTimetable(2007).empty());

    // 中学部 1年1組's lesson of Monday, period 1, given to the teacher of 1年2組 then.
    QString other;
    for (const Record& r : records("組時間割"))
        if (r.at("組_学部") == Value("001") && r.at("組_学年") == Value(1) &&
            r.at("組_組") == Value("2") && r.at("組_曜日") == Value(2) &&
            r.at("組_時限") == Value(1))
            other = r.at("組_教員").toText();
    Operation op;
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {2007, "001", 1, "", "1", 0, 2, 1});
    rs.edit();
    rs.set("組_教員", other);
    rs.update();
    op.commit();
    ScreenDriver d(new 時間割チェック);
    EXPECT_TRUE(d.text("L件数").contains("教員の重複 2件")) << d.text("L件数").toStdString();
}

}  // namespace
