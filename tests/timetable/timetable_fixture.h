#pragma once

#include "context/school_context.h"
#include "support/screen_driver.h"

// A small school for the timetable tests: business year 2007, departments 中学部 (001) and
// 高等部 (002), grades 1 and 2, classes 1組..3組 in each department, course subjects and subjects
// of 高等部 1年 (国語 with two subjects, 数学, the elective 芸術選択 with α and β, the split 体育),
// and teachers with and without display names.
class TimetableTest : public ScreenTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static void kamoku(const char* dept, int grade, const char* no, const char* name,
                       const char* shortName, int elective = 0);
    static void subject(const char* dept, int grade, const char* kamoku, const char* no, int order,
                        const char* name, const char* shortName, int split = 0, int elective = 0);
    static void teacher(const char* no, const char* name, const char* display);
    // A standard lesson of 2007, selection number 0 unless given.
    static void lesson(const char* dept, int grade, const char* klass, int weekday, int period,
                       const char* teacher, const char* kamoku, const char* subject,
                       const char* subjectName = "", const char* shortName = "", int selection = 0,
                       int freeText = 0);
    static void change(const char* date, const char* dept, int grade, const char* klass, int period,
                       const char* teacher);
    // An event of 2007; lessons: 0 none, 1 held, 2 only periods from..to are taken.
    static void event(const char* from, const char* to, const char* dept, int grade, int lessons,
                      int periodFrom, int periodTo, const char* name, const char* shortName = "");
    // Makes `ctx` select a class of 2007, as a screen's pickers would.
    static void selectClass(WorkContext& ctx, const char* dept, int grade, const char* klass);
};
