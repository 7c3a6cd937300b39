// The initial processing that fills the shared context before the menu opens.

#include "app/initial_processing.h"
#include "context/school_context.h"
#include "support/database_fixture.h"

namespace {

class InitialProcessingTest : public DatabaseTest {
protected:
    static void master(const char* kind, const QString& no, const QString& name,
                       const QString& shortName = {}, const QString& dept = {}) {
        insertMaster(kind, no, name, shortName, dept);
    }
    static QString no(int n) { return QStringLiteral("%1").arg(n, 3, 10, QChar('0')); }
    WorkContext ctx;
};

TEST_F(InitialProcessingTest, ReadsTodayTheBusinessYearAndTheMasters) {
    insert("業務年度", {{"業_区分", 1},
                        {"業_年度", 2007},
                        {"業_開始日", "2007/04/01"},
                        {"業_終了日", "2008/03/31"}});
    master("001", "001", "桜丘学園");
    master("002", "001", "中学部");
    master("002", "002", "高等部");
    master("003", "001", "1", "1年");
    master("004", "001", "普通科");
    master("006", "001", "1", "1組", "001");
    master("006", "002", "1", "1組", "002");
    master("006", "003", "2", "2組", "002");
    master("010", "001", "5", "5");
    初期処理(ctx, QDate(2008, 2, 10), {});

    const SchoolContext& s = school();
    EXPECT_EQ(s.todayText, "2008/02/10");
    EXPECT_EQ(s.weekdayNames[1], "日");
    EXPECT_EQ(s.weekdayNames[7], "土");
    EXPECT_EQ(ctx.errorFlag, 0);
    EXPECT_EQ(s.businessYear, 2007);
    EXPECT_EQ(ctx.workingYear, 2007);
    EXPECT_EQ(s.businessYearStart, "2007/04/01");
    EXPECT_EQ(s.businessYearEnd, "2008/03/31");
    EXPECT_EQ(s.departmentCount, 2);
    EXPECT_EQ(s.departments[2].code, "002");
    EXPECT_EQ(s.departments[2].name, "高等部");
    EXPECT_EQ(s.gradeCount, 1);
    EXPECT_EQ(s.grades[1].shortName, "1年");
    EXPECT_EQ(s.courseCount, 1);
    EXPECT_EQ(s.courses[1].name, "普通科");
    EXPECT_EQ(s.classCount[1], 1);
    EXPECT_EQ(s.classCount[2], 2);
    EXPECT_EQ(s.classes[2][2].shortName, "2組");
    EXPECT_EQ(s.largestClassCount, 2);
}

TEST_F(InitialProcessingTest, WithoutABusinessYearOrMastersEverythingIsEmptyAndTheYearIsAskedFor) {
    初期処理(ctx, QDate(2008, 2, 10), {});
    EXPECT_EQ(ctx.errorFlag, 1);
    EXPECT_EQ(ctx.message, "業務年度を設定して下さい");
    EXPECT_EQ(school().businessYear, 0);
    EXPECT_EQ(school().departmentCount, 0);
    EXPECT_EQ(school().gradeCount, 0);
    EXPECT_EQ(school().largestClassCount, 0);
}

TEST_F(InitialProcessingTest, AClassOfAnUnknownDepartmentCountsUnderTheFirst) {
    master("002", "001", "中学部");
    master("002", "002", "高等部");
    master("006", "001", "1", "1組", "009");
    master("006", "002", "2", "2組", "");
    初期処理(ctx, QDate(2008, 2, 10), {});
    EXPECT_EQ(school().classCount[1], 2);
    EXPECT_EQ(school().classes[1][1].name, "1");
    EXPECT_EQ(school().classCount[2], 0);
}

TEST_F(InitialProcessingTest, EntriesBeyondTheTablesAreIgnored) {
    for (int d = 1; d <= 11; ++d) master("002", no(d), QStringLiteral("学部%1").arg(d));
    for (int g = 1; g <= 11; ++g)
        master("003", no(g), QString::number(g), QStringLiteral("%1年").arg(g));
    for (int c = 1; c <= 11; ++c) master("004", no(c), QStringLiteral("コース%1").arg(c));
    for (int k = 1; k <= 21; ++k)
        master("006", no(k), QString::number(k), QStringLiteral("%1組").arg(k), "001");
    初期処理(ctx, QDate(2008, 2, 10), {});
    const SchoolContext& s = school();
    EXPECT_EQ(s.departmentCount, 10);
    EXPECT_EQ(s.departments[10].name, "学部10");
    EXPECT_EQ(s.gradeCount, 10);
    EXPECT_EQ(s.courseCount, 10);
    EXPECT_EQ(s.classCount[1], 20);
    EXPECT_EQ(s.classes[1][20].shortName, "20組");
    EXPECT_EQ(s.largestClassCount, 20);
}

}  // namespace
