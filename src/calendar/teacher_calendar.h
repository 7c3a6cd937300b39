#pragma once

#include <vector>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QtGlobal>

// A teacher's lessons on real dates, for the calendars teachers keep on their phones: the
// standard week with the lesson changes applied and the days and periods events take away.

struct DatedLesson {
    QString date;  // "yyyy/mm/dd"
    int period = 0;
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    int elective = 0;
    QString subject;
    QString room;
    bool changed = false;
    QString replaced;  // a change: the teachers whose standard lesson it replaces

    // The same lesson slot keeps its identifier from export to export, so a calendar that reads
    // a newer file updates the lesson instead of adding it twice.
    QString uid() const;
};

// The teacher's lessons from `from` to `to`, by date and period.
std::vector<DatedLesson> datedLessons(const QString& teacher, const QDate& from, const QDate& to);

// The name of a teacher's calendar file, safe on every file system.
QString calendarFileName(const QString& number, const QString& name);

// One teacher's lessons as an iCalendar text, in Japan time. Lessons of a period the bell
// schedule has no times for cannot be placed and are left out; `untimed` counts them. Empty, with
// the reason in `error`, when the calendar writer cannot be loaded.
QByteArray teacherCalendar(const QString& teacherName, const std::vector<DatedLesson>& lessons,
                           int& untimed, QString* error = nullptr);

// A lesson placed in time and worded, as the calendar file carries it.
struct CalendarEvent {
    QString uid;
    QDate date;
    QTime start, end;  // Japan time
    QString summary, description, location;
    bool changed = false;
};

// libical, which writes the iCalendar text, is a module loaded at the first export (see
// data/module_loader.h); its entry writes the calendar titled `title` into `out`.
inline const QString kCalendarModule = QStringLiteral("jikanwari-ical");
extern "C" Q_DECL_EXPORT bool jikanwariWriteCalendar(const QString* title,
                                                    const std::vector<CalendarEvent>* events,
                                                    QByteArray* out);
