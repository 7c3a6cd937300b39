// Is the teacher already teaching another class at that weekday and period?

#include "common/occupancy_check.h"
#include "timetable/timetable_fixture.h"

namespace {

class OccupancyCheckTest : public TimetableTest {
protected:
    // The lesson about to be stored: teacher 001 on Monday (2), period 3, for 高等部 1年 1組.
    void SetUp() override {
        TimetableTest::SetUp();
        selectClass(ctx, "002", 1, "1");
        ctx.departmentName = "高等部";
        ctx.gradeText = "1年";
        ctx.gradePosition = 1;
        ctx.classText = "1組";
        ctx.classPosition = 1;
        ctx.teacherNumber = "001";
        ctx.slotWeekday = 2;
        ctx.slotPeriod = 3;
    }
    WorkContext ctx;
};

TEST_F(OccupancyCheckTest, ATeacherBusyInAnotherClassIsReportedAndTheSelectionComesBack) {
    lesson("001", 2, "3", 2, 3, "001", "01", "01");
    CHK時間割(ctx, 1, 1, QString());
    EXPECT_EQ(ctx.errorFlag, 1);
    EXPECT_EQ(ctx.message, "中学部 2年 3組 に授業が登録されています");
    EXPECT_EQ(ctx.workingYear, 2007);
    EXPECT_EQ(ctx.departmentCode, "002");
    EXPECT_EQ(ctx.departmentName, "高等部");
    EXPECT_EQ(ctx.departmentPosition, 2);
    EXPECT_EQ(ctx.grade, 1);
    EXPECT_EQ(ctx.gradeText, "1年");
    EXPECT_EQ(ctx.classCode, "1");
    EXPECT_EQ(ctx.classText, "1組");

    // Any mode but 1 tests nothing.
    ctx.resetReporting();
    CHK時間割(ctx, 2, 1, QString());
    EXPECT_EQ(ctx.errorFlag, 0);
}

TEST_F(OccupancyCheckTest, ElectiveSplitAndElectiveSubjectLessonsAreNeverReported) {
    lesson("001", 2, "3", 2, 3, "001", "01", "01");
    for (int* flag : {&ctx.kamokuElective, &ctx.subjectSplit, &ctx.subjectElective}) {
        *flag = 1;
        CHK時間割(ctx, 1, 1, QString());
        EXPECT_EQ(ctx.errorFlag, 0);
        *flag = 0;
    }
}

TEST_F(OccupancyCheckTest, TheClassItselfIsNoConflictSoALessonCanBeConfirmedAgain) {
    lesson("002", 1, "1", 2, 3, "001", "01", "01");
    change("2007/06/04", "002", 1, "1", 3, "001");  // a Monday
    CHK時間割(ctx, 1, 1, "2007/06/04");
    EXPECT_EQ(ctx.errorFlag, 0);
    // The same teacher in another class at the same time still is.
    lesson("002", 1, "2", 2, 3, "001", "01", "01");
    CHK時間割(ctx, 1, 1, QString());
    EXPECT_EQ(ctx.message, "高等部 1年 2組 に授業が登録されています");
}

TEST_F(OccupancyCheckTest, AChangeLessonOnTheDateOfTheSlotWeekdayCountsWhenADateIsGiven) {
    // Free in the standard timetable, but holding a change lesson on Wednesday 2007/06/06.
    ctx.slotWeekday = 4;
    change("2007/06/06", "001", 1, "2", 3, "001");
    CHK時間割(ctx, 1, 1, QString());
    EXPECT_EQ(ctx.errorFlag, 0);  // without a date only the standard timetable counts
    // From Monday 2007/06/04 the Wednesday slot is two days later.
    CHK時間割(ctx, 1, 1, "2007/06/04");
    EXPECT_EQ(ctx.errorFlag, 1);
    EXPECT_EQ(ctx.message, "中学部 1年 2組 に授業が登録されています");
    EXPECT_EQ(ctx.departmentCode, "002");

    // Another week's Wednesday is not that date.
    ctx.resetReporting();
    CHK時間割(ctx, 1, 1, "2007/06/07");
    EXPECT_EQ(ctx.errorFlag, 0);
}

}  // namespace
