#pragma once

#include <vector>

#include <QString>

#include "context/slot_tables.h"
#include "context/work_context.h"
#include "data/value.h"

class QComboBox;
class Recordset;

// One lesson of the standard timetable (組時間割) by its full key: class, selection number, slot
// and teacher. The lesson screens find, add and delete lessons through it.
struct LessonKey {
    int year = 0;
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    int selection = 0;
    int weekday = 0;
    int period = 0;
    QString teacher;

    // The class of the screen's current selection, at a slot and with a teacher.
    static LessonKey of(const WorkContext& ctx, int weekday, int period, const QString& teacher);
    // Positions a record set of 組時間割 on the lesson; true when it is there.
    bool find(Recordset& rs) const;
    // Starts a new record carrying the key.
    void addTo(Recordset& rs) const;
    // The key values of the slot, every teacher's lesson there: the first fields of Key_時間割.
    std::vector<Value> slotPrefix() const;
    // Every lesson of the key's slot, whatever its teacher, as the grid reads them.
    std::vector<SlotEntry> slotLessons() const;
    // Deletes every lesson of the key's slot; returns how many there were.
    int removeSlot() const;
};

// The class a screen shows. Its writes and master look-ups go to that class, whatever its pickers
// (or a modal screen sharing its values) have been changed to since.
struct ShownClass {
    int year = 0;
    QString deptCode, deptName;
    int deptPos = 0;
    int grade = 0;
    QString gradeText;
    QString courseCode;
    QString classCode, classText;
    int classPos = 0;

    static ShownClass of(const WorkContext& ctx);
    // Makes it the current selection again, with the class's own timetable (selection number 0).
    void select(WorkContext& ctx) const;
};

// The course-subject and subject drop-downs of the lesson screens: a picked course subject offers
// its subjects, a picked subject its teachers (`teacherFill`: the teacher list's fill mode).
void pickKamoku(WorkContext& ctx, QComboBox* kamoku, QComboBox* subjects);
void pickSubject(WorkContext& ctx, QComboBox* subject, QComboBox* teachers, int teacherFill);
