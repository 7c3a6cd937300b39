#include "common/occupancy_check.h"

#include <QDate>

#include "common/selection_lists.h"
#include "data/dates.h"
#include "data/recordset.h"

namespace {

struct Selection {
    int year;
    QString deptCode, deptName;
    int deptPos;
    int grade;
    QString gradeText;
    int gradePos;
    QString classCode, classText;
    int classPos;
    QString courseCode, courseName;
    int coursePos;

    static Selection of(const WorkContext& c) {
        return {c.workingYear,   c.departmentCode, c.departmentName, c.departmentPosition,
                c.grade,         c.gradeText,      c.gradePosition,  c.classCode,
                c.classText,     c.classPosition,  c.courseCode,     c.courseName,
                c.coursePosition};
    }
    void restore(WorkContext& c) const {
        c.workingYear = year;
        c.departmentCode = deptCode;
        c.departmentName = deptName;
        c.departmentPosition = deptPos;
        c.grade = grade;
        c.gradeText = gradeText;
        c.gradePosition = gradePos;
        c.classCode = classCode;
        c.classText = classText;
        c.classPosition = classPos;
        c.courseCode = courseCode;
        c.courseName = courseName;
        c.coursePosition = coursePos;
    }
    bool sameClass(const QString& dept, int g, const QString& course, const QString& klass) const {
        return dept == deptCode && g == grade && course == courseCode && klass == classCode;
    }
};

// Names the class that holds the lesson, then gives the caller its selection back.
void reportConflict(WorkContext& ctx, int option, const Selection& own, const QString& dept,
                    int grade, const QString& klass) {
    ctx.errorFlag = 1;
    CMB学部(ctx, 学部::ByCode, option, dept);
    CMB学年(ctx, 学年::ByNumberSilent, list_option::kSilent, QString::number(grade));
    CMB組(ctx, 組::ByName, list_option::kSilent, klass);
    ctx.message = ctx.departmentName + " " + ctx.gradeText + " " + ctx.classText +
                  QStringLiteral(" に授業が登録されています");
    own.restore(ctx);
}

}  // namespace

void CHK時間割(WorkContext& ctx, int mode, int option, const QString& lessonDate) {
    if (mode != 1) return;
    if (ctx.kamokuElective != 0 || ctx.subjectSplit != 0 || ctx.subjectElective != 0) return;
    const Selection own = Selection::of(ctx);
    const int year = ctx.workingYear;

    {
        Recordset rs("組時間割");
        rs.setIndex("Idx_教員コマ");
        for (rs.seekPrefix({year, ctx.teacherNumber, ctx.slotWeekday, ctx.slotPeriod});
             rs.inPrefix(); rs.moveNext()) {
            if (own.sameClass(rs.text("組_学部"), rs.integer("組_学年"), rs.text("組_コース"),
                              rs.text("組_組")))
                continue;
            reportConflict(ctx, option, own, rs.text("組_学部"), rs.integer("組_学年"),
                           rs.text("組_組"));
            break;
        }
    }

    const QDate from = dateFrom(lessonDate);
    if (lessonDate.isEmpty() || !from.isValid()) return;
    QDate date = from;
    for (int i = 0; i < 7 && weekdayNumber(date) != ctx.slotWeekday; ++i) date = date.addDays(1);
    Recordset rs("時限変更");
    rs.setIndex("Idx_教員コマ");
    for (rs.seekPrefix({year, ctx.teacherNumber, dateText(date), ctx.slotPeriod}); rs.inPrefix();
         rs.moveNext()) {
        if (own.sameClass(rs.text("変_学部"), rs.integer("変_学年"), rs.text("変_コース"),
                          rs.text("変_組")))
            continue;
        reportConflict(ctx, option, own, rs.text("変_学部"), rs.integer("変_学年"),
                       rs.text("変_組"));
        break;
    }
}
