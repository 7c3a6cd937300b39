// The selection lists as the screens use them: filling drop-downs and decoding picked or typed
// entries into the screen's current selection.

#include <QComboBox>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

namespace {

class PickerScreen : public Screen {
public:
    PickerScreen() : Screen("選択", "選択") {
        for (const char* name :
             {"C学部", "C学年", "Cコース", "C組", "Cマスタ", "C教科", "C教員", "C科目"})
            lists[name] = comboBox(name);
    }
    std::map<QString, QComboBox*> lists;
};

QStringList entriesOf(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

class SelectionListsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        SchoolContext& s = school();
        s.clearMasters();
        s.departments[1] = {"001", "中学部"};
        s.departments[2] = {"002", "高等部"};
        s.departmentCount = 2;
        s.grades[1] = {"1", "1年"};
        s.grades[2] = {"2", "2年"};
        s.gradeCount = 2;
        s.courses[1] = {"001", "普通科"};
        s.courseCount = 1;
        for (int k = 1; k <= 20; ++k)
            s.classes[2][k] = {QString::number(k), QStringLiteral("%1組").arg(k)};
        s.classCount[2] = 20;
        s.classes[1][1] = {"1", "A組"};
        s.classCount[1] = 1;
        screen = new PickerScreen;
        driver = std::make_unique<ScreenDriver>(screen);
        ctx().workingYear = 2007;
    }
    void TearDown() override {
        driver.reset();
        school().clearMasters();
        ScreenTest::TearDown();
    }
    WorkContext& ctx() { return screen->ctx(); }
    QComboBox* list(const char* name) { return screen->lists[name]; }
    void type(const char* name, const QString& text) { list(name)->setEditText(text); }

    PickerScreen* screen = nullptr;
    std::unique_ptr<ScreenDriver> driver;
};

TEST_F(SelectionListsTest, DepartmentsWithTheCommonEntryAndTheirReporting) {
    CMB学部(ctx(), 学部::Fill, list_option::kWithCommon, list("C学部"));
    EXPECT_EQ(entriesOf(list("C学部")), QStringList({"共通", "中学部", "高等部"}));
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, list("C学部"));
    EXPECT_EQ(entriesOf(list("C学部")), QStringList({"中学部", "高等部"}));

    type("C学部", "共通");
    EXPECT_EQ(CMB学部(ctx(), 学部::ByName, list_option::kWithCommon, list("C学部")), 0);
    EXPECT_EQ(ctx().departmentCode, "000");
    EXPECT_EQ(ctx().departmentPosition, 1);
    // Without the option "共通" is no department.
    EXPECT_EQ(CMB学部(ctx(), 学部::ByNameSilent, list_option::kPlain, list("C学部")), 1);
    EXPECT_EQ(ctx().errorFlag, 0);

    type("C学部", "高等部");
    EXPECT_EQ(CMB学部(ctx(), 学部::ByName, list_option::kPlain, list("C学部")), 0);
    EXPECT_EQ(ctx().departmentCode, "002");
    EXPECT_EQ(ctx().departmentName, "高等部");
    EXPECT_EQ(ctx().departmentPosition, 2);
    EXPECT_EQ(CMB学部(ctx(), 学部::ByCode, list_option::kPlain, QString("001")), 0);
    EXPECT_EQ(ctx().departmentName, "中学部");

    // A miss reports with tab position but leaves the colour; kSilent and the silent mode say
    // nothing.
    type("C学部", "小学部");
    CMB学部(ctx(), 学部::ByName, list_option::kSilent, list("C学部"));
    EXPECT_EQ(ctx().errorFlag, 0);
    EXPECT_EQ(CMB学部(ctx(), 学部::ByName, list_option::kPlain, list("C学部")), 1);
    EXPECT_EQ(ctx().decodeResult, 1);
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(ctx().message, "学部を正しく選択してください");
    EXPECT_EQ(screen->tabFirst(), list("C学部"));
    EXPECT_EQ(driver->colour("C学部"), 0);
}

