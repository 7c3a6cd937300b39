#include "ui/grid.h"

#include <QHeaderView>
#include <QMetaObject>

#include "ui/fonts.h"
#include "ui/palette.h"

Grid::Grid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setWordWrap(false);
    QFont f(QString::fromUtf8(kGridFont));
    f.setPointSizeF(9);
    setFont(f);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 4);
    connect(this, &QTableWidget::cellClicked, this, [this](int r, int c) { clickCell(r, c); });
}

void Grid::resize() {
    const int r = rowCount(), c = columnCount();
    cells_.resize(r);
    for (auto& line : cells_) line.resize(c);
    mergeRowOn_.resize(r, false);
    mergeColOn_.resize(c, false);
    widths_.resize(c, 950);
    scheduleMerge();
}

void Grid::setRows(int n) {
    if (n == 0 && columnCount() == 0) {
        clear();
    }
    setRowCount(n);
    if (n == 0 && columnCount() == 0) {
        cells_.clear();
        mergeRowOn_.clear();
        mergeColOn_.clear();
        widths_.clear();
        row_ = col_ = rowSel_ = colSel_ = 0;
        clearSpans();
    }
    resize();
}

void Grid::setCols(int n) {
    setColumnCount(n);
    if (n == 0 && rowCount() == 0) {
        clear();
        cells_.clear();
        mergeRowOn_.clear();
        mergeColOn_.clear();
        widths_.clear();
        row_ = col_ = rowSel_ = colSel_ = 0;
        clearSpans();
    }
    resize();
    for (int c = 0; c < n; ++c) setColumnWidth(c, twipsToPixels(widths_[c]));
}

void Grid::setRow(int r) {
    row_ = rowSel_ = r;
}
void Grid::setCol(int c) {
    col_ = colSel_ = c;
}

QString Grid::textMatrix(int r, int c) const {
    const QTableWidgetItem* it = QTableWidget::item(r, c);
    return it ? it->text() : QString();
}

QTableWidgetItem* Grid::item(int r, int c) {
    QTableWidgetItem* it = QTableWidget::item(r, c);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(r, c, it);
        applyFormat(r, c);
    }
    return it;
}

void Grid::setTextMatrix(int r, int c, const QString& text) {
    if (r < 0 || c < 0 || r >= rowCount() || c >= columnCount()) return;
    item(r, c)->setText(text);
    scheduleMerge();
}

Grid::Cell& Grid::cell(int r, int c) {
    return cells_[r][c];
}

const Grid::Cell* Grid::cellAt(int r, int c) const {
    if (r < 0 || c < 0 || r >= int(cells_.size()) || c >= int(cells_[r].size())) return nullptr;
    return &cells_[r][c];
}

void Grid::applyFormat(int r, int c) {
    QTableWidgetItem* it = QTableWidget::item(r, c);
    if (!it) return;
    const Cell& f = cells_[r][c];
    it->setBackground(paletteColor(f.back));
    it->setForeground(paletteColor(f.fore));
    switch (f.align) {
        case 1:
            it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        case 4:
            it->setTextAlignment(Qt::AlignCenter);
            break;
        case 5:
            it->setTextAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            break;
        default:
            it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
    }
    QFont font = this->font();
    if (f.fontSize > 0) font.setPointSizeF(f.fontSize);
    it->setFont(font);
}

template <typename F>
void Grid::forSelection(F f) {
    const int r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    for (int r = std::max(r0, 0); r <= r1 && r < rowCount(); ++r)
        for (int c = std::max(c0, 0); c <= c1 && c < columnCount(); ++c) {
            f(cells_[r][c]);
            item(r, c);
            applyFormat(r, c);
        }
}

void Grid::setCellBackColor(int colour) {
    forSelection([&](Cell& c) { c.back = colour; });
}
void Grid::setCellForeColor(int colour) {
    forSelection([&](Cell& c) { c.fore = colour; });
}
void Grid::setCellAlignment(int code) {
    forSelection([&](Cell& c) { c.align = code; });
}
void Grid::setCellFontSize(double points) {
    forSelection([&](Cell& c) { c.fontSize = points; });
}

int Grid::cellBackColor(int r, int c) const {
    const Cell* f = cellAt(r, c);
    return f ? f->back : -1;
}
int Grid::cellForeColor(int r, int c) const {
    const Cell* f = cellAt(r, c);
    return f ? f->fore : -1;
}
int Grid::cellAlignment(int r, int c) const {
    const Cell* f = cellAt(r, c);
    return f ? f->align : -1;
}
double Grid::cellFontSize(int r, int c) const {
    const Cell* f = cellAt(r, c);
    return f ? f->fontSize : -1;
}

