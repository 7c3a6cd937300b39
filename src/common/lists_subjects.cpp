// The lists that read the course subjects (科目) and subjects (教科) of the working year.

#include <algorithm>
#include <tuple>
#include <vector>

#include "common/checks.h"
#include "common/list_support.h"
#include "common/selection_lists.h"
#include "data/recordset.h"

using namespace list_support;

namespace {

// ----------------------------------------------------------------------------- subjects

void clearSubject(WorkContext& ctx) {
    ctx.subjectNumber.clear();
    ctx.subjectOrder = 0;
    ctx.subjectName.clear();
    ctx.subjectShortName.clear();
    ctx.subjectSplit = ctx.subjectElective = 0;
}

void takeSubject(WorkContext& ctx, const Recordset& rs, bool withNumber) {
    if (withNumber) {
        ctx.subjectNumber = rs.text("教_教科番号");
        ctx.subjectOrder = rs.integer("教_表示順");
    }
    ctx.subjectName = rs.text("教_名称");
    ctx.subjectShortName = rs.text("教_略称");
    ctx.subjectSplit = rs.integer("教_展開F");
    ctx.subjectElective = rs.integer("教_選択F");
}

int subject(WorkContext& ctx, int mode, int option, const QString& text) {
    Recordset rs("教科");
    switch (mode) {
        case 教科::ByName:
            rs.setIndex("Idx_名称");
            rs.seek(Seek::Equal, {ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode,
                                  ctx.kamokuNumber, text});
            break;
        case 教科::ByNumber:
        case 教科::ByNumberNamesOnly:
            rs.setIndex("Key_教科");
            rs.seek(Seek::Equal, {ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode,
                                  ctx.kamokuNumber, text});
            break;
        case 教科::ByShortName:
            rs.setIndex("Idx_略称");
            rs.seek(Seek::Equal,
                    {ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode, text});
            break;
        case 教科::Overview: {
            ctx.subjectOverview.clear();
            rs.setIndex("Idx_表示");
            rs.seek(Seek::AtLeast, {ctx.workingYear, ctx.grade, 0, ""});
            if (!rs.noMatch() && option == 0)
                ctx.subjectOverview.push_back({QStringLiteral("総合"), kCommonCode, {}});
            for (; !rs.noMatch() && !rs.eof() && rs.integer("教_年度") == ctx.workingYear &&
                   rs.integer("教_学年") == ctx.grade && ctx.subjectOverview.size() < 20;
                 rs.moveNext())
                ctx.subjectOverview.push_back(
                    {rs.text("教_名称"), rs.text("教_教科番号"), rs.text("教_略称")});
            return finish(ctx, 0);
        }
        default:
            return 0;
    }
    if (rs.noMatch()) {
        clearSubject(ctx);
        return finish(ctx, 1);
    }
    takeSubject(ctx, rs, mode != 教科::ByNumberNamesOnly);
    if (mode == 教科::ByShortName) ctx.kamokuNumber = rs.text("教_科目番号");
    return finish(ctx, 0);
}

// The subjects of the current course subject in display order. The display-order index leads
// with year and grade (so the overview of a grade is one range); the subjects of one course
// subject, department and course are picked out of that range.
void fillSubjects(WorkContext& ctx, QWidget* target) {
    clearList(target);
    Recordset rs("教科");
    rs.setIndex("Idx_表示");
    for (rs.seekPrefix({ctx.workingYear, ctx.grade}); rs.inPrefix(); rs.moveNext()) {
        if (rs.text("教_科目番号") != ctx.kamokuNumber) continue;
        if (!ctx.departmentCode.isEmpty() && rs.text("教_学部") != ctx.departmentCode) continue;
        if (!ctx.courseCode.isEmpty() && rs.text("教_コース") != ctx.courseCode) continue;
        addEntry(target, rs.text("教_名称"));
    }
}

// ----------------------------------------------------------------------------- course subjects

void clearKamoku(WorkContext& ctx) {
    ctx.kamokuNumber.clear();
    ctx.kamokuName.clear();
    ctx.kamokuShortName.clear();
    ctx.kamokuElective = 0;
}

int kamoku(WorkContext& ctx, int mode, int option, const QString& text, QWidget* field) {
    Recordset rs("科目");
    switch (mode) {
        case 科目::ByName:
            rs.setIndex("Idx_名称");
            break;
        case 科目::ByNumber:
            rs.setIndex("Key_科目");
            break;
        case 科目::ByShortName:
            rs.setIndex("Idx_略称");
            break;
        default:
            return 0;
    }
    rs.seek(Seek::Equal, {ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode, text});
    if (!rs.noMatch()) {
        ctx.kamokuNumber = rs.text("科_番号");
        ctx.kamokuName = rs.text("科_名称");
        ctx.kamokuShortName = rs.text("科_略称");
        ctx.kamokuElective = rs.integer("科_選択F");
        if (field) setFieldColour(field, 0);
        return finish(ctx, 0);
    }
    clearKamoku(ctx);
    if ((mode == 科目::ByName || mode == 科目::ByShortName) && ctx.errorFlag == 0) {
        // Only the first failure of a confirmation speaks and colours.
        ctx.errorFlag = 1;
        ctx.firstErrorFlag = 1;
        ctx.message = QStringLiteral("科目を正しく選択してください");
        if (field) {
            if (option != list_option::kWithCommon) setFieldColour(field, 12);
            setTabFirst(field);
        }
    }
    return finish(ctx, 1);
}

// Course subjects are listed as the school ordered them (表示順, then number), never in the
// character order of their names or numbers.
struct KamokuEntry {
    int order;
    QString number;
    QString name;
};

void addInDisplayOrder(std::vector<KamokuEntry>& entries, QWidget* target) {
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return std::tie(a.order, a.number) < std::tie(b.order, b.number);
    });
    for (const auto& e : entries) addEntry(target, e.name);
}

