// 教員登録 and the assignments of a teacher, 教員担当, opened from it.

#include <QApplication>
#include <QComboBox>

#include "masters/teacher_screen.h"
#include "school_fixture.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_grid.h"

namespace {

class TeacherScreensTest : public SchoolTest {
protected:
    static void typeTeacher(ScreenDriver& d, const char* no, const char* name, const char* kana) {
        d.set("教員番号", no);
        d.set("氏名", name);
        d.set("氏名カナ", kana);
    }
    static void homeroom(ScreenDriver& d, const char* dept, const char* grade, const char* klass) {
        d.set("C学部", dept);
        d.set("C学年", grade);
        d.set("C組", klass);
    }
    // Opens 教員担当 for the teacher picked on 教員登録 and runs `script` in it.
    void assignments(ScreenDriver& d, const char* teacher,
                     std::function<void(ScreenDriver&)> script) {
        d.pick("C選択教員", teacher);
        onModal(std::move(script));
        d.click("C担当登録");
    }
    static void assign(ScreenDriver& m, const char* dept, const char* grade, const char* kamoku,
                       const char* subject) {
        m.pick("C学部", dept);
        m.pick("C学年", grade);
        m.pick("C科目", kamoku);
        m.pick("C教科", subject);
    }
    void subjects() {
        insertKamoku("002", 1, "01", "国語", "国");
        insertSubject("002", 1, "01", "01", 1, "現代の国語", "現国");
        insertSubject("002", 1, "01", "02", 2, "言語文化", "言文");
        insertKamoku("002", 1, "03", "数学", "数");
        insertSubject("002", 1, "03", "01", 1, "数学Ⅰ", "数Ⅰ");
    }
};

TEST_F(TeacherScreensTest, ATeacherIsStoredAndAnEditKeepsWhatOnlyTheImportSets) {
    ScreenDriver d(new 教員登録);
    EXPECT_EQ(d.screen().windowTitle(), "教員の登録");
    typeTeacher(d, "001", "𠮷田　一郎", "ヨシダ　イチロウ");
    d.click("男");
    d.set("生年月日", "1970/4/1");
    d.set("郵便番号1", "060");
    d.set("郵便番号2", "０００１");
    d.set("住所1", "札幌市中央区");
    d.set("電話番号", "011-000-0000");
    d.set("携帯番号", "090-0000-0000");
    d.set("備考", "教務");
    answer({true});
    d.click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"入力内容で更新します。", "教員は更新(登録)されました。"}));
    EXPECT_EQ(messages.shown[1].title, "教員登録");
    EXPECT_EQ(d.text("表示名"), "𠮷田");  // the family name, not a cut through the given name
    EXPECT_EQ(only("教員"), (Record{{"員_番号", "001"},
                                    {"員_氏名", "𠮷田　一郎"},
                                    {"員_氏名カナ", "ヨシダ　イチロウ"},
                                    {"員_表示名", "𠮷田"},
                                    {"員_担任F", 0},
                                    {"員_区分", ""},
                                    {"員_学部", ""},
                                    {"員_学年", 0},
                                    {"員_組", ""},
                                    {"員_性別", 1},
                                    {"員_生年月日", "1970/04/01"},
                                    {"員_郵便1", "060"},
                                    {"員_郵便2", "0001"},
                                    {"員_住所1", "札幌市中央区"},
                                    {"員_住所2", ""},
                                    {"員_電話1", "011-000-0000"},
                                    {"員_電話2", "090-0000-0000"},
                                    {"員_休職FROM", ""},
                                    {"員_休職TO", ""},
                                    {"員_備考", "教務"}}));
    EXPECT_EQ(d.entries("C選択教員"), QStringList({"𠮷田　一郎"}));

    // The batch import put the teacher on leave; saving the address keeps that.
    {
        Operation op;
        Recordset rs("教員");
        rs.setIndex("Key_教員");
        rs.seek(Seek::Equal, {"001"});
        rs.edit();
        rs.set("員_区分", "1");
        rs.set("員_休職FROM", "2007/09/01");
        rs.set("員_休職TO", "2008/03/31");
        rs.update();
        op.commit();
    }
    d.click("Bクリア");
    EXPECT_EQ(d.text("氏名"), "");
    d.pick("C選択教員", "𠮷田　一郎");
    EXPECT_EQ(d.text("生年月日"), "1970/04/01");
    EXPECT_TRUE(d.checked("男"));
    d.set("住所2", "北1条");
    d.click("女");
    answer({true});
    d.click("B確定");
    const Record r = only("教員");
    EXPECT_EQ(r.at("員_住所2"), "北1条");
    EXPECT_EQ(r.at("員_性別"), Value(2));
    EXPECT_EQ(r.at("員_区分"), "1");
    EXPECT_EQ(r.at("員_休職FROM"), "2007/09/01");
    EXPECT_EQ(r.at("員_休職TO"), "2008/03/31");
}

