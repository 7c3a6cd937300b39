#include "changes/lesson_change.h"

#include "data/dates.h"
#include "data/recordset.h"
#include "ui/screen.h"

namespace {
const QString kNoSubject = QStringLiteral("000");
const QString kSelfStudy = QStringLiteral("自習");
}  // namespace

std::vector<Value> ChangeKey::values() const {
    return {year, date, dept, grade, course, klass, 0, period};
}

bool ChangeKey::find(Recordset& rs) const {
    rs.setIndex("Key_変更");
    rs.seek(Seek::Equal, values());
    return !rs.noMatch();
}

ChangeContent selfStudy(const QString& teacher, const QString& name, const QString& displayName) {
    return {kNoSubject, kNoSubject, kSelfStudy, kSelfStudy, teacher, name, displayName};
}

namespace {
bool isStandardLesson(const ChangeKey& key, const ChangeContent& content) {
    // Self-study is never a timetable lesson, even over a free-text one numbered "000".
    const QDate date = dateFrom(key.date);
    if (content.kamoku == kNoSubject || !date.isValid()) return false;
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::Equal, {key.year, key.dept, key.grade, key.course, key.klass, 0,
                          weekdayNumber(date), key.period, content.teacher});
    return !rs.noMatch() && rs.integer("組_登録") == 0 && rs.text("組_科目") == content.kamoku &&
           rs.text("組_教科") == content.subject;
}
}  // namespace

bool deleteChange(const ChangeKey& key) {
    Recordset rs("時限変更");
    if (!key.find(rs)) return false;
    rs.remove();
    return true;
}

bool cancelChange(Screen& screen, const ChangeKey& key, const QString& label) {
    Recordset rs("時限変更");
    if (!key.find(rs)) {
        screen.showMessage(QStringLiteral("%1 の授業は変更されていません").arg(label));
        return false;
    }
    const QString lesson = rs.text("変_教科名") + QStringLiteral("　") + rs.text("変_教員名");
    if (!screen.ask(QStringLiteral("%1 の変更（%2）を取消します。").arg(label, lesson)))
        return false;
    rs.remove();
    screen.showMessage(QStringLiteral("変更を取消しました。"));
    return true;
}

QString changeLabel(const QString& date, int period, const QString& deptName,
                    const QString& gradeText, const QString& classText) {
    return QStringLiteral("%1 %2限 %3%4%5")
        .arg(date)
        .arg(period)
        .arg(deptName, gradeText, classText);
}

bool storeChange(const ChangeKey& key, const ChangeContent& content,
                 const std::optional<QString>& remark) {
    if (isStandardLesson(key, content)) {
        deleteChange(key);
        return false;
    }
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
    return true;
}
