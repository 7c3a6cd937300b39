#include "timetable/lesson_record.h"

#include <QComboBox>

#include "common/selection_lists.h"
#include "data/recordset.h"
#include "ui/fields.h"

LessonKey LessonKey::of(const WorkContext& c, int weekday, int period, const QString& teacher) {
    return {c.workingYear,     c.departmentCode, c.grade, c.courseCode, c.classCode,
            c.selectionNumber, weekday,          period,  teacher};
}

bool LessonKey::find(Recordset& rs) const {
    rs.setIndex("Key_時間割");
    rs.seek(Seek::Equal, {year, dept, grade, course, klass, selection, weekday, period, teacher});
    return !rs.noMatch();
}

void LessonKey::addTo(Recordset& rs) const {
    rs.addNew();
    rs.set("組_年度", year);
    rs.set("組_学部", dept);
    rs.set("組_学年", grade);
    rs.set("組_コース", course);
    rs.set("組_組", klass);
    rs.set("組_選択番号", selection);
    rs.set("組_曜日", weekday);
    rs.set("組_時限", period);
    rs.set("組_教員", teacher);
}

std::vector<Value> LessonKey::slotPrefix() const {
    return {year, dept, grade, course, klass, selection, weekday, period};
}

namespace {
// Runs `each` on every lesson of the key's slot, the record set standing on it.
template <typename F>
void forSlot(const LessonKey& k, Recordset& rs, F each) {
    rs.setIndex("Key_時間割");
    for (rs.seekPrefix(k.slotPrefix()); rs.inPrefix(); rs.moveNext()) each();
}
}  // namespace

std::vector<SlotEntry> LessonKey::slotLessons() const {
    std::vector<SlotEntry> lessons;
    Recordset rs("組時間割");
    forSlot(*this, rs, [&] {
        if (rs.integer("組_登録") == 1)
            lessons.push_back({rs.text("組_教科略称"), QString(), rs.text("組_教員"), 1});
        else
            lessons.push_back({rs.text("組_科目"), rs.text("組_教科"), rs.text("組_教員"), 0});
    });
    return lessons;
}

int LessonKey::removeSlot() const {
    int removed = 0;
    Recordset rs("組時間割");
    forSlot(*this, rs, [&] {
        rs.remove();
        ++removed;
    });
    return removed;
}

ShownClass ShownClass::of(const WorkContext& c) {
    return {c.workingYear, c.departmentCode, c.departmentName, c.departmentPosition,
            c.grade,       c.gradeText,      c.courseCode,     c.classCode,
            c.classText,   c.classPosition};
}

void ShownClass::select(WorkContext& c) const {
    c.workingYear = year;
    c.departmentCode = deptCode;
    c.departmentName = deptName;
    c.departmentPosition = deptPos;
    c.grade = grade;
    c.gradeText = gradeText;
    c.courseCode = courseCode;
    c.classCode = classCode;
    c.classText = classText;
    c.classPosition = classPos;
    c.selectionNumber = 0;
}

void pickKamoku(WorkContext& ctx, QComboBox* kamoku, QComboBox* subjects) {
    CMB科目(ctx, 科目::ByName, list_option::kPlain, kamoku);
    CMB教科(ctx, 教科::Fill, 0, subjects);
}

void pickSubject(WorkContext& ctx, QComboBox* subject, QComboBox* teachers, int teacherFill) {
    CMB教科(ctx, 教科::ByName, 0, subject);
    if (ctx.subjectNumber.isEmpty()) {
        ctx.errorFlag = 1;
        ctx.message = QStringLiteral("教科を正しく選択して下さい");
    } else {
        setFieldColour(subject, 0);
    }
    CMB教師(ctx, teacherFill, teachers);
}