TEST_F(TeacherScreensTest, KeyboardOnlyReturnMovesOnF2StoresEscLeavesAndDeleteDefaultsToNo) {
    auto* screen = new 教員登録;
    ScreenDriver d(screen, false);
    d.showActive();
    d.focus("教員番号");
    d.type("001");
    d.key(Qt::Key_Return);
    EXPECT_EQ(d.focused(), "氏名");
    d.set("氏名", "高橋　誠");
    d.key(Qt::Key_Return);
    EXPECT_EQ(d.focused(), "氏名カナ");
    d.set("氏名カナ", "タカハシ　マコト");
    d.key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(d.focused(), "氏名");
    d.key(Qt::Key_Return);

    answer({true});
    d.key(Qt::Key_F2);
    EXPECT_EQ(messages.last(), "教員は更新(登録)されました。");
    EXPECT_EQ(only("教員").at("員_氏名"), "高橋　誠");
    EXPECT_EQ(d.focused(), "教員番号");  // not the button, not the picker above it

    // F4 deletes only after its question; Return on a button presses it.
    answer({false});
    d.key(Qt::Key_F4);
    EXPECT_EQ(messages.last(), "登録内容を削除します。");
    EXPECT_EQ(records("教員").size(), 1u);
    EXPECT_EQ(d.focused(), "教員番号");
    d.focus("B削除");
    answer({false});
    d.key(Qt::Key_Return);
    EXPECT_EQ(messages.shown.size(), 4u);

    d.key(Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(TeacherScreensTest, AHomeroomClassNeedsDepartmentGradeAndOneOfItsClasses) {
    ScreenDriver d(new 教員登録);
    typeTeacher(d, "002", "井上　真理", "イノウエ　マリ");
    for (const auto& [dept, grade, klass] :
         std::vector<std::tuple<const char*, const char*, const char*>>{{"高等部", "", ""},
                                                                        {"", "1年", "1組"},
                                                                        {"高等部", "1年", "9組"},
                                                                        {"高等部", "1年", ""}}) {
        messages.clear();
        homeroom(d, dept, grade, klass);
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({"担任情報を正しく選択してください"}))
            << dept << grade << klass;
    }
    homeroom(d, "専攻科", "1年", "1組");
    d.click("B確定");
    EXPECT_EQ(messages.last(), "学部を正しく選択してください");
    EXPECT_TRUE(records("教員").empty());

    d.pick("C学部", "高等部");
    EXPECT_EQ(d.entries("C組"), QStringList({"1組", "2組"}));
    d.pick("C学年", "2年");
    d.pick("C組", "2組");
    answer({true});
    d.click("B確定");
    Record r = only("教員");
    EXPECT_EQ(r.at("員_担任F"), Value(1));
    EXPECT_EQ(r.at("員_学部"), "002");
    EXPECT_EQ(r.at("員_学年"), Value(2));
    EXPECT_EQ(r.at("員_組"), "2");

    d.click("Bクリア");
    EXPECT_EQ(d.text("C学部"), "");
    EXPECT_TRUE(d.entries("C組").isEmpty());
    d.pick("C選択教員", "井上　真理");
    EXPECT_EQ(d.text("C学部"), "高等部");
    EXPECT_EQ(d.text("C学年"), "2年");
    EXPECT_EQ(d.text("C組"), "2組");
    d.click("Bクリア");
    EXPECT_EQ(d.text("C組"), "");
    d.pick("C選択教員", "井上　真理");
    homeroom(d, "", "", "");
    answer({true});
    d.click("B確定");
    r = only("教員");
    EXPECT_EQ(r.at("員_担任F"), Value(0));
    EXPECT_EQ(r.at("員_学部"), "");
    EXPECT_EQ(r.at("員_学年"), Value(0));
    EXPECT_EQ(r.at("員_組"), "");
}

TEST_F(TeacherScreensTest, BadInputIsRefusedAndDeletingFindsTheNumberTyped) {
    teacher("003", "高橋　誠", "タカハシ　マコト");
    ScreenDriver d(new 教員登録);
    d.set("C選択教員", "高橋");
    d.pick("C選択教員", "高橋　誠");
    EXPECT_EQ(d.text("氏名カナ"), "タカハシ　マコト");
    d.set("C選択教員", "高橋");
    Q_EMIT d.control<QComboBox>("C選択教員")->activated(0);  // Return on a typed name
    EXPECT_EQ(messages.last(), "教員を正しく選択して下さい");

    const std::vector<std::tuple<const char*, const char*, const char*, const char*>> cases = {
        {"氏名", "", "", "氏名に入力してください"},
        {"氏名カナ", "", "", "氏名カナに入力してください"},
        {"生年月日", "2007/2/30", "", "日付に正しく(YYYY/MM/DD)入力してください"},
        {"郵便番号1", "06a", "", "郵便番号に正しく入力してください"},
    };
    for (const auto& [field, value, unused, message] : cases) {
        d.pick("C選択教員", "高橋　誠");
        messages.clear();
        d.set(field, value);
        d.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({message})) << field;
        EXPECT_EQ(d.colour(field), 12) << field;
    }
    d.pick("C選択教員", "高橋　誠");
    d.set("教員番号", "");
    d.click("B確定");
    EXPECT_EQ(d.colour("教員番号"), 12);
    EXPECT_EQ(messages.last(), "教員番号に入力してください");
    {  // a database made before the item existed still names the field
        Operation op;
        Recordset rs("項目名");
        rs.setIndex("Key_メッセジ");
        rs.seek(Seek::Equal, {"019"});
        rs.remove();
        op.commit();
    }
    d.click("B確定");
    EXPECT_EQ(messages.last(), "教員番号に入力してください");
    EXPECT_EQ(only("教員").at("員_氏名カナ"), "タカハシ　マコト");

    d.set("教員番号", "009");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.texts().mid(messages.texts().size() - 2),
              QStringList({"登録内容を削除します。", "指定した教員は登録されていません"}));
    d.set("教員番号", "003");
    answer({true});
    d.click("B削除");
    EXPECT_EQ(messages.last(), "指定した教員は削除されました");
    EXPECT_TRUE(records("教員").empty());
    EXPECT_TRUE(d.entries("C選択教員").isEmpty());

    // The homeroom inquiry opens beside this screen, not over it.
    d.click("B担任照会");
    Screen* inquiry = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = dynamic_cast<Screen*>(w); s && s->formName() == "担任照会") inquiry = s;
    ASSERT_NE(inquiry, nullptr);
    EXPECT_TRUE(inquiry->isVisible());
    EXPECT_FALSE(inquiry->isModal());
    delete inquiry;
}