KamokuEntry kamokuEntry(const Recordset& rs) {
    return {static_cast<int>(rs.integer("科_表示順")), rs.text("科_番号"), rs.text("科_名称")};
}

void fillKamokuInKeyOrder(WorkContext& ctx, QWidget* target) {
    std::vector<KamokuEntry> entries;
    Recordset rs("科目");
    rs.setIndex("Key_科目");
    for (rs.seekPrefix({ctx.workingYear, ctx.departmentCode, ctx.grade, ctx.courseCode, ""}, 1);
         rs.inPrefix() && rs.integer("科_学年") == ctx.grade &&
         (ctx.departmentCode.isEmpty() || rs.text("科_学部") == ctx.departmentCode) &&
         (ctx.courseCode.isEmpty() || rs.text("科_コース") == ctx.courseCode);
         rs.moveNext())
        entries.push_back(kamokuEntry(rs));
    addInDisplayOrder(entries, target);
}

void fillKamokuInNameOrder(WorkContext& ctx, QWidget* target) {
    std::vector<KamokuEntry> entries;
    Recordset rs("科目");
    rs.setIndex("Idx_名称");
    std::vector<Value> key{ctx.workingYear};
    if (!ctx.departmentCode.isEmpty()) {
        key.push_back(ctx.departmentCode);
        if (ctx.grade != 0) key.push_back(ctx.grade);
    }
    for (rs.seekPrefix(key);
         rs.inPrefix() && (ctx.grade == 0 || rs.integer("科_学年") == ctx.grade); rs.moveNext())
        entries.push_back(kamokuEntry(rs));
    addInDisplayOrder(entries, target);
}

}  // namespace

int CMB教科(WorkContext& ctx, int mode, int option, QWidget* target) {
    ctx.decodeResult = 0;
    if (mode == 教科::Fill) {
        fillSubjects(ctx, target);
        return 0;
    }
    return subject(ctx, mode, option, textOf(target));
}

int CMB教科(WorkContext& ctx, int mode, int option, const QString& value) {
    ctx.decodeResult = 0;
    return subject(ctx, mode, option, value);
}

int CMB科目(WorkContext& ctx, int mode, int option, QWidget* target) {
    ctx.decodeResult = 0;
    if (mode == 科目::Fill) {
        clearList(target);
        if (option == list_option::kWithCommon)
            fillKamokuInNameOrder(ctx, target);
        else
            fillKamokuInKeyOrder(ctx, target);
        return 0;
    }
    if (mode == 科目::FillByName) {
        fillKamokuInNameOrder(ctx, target);
        return 0;
    }
    return kamoku(ctx, mode, option, textOf(target), target);
}

int CMB科目(WorkContext& ctx, int mode, int option, const QString& value) {
    ctx.decodeResult = 0;
    return kamoku(ctx, mode, option, value, nullptr);
}
