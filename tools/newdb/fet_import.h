#pragma once

#include <QString>
#include <QStringList>

// Reads a school from a FET file (.fet, the XML of the free timetabling program FET) into a new
// database: the masters (one department, a grade per FET year, a class per FET group, teachers,
// subjects, assignments), the generator's demand, unavailable slots and settings, and the business
// year. Only the core of the format is taken over; what is not is counted in `leftOut`.
namespace fet {

struct ImportSummary {
    int days = 0, periods = 0;
    int teachers = 0, grades = 0, classes = 0, subjects = 0;
    int lines = 0;    // 作成時数 lines written
    int lessons = 0;  // placements of the week (an elective block or a joint lesson counts once)
    int blocks = 0;   // elective numbers given (joint lessons and blocks)
    // One line per kind of what the file holds but the import does not keep, with its count.
    QStringList leftOut;
};

// Imports `fetPath` into the open (new, empty) database for business year `year`, in one
// Operation. When `reducedPath` is given, also writes the school as imported back as a FET file:
// only the activities and constraints kept, in the form they were kept, so that FET can be run on
// exactly the problem the generator gets. Throws DbError with a message for the user when the file
// cannot be read or is refused (more than 7 days or 10 periods).
ImportSummary importFet(const QString& fetPath, int year, const QString& reducedPath = {});

}  // namespace fet
