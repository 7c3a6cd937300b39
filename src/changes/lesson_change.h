#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "data/value.h"

class Recordset;
class Screen;

// A lesson change (時限変更): for one date, what one class has in one period instead of its
// standard lesson. There is at most one per class, date and period; a second change of the same
// lesson edits the first. Selection number 0 throughout: a change replaces the class's lesson.
struct ChangeKey {
    int year = 0;
    QString date;  // "yyyy/mm/dd"
    QString dept;
    int grade = 0;
    QString course;
    QString klass;
    int period = 0;

    // The values of Key_変更 that name the change.
    std::vector<Value> values() const;
    // Positions a record set of 時限変更 on the change; true when it is there.
    bool find(Recordset& rs) const;
};

struct ChangeContent {
    QString kamoku, subject, subjectName, subjectShortName;
    QString teacher, teacherName, teacherDisplayName;
};

// Self-study: no registered subject, "自習" as its name.
ChangeContent selfStudy(const QString& teacher, const QString& name, const QString& displayName);

// Adds the change or edits the one stored under its key. A screen without a remark box passes no
// remark and leaves the stored one as it is. Content that is exactly the class's standard lesson
// of that weekday and period deletes the change instead: a copy of the standard would show as a
// change on the notice. True when a change is stored, false when the standard lesson is back.
bool storeChange(const ChangeKey& key, const ChangeContent& content,
                 const std::optional<QString>& remark);

// Deletes the change stored under the key; false when there was none.
bool deleteChange(const ChangeKey& key);

// Asks whether to cancel the change under the key, naming it by `label`, and deletes it: the
// class has its standard lesson again. True when it was deleted.
bool cancelChange(Screen& screen, const ChangeKey& key, const QString& label);

// What a question or message about a change calls it: "2007/06/04 1限 高等部1年1組".
QString changeLabel(const QString& date, int period, const QString& deptName,
                    const QString& gradeText, const QString& classText);
