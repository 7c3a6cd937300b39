#include "app/initial_processing.h"

#include "context/school_context.h"
#include "data/recordset.h"

void 初期処理(WorkContext& ctx, const QDate& today,
              const std::function<void()>& setUpBusinessYear) {
    school().setToday(today);
    if (!loadBusinessYear(ctx)) {
        ctx.errorFlag = 1;
        ctx.message = QStringLiteral("業務年度を設定して下さい");
        if (setUpBusinessYear) setUpBusinessYear();
    }
    loadMasters();
}

bool loadBusinessYear(WorkContext& ctx) {
    SchoolContext& s = school();
    Recordset rs("業務年度");
    rs.setIndex("Key_業務");
    rs.seek(Seek::Equal, {1});
    if (rs.noMatch()) {
        s.businessYear = 0;
        s.businessYearStart.clear();
        s.businessYearEnd.clear();
        return false;
    }
    s.businessYear = rs.integer("業_年度");
    s.businessYearStart = rs.text("業_開始日");
    s.businessYearEnd = rs.text("業_終了日");
    ctx.workingYear = s.businessYear;
    return true;
}

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
            if (s.gradeCount == SchoolContext::kMaxGrades) continue;
            s.grades[++s.gradeCount] = {rs.text("マ_名称"), rs.text("マ_略称")};
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
