#pragma once

#include <vector>

#include <QDate>
#include <QString>

#include "context/slot_tables.h"

// The working values of one screen: the year it works on, the reporting values of the input
// checks and the current selection the pickers decode. A modal sub-screen shares its caller's
// set, which is how the caller hands over what to work on (the slot to break down, the teacher
// whose assignments to show). Two screens open side by side never share one, so a pick on one
// cannot redirect what the other writes.
struct SubjectOverviewRow {
    QString name;
    QString number;
    QString shortName;
};

struct WorkContext {
    int workingYear = 0;

    // Reporting values of the checks.
    int errorFlag = 0;
    int firstErrorFlag = 0;
    QString message;
    QString title;  // the screen title messages are shown under
    int checkResult = 0;
    QDate normalizedDate;
    QString normalizedDateText;

    // Current selection written by the pickers.
    int decodeResult = 0;
    QString departmentCode, departmentName;
    int departmentPosition = 0;
    int grade = 0;
    QString gradeText;
    int gradePosition = 0;
    QString courseCode, courseName;
    int coursePosition = 0;
    QString classCode, classText;
    int classPosition = 0;
    QString masterCode, masterName, masterShortName;
    QString subjectNumber;
    int subjectOrder = 0;
    QString subjectName, subjectShortName;
    int subjectSplit = 0, subjectElective = 0;  // 教_展開F, 教_選択F
    QString teacherNumber, teacherName, teacherDisplayName;
    QString kamokuNumber, kamokuName, kamokuShortName;  // course subject
    int kamokuElective = 0;                             // 科_選択F
    int slotWeekday = 0, slotPeriod = 0;
    int selectionNumber = 0;
    QString lessonDateText;
    std::vector<SubjectOverviewRow> subjectOverview;  // at most 20 rows

    // The grid cell remembered as selected (reset by every grid initialisation).
    int selectedRow = 0, selectedCol = 0;

    // The class timetable this screen has loaded. A modal breakdown screen works on its
    // caller's; a timetable drawn on another screen never replaces it.
    SlotTables slotTables;

    // Clears the reporting values before a whole-form check.
    void resetReporting() {
        errorFlag = 0;
        firstErrorFlag = 0;
        message.clear();
    }
};
