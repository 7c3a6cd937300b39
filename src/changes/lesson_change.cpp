#include "changes/lesson_change.h"

#include "data/recordset.h"

namespace {
const QString kNoSubject = QStringLiteral("000");
const QString kSelfStudy = QStringLiteral("自習");
}  // namespace

bool ChangeKey::find(Recordset& rs) const {
    rs.setIndex("Key_変更");
    rs.seek(Seek::Equal, {year, date, dept, grade, course, klass, 0, period});
    return !rs.noMatch();
}

ChangeContent selfStudy(const QString& teacher, const QString& name, const QString& displayName) {
    return {kNoSubject, kNoSubject, kSelfStudy, kSelfStudy, teacher, name, displayName};
}

void storeChange(const ChangeKey& key, const ChangeContent& content,
                 const std::optional<QString>& remark) {
    Recordset rs("時限変更");
    if (key.find(rs)) {
        rs.edit();
    } else {
        rs.addNew();
        rs.set("変_年度", key.year);
        rs.set("変_日付", key.date);
        rs.set("変_学部", key.dept);
        rs.set("変_学年", key.grade);
        rs.set("変_コース", key.course);
        rs.set("変_組", key.klass);
        rs.set("変_選択番号", 0);
        rs.set("変_時限", key.period);
        rs.set("変_備考", QString());
    }
    rs.set("変_科目", content.kamoku);
    rs.set("変_教科", content.subject);
    rs.set("変_教科名", content.subjectName);
    rs.set("変_教科略称", content.subjectShortName);
    rs.set("変_教員", content.teacher);
    rs.set("変_教員名", content.teacherName);
    rs.set("変_教員表示名", content.teacherDisplayName);
    if (remark) rs.set("変_備考", *remark);
    // Both screens store a registered subject or self-study, never a free-text lesson.
    rs.set("変_登録", 0);
    rs.update();
}