TEST_F(SelectionListsTest, GradesByShortNameOrNumberWithTheirMessages) {
    CMB学年(ctx(), 学年::Fill, list_option::kWithCommon, list("C学年"));
    EXPECT_EQ(entriesOf(list("C学年")), QStringList({"共通", "1年", "2年"}));

    type("C学年", "2年");
    EXPECT_EQ(CMB学年(ctx(), 学年::ByText, list_option::kPlain, list("C学年")), 0);
    EXPECT_EQ(ctx().grade, 2);
    EXPECT_EQ(ctx().gradeText, "2年");
    type("C学年", "共通");
    EXPECT_EQ(CMB学年(ctx(), 学年::ByText, list_option::kWithCommon, list("C学年")), 0);
    EXPECT_EQ(ctx().grade, 0);
    EXPECT_EQ(ctx().gradeText, "共通");
    EXPECT_EQ(CMB学年(ctx(), 学年::ByNumber, list_option::kWithCommon, QString("0")), 0);
    EXPECT_EQ(CMB学年(ctx(), 学年::ByNumberSilent, list_option::kWithCommon, QString("0")), 1);
    EXPECT_EQ(CMB学年(ctx(), 学年::ByNumberSilent, list_option::kPlain, QString("1")), 0);
    EXPECT_EQ(ctx().gradeText, "1年");

    type("C学年", "9年");
    CMB学年(ctx(), 学年::ByTextSilent, list_option::kPlain, list("C学年"));
    EXPECT_EQ(ctx().errorFlag, 0);
    CMB学年(ctx(), 学年::ByText, list_option::kPlain, list("C学年"));
    EXPECT_EQ(ctx().message, "学年を正しく選択してください");
    ctx().resetReporting();
    CMB学年(ctx(), 学年::ByNumber, list_option::kPlain, QString("9"));
    EXPECT_EQ(ctx().message, "学年に正しく入力してください");
}

TEST_F(SelectionListsTest, CoursesClearOnAnEmptyNameAndComplainAboutAnUnknownCode) {
    CMBコース(ctx(), コース::Fill, list("Cコース"));
    EXPECT_EQ(entriesOf(list("Cコース")), QStringList({"普通科"}));
    EXPECT_EQ(CMBコース(ctx(), コース::ByName, QString("普通科")), 0);
    EXPECT_EQ(ctx().courseCode, "001");

    EXPECT_EQ(CMBコース(ctx(), コース::ByName, QString()), 1);
    EXPECT_EQ(ctx().courseCode, "");
    EXPECT_EQ(ctx().errorFlag, 0);
    EXPECT_TRUE(ctx().message.isEmpty());

    // An unknown code replaces whatever message was prepared before.
    ctx().message = "前のメッセージ";
    ctx().firstErrorFlag = 1;
    EXPECT_EQ(CMBコース(ctx(), コース::ByCode, QString("009")), 1);
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(ctx().message, "コースを正しく選択してください");
}

TEST_F(SelectionListsTest, EveryLoadedClassOfTheDecodedDepartmentCanBeChosen) {
    // No department decoded yet: nothing listed, every decode misses without a word.
    CMB組(ctx(), 組::Fill, list_option::kPlain, list("C組"));
    EXPECT_EQ(list("C組")->count(), 0);
    type("C組", "1組");
    EXPECT_EQ(CMB組(ctx(), 組::ByShortName, list_option::kPlain, list("C組")), 1);
    EXPECT_EQ(ctx().errorFlag, 0);

    CMB学部(ctx(), 学部::ByCode, list_option::kPlain, QString("002"));
    CMB組(ctx(), 組::Fill, list_option::kPlain, list("C組"));
    ASSERT_EQ(list("C組")->count(), 20);
    EXPECT_EQ(list("C組")->itemText(19), "20組");
    type("C組", "20組");
    EXPECT_EQ(CMB組(ctx(), 組::ByShortName, list_option::kPlain, list("C組")), 0);
    EXPECT_EQ(ctx().classCode, "20");
    EXPECT_EQ(ctx().classPosition, 20);
    EXPECT_EQ(driver->colour("C組"), 0);
    EXPECT_EQ(CMB組(ctx(), 組::ByName, list_option::kPlain, QString("16")), 0);
    EXPECT_EQ(ctx().classText, "16組");

    type("C組", "A組");  // a class of the other department
    EXPECT_EQ(CMB組(ctx(), 組::ByShortName, list_option::kPlain, list("C組")), 1);
    EXPECT_EQ(ctx().message, "組を正しく選択してください");
    EXPECT_EQ(driver->colour("C組"), 12);
}

