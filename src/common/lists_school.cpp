// The lists that work on the master tables loaded at start-up: departments, grades, courses and
// classes; and the master list that reads マスタ.

#include "common/checks.h"
#include "common/list_support.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"

using namespace list_support;

namespace {

int decodeDepartment(WorkContext& ctx, int option, const QString& text, bool byCode) {
    const SchoolContext& s = school();
    ctx.decodeResult = 1;
    for (int i = 1; i <= SchoolContext::kMaxDepartments; ++i) {
        if (option == list_option::kWithCommon && text == (byCode ? kCommonCode : kCommonName)) {
            ctx.departmentCode = kCommonCode;
            ctx.departmentName = kCommonName;
            ctx.departmentPosition = 1;
            return finish(ctx, 0);
        }
        if (s.departments[i].code.isEmpty()) break;
        if (text == (byCode ? s.departments[i].code : s.departments[i].name)) {
            ctx.departmentCode = s.departments[i].code;
            ctx.departmentName = s.departments[i].name;
            ctx.departmentPosition = i;
            return finish(ctx, 0);
        }
    }
    return finish(ctx, 1);
}

int decodeGrade(WorkContext& ctx, int mode, int option, const QString& text) {
    const SchoolContext& s = school();
    const bool byNumber = mode == 学年::ByNumber || mode == 学年::ByNumberSilent;
    ctx.decodeResult = 1;
    if (option == list_option::kWithCommon && mode != 学年::ByNumberSilent &&
        (byNumber ? numberOf(text) == 0 : text == kCommonName)) {
        ctx.grade = 0;
        ctx.gradeText = kCommonName;
        ctx.gradePosition = 1;
        return finish(ctx, 0);
    }
    for (int i = 1; i <= SchoolContext::kMaxGrades; ++i) {
        if (s.grades[i].name.isEmpty()) break;
        const bool match = byNumber
                               ? numberOf(text) >= 0 && numberOf(text) == numberOf(s.grades[i].name)
                               : text == s.grades[i].shortName;
        if (match) {
            ctx.grade = numberOf(s.grades[i].name);
            ctx.gradeText = s.grades[i].shortName;
            ctx.gradePosition = i;
            return finish(ctx, 0);
        }
    }
    return finish(ctx, 1);
}

int decodeClass(WorkContext& ctx, int mode, int option, const QString& text, QWidget* field) {
    const SchoolContext& s = school();
    const int d = ctx.departmentPosition;
    ctx.decodeResult = 1;
    // No department decoded yet: the class list has nothing to offer, and says nothing.
    if (d < 1 || d > SchoolContext::kMaxDepartments) return finish(ctx, 1);
    for (int i = 1; i <= s.classCount[d]; ++i) {
        const NameShort& k = s.classes[d][i];
        if (text == (mode == 組::ByShortName ? k.shortName : k.name)) {
            ctx.classCode = k.name;
            ctx.classText = k.shortName;
            ctx.classPosition = i;
            if (option != list_option::kSilent && field) setFieldColour(field, 0);
            return finish(ctx, 0);
        }
    }
    if (option != list_option::kSilent && field)
        reportFieldError(ctx, field, QStringLiteral("組を正しく選択してください"));
    return finish(ctx, 1);
}

}  // namespace

// ----------------------------------------------------------------------------- departments

int CMB学部(WorkContext& ctx, int mode, int option, QWidget* target) {
    ctx.decodeResult = 0;
    switch (mode) {
        case 学部::Fill: {
            clearList(target);
            if (option == list_option::kWithCommon) addEntry(target, kCommonName);
            for (int i = 1;
                 i <= SchoolContext::kMaxDepartments && !school().departments[i].code.isEmpty();
                 ++i)
                addEntry(target, school().departments[i].name);
            return 0;
        }
        case 学部::ByName:
        case 学部::ByNameSilent: {
            const int r = decodeDepartment(ctx, option, textOf(target), false);
            if (r == 1 && mode == 学部::ByName && option != list_option::kSilent)
                reportMiss(ctx, target, QStringLiteral("学部を正しく選択してください"));
            return r;
        }
        case 学部::ByCode:
            return decodeDepartment(ctx, option, textOf(target), true);
        default:
            return 0;
    }
}

int CMB学部(WorkContext& ctx, int mode, int option, const QString& value) {
    ctx.decodeResult = 0;
    if (mode == 学部::ByCode) return decodeDepartment(ctx, option, value, true);
    if (mode == 学部::ByName || mode == 学部::ByNameSilent) {
        const int r = decodeDepartment(ctx, option, value, false);
        if (r == 1 && mode == 学部::ByName && option != list_option::kSilent)
            reportMiss(ctx, nullptr, QStringLiteral("学部を正しく選択してください"));
        return r;
    }
    return 0;
}

// ----------------------------------------------------------------------------- grades

