#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "context/work_context.h"
#include "timetable/master_lookups.h"

class Grid;

// Registering a loaded timetable under a class: the class selected in ctx (year, department,
// grade, course, class, selection number) receives every lesson of ctx.slotTables. A slot the
// copy writes holds the copied lessons only, as a slot does (one lesson, however many teachers);
// slots the copy leaves empty keep what the class has there.

// The lessons a slot is written as: each entry of its breakdown (every teacher of it); a slot
// that has none by its slot text.
std::vector<SlotEntry> lessonsOf(const Slot& slot);
// Whether the loaded timetable has any lesson at all.
bool anyLesson(const SlotTables& tables);

// What the check before writing found. Masters the class's year, department and grade lack stop
// the registration; a teacher who teaches another class at the same time is a warning the user
// may override.
struct CopyCheck {
    QStringList missing;  // one line each: "<weekday>曜 <period>時限　<what>"
    QString conflict;     // the first conflict's message
    int conflicts = 0;

    int errorFlag() const { return !missing.isEmpty() ? 1 : conflicts > 0 ? 2 : 0; }
    // Says what is missing, for the user.
    QString missingMessage(const WorkContext& ctx) const;
};

// One registration: the check, then the writes, of the class selected in ctx when it is made.
// Both look the masters up through one cache, so a week's teachers are read once.
class CopyRegistration {
public:
    explicit CopyRegistration(WorkContext& ctx) : ctx_(ctx), lookups_(ctx) {}

    // Checks every lesson against the class's masters and the other classes' timetables. With
    // a grid, its highlight is cleared first and the lines of each finding turn light red.
    CopyCheck check(Grid* grid);
    // How many lessons of the class the write would replace: those in the slots it writes.
    int replaced();
    // Writes every lesson as one 組時間割 record of the class; returns how many.
    int write();

private:
    WorkContext& ctx_;
    MasterLookups lookups_;
};
