#pragma once

#include <vector>

#include <QDate>
#include <QString>

// One line of a change notice: a lesson change of the week beside the standard lesson it
// replaces. The work table WK時割変 holds one record per line.
struct NoticeLine {
    QString date;  // "yyyy/mm/dd"
    int period = 0;
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    int selection = 0;
    QString kamoku;  // the new lesson
    QString subject;
    QString subjectName;
    QString subjectShortName;
    QString teacher;
    QString displayName;
    QString teacherName;
    QString oldTeacher;  // the standard lesson; empty when the slot has none
    QString oldDisplayName;
    QString oldTeacherName;
    QString oldKamoku;
    QString oldSubject;
    QString remark;
    bool hasOldLesson = false;

    // The names the sheets print: the display name, the full name when there is none.
    QString shownTeacher() const { return displayName.isEmpty() ? teacherName : displayName; }
    QString shownOldTeacher() const {
        return oldDisplayName.isEmpty() ? oldTeacherName : oldDisplayName;
    }
    // The name a notice is addressed to.
    QString addressee() const { return teacherName.isEmpty() ? displayName : teacherName; }
};

// Whom a notice is for: one teacher (the lessons a change gives them), one class, or everyone.
struct NoticeTarget {
    enum Mode { Teacher = 1, Class = 2, All = 3 };
    int mode = All;
    QString teacher;
    QString dept;
    int grade = 0;
    QString klass;
};

// The Monday of the school week a date belongs to: Monday to Saturday step back to their
// Monday, a Sunday goes on to the next day.
QDate noticeMonday(const QDate& date);

// The lesson changes of the year from `first` to `last` (dates "yyyy/mm/dd") that concern the
// target, in key order, each with the standard lesson of its class, weekday and period (the first
// one in index order when the slot holds several).
std::vector<NoticeLine> collectNoticeLines(int year, const QString& first, const QString& last,
                                           const NoticeTarget& target);

// Empties WK時割変 and stores the lines in it.
void storeNoticeLines(const std::vector<NoticeLine>& lines);
// The lines of WK時割変 in the order of Idx_変更先: teacher, class, date, period.
std::vector<NoticeLine> readNoticeLines();
