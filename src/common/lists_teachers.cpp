// The teacher list: all teachers, the teachers assigned to a subject, the homeroom teacher.

#include <set>

#include "common/list_support.h"
#include "common/selection_lists.h"
#include "data/recordset.h"

using namespace list_support;

namespace {

void clearTeacher(WorkContext& ctx) {
    ctx.teacherNumber.clear();
    ctx.teacherName.clear();
    ctx.teacherDisplayName.clear();
}

int take(WorkContext& ctx, const Recordset& rs) {
    if (rs.noMatch()) {
        clearTeacher(ctx);
        return finish(ctx, 1);
    }
    ctx.teacherNumber = rs.text("員_番号");
    ctx.teacherName = rs.text("員_氏名");
    ctx.teacherDisplayName = rs.text("員_表示名");
    return finish(ctx, 0);
}

int byIndex(WorkContext& ctx, const char* index, const QString& value) {
    Recordset rs("教員");
    rs.setIndex(index);
    rs.seek(Seek::Equal, {value});
    return take(ctx, rs);
}

// In reading order, as staff lists are kept in a Japanese school: by the kana of the name.
void fillAll(QWidget* target) {
    Recordset rs("教員");
    rs.setIndex("Idx_カナ");
    rs.seek(Seek::AtLeast, {""});
    for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) addEntry(target, rs.text("員_氏名"));
}

// The teachers assigned to the current subject, also through assignments made for all
// departments ("000"), all grades (0), all courses or all course subjects ("000"). Each
// combination is its own range of the index, so each is sought on its own; a teacher assigned
// more than once is listed once.
void fillAssigned(WorkContext& ctx, QWidget* target) {
    const QStringList depts = ctx.departmentCode == kCommonCode
                                  ? QStringList{kCommonCode}
                                  : QStringList{ctx.departmentCode, kCommonCode};
    const std::vector<int> grades =
        ctx.grade == 0 ? std::vector<int>{0} : std::vector<int>{ctx.grade, 0};
    const QStringList courses = ctx.courseCode == kCommonCode
                                    ? QStringList{kCommonCode}
                                    : QStringList{ctx.courseCode, kCommonCode};
    const QStringList kamoku = ctx.kamokuNumber == kCommonCode
                                   ? QStringList{kCommonCode}
                                   : QStringList{ctx.kamokuNumber, kCommonCode};
    std::set<QString> listed;
    Recordset rs("担当");
    rs.setIndex("Idx_教科");
    for (const QString& d : depts)
        for (int g : grades)
            for (const QString& c : courses)
                for (const QString& k : kamoku) {
                    for (rs.seekPrefix({ctx.workingYear, d, g, c, k, ctx.subjectNumber});
                         rs.inPrefix(); rs.moveNext())
                        if (listed.insert(rs.text("担_教員番号")).second)
                            addEntry(target, rs.text("担_氏名"));
                }
}

// Mode 5: the homeroom teacher of the current class. As name it gives the display name when
// there is one; `fullName` receives the full name, which the screens decode.
int homeroom(WorkContext& ctx, QString* fullName) {
    Recordset rs("教員");
    rs.setIndex("Idx_担任");
    rs.seek(Seek::Equal, {ctx.departmentCode, ctx.grade, ctx.classCode});
    if (rs.noMatch()) {
        clearTeacher(ctx);
        return finish(ctx, 1);
    }
    ctx.teacherNumber = rs.text("員_番号");
    ctx.teacherDisplayName = rs.text("員_表示名");
    ctx.teacherName =
        ctx.teacherDisplayName.isEmpty() ? rs.text("員_氏名") : ctx.teacherDisplayName;
    if (fullName) *fullName = rs.text("員_氏名");
    return finish(ctx, 0);
}

int decode(WorkContext& ctx, int mode, const QString& text) {
    switch (mode) {
        case 教師::ByName:
            return byIndex(ctx, "Idx_教員名", text);
        case 教師::ByNumber:
            return byIndex(ctx, "Key_教員", text);
        case 教師::Homeroom:
            return homeroom(ctx, nullptr);
        case 教師::ByDisplayName:
            if (byIndex(ctx, "Idx_表示名", text) == 0 && !text.isEmpty()) return 0;
            return byIndex(ctx, "Idx_教員名", text);
        default:
            return 0;
    }
}

}  // namespace

int CMB教師(WorkContext& ctx, int mode, QWidget* target) {
    ctx.decodeResult = 0;
    switch (mode) {
        case 教師::FillAll:
            clearList(target);
            fillAll(target);
            return 0;
        case 教師::FillAssigned:
            clearList(target);
            fillAssigned(ctx, target);
            return 0;
        case 教師::FillHomeroomFirst: {
            // The homeroom teacher comes first, under the full name the screens decode, so that
            // picking the first entry always finds the teacher.
            clearList(target);
            QString fullName;
            if (homeroom(ctx, &fullName) == 0 && !fullName.isEmpty()) addEntry(target, fullName);
            fillAll(target);
            return 0;
        }
        default:
            return decode(ctx, mode, textOf(target));
    }
}

int CMB教師(WorkContext& ctx, int mode, const QString& value) {
    ctx.decodeResult = 0;
    return decode(ctx, mode, value);
}