TEST_F(TeacherScreensTest, TheAssignmentScreenKeepsTheAssignmentsOfTheTeacherOnScreen) {
    subjects();
    teacher("001", "佐藤　健一", "サトウ　ケンイチ");
    ScreenDriver d(new 教員登録);

    // A teacher typed but not saved has no assignments yet.
    typeTeacher(d, "005", "新任　太郎", "シンニン");
    d.click("C担当登録");
    EXPECT_EQ(messages.last(), "担当登録の前に教員を登録してください");
    EXPECT_TRUE(modalOpened.isEmpty());

    assignments(d, "佐藤　健一", [&](ScreenDriver& m) {
        EXPECT_EQ(m.screen().windowTitle(), "教員の担当教科登録");
        EXPECT_EQ(m.text("教員番号"), "001");
        EXPECT_EQ(m.text("氏名"), "佐藤　健一");
        EXPECT_EQ(m.text("氏名カナ"), "サトウ　ケンイチ");
        EXPECT_EQ(m.text("年度"), "2007");
        EXPECT_EQ(m.cell("G担当", 0, 3), "科目略称");
        EXPECT_EQ(m.cell("G担当", 1, 0), "");

        m.pick("C学部", "高等部");
        m.pick("C学年", "1年");
        EXPECT_EQ(m.entries("C科目"), QStringList({"国語", "数学"}));
        m.pick("C科目", "国語");
        EXPECT_EQ(m.entries("C教科"), QStringList({"現代の国語", "言語文化"}));
        m.pick("C教科", "言語文化");
        m.set("備考", "2クラス");
        answer({true});
        m.click("B確定");
        EXPECT_EQ(messages.last(), "教員の担当は更新(登録)されました。");
        EXPECT_EQ(messages.shown.back().title, "教員登録");
        EXPECT_EQ(m.cell("G担当", 1, 0), "高等部");
        EXPECT_EQ(m.cell("G担当", 1, 1), "1");
        EXPECT_EQ(m.cell("G担当", 1, 3), "国");
        EXPECT_EQ(m.cell("G担当", 1, 5), "言文");
        EXPECT_EQ(m.cell("G担当", 1, 6), "2クラス");

        // The same assignment again is the same row.
        m.set("備考", "3クラス");
        answer({true});
        m.click("B確定");
        EXPECT_EQ(m.cell("G担当", 2, 0), "");

        // Another year lists that year's; a year that is none leaves the list.
        m.set("年度", "2008");
        m.leave("年度");
        EXPECT_EQ(m.cell("G担当", 1, 0), "");
        m.set("年度", "来年");
        m.leave("年度");
        EXPECT_EQ(m.cell("G担当", 1, 0), "");
        EXPECT_EQ(m.colour("年度"), 12);
        m.set("年度", "2007");
        m.leave("年度");
        EXPECT_EQ(m.cell("G担当", 1, 6), "3クラス");
    });
    const Record r = only("担当");
    EXPECT_EQ(r, (Record{{"担_年度", 2007},
                         {"担_教員番号", "001"},
                         {"担_学部", "002"},
                         {"担_学年", 1},
                         {"担_コース", ""},
                         {"担_科目番号", "01"},
                         {"担_教科番号", "02"},
                         {"担_氏名", "佐藤　健一"},
                         {"担_備考", "3クラス"}}));
}