void Grid::setColWidth(int col, int twips) {
    for (int c = 0; c < columnCount(); ++c)
        if (col == -1 || c == col) {
            widths_[c] = twips;
            setColumnWidth(c, twipsToPixels(twips));
        }
}

int Grid::colWidth(int col) const {
    return col >= 0 && col < int(widths_.size()) ? widths_[col] : 0;
}

void Grid::setMergeCells(int mode) {
    mergeMode_ = mode;
    scheduleMerge();
}

void Grid::setMergeCol(int col, bool on) {
    if (col < 0 || col >= int(mergeColOn_.size())) return;
    mergeColOn_[col] = on;
    scheduleMerge();
}

void Grid::setMergeRow(int row, bool on) {
    if (row < 0 || row >= int(mergeRowOn_.size())) return;
    mergeRowOn_[row] = on;
    scheduleMerge();
}

void Grid::scheduleMerge() {
    mergeDirty_ = true;
    if (mergeScheduled_) return;
    mergeScheduled_ = true;
    // Filling a grid writes many cells; the spans are worked out once, when the screen is next
    // idle (or as soon as somebody asks for one).
    QMetaObject::invokeMethod(
        this, [this] { applyMerges(); }, Qt::QueuedConnection);
}

std::vector<Grid::Span> Grid::computeSpans() const {
    std::vector<Span> spans;
    const int R = rowCount(), C = columnCount();
    if (mergeMode_ != 3 && mergeMode_ != 4) return spans;
    std::vector<std::vector<bool>> covered(R, std::vector<bool>(C, false));

    auto runs = [&](int length, auto textAt, auto boundaryBefore, auto emit) {
        int start = 0;
        for (int i = 1; i <= length; ++i) {
            const bool joins = i < length && !textAt(i).isEmpty() && textAt(i) == textAt(start) &&
                               !boundaryBefore(i);
            if (!joins) {
                if (i - start > 1) emit(start, i - start);
                start = i;
            }
        }
    };

    // Blocks of the first column and row: the labels later runs must stay within.
    std::vector<int> firstColBlock(R), firstRowBlock(C);
    for (int r = 0; r < R; ++r) firstColBlock[r] = r;
    for (int c = 0; c < C; ++c) firstRowBlock[c] = c;
    if (C > 0 && mergeColOn_[0])
        runs(
            R, [&](int r) { return textMatrix(r, 0); }, [](int) { return false; },
            [&](int s, int n) {
                for (int r = s; r < s + n; ++r) firstColBlock[r] = s;
            });
    if (R > 0 && mergeRowOn_[0])
        runs(
            C, [&](int c) { return textMatrix(0, c); }, [](int) { return false; },
            [&](int s, int n) {
                for (int c = s; c < s + n; ++c) firstRowBlock[c] = s;
            });

    for (int r = 0; r < R; ++r) {
        if (!mergeRowOn_[r]) continue;
        runs(
            C, [&](int c) { return textMatrix(r, c); },
            [&](int c) {
                return mergeMode_ == 4 && r > 0 && firstRowBlock[c] != firstRowBlock[c - 1];
            },
            [&](int s, int n) {
                spans.push_back({r, s, 1, n});
                for (int c = s; c < s + n; ++c) covered[r][c] = true;
            });
    }
    for (int c = 0; c < C; ++c) {
        if (!mergeColOn_[c]) continue;
        runs(
            R, [&](int r) { return covered[r][c] ? QString() : textMatrix(r, c); },
            [&](int r) { return c > 0 && firstColBlock[r] != firstColBlock[r - 1]; },
            [&](int s, int n) {
                spans.push_back({s, c, n, 1});
            });
    }
    return spans;
}

void Grid::applyMerges() {
    mergeScheduled_ = false;
    if (!mergeDirty_) return;
    mergeDirty_ = false;
    clearSpans();
    for (const Span& s : computeSpans()) setSpan(s.row, s.col, s.rows, s.cols);
}

Grid::Span Grid::mergedSpan(int r, int c) {
    applyMerges();
    for (const Span& s : computeSpans())
        if (r >= s.row && r < s.row + s.rows && c >= s.col && c < s.col + s.cols) return s;
    return {r, c, 1, 1};
}

void Grid::clickCell(int r, int c) {
    setRow(r);
    setCol(c);
    if (onClick) onClick(r, c);
}
