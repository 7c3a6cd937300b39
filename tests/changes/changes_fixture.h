#pragma once

#include "timetable/timetable_fixture.h"

// The school of the timetable tests, with what the lesson-change screens read besides:
// assignments, teachers with kana and leave, and lesson changes with their subject and teacher.
// Today is Monday 2007/06/04.
class ChangesTest : public TimetableTest {
protected:
    void SetUp() override;

    static void assignment(const char* teacher, const char* name, const char* dept, int grade,
                           const char* kamoku, const char* subject);
    static void teacherWith(const char* no, const char* name, const char* kana,
                            const char* leaveFrom = "", const char* leaveTo = "");
    // A change of 2007 that gives the lesson to a teacher already inserted, with the subject's
    // names (course subject and subject "01").
    static void changeTo(const char* date, const char* dept, int grade, const char* klass,
                         int period, const char* teacher, const char* subjectName,
                         const char* shortName, const char* remark = "");
};
