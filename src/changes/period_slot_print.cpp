#include "changes/period_slot_print.h"

#include <algorithm>

#include "changes/sheet_text.h"
#include "context/school_context.h"
#include "ui/fonts.h"
#include "ui/grid.h"

namespace {

// The page, in millimetres from the paper's top-left corner.
constexpr double kLeft = 35, kRight = 175, kTop = 55, kHeadingBottom = 75, kBottom = 275;
constexpr double kHalfWidth = 70, kClassColumn = 10, kBandHeight = 20;
constexpr int kHalves = 2, kBands = 10;

double halfLeft(int half) {
    return kLeft + kHalfWidth * half;
}
double bandTop(int band) {
    return kHeadingBottom + kBandHeight * (band - 1);
}

// A half holds three lesson columns of 20 mm, the grades of a school of up to three grades; a
// school of more grades shares the half out among them.
double lessonWidth() {
    return (kHalfWidth - kClassColumn) / std::max(3, school().gradeCount);
}
double lessonLeft(int half, int grade) {
    return halfLeft(half) + kClassColumn + lessonWidth() * (grade - 1);
}

// The slot grid gives every department a block of a class-label column and a column per grade.
int gridColumn(int department, int grade) {
    return (department - 1) * (school().gradeCount + 1) + grade;
}

void frame(Printer& p) {
    const int lessonColumns = std::max(3, school().gradeCount);
    p.setForeColor(0);
    p.setDrawWidth(4);
    p.box(kLeft, kTop, kRight, kBottom);
    p.line(halfLeft(1), kTop, halfLeft(1), kBottom);
    p.line(kLeft, kHeadingBottom, kRight, kHeadingBottom);
    p.setDrawWidth(3);
    for (int half = 0; half < kHalves; ++half) {
        const double x = halfLeft(half);
        p.line(x + kClassColumn, kTop, x + kClassColumn, kBottom);
        p.line(x + kClassColumn, 65, x + kHalfWidth, 65);
        for (int g = 2; g <= lessonColumns; ++g)
            p.line(lessonLeft(half, g), 65, lessonLeft(half, g), kBottom);
    }
    for (int band = 2; band <= kBands; ++band) p.line(kLeft, bandTop(band), kRight, bandTop(band));
}

void header(Printer& p, const PeriodSheetHeader& h, int firstDepartment, int departments) {
    const SchoolContext& s = school();
    printAt(p, 90, 30, 16, QStringLiteral("授業コマ割り"));
    printAt(p, 150, 35, 12, QStringLiteral("%1 年度").arg(h.year));
    printAt(p, 150, 40, 12, h.date);
    printAt(p, 150, 45, 12, QStringLiteral("%1  時限").arg(h.period, 2));
    for (int half = 0; half < departments; ++half) {
        const int d = firstDepartment + half;
        printIn(p, 68 + kHalfWidth * half, 59, 12, kLeft + kHalfWidth - 68 - 1,
                s.departments[d].name);
        printAt(p, half == 0 ? 37 : 108, 68, 11, QStringLiteral("組"));
        for (int g = 1; g <= s.gradeCount; ++g)
            printIn(p, lessonLeft(half, g) + lessonWidth() / 4, 68, 12, lessonWidth() * 3 / 4 - 0.5,
                    s.grades[g].shortName);
    }
}

}  // namespace

QString periodSheetFileName(const PeriodSheetHeader& h) {
    return QStringLiteral("授業コマ割り_%1年度_%2_%3時限")
        .arg(h.year)
        .arg(QString(h.date).remove('/'))
        .arg(h.period);
}

void PRTコマ(int mode, Grid& grid, const PeriodSheetHeader& h) {
    if (mode != 9) return;
    const SchoolContext& s = school();
    Printer p(QStringLiteral("授業コマ割り"));
    p.setFileName(periodSheetFileName(h));
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName(QString::fromUtf8(kPrintFont));
    // Two departments side by side and ten classes down a page; more go on to further pages
    // instead of past the table and the paper's edge.
    const int departmentPages = std::max(1, (s.departmentCount + kHalves - 1) / kHalves);
    const int classPages = std::max(1, (s.largestClassCount + kBands - 1) / kBands);
    int pages = 0;
    for (int dp = 0; dp < departmentPages; ++dp) {
        const int first = dp * kHalves + 1;
        const int departments = std::clamp(s.departmentCount - dp * kHalves, 0, kHalves);
        for (int cp = 0; cp < classPages; ++cp) {
            startPage(p, pages);
            frame(p);
            header(p, h, first, departments);
            for (int band = 1; band <= kBands; ++band) {
                const int k = cp * kBands + band;
                if (k > s.largestClassCount) break;
                const double y = bandTop(band);
                for (int half = 0; half < departments; ++half) {
                    const int d = first + half;
                    if (k <= s.classCount[d])
                        printIn(p, halfLeft(half) + 2, y + 7, 12, kClassColumn - 2.5,
                                s.classes[d][k].shortName);
                    for (int g = 1; g <= s.gradeCount; ++g) {
                        const double x = lessonLeft(half, g);
                        const QString lesson = grid.textMatrix(2 * k, gridColumn(d, g));
                        const QString teacher = grid.textMatrix(2 * k + 1, gridColumn(d, g));
                        if (!lesson.isEmpty())
                            printIn(p, x + 1, y + 5, 11, lessonWidth() - 1.5, lesson);
                        if (!teacher.isEmpty())
                            printIn(p, x + 1, y + 15, 10.5, lessonWidth() - 1.5, teacher);
                    }
                }
            }
        }
    }
    p.endDoc();
}
