#include "calendar/month_calendar.h"

#include "context/school_context.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

constexpr int kRows = 7, kCols = 7;
constexpr int kColWidth = 400;  // twips
constexpr int kCentre = 4;

void paintRange(Grid& g, int row, int col, int rowSel, int colSel, int back) {
    g.setRow(row);
    g.setCol(col);
    g.setRowSel(rowSel);
    g.setColSel(colSel);
    g.setCellBackColor(back);
}

// Column of a date: 0 for Sunday to 6 for Saturday.
int columnOf(const QDate& date) {
    return date.dayOfWeek() % 7;
}

}  // namespace

void GRD日付(Grid& g, const QDate& month, const std::set<int>& marked) {
    g.setRows(0);
    g.setCols(0);
    g.setRows(kRows);
    g.setCols(kCols);
    g.setColWidth(-1, kColWidth);
    paintRange(g, 0, 0, 0, kCols - 1, colour::kLightYellow);
    for (int c = 0; c < kCols; ++c) {
        g.setRow(0);
        g.setCol(c);
        g.setText(school().weekdayNames[c + 1]);
        g.setCellAlignment(kCentre);
        g.setCellForeColor(c == 0   ? colour::kLightRed
                           : c == 6 ? colour::kLightBlue
                                    : colour::kBlack);
    }

    const QDate first(month.year(), month.month(), 1);
    if (!first.isValid()) return;
    int week = 1;
    for (QDate day = first; day.month() == first.month(); day = day.addDays(1)) {
        const int col = columnOf(day);
        g.setRow(week);
        g.setCol(col);
        g.setText(QString::number(day.day()));
        g.setCellAlignment(kCentre);
        g.setCellForeColor(marked.count(day.day()) ? colour::kLightMagenta : colour::kDarkBlue);
        if (col == 6) ++week;
    }
    // The keyboard starts on the 1st, not on the heading.
    g.refresh();
    g.setCurrentIndex(g.model()->index(1, columnOf(first)));
}

int calendarDay(const Grid& g, int row, int col) {
    if (row < 1 || row >= g.rows() || col < 0 || col >= g.cols()) return 0;
    bool ok = false;
    const int day = g.textMatrix(row, col).toInt(&ok);
    return ok && day >= 1 && day <= 31 ? day : 0;
}

void clearCalendarHighlight(Grid& g) {
    if (g.rows() > 1) paintRange(g, 1, 0, g.rows() - 1, g.cols() - 1, colour::kWhite);
}

void highlightCalendarCell(Grid& g, int row, int col) {
    paintRange(g, row, col, row, col, colour::kLightGreen);
}
