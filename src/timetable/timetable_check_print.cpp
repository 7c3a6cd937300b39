#include "timetable/timetable_check_print.h"

#include "context/school_context.h"
#include "ui/fonts.h"
#include "ui/printer.h"

namespace {

// The page, in millimetres from the paper's top-left corner.
constexpr double L = 15, R = 195, kTop = 14, kBottom = 280;
constexpr double kFirstTableTop = 38, kNextTableTop = 22;
constexpr double kRowHeight = 6.5, kHeadingHeight = 9;
constexpr double kWidths[] = {22, 12, 12, 10, 10, 30, 84};  // the list's columns, 180 in all
constexpr int kColumns = int(std::size(kWidths));
constexpr bool kCentred[] = {false, true, true, true, true, false, false};
constexpr double kTextSize = 9, kSmallest = 6;

void text(Printer& p, double x, double y, double size, const QString& s) {
    p.setFontSize(size);
    p.moveTo(x, y);
    p.print(s);
}

// What a page holds: kind headings and the rows under them.
struct Line {
    bool heading = false;
    TimetableProblem::Kind kind{};
    int problem = -1;
    bool continued = false;
};

std::vector<std::vector<Line>> paginate(const std::vector<TimetableProblem>& problems) {
    std::vector<std::vector<Line>> pages(1);
    double y = kFirstTableTop + kRowHeight;  // below the column headings
    auto room = [&](double height) { return y + height <= kBottom; };
    auto newPage = [&] {
        pages.emplace_back();
        y = kNextTableTop + kRowHeight;
    };
    for (int i = 0; i < int(problems.size()); ++i) {
        const bool first = i == 0 || problems[i - 1].kind != problems[i].kind;
        // A heading never stands alone at the foot of a page.
        if (first && !room(kHeadingHeight + kRowHeight)) newPage();
        if (!first && !room(kRowHeight)) {
            newPage();
            pages.back().push_back({true, problems[i].kind, -1, true});
            y += kHeadingHeight;
        }
        if (first) {
            pages.back().push_back({true, problems[i].kind, -1, false});
            y += kHeadingHeight;
        }
        pages.back().push_back({false, problems[i].kind, i, false});
        y += kRowHeight;
    }
    return pages;
}

void columnHeadings(Printer& p, double top) {
    p.setDrawWidth(3);
    p.box(L, top, R, top + kRowHeight);
    p.setDrawWidth(1);
    double x = L;
    const QStringList headings = problemColumns();
    for (int c = 0; c < kColumns; ++c) {
        p.setFontSize(kTextSize);
        text(p, x + (kWidths[c] - p.textWidth(headings[c])) / 2, top + 1.2, kTextSize, headings[c]);
        x += kWidths[c];
        if (c + 1 < kColumns) p.line(x, top, x, top + kRowHeight);
    }
}

void row(Printer& p, double top, const QStringList& cells) {
    double x = L;
    for (int c = 0; c < kColumns; ++c) {
        const double room = kWidths[c] - 2;
        const double size = p.sizeToFit(cells[c], room, kTextSize, kSmallest);
        p.setFontSize(size);
        const double left = kCentred[c] ? x + (kWidths[c] - p.textWidth(cells[c])) / 2 : x + 1;
        // Smaller text sits lower, on the same line as its neighbours.
        text(p, left, top + 1.2 + (kTextSize - size) * 0.25, size, cells[c]);
        x += kWidths[c];
    }
    p.setDrawWidth(1);
    p.line(L, top, L, top + kRowHeight);
    x = L;
    for (double w : kWidths) {
        x += w;
        p.line(x, top, x, top + kRowHeight);
    }
    p.line(L, top + kRowHeight, R, top + kRowHeight);
}

void heading(Printer& p, double top, const Line& line, int count) {
    QString s = QStringLiteral("■ %1（%2件）").arg(problemKindName(line.kind)).arg(count);
    if (line.continued) s += QStringLiteral("　続き");
    text(p, L, top + 2.5, 11, s);
    p.setDrawWidth(3);
    p.line(L, top + kHeadingHeight, R, top + kHeadingHeight);
    p.setDrawWidth(1);
}

}  // namespace

QString checkSheetFileName(int year) {
    return QStringLiteral("時間割チェック_%1年度").arg(year);
}

void PRT時割チェック(int year, const std::vector<TimetableProblem>& problems) {
    Printer p(QStringLiteral("時間割チェック"));
    p.setFileName(checkSheetFileName(year));
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName(QString::fromUtf8(kPrintFont));
    p.setForeColor(0);

    const QString title = QStringLiteral("時間割チェック");
    const QString yearText = QStringLiteral("%1 年度").arg(year);
    const QString printed = QStringLiteral("印刷日 %1").arg(school().todayText);
    const auto pages = paginate(problems);
    for (int n = 0; n < int(pages.size()); ++n) {
        if (n > 0) p.newPage();
        double y;
        if (n == 0) {
            p.setFontSize(16);
            text(p, (L + R - p.textWidth(title)) / 2, kTop, 16, title);
            p.setFontSize(11);
            text(p, R - p.textWidth(yearText), kTop + 1, 11, yearText);
            p.setFontSize(9);
            text(p, R - p.textWidth(printed), kTop + 7, 9, printed);
            text(p, L, kTop + 15, 11, checkSummary(year, problems));
            y = kFirstTableTop;
        } else {
            text(p, L, kTop, 9, title + QStringLiteral("　") + yearText);
            y = kNextTableTop;
        }
        if (!pages[n].empty()) columnHeadings(p, y);
        y += kRowHeight;
        for (const Line& line : pages[n]) {
            if (line.heading) {
                int count = 0;
                for (const TimetableProblem& pr : problems) count += pr.kind == line.kind;
                heading(p, y, line, count);
                y += kHeadingHeight;
            } else {
                row(p, y, problemCells(problems[line.problem]));
                y += kRowHeight;
            }
        }
        const QString number = QStringLiteral("%1 / %2").arg(n + 1).arg(pages.size());
        p.setFontSize(9);
        text(p, (L + R - p.textWidth(number)) / 2, kBottom + 6, 9, number);
    }
    p.endDoc();
}
