#include "changes/change_notice.h"

#include "common/names.h"
#include "data/dates.h"
#include "data/recordset.h"

namespace {

bool concerns(const Recordset& rs, const NoticeTarget& t) {
    switch (t.mode) {
        case NoticeTarget::Teacher:
            return rs.text("変_教員") == t.teacher;
        case NoticeTarget::Class:
            return rs.text("変_学部") == t.dept && rs.integer("変_学年") == t.grade &&
                   rs.text("変_組") == t.klass;
        default:
            return true;
    }
}

// The standard lesson a change replaces: the class's lesson at the weekday and period of its date.
void findOldLesson(Recordset& lessons, int year, NoticeLine& line) {
    const QDate date = dateFrom(line.date);
    if (!date.isValid()) return;
    lessons.seek(Seek::Equal, {year, weekdayNumber(date), line.period, line.dept, line.grade,
                               line.course, line.klass});
    if (lessons.noMatch()) return;
    line.hasOldLesson = true;
    line.oldTeacher = lessons.text("組_教員");
    line.oldDisplayName = lessons.text("組_教員表示名");
    line.oldTeacherName = lessons.text("組_教員名");
    line.oldSubject = shortOrName(lessons.text("組_教科略称"), lessons.text("組_教科名"));
}

}  // namespace

QDate noticeMonday(const QDate& date) {
    if (date.dayOfWeek() == Qt::Sunday) return date.addDays(1);
    return date.addDays(Qt::Monday - date.dayOfWeek());
}

std::vector<NoticeLine> collectNoticeLines(int year, const QString& first, const QString& last,
                                           const NoticeTarget& target) {
    std::vector<NoticeLine> lines;
    Recordset lessons("組時間割");
    lessons.setIndex("Idx_コマ");
    Recordset rs("時限変更");
    rs.setIndex("Key_変更");
    for (rs.seekPrefix({year, first}, 1); rs.inPrefix() && rs.text("変_日付") <= last;
         rs.moveNext()) {
        if (!concerns(rs, target)) continue;
        NoticeLine line;
        line.date = rs.text("変_日付");
        line.period = rs.integer("変_時限");
        line.dept = rs.text("変_学部");
        line.grade = rs.integer("変_学年");
        line.course = rs.text("変_コース");
        line.klass = rs.text("変_組");
        line.selection = rs.integer("変_選択番号");
        line.kamoku = rs.text("変_科目");
        line.subject = rs.text("変_教科名");
        line.subjectName = rs.text("変_教科名");
        line.subjectShortName = rs.text("変_教科略称");
        line.teacher = rs.text("変_教員");
        line.displayName = rs.text("変_教員表示名");
        line.teacherName = rs.text("変_教員名");
        line.remark = rs.text("変_備考");
        findOldLesson(lessons, year, line);
        lines.push_back(line);
    }
    return lines;
}

void storeNoticeLines(const std::vector<NoticeLine>& lines) {
    db().execute(QStringLiteral("DELETE * FROM WK時割変 ;"));
    Recordset rs("WK時割変");
    for (const NoticeLine& l : lines) {
        rs.addNew();
        rs.set("W_日付", l.date);
        rs.set("W_時限", l.period);
        rs.set("W_学部", l.dept);
        rs.set("W_学年", l.grade);
        rs.set("W_組", l.klass);
        rs.set("W_科目", l.kamoku);
        rs.set("W_教科", l.subject);
        rs.set("W_教科名", l.subjectName);
        rs.set("W_教科略称", l.subjectShortName);
        rs.set("W_コース", l.course);
        rs.set("W_選択番号", l.selection);
        rs.set("W_教員コード", l.teacher);
        rs.set("W_表示名", l.displayName);
        rs.set("W_教員名", l.teacherName);
        rs.set("W_旧教員コード", l.oldTeacher);
        rs.set("W_旧表示名", l.oldDisplayName);
        rs.set("W_旧教員名", l.oldTeacherName);
        rs.set("W_旧科目", l.oldKamoku);
        rs.set("W_旧教科", l.oldSubject);
        rs.set("W_備考", l.remark);
        rs.update();
    }
}

std::vector<NoticeLine> readNoticeLines() {
    std::vector<NoticeLine> lines;
    Recordset rs("WK時割変");
    rs.setIndex("Idx_変更先");
    rs.seek(Seek::AtLeast, {QString()});
    for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) {
        NoticeLine l;
        l.date = rs.text("W_日付");
        l.period = rs.integer("W_時限");
        l.dept = rs.text("W_学部");
        l.grade = rs.integer("W_学年");
        l.klass = rs.text("W_組");
        l.kamoku = rs.text("W_科目");
        l.subject = rs.text("W_教科");
        l.subjectName = rs.text("W_教科名");
        l.subjectShortName = rs.text("W_教科略称");
        l.course = rs.text("W_コース");
        l.selection = rs.integer("W_選択番号");
        l.teacher = rs.text("W_教員コード");
        l.displayName = rs.text("W_表示名");
        l.teacherName = rs.text("W_教員名");
        l.oldTeacher = rs.text("W_旧教員コード");
        l.oldDisplayName = rs.text("W_旧表示名");
        l.oldTeacherName = rs.text("W_旧教員名");
        l.oldKamoku = rs.text("W_旧科目");
        l.oldSubject = rs.text("W_旧教科");
        l.remark = rs.text("W_備考");
        lines.push_back(l);
    }
    return lines;
}