TEST_F(SelectionListsTest, MasterEntriesByKindNameAndCode) {
    insert("マスタ", {{"マ_番号", "010"}, {"マ_連番", "001"}, {"マ_名称", "5"}, {"マ_略称", "五"}});
    insert("マスタ", {{"マ_番号", "006"}, {"マ_連番", "001"}, {"マ_名称", "1"}});
    insert("マスタ", {{"マ_番号", "006"}, {"マ_連番", "002"}, {"マ_名称", "2"}});
    QString code;
    CMBマス(ctx(), マス::Fill, "006", code, list("Cマスタ"));
    EXPECT_EQ(entriesOf(list("Cマスタ")), QStringList({"1", "2"}));
    type("Cマスタ", "2");
    EXPECT_EQ(CMBマス(ctx(), マス::ByName, "006", code, list("Cマスタ")), 0);
    EXPECT_EQ(code, "002");
    EXPECT_EQ(ctx().masterCode, "002");
    type("Cマスタ", "9");
    EXPECT_EQ(CMBマス(ctx(), マス::ByName, "006", code, list("Cマスタ")), 1);
    EXPECT_EQ(code, "");

    code = "001";
    EXPECT_EQ(CMBマス(ctx(), マス::ByCode, "010", code, list("Cマスタ")), 0);
    EXPECT_EQ(list("Cマスタ")->currentText(), "5");
    EXPECT_EQ(ctx().masterShortName, "五");
}

class SubjectListsTest : public SelectionListsTest {
protected:
    static void kamoku(const char* dept, int grade, const char* no, const char* name,
                       int elective = 0, const char* shortName = "") {
        insertKamoku(dept, grade, no, name, shortName, elective);
    }
    static void subject(const char* dept, int grade, const char* kamoku, const char* no, int order,
                        const char* name, const char* shortName, int split = 0) {
        insertSubject(dept, grade, kamoku, no, order, name, shortName, split);
    }
    void select(const char* dept, int grade, const char* kamoku) {
        ctx().departmentCode = dept;
        ctx().grade = grade;
        ctx().kamokuNumber = kamoku;
    }
};

TEST_F(SubjectListsTest, SubjectsOfACourseSubjectInDisplayOrderAndTheirDecodes) {
    subject("002", 1, "01", "02", 1, "言語文化", "言文");
    subject("002", 1, "01", "01", 2, "現代の国語", "現国", 1);
    subject("002", 1, "03", "01", 1, "数学Ⅰ", "数Ⅰ");
    subject("001", 1, "01", "01", 1, "国語", "国語");
    subject("002", 2, "01", "01", 1, "論理国語", "論国");
    select("002", 1, "01");
    CMB教科(ctx(), 教科::Fill, 0, list("C教科"));
    EXPECT_EQ(entriesOf(list("C教科")), QStringList({"言語文化", "現代の国語"}));

    type("C教科", "現代の国語");
    EXPECT_EQ(CMB教科(ctx(), 教科::ByName, 0, list("C教科")), 0);
    EXPECT_EQ(ctx().subjectNumber, "01");
    EXPECT_EQ(ctx().subjectOrder, 2);
    EXPECT_EQ(ctx().subjectShortName, "現国");
    EXPECT_EQ(ctx().subjectSplit, 1);
    EXPECT_EQ(CMB教科(ctx(), 教科::ByNumber, 0, QString("02")), 0);
    EXPECT_EQ(ctx().subjectName, "言語文化");

    // The short-name decode finds the course subject as well.
    ctx().kamokuNumber.clear();
    EXPECT_EQ(CMB教科(ctx(), 教科::ByShortName, 0, QString("数Ⅰ")), 0);
    EXPECT_EQ(ctx().kamokuNumber, "03");
    EXPECT_EQ(ctx().subjectName, "数学Ⅰ");

    EXPECT_EQ(CMB教科(ctx(), 教科::ByNumber, 0, QString("99")), 1);
    EXPECT_EQ(ctx().subjectNumber, "");
    EXPECT_EQ(ctx().subjectName, "");
    EXPECT_EQ(ctx().subjectSplit, 0);
}

TEST_F(SubjectListsTest, TheOverviewOfAGradeHoldsAtMostTwentyRows) {
    for (int i = 1; i <= 25; ++i) {
        const QByteArray no = QStringLiteral("%1").arg(i, 2, 10, QChar('0')).toUtf8();
        subject("002", 1, i % 2 ? "01" : "02", no.constData(), 26 - i, ("教科" + no).constData(),
                "");
    }
    subject("002", 2, "01", "99", 0, "他学年", "");
    ctx().grade = 1;
    CMB教科(ctx(), 教科::Overview, 0, QString());
    ASSERT_EQ(ctx().subjectOverview.size(), 20u);
    EXPECT_EQ(ctx().subjectOverview[0].name, "総合");
    EXPECT_EQ(ctx().subjectOverview[0].number, "000");
    EXPECT_EQ(ctx().subjectOverview[1].name, "教科25");  // display order 1 comes first
    CMB教科(ctx(), 教科::Overview, 1, QString());
    EXPECT_EQ(ctx().subjectOverview[0].name, "教科25");
    ctx().grade = 3;
    CMB教科(ctx(), 教科::Overview, 0, QString());
    EXPECT_TRUE(ctx().subjectOverview.empty());
}