namespace {

int grade(WorkContext& ctx, int mode, int option, const QString& text, QWidget* field) {
    ctx.decodeResult = 0;
    if (mode < 学年::ByText || mode > 学年::ByTextSilent) return 0;
    const int r = decodeGrade(ctx, mode, option, text);
    if (r == 1 && option != list_option::kSilent) {
        if (mode == 学年::ByText)
            reportMiss(ctx, field, QStringLiteral("学年を正しく選択してください"));
        if (mode == 学年::ByNumber)
            reportMiss(ctx, field, QStringLiteral("学年に正しく入力してください"));
    }
    return r;
}

}  // namespace

int CMB学年(WorkContext& ctx, int mode, int option, QWidget* target) {
    if (mode == 学年::Fill) {
        ctx.decodeResult = 0;
        clearList(target);
        if (option == list_option::kWithCommon) addEntry(target, kCommonName);
        for (int i = 1; i <= SchoolContext::kMaxGrades && !school().grades[i].name.isEmpty(); ++i)
            addEntry(target, school().grades[i].shortName);
        return 0;
    }
    return grade(ctx, mode, option, textOf(target), target);
}

int CMB学年(WorkContext& ctx, int mode, int option, const QString& value) {
    return grade(ctx, mode, option, value, nullptr);
}

// ----------------------------------------------------------------------------- courses

namespace {

int course(WorkContext& ctx, int mode, const QString& text) {
    const SchoolContext& s = school();
    ctx.decodeResult = 1;
    if (mode == コース::ByName && text.isEmpty()) {
        ctx.courseCode.clear();
        ctx.courseName.clear();
        return finish(ctx, 1);
    }
    for (int i = 1; i <= SchoolContext::kMaxCourses; ++i) {
        if (s.courses[i].name.isEmpty()) {
            if (mode == コース::ByCode) {
                // Running out of courses while looking for a code: the code is not a course.
                ctx.courseCode.clear();
                ctx.courseName.clear();
                ctx.errorFlag = 1;
                ctx.message = QStringLiteral("コースを正しく選択してください");
            }
            break;
        }
        if (text == (mode == コース::ByCode ? s.courses[i].code : s.courses[i].name)) {
            ctx.courseCode = s.courses[i].code;
            ctx.courseName = s.courses[i].name;
            ctx.coursePosition = i;
            return finish(ctx, 0);
        }
    }
    return finish(ctx, 1);
}

}  // namespace

int CMBコース(WorkContext& ctx, int mode, QWidget* target) {
    ctx.decodeResult = 0;
    if (mode == コース::Fill) {
        clearList(target);
        for (int i = 1; i <= SchoolContext::kMaxCourses && !school().courses[i].name.isEmpty(); ++i)
            addEntry(target, school().courses[i].name);
        return 0;
    }
    if (mode == コース::ByName || mode == コース::ByCode) return course(ctx, mode, textOf(target));
    return 0;
}

int CMBコース(WorkContext& ctx, int mode, const QString& value) {
    ctx.decodeResult = 0;
    if (mode == コース::ByName || mode == コース::ByCode) return course(ctx, mode, value);
    return 0;
}

// ----------------------------------------------------------------------------- classes

int CMB組(WorkContext& ctx, int mode, int option, QWidget* target) {
    ctx.decodeResult = 0;
    if (mode == 組::Fill) {
        clearList(target);
        const int d = ctx.departmentPosition;
        if (d < 1 || d > SchoolContext::kMaxDepartments) return 0;
        // Every loaded class of the department can be chosen, up to the 20 start-up loads.
        for (int i = 1; i <= school().classCount[d]; ++i)
            addEntry(target, school().classes[d][i].shortName);
        return 0;
    }
    if (mode == 組::ByShortName || mode == 組::ByName)
        return decodeClass(ctx, mode, option, textOf(target), target);
    return 0;
}

int CMB組(WorkContext& ctx, int mode, int option, const QString& value) {
    ctx.decodeResult = 0;
    if (mode == 組::ByShortName || mode == 組::ByName)
        return decodeClass(ctx, mode, option, value, nullptr);
    return 0;
}

// ----------------------------------------------------------------------------- master entries

int CMBマス(WorkContext& ctx, int mode, const QString& kind, QString& code, QWidget* target) {
    ctx.decodeResult = 0;
    Recordset rs("マスタ");
    switch (mode) {
        case マス::Fill:
            clearList(target);
            rs.setIndex("Key_マスタ");
            for (rs.seekPrefix({kind}); rs.inPrefix(); rs.moveNext())
                addEntry(target, rs.text("マ_名称"));
            return 0;
        case マス::ByName:
            rs.setIndex("Idx_マ名称");
            rs.seek(Seek::Equal, {kind, textOf(target)});
            if (rs.noMatch()) {
                code.clear();
                return finish(ctx, 1);
            }
            code = rs.text("マ_連番");
            ctx.masterCode = code;
            ctx.masterName = rs.text("マ_名称");
            return finish(ctx, 0);
        case マス::ByCode:
            rs.setIndex("Key_マスタ");
            rs.seek(Seek::Equal, {kind, code});
            if (rs.noMatch()) return finish(ctx, 1);
            ctx.masterName = rs.text("マ_名称");
            ctx.masterShortName = rs.text("マ_略称");
            if (target) setFieldText(target, ctx.masterName);
            return finish(ctx, 0);
        default:
            return 0;
    }
}
