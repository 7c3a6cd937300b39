#include "timetable/slot_rule.h"

#include "context/school_context.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

SlotChange slotChangeOf(const std::vector<SlotEntry>& held, const SlotEntry& lesson,
                        bool elective) {
    if (held.empty()) return SlotChange::Add;
    bool teaching = false;
    for (const SlotEntry& e : held) {
        if (e.freeText != lesson.freeText || e.kamoku != lesson.kamoku) return SlotChange::Replace;
        if (e.subject != lesson.subject) {
            if (!elective) return SlotChange::Replace;
            continue;
        }
        if (e.teacher == lesson.teacher) teaching = true;
    }
    return teaching ? SlotChange::Unchanged : SlotChange::AddTeacher;
}

QString replaceQuestion(const Grid& grid, int weekday, int period) {
    const QString lesson = grid.textMatrix(lessonRow(period), weekday);
    const QString teachers = grid.textMatrix(teacherRow(period), weekday);
    const QString shown = teachers.isEmpty() || teachers == lesson
                              ? lesson
                              : QStringLiteral("%1（%2）").arg(lesson, teachers);
    return QStringLiteral("%1曜 %2時限の「%3」を入力内容に置き換えます。よろしいですか？")
        .arg(school().weekdayNames[weekday])
        .arg(period)
        .arg(shown);
}
