#include "timetable/class_timetable_print.h"

#include <functional>

#include "common/names.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "timetable/timetable_grid.h"
#include "ui/fonts.h"
#include "ui/grid.h"
#include "ui/printer.h"

namespace {

// The page, in millimetres from the paper's top-left corner.
constexpr double L = 30, R = 180, H = 55, B = 265;
constexpr double kDayWidth = 20, kBandHeight = 20;

double dayLeft(int weekday) {
    return L + 10 + kDayWidth * (weekday - 1);
}
double bandTop(int period) {
    return H + 10 + kBandHeight * (period - 1);
}

void text(Printer& p, double x, double y, double size, const QString& s, int ink = 0) {
    p.setFontSize(size);
    p.setForeColor(ink);
    p.moveTo(x, y);
    p.print(s);
}

void frame(Printer& p) {
    p.setForeColor(0);
    p.setDrawWidth(4);
    p.box(L, H, R, B);
    p.line(L, H + 10, R, H + 10);
    p.line(L + 10, H, L + 10, B);
    p.setDrawWidth(3);
    for (int k = 1; k <= 9; ++k) p.line(L, H + 10 + kBandHeight * k, R, H + 10 + kBandHeight * k);
    for (int k = 1; k <= 6; ++k) p.line(L + 10 + kDayWidth * k, H, L + 10 + kDayWidth * k, B);
}

// The middle line of each period band, left out where a slot shows one text over both halves
// (an elective or split lesson), so the sheet shows it as one cell, as the screen does.
void middleLines(Printer& p, const std::function<bool(int weekday, int period)>& merged) {
    p.setForeColor(0);
    p.setDrawWidth(1);
    for (int period = 1; period <= 10; ++period) {
        const double y = H + kBandHeight * period;
        for (int w = 1; w <= 7;) {
            if (merged(w, period)) {
                ++w;
                continue;
            }
            int end = w;
            while (end < 7 && !merged(end + 1, period)) ++end;
            p.line(dayLeft(w), y, dayLeft(end) + kDayWidth, y);
            w = end + 1;
        }
    }
}

void header(Printer& p, const TimetableHeader& h) {
    text(p, 90, 30, 16, QStringLiteral("時間割表"));
    text(p, 160, 35, 12, QStringLiteral("%1 年度").arg(h.year));
    text(p, 160, 40, 12, h.departmentName);
    text(p, 160, 45, 12, classLine(h));
    const QString schoolTitle = schoolName();
    if (!schoolTitle.isEmpty()) text(p, L, 45, 12, schoolTitle);
    for (int w = 1; w <= 7; ++w) text(p, dayLeft(w) + 8, H + 4, 12, school().weekdayNames[w]);
    text(p, L + 1, H + 2, 11, QStringLiteral("時"));
    text(p, L + 5, H + 5, 11, QStringLiteral("限"));
    for (int period = 1; period <= 10; ++period)
        text(p, L + 2, bandTop(period) + 6, 14, QStringLiteral("%1").arg(period, 2));
}

}  // namespace

QString classLine(const TimetableHeader& h) {
    return withSuffix(h.gradeName, QStringLiteral("年")) + QStringLiteral("  ") +
           withSuffix(h.classCode, QStringLiteral("組"));
}

QString timetableFileName(const TimetableHeader& h) {
    return QStringLiteral("時間割表_%1年度_%2_%3_%4")
        .arg(h.year)
        .arg(h.departmentName, withSuffix(h.gradeName, QStringLiteral("年")),
             withSuffix(h.classCode, QStringLiteral("組")));
}

void PRT組時割(int mode, Grid& grid, const TimetableHeader& h) {
    if (mode != 1) return;
    Printer p(QStringLiteral("時間割表"));
    p.setFileName(timetableFileName(h));
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName(QString::fromUtf8(kPrintFont));
    frame(p);
    header(p, h);
    const auto cellText = [&grid](int row, int w) {
        grid.setRow(row);
        grid.setCol(w);
        return grid.text();
    };
    const auto merged = [&](int w, int period) {
        const QString lesson = cellText(lessonRow(period), w);
        return !lesson.isEmpty() && lesson == cellText(teacherRow(period), w);
    };
    middleLines(p, merged);
    // Texts start at their cell; a long one is set smaller so that it never runs on into the next
    // day's column, where it would read as one word with that day's lesson.
    constexpr double kRoom = kDayWidth - 2;
    for (int w = 1; w <= 7; ++w) {
        for (int period = 1; period <= 10; ++period) {
            const QString lesson = cellText(lessonRow(period), w);
            const QString teacher = cellText(teacherRow(period), w);
            if (merged(w, period)) {  // once, in the middle of the band
                text(p, dayLeft(w) + 1, bandTop(period) + 9, p.sizeToFit(lesson, kRoom, 12), lesson,
                     1);
                continue;
            }
            if (!lesson.isEmpty())
                text(p, dayLeft(w) + 1, bandTop(period) + 5, p.sizeToFit(lesson, kRoom, 12), lesson,
                     1);
            if (!teacher.isEmpty())
                text(p, dayLeft(w) + 1, bandTop(period) + 14, p.sizeToFit(teacher, kRoom, 10.5),
                     teacher, 0);
        }
    }
    p.endDoc();
}