TEST_F(TeacherScreensTest, DeletingRemovesThePickedAssignmentAndAFailedCheckSpeaksOnce) {
    subjects();
    teacher("001", "佐藤　健一", "サトウ　ケンイチ");
    for (const auto& [kamoku, subject] :
         std::vector<std::pair<const char*, const char*>>{{"01", "01"}, {"01", "02"}, {"03", "01"}})
        insert("担当", {{"担_年度", 2007},
                        {"担_教員番号", "001"},
                        {"担_学部", "002"},
                        {"担_学年", 1},
                        {"担_科目番号", kamoku},
                        {"担_教科番号", subject},
                        {"担_氏名", "佐藤　健一"}});
    ScreenDriver d(new 教員登録);
    assignments(d, "佐藤　健一", [&](ScreenDriver& m) {
        EXPECT_EQ(m.cell("G担当", 3, 5), "数Ⅰ");
        // Nothing picked: nothing deleted, although the list fill read every assignment.
        m.click("B削除");
        EXPECT_EQ(messages.texts(), QStringList({"削除する担当を一覧から選択してください"}));

        m.clickCell("G担当", 1, 2);
        EXPECT_EQ(m.text("C学部"), "高等部");
        EXPECT_EQ(m.text("C学年"), "1年");
        EXPECT_EQ(m.text("C科目"), "国語");
        EXPECT_EQ(m.text("C教科"), "現代の国語");
        EXPECT_EQ(m.back("G担当", 1, 7), 10);
        answer({true});
        m.click("B削除");
        EXPECT_EQ(messages.last(), "指定した教員の担当は削除されました");
        EXPECT_EQ(m.cell("G担当", 1, 5), "言文");
        EXPECT_EQ(m.cell("G担当", 2, 5), "数Ⅰ");

        // Deleting again finds nothing, and deletes nothing else.
        answer({true});
        m.click("B削除");
        EXPECT_EQ(messages.last(), "指定した教員の担当は登録されていません");

        messages.clear();
        m.click("Bクリア");
        m.pick("C学部", "高等部");
        m.pick("C学年", "1年");
        m.pick("C科目", "数学");
        m.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({"教科を正しく選択して下さい"}));
        messages.clear();
        m.set("C学年", "");
        m.click("B確定");
        EXPECT_EQ(messages.texts(), QStringList({"学年を正しく選択して下さい"}));
    });
    EXPECT_EQ(records("担当").size(), 2u);
}

// The class timetable offers a subject's assigned teachers from the database each time, so an
// assignment saved on another screen is offered at once.
TEST_F(TeacherScreensTest, ANewAssignmentIsOfferedOnTheOpenClassTimetableAtOnce) {
    subjects();
    teacher("001", "佐藤　健一", "サトウ　ケンイチ");
    ScreenDriver timetable(new 組時間割);
    timetable.pick("C学部", "高等部");
    timetable.pick("C学年", "1年");
    timetable.pick("C組", "1組");
    timetable.click("B表示");
    timetable.clickCell("G時割", lessonRow(2), 3);
    timetable.pick("C科目", "国語");
    timetable.pick("C教科", "現代の国語");
    EXPECT_TRUE(timetable.entries("C教員").isEmpty());

    ScreenDriver d(new 教員登録);
    assignments(d, "佐藤　健一", [&](ScreenDriver& m) {
        assign(m, "高等部", "1年", "国語", "現代の国語");
        answer({true});
        m.click("B確定");
    });
    timetable.pick("C教科", "現代の国語");
    EXPECT_EQ(timetable.entries("C教員"), QStringList({"佐藤　健一"}));
}

}  // namespace