TEST_F(SubjectListsTest, CourseSubjectsAreListedInDisplayOrderThenNumber) {
    // Character order would give 保健体育, 国語, 数学, 英語; number order 保健体育 first.
    insertKamoku("002", 1, "00", "保健体育", "", 0, 3);
    insertKamoku("002", 1, "03", "英語", "", 0, 1);
    insertKamoku("002", 1, "02", "国語", "", 0, 1);
    insertKamoku("002", 1, "01", "数学", "", 0, 2);
    select("002", 1, "");
    const QStringList expected{"国語", "英語", "数学", "保健体育"};
    CMB科目(ctx(), 科目::Fill, 0, list("C科目"));
    EXPECT_EQ(entriesOf(list("C科目")), expected);
    CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, list("C科目"));
    EXPECT_EQ(entriesOf(list("C科目")), expected);
}

TEST_F(SubjectListsTest, CourseSubjectsInKeyOrNameOrderAndTheirReporting) {
    kamoku("002", 1, "02", "数学");
    kamoku("002", 1, "01", "国語", 0, "国");
    kamoku("002", 1, "07", "芸術選択", 1);
    kamoku("002", 2, "01", "国語二");
    kamoku("001", 1, "01", "中国語");
    select("002", 1, "");
    CMB科目(ctx(), 科目::Fill, 0, list("C科目"));
    EXPECT_EQ(entriesOf(list("C科目")), QStringList({"国語", "数学", "芸術選択"}));
    CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, list("C科目"));
    EXPECT_EQ(entriesOf(list("C科目")), QStringList({"国語", "数学", "芸術選択"}).mid(0, 3));
    CMB科目(ctx(), 科目::FillByName, 0, list("C科目"));
    EXPECT_EQ(list("C科目")->count(), 6);  // appended, not cleared

    type("C科目", "芸術選択");
    EXPECT_EQ(CMB科目(ctx(), 科目::ByName, 0, list("C科目")), 0);
    EXPECT_EQ(ctx().kamokuNumber, "07");
    EXPECT_EQ(ctx().kamokuElective, 1);
    EXPECT_EQ(CMB科目(ctx(), 科目::ByShortName, 0, QString("国")), 0);
    EXPECT_EQ(ctx().kamokuName, "国語");

    // The first failure speaks and colours; a later one in the same confirmation changes nothing.
    ctx().resetReporting();
    type("C学部", "?");
    CMB学部(ctx(), 学部::ByName, list_option::kPlain, list("C学部"));
    type("C科目", "体育");
    EXPECT_EQ(CMB科目(ctx(), 科目::ByName, 0, list("C科目")), 1);
    EXPECT_EQ(ctx().message, "学部を正しく選択してください");
    EXPECT_EQ(driver->colour("C科目"), 0);
    EXPECT_EQ(ctx().kamokuNumber, "");

    ctx().resetReporting();
    CMB科目(ctx(), 科目::ByName, list_option::kWithCommon, list("C科目"));
    EXPECT_EQ(ctx().message, "科目を正しく選択してください");
    EXPECT_EQ(driver->colour("C科目"), 0);  // kept with that option
    ctx().resetReporting();
    CMB科目(ctx(), 科目::ByName, 0, list("C科目"));
    EXPECT_EQ(driver->colour("C科目"), 12);
    EXPECT_EQ(ctx().errorFlag, 1);
    EXPECT_EQ(ctx().firstErrorFlag, 1);
}

class TeacherListsTest : public SelectionListsTest {
protected:
    static void teacher(const char* no, const char* name, const char* display,
                        const char* dept = "", int grade = 0, const char* klass = "",
                        const char* kana = "") {
        insert("教員", {{"員_番号", no},
                        {"員_氏名", name},
                        {"員_氏名カナ", kana},
                        {"員_表示名", display},
                        {"員_担任F", *klass ? 1 : 0},
                        {"員_学部", dept},
                        {"員_学年", grade},
                        {"員_組", klass}});
    }
    static void assign(const char* no, const char* name, const char* dept, int grade,
                       const char* kamoku, const char* subject, const char* course = "") {
        insert("担当", {{"担_年度", 2007},
                        {"担_教員番号", no},
                        {"担_学部", dept},
                        {"担_学年", grade},
                        {"担_コース", course},
                        {"担_科目番号", kamoku},
                        {"担_教科番号", subject},
                        {"担_氏名", name}});
    }
};

