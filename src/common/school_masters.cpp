#include "common/school_masters.h"

#include <algorithm>

#include <QString>

#include "context/school_context.h"
#include "data/key_range.h"

void loadMasters() {
    SchoolContext& s = school();
    s.clearMasters();
    // One statement for the few rows the context keeps (every start reads them): a record set
    // would first describe the whole table and its indexes.
    enum { kKind, kNumber, kName, kShort, kDepartment };
    readQuery(
        QStringLiteral("SELECT \"マ_番号\", \"マ_連番\", \"マ_名称\", \"マ_略称\", \"マ_学部\" "
                       "FROM \"マスタ\" WHERE (\"マ_番号\", \"マ_連番\") >= (?, ?) "
                       "AND \"マ_番号\" <= ? ORDER BY \"マ_番号\", \"マ_連番\""),
        {QStringLiteral("002"), QStringLiteral("001"), QStringLiteral("010")},
        [&](const KeyRow& rs) {
            const QString kind = rs.text(kKind);
            if (kind == "002") {
                if (s.departmentCount == SchoolContext::kMaxDepartments) return;
                s.departments[++s.departmentCount] = {rs.text(kNumber), rs.text(kName)};
            } else if (kind == "003") {
                // A grade without a number could only be filed under none; it is left out.
                const int grade = gradeNumberOf(rs.text(kName));
                if (grade < 1 || s.gradeCount == SchoolContext::kMaxGrades) return;
                s.grades[++s.gradeCount] = {QString::number(grade), rs.text(kShort)};
            } else if (kind == "004") {
                if (s.courseCount == SchoolContext::kMaxCourses) return;
                s.courses[++s.courseCount] = {rs.text(kNumber), rs.text(kName)};
            } else if (kind == "006") {
                // A class whose department is not loaded counts under the first department.
                int d = 1;
                const QString department = rs.text(kDepartment);
                for (int i = 1; i <= s.departmentCount; ++i)
                    if (s.departments[i].code == department) {
                        d = i;
                        break;
                    }
                if (s.classCount[d] == SchoolContext::kMaxClasses) return;
                s.classes[d][++s.classCount[d]] = {rs.text(kName), rs.text(kShort)};
            }
        },
        QueryPlan::Once);
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
    QString name;
    readQuery(
        QStringLiteral(
            "SELECT \"マ_名称\" FROM \"マスタ\" WHERE \"マ_番号\" = ? AND \"マ_連番\" = ?"),
        {QStringLiteral("001"), QStringLiteral("001")},
        [&](const KeyRow& rs) { name = rs.text(0); }, QueryPlan::Once);
    return name;
}
