#include "common/school_masters.h"

#include <algorithm>

#include <QString>

#include "context/school_context.h"
#include "data/recordset.h"

void loadMasters() {
    SchoolContext& s = school();
    s.clearMasters();
    Recordset rs("マスタ");
    rs.setIndex("Key_マスタ");
    rs.seek(Seek::AtLeast, {"002", "001"});
    for (; !rs.noMatch() && !rs.eof() && rs.text("マ_番号") <= "010"; rs.moveNext()) {
        const QString kind = rs.text("マ_番号");
        if (kind == "002") {
            if (s.departmentCount == SchoolContext::kMaxDepartments) continue;
            s.departments[++s.departmentCount] = {rs.text("マ_連番"), rs.text("マ_名称")};
        } else if (kind == "003") {
            // A grade without a number could only be filed under none; it is left out.
            const int grade = gradeNumberOf(rs.text("マ_名称"));
            if (grade < 1 || s.gradeCount == SchoolContext::kMaxGrades) continue;
            s.grades[++s.gradeCount] = {QString::number(grade), rs.text("マ_略称")};
        } else if (kind == "004") {
            if (s.courseCount == SchoolContext::kMaxCourses) continue;
            s.courses[++s.courseCount] = {rs.text("マ_連番"), rs.text("マ_名称")};
        } else if (kind == "006") {
            // A class whose department is not loaded counts under the first department.
            int d = 1;
            for (int i = 1; i <= s.departmentCount; ++i)
                if (s.departments[i].code == rs.text("マ_学部")) {
                    d = i;
                    break;
                }
            if (s.classCount[d] == SchoolContext::kMaxClasses) continue;
            s.classes[d][++s.classCount[d]] = {rs.text("マ_名称"), rs.text("マ_略称")};
        }
    }
    for (int d = 1; d <= SchoolContext::kMaxDepartments; ++d)
        s.largestClassCount = std::max(s.largestClassCount, s.classCount[d]);
}

int gradeNumberOf(const QString& name) {
    const QString text = name.trimmed();
    int number = 0, digits = 0;
    for (; digits < text.size() && text[digits].isDigit(); ++digits) {
        number = number * 10 + text[digits].digitValue();
        if (number > SchoolContext::kMaxGrades) return -1;
    }
    return digits > 0 && number >= 1 ? number : -1;
}

QString masterEntryCode(const QString& typed) {
    const QString code = typed.trimmed();
    return code.size() < 3 ? code.rightJustified(3, u'0') : code;
}

QString schoolName() {
    Recordset rs("マスタ");
    rs.setIndex("Key_マスタ");
    rs.seek(Seek::Equal, {"001", "001"});
    return rs.noMatch() ? QString() : rs.text("マ_名称");
}