TEST_F(TeacherListsTest, AllTeachersInReadingOrderAndTheThreeDecodes) {
    teacher("002", "鈴木　美咲", "鈴木", "", 0, "", "スズキ　ミサキ");
    teacher("001", "佐藤　健一", "", "", 0, "", "サトウ　ケンイチ");
    teacher("003", "山田　亜希", "山田", "", 0, "", "ヤマダ　アキ");
    CMB教師(ctx(), 教師::FillAll, list("C教員"));
    // あいうえお順 as a staff list, not the code-point order 佐藤, 山田, 鈴木; nothing picked yet.
    EXPECT_EQ(entriesOf(list("C教員")), QStringList({"佐藤　健一", "鈴木　美咲", "山田　亜希"}));
    EXPECT_EQ(list("C教員")->currentText(), "");

    EXPECT_EQ(CMB教師(ctx(), 教師::ByName, QString("鈴木　美咲")), 0);
    EXPECT_EQ(ctx().teacherNumber, "002");
    EXPECT_EQ(ctx().teacherDisplayName, "鈴木");
    EXPECT_EQ(CMB教師(ctx(), 教師::ByNumber, QString("003")), 0);
    EXPECT_EQ(ctx().teacherName, "山田　亜希");
    // By display name, falling back to the full name once.
    EXPECT_EQ(CMB教師(ctx(), 教師::ByDisplayName, QString("鈴木")), 0);
    EXPECT_EQ(ctx().teacherNumber, "002");
    EXPECT_EQ(CMB教師(ctx(), 教師::ByDisplayName, QString("佐藤　健一")), 0);
    EXPECT_EQ(ctx().teacherNumber, "001");
    EXPECT_EQ(CMB教師(ctx(), 教師::ByDisplayName, QString("田中")), 1);
    EXPECT_EQ(ctx().teacherNumber, "");
    EXPECT_EQ(ctx().teacherName, "");
    EXPECT_EQ(ctx().teacherDisplayName, "");
}

TEST_F(TeacherListsTest, TheHomeroomTeacherComesFirstAndTheFirstEntryDecodes) {
    teacher("001", "佐藤　健一", "", "002", 1, "1");
    teacher("002", "鈴木　美咲", "鈴木", "002", 2, "1");
    ctx().departmentCode = "002";
    ctx().classCode = "1";

    ctx().grade = 1;  // a homeroom teacher without display name is shown by full name
    EXPECT_EQ(CMB教師(ctx(), 教師::Homeroom, QString()), 0);
    EXPECT_EQ(ctx().teacherName, "佐藤　健一");
    ctx().grade = 2;
    EXPECT_EQ(CMB教師(ctx(), 教師::Homeroom, QString()), 0);
    EXPECT_EQ(ctx().teacherName, "鈴木");

    CMB教師(ctx(), 教師::FillHomeroomFirst, list("C教員"));
    EXPECT_EQ(entriesOf(list("C教員")), QStringList({"鈴木　美咲", "佐藤　健一", "鈴木　美咲"}));
    EXPECT_EQ(CMB教師(ctx(), 教師::ByName, list("C教員")->itemText(0)), 0);
    EXPECT_EQ(ctx().teacherNumber, "002");

    ctx().grade = 3;
    CMB教師(ctx(), 教師::FillHomeroomFirst, list("C教員"));
    EXPECT_EQ(entriesOf(list("C教員")), QStringList({"佐藤　健一", "鈴木　美咲"}));
}

TEST_F(TeacherListsTest, AssignedTeachersIncludeThoseAssignedForAllDepartmentsAndGrades) {
    assign("001", "佐藤　健一", "002", 1, "01", "01");
    assign("002", "鈴木　美咲", "000", 1, "01", "01");  // all departments
    assign("003", "山田　亜希", "002", 0, "01", "01");  // all grades
    assign("004", "高橋　誠", "000", 0, "000", "01");   // all departments, grades, course subjects
    assign("001", "佐藤　健一", "000", 0, "01", "01");  // the same teacher again
    assign("005", "田中　由美", "002", 1, "01", "02");  // another subject
    assign("006", "伊藤　大輔", "001", 1, "01", "01");  // another department
    assign("007", "渡辺　直子", "002", 2, "01", "01");  // another grade
    ctx().departmentCode = "002";
    ctx().grade = 1;
    ctx().kamokuNumber = "01";
    ctx().subjectNumber = "01";
    CMB教師(ctx(), 教師::FillAssigned, list("C教員"));
    QStringList listed = entriesOf(list("C教員"));
    EXPECT_EQ(listed.size(), 4);
    listed.sort();
    EXPECT_EQ(listed, QStringList({"佐藤　健一", "山田　亜希", "鈴木　美咲", "高橋　誠"}));
}

}  // namespace
