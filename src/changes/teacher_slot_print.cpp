#include "changes/teacher_slot_print.h"

#include <QDate>

#include "changes/sheet_text.h"
#include "changes/teacher_week.h"
#include "data/dates.h"
#include "ui/fonts.h"
#include "ui/grid.h"

namespace {

// The page, in millimetres from the paper's top-left corner.
constexpr double kLeft = 30, kTop = 45, kRight = 180, kBottom = 265;
constexpr double kDayWidth = 20, kPeriodHeight = 21;
constexpr double kDateSize = 9.5;

double dayLeft(int c) {
    return 40 + kDayWidth * (c - 1);
}
double periodTop(int p) {
    return 55 + kPeriodHeight * (p - 1);
}

void frame(Printer& p) {
    p.setForeColor(0);
    p.setDrawWidth(4);
    p.box(kLeft, kTop, kRight, kBottom);
    p.line(kLeft, 55, kRight, 55);
    p.line(40, kTop, 40, kBottom);
    p.setDrawWidth(3);
    for (int period = 2; period <= TeacherWeek::kPeriods; ++period)
        p.line(kLeft, periodTop(period), kRight, periodTop(period));
    for (int c = 2; c <= TeacherWeek::kDays; ++c) p.line(dayLeft(c), kTop, dayLeft(c), kBottom);
}

void header(Printer& p, Grid& grid, const TeacherSheetHeader& h) {
    printAt(p, 90, 20, 16, QStringLiteral("教員別授業コマ割"));
    printAt(p, 160, 25, 12, QStringLiteral("%1 年度").arg(h.year));
    printIn(p, 160, 30, 12, kRight + 20 - 160, h.teacherName);
    printAt(p, 31, 47, 11, QStringLiteral("時"));
    printAt(p, 35, 50, 11, QStringLiteral("限"));
    for (int c = 1; c <= TeacherWeek::kDays; ++c) {
        // A dated week carries its dates in the header; the standard week only weekday names.
        const QDate date = dateFrom(grid.textMatrix(0, c));
        // The date stands above the weekday name printed 3 mm lower: at 10.5 points its
        // figures run into the name's top, so it is set at 9.5, and smaller still where it
        // would run into the next day's date.
        if (date.isValid())
            printIn(p, dayLeft(c) + 2, 46, kDateSize, kDayWidth - 2.5,
                    date.toString(QStringLiteral("yy/MM/dd")));
        printAt(p, dayLeft(c) + 8, 49, 12, grid.textMatrix(1, c));
    }
    for (int period = 1; period <= TeacherWeek::kPeriods; ++period)
        printAt(p, kLeft + 2, periodTop(period) + 8, 14, QStringLiteral("%1").arg(period, 2));
}

}  // namespace

QString teacherSheetFileName(const Grid& grid, const TeacherSheetHeader& h) {
    const QString first = grid.textMatrix(0, 1);
    const bool dated = dateFrom(first).isValid();
    return QStringLiteral("教員別授業コマ割_%1年度_%2_%3")
        .arg(h.year)
        .arg(h.teacherName, dated ? QString(first).remove('/') : QStringLiteral("標準"));
}

void PRT教員コマ(int mode, Grid& grid, const TeacherSheetHeader& h) {
    if (mode != 1) return;
    Printer p(QStringLiteral("教員別授業コマ割"));
    p.setFileName(teacherSheetFileName(grid, h));
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName(QString::fromUtf8(kPrintFont));
    frame(p);
    header(p, grid, h);
    // Each text stays in its day's column: a long one is set smaller rather than run on into
    // the next day, where it would read as part of that day's lesson.
    for (int c = 1; c <= TeacherWeek::kDays; ++c) {
        const double x = dayLeft(c);
        QString eventAbove;
        for (int period = 1; period <= TeacherWeek::kPeriods; ++period) {
            const double y = periodTop(period);
            const int row = weekFirstRow(period);
            const QString dept = grid.textMatrix(row, c);
            const QString klass = grid.textMatrix(row + 1, c);
            const QString subject = grid.textMatrix(row + 2, c);
            // An event fills the three rows of each of its periods with its label, which the
            // grid shows merged: the sheet prints it once for the periods it runs through.
            if (!dept.isEmpty() && dept == klass && klass == subject) {
                if (dept != eventAbove) printIn(p, x + 2, y + 9, 11, kDayWidth - 2.5, dept);
                eventAbove = dept;
                continue;
            }
            eventAbove.clear();
            if (!dept.isEmpty()) printIn(p, x + 4, y + 2, 11, kDayWidth - 4.5, dept);
            if (!klass.isEmpty()) printIn(p, x + 3, y + 9, 11, kDayWidth - 3.5, klass);
            if (!subject.isEmpty()) printIn(p, x + 2, y + 16, 10, kDayWidth - 2.5, subject);
        }
    }
    p.endDoc();
}
