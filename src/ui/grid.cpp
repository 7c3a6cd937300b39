#include "ui/grid.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QtMath>

#include "ui/fonts.h"
#include "ui/palette.h"

// The current cell of a grid that has the focus gets a frame a clerk sees at a glance, in place of
// the style's faint dotted outline, which vanishes on the coloured cells.
class FocusFrameDelegate : public QStyledItemDelegate {
public:
    explicit FocusFrameDelegate(QWidget* view)
        : QStyledItemDelegate(view),
          margin_(view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool current = option.state & QStyle::State_HasFocus;
        if (!paintPlain(painter, option, index)) {
            QStyleOptionViewItem plain(option);
            plain.state &= ~QStyle::State_HasFocus;
            QStyledItemDelegate::paint(painter, plain, index);
        }
        if (!current) return;
        painter->save();
        painter->setPen(QPen(paletteColor(colour::kBlack), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }

private:
    // A cell is a coloured rectangle with one line of text. The style lays each text out several
    // times over (size, elision, position) and a repaint of a full grid spends most of its time
    // there; a text that fits on one line is drawn here in the same place with one layout. A text
    // of several lines or one too long for its cell, which the style elides, is left to it.
    bool paintPlain(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const {
        const QString text = index.data(Qt::DisplayRole).toString();
        const QVariant fontData = index.data(Qt::FontRole);
        const QFont font = fontData.isValid() ? fontData.value<QFont>() : option.font;
        const QRect room = option.rect.adjusted(margin_, 0, -margin_, 0);
        if (text.contains(u'\n')) return false;
        const int align = index.data(Qt::TextAlignmentRole).toInt();
        QTextLayout layout(text, font);
        QTextOption lineOption(Qt::Alignment(align) & Qt::AlignHorizontal_Mask);
        lineOption.setWrapMode(QTextOption::ManualWrap);
        layout.setTextOption(lineOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) line.setLineWidth(room.width());
        layout.endLayout();
        if (line.isValid() && line.naturalTextWidth() > room.width()) return false;
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>());
        if (!line.isValid() || text.isEmpty()) return true;
        // Placed where the style places the line (centred with the spare pixel above, or at the
        // bottom), so a grid looks the same whichever way a cell is painted.
        const qreal height = line.height();
        const qreal top = align & Qt::AlignBottom
                              ? room.bottom() + 1 - height
                              : room.top() + qCeil((room.height() - height) / 2);
        painter->save();
        painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        layout.draw(painter, QPointF(room.left(), top));
        painter->restore();
        return true;
    }

    int margin_;
};

// What the view reads; everything comes from the grid's cells.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(Grid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : shownRows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : shownCols_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const Grid::Cell* cell = grid_->cellAt(index.row(), index.column());
        if (!cell) return {};
        switch (role) {
            case Qt::DisplayRole:
                return cell->text;
            case Qt::BackgroundRole:
                return QBrush(paletteColor(cell->back));
            case Qt::ForegroundRole:
                return QBrush(paletteColor(cell->fore));
            case Qt::TextAlignmentRole:
                switch (cell->align) {
                    case 4:
                        return int(Qt::AlignCenter);
                    case 5:
                        return int(Qt::AlignHCenter | Qt::AlignBottom);
                    default:
                        return int(Qt::AlignLeft | Qt::AlignVCenter);
                }
            case Qt::FontRole:
                return cell->fontSize > 0 ? fontOf(cell->fontSize) : QVariant();
            default:
                return {};
        }
    }

    // Takes over the grid's shape and tells the view what changed: a new shape resets the view,
    // changed cells (rows r0..r1, columns c0..c1) are repainted.
    void sync(bool shape, int r0, int r1, int c0, int c1) {
        if (shape || shownRows_ != grid_->rows() || shownCols_ != grid_->cols()) {
            beginResetModel();
            shownRows_ = grid_->rows();
            shownCols_ = grid_->cols();
            endResetModel();
            return;
        }
        r0 = std::max(r0, 0), c0 = std::max(c0, 0);
        r1 = std::min(r1, shownRows_ - 1), c1 = std::min(c1, shownCols_ - 1);
        if (r0 <= r1 && c0 <= c1) Q_EMIT dataChanged(index(r0, c0), index(r1, c1));
    }

private:
    // The grid's font in a cell's size, made once per size: the view asks for it at every paint
    // of every cell.
    QVariant fontOf(double points) const {
        if (fontBase_ != grid_->font()) {
            fonts_.clear();
            fontBase_ = grid_->font();
        }
        for (const auto& [size, font] : fonts_)
            if (size == points) return font;
        QFont f = fontBase_;
        f.setPointSizeF(points);
        fonts_.emplace_back(points, QVariant(f));
        return fonts_.back().second;
    }

    Grid* grid_;
    int shownRows_ = 0, shownCols_ = 0;
    mutable QFont fontBase_;
    mutable std::vector<std::pair<double, QVariant>> fonts_;
};

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    setItemDelegate(new FocusFrameDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setWordWrap(false);
    QFont f(QString::fromUtf8(kGridFont));
    f.setPointSizeF(9);
    setFont(f);
    rowHeight_ = QFontMetrics(f).height() + 4;
    verticalHeader()->setDefaultSectionSize(rowHeight_);
    setTabKeyNavigation(false);
    connect(this, &QTableView::clicked, this,
            [this](const QModelIndex& index) { clickCell(index.row(), index.column()); });
}

Grid::~Grid() = default;

void Grid::changed(bool shape) {
    dirty_ = allDirty_ = true;
    shapeDirty_ |= shape;
    if (scheduled_) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

void Grid::changedCells(int r0, int r1, int c0, int c1) {
    if (dirtyR1_ < dirtyR0_ || dirtyC1_ < dirtyC0_) {
        dirtyR0_ = r0, dirtyR1_ = r1, dirtyC0_ = c0, dirtyC1_ = c1;
    } else {
        dirtyR0_ = std::min(dirtyR0_, r0), dirtyR1_ = std::max(dirtyR1_, r1);
        dirtyC0_ = std::min(dirtyC0_, c0), dirtyC1_ = std::max(dirtyC1_, c1);
    }
    dirty_ = true;
    if (scheduled_) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

void Grid::refresh() {
    scheduled_ = false;
    if (!dirty_) return;
    dirty_ = false;
    const bool reshaped =
        shapeDirty_ && (fittedRows_ != rows() || fittedCols_ != cols_ || fittedWidths_ != widths_);
    // Laid out again in the same shape, any cell may have changed.
    if (reshaped || shownCells_.size() != cells_.size()) {
        model_->sync(true, 0, rows() - 1, 0, cols_ - 1);
        shownCells_ = cells_;
    } else if (allDirty_ || shapeDirty_) {
        reportChanges(0, rows() - 1, 0, cols_ - 1);
    } else {
        reportChanges(dirtyR0_, dirtyR1_, dirtyC0_, dirtyC1_);
    }
    if (reshaped) {
        fitToView();
        fittedRows_ = rows();
        fittedCols_ = cols_;
        fittedWidths_ = widths_;
    }
    shapeDirty_ = allDirty_ = false;
    dirtyR0_ = 0, dirtyR1_ = -1;
    std::vector<Span> spans = computeSpans();
    if (reshaped || spans != shownSpans_) {
        clearSpans();
        for (const Span& s : spans) setSpan(s.row, s.col, s.rows, s.cols);
        shownSpans_ = std::move(spans);
    }
}

void Grid::reportChanges(int r0, int r1, int c0, int c1) {
    r0 = std::max(r0, 0), c0 = std::max(c0, 0);
    r1 = std::min(r1, rows() - 1), c1 = std::min(c1, cols_ - 1);
    // A few changed cells are repainted one by one; past that, the range that holds them all at
    // once, which costs the view less than a request per cell.
    constexpr int kOneByOne = 64;
    std::vector<std::pair<int, int>> changed;
    int top = r1 + 1, bottom = -1, left = c1 + 1, right = -1;
    for (int r = r0; r <= r1; ++r) {
        std::vector<Cell>& shown = shownCells_[r];
        if (shown.size() != cells_[r].size()) shown.resize(cells_[r].size(), Cell{QString(), -1});
        for (int c = c0; c <= c1; ++c) {
            if (shown[c] == cells_[r][c]) continue;
            shown[c] = cells_[r][c];
            if (changed.size() <= kOneByOne) changed.emplace_back(r, c);
            top = std::min(top, r), bottom = std::max(bottom, r);
            left = std::min(left, c), right = std::max(right, c);
        }
    }
    if (changed.size() > kOneByOne)
        model_->sync(false, top, bottom, left, right);
    else
        for (const auto& [r, c] : changed) model_->sync(false, r, r, c, c);
}

void Grid::setStretchRows(bool on) {
    stretchRows_ = on;
    fitToView();
}

void Grid::fitToView() {
    int total = 0;
    for (int c = 0; c < cols_; ++c) total += twipsToPixels(widths_[c]);
    const int room = viewport()->width();
    int given = 0, last = -1;
    for (int c = 0; c < cols_; ++c) {
        int w = twipsToPixels(widths_[c]);
        if (w > 0 && total > 0 && room > total) w = w * room / total;
        if (w > 0) last = c;
        given += w;
        setColumnWidth(c, w);
    }
    // Rounding left over goes to the last column, so the grid ends at the view's edge.
    if (last >= 0 && total > 0 && room > total && given < room)
        setColumnWidth(last, columnWidth(last) + room - given);

    const int R = rows();
    const int height = viewport()->height();
    const bool stretch = stretchRows_ && R > 0 && height > R * rowHeight_;
    const int each = stretch ? height / R : rowHeight_;
    const int spare = stretch ? height - each * R : 0;  // a pixel more for the first few rows
    for (int r = 0; r < R; ++r) setRowHeight(r, each + (r < spare ? 1 : 0));
}

void Grid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    fitToView();
}

void Grid::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (currentIndex().isValid()) {
                clickCell(currentIndex().row(), currentIndex().column());
                return;
            }
            break;
        default:
            break;
    }
    QTableView::keyPressEvent(e);
}

void Grid::setRows(int n) {
    cells_.resize(std::max(n, 0), std::vector<Cell>(cols_));
    mergeRowOn_.resize(cells_.size(), false);
    if (n == 0 && cols_ == 0) {
        mergeColOn_.clear();
        widths_.clear();
        row_ = col_ = rowSel_ = colSel_ = 0;
    }
    changed(true);
}

void Grid::setCols(int n) {
    cols_ = std::max(n, 0);
    for (auto& line : cells_) line.resize(cols_);
    mergeColOn_.resize(cols_, false);
    widths_.resize(cols_, 950);
    if (n == 0 && cells_.empty()) {
        mergeRowOn_.clear();
        mergeColOn_.clear();
        widths_.clear();
        row_ = col_ = rowSel_ = colSel_ = 0;
    }
    changed(true);
}

void Grid::setRow(int r) {
    row_ = rowSel_ = r;
}
void Grid::setCol(int c) {
    col_ = colSel_ = c;
}

const Grid::Cell* Grid::cellAt(int r, int c) const {
    if (r < 0 || c < 0 || r >= rows() || c >= cols_) return nullptr;
    return &cells_[r][c];
}

QString Grid::textMatrix(int r, int c) const {
    const Cell* cell = cellAt(r, c);
    return cell ? cell->text : QString();
}

void Grid::setTextMatrix(int r, int c, const QString& text) {
    if (!cellAt(r, c)) return;
    cells_[r][c].text = text;
    changedCells(r, r, c, c);
}

template <typename F>
void Grid::forSelection(F f) {
    const int r0 = std::max(std::min(row_, rowSel_), 0),
              r1 = std::min(std::max(row_, rowSel_), rows() - 1);
    const int c0 = std::max(std::min(col_, colSel_), 0),
              c1 = std::min(std::max(col_, colSel_), cols_ - 1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) f(cells_[r][c]);
    if (r0 <= r1 && c0 <= c1) changedCells(r0, r1, c0, c1);
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
    for (int c = 0; c < cols_; ++c)
        if (col == -1 || c == col) widths_[c] = twips;
    changed(true);
}

int Grid::colWidth(int col) const {
    return col >= 0 && col < int(widths_.size()) ? widths_[col] : 0;
}

void Grid::setMergeCells(int mode) {
    if (mergeMode_ == mode) return;
    mergeMode_ = mode;
    changed();
}

void Grid::setMergeCol(int col, bool on) {
    if (col < 0 || col >= int(mergeColOn_.size()) || mergeColOn_[col] == on) return;
    mergeColOn_[col] = on;
    changed();
}

void Grid::setMergeRow(int row, bool on) {
    if (row < 0 || row >= int(mergeRowOn_.size()) || mergeRowOn_[row] == on) return;
    mergeRowOn_[row] = on;
    changed();
}

std::vector<Grid::Span> Grid::computeSpans() const {
    std::vector<Span> spans;
    const int R = rows(), C = cols_;
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
            R, [&](int r) { return cells_[r][0].text; }, [](int) { return false; },
            [&](int s, int n) {
                for (int r = s; r < s + n; ++r) firstColBlock[r] = s;
            });
    if (R > 0 && mergeRowOn_[0])
        runs(
            C, [&](int c) { return cells_[0][c].text; }, [](int) { return false; },
            [&](int s, int n) {
                for (int c = s; c < s + n; ++c) firstRowBlock[c] = s;
            });

    for (int r = 0; r < R; ++r) {
        if (!mergeRowOn_[r]) continue;
        runs(
            C, [&](int c) { return cells_[r][c].text; },
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
            R, [&](int r) { return covered[r][c] ? QString() : cells_[r][c].text; },
            [&](int r) { return c > 0 && firstColBlock[r] != firstColBlock[r - 1]; },
            [&](int s, int n) {
                spans.push_back({s, c, n, 1});
            });
    }
    return spans;
}

Grid::Span Grid::mergedSpan(int r, int c) const {
    for (const Span& s : computeSpans())
        if (r >= s.row && r < s.row + s.rows && c >= s.col && c < s.col + s.cols) return s;
    return {r, c, 1, 1};
}

void Grid::clickCell(int r, int c) {
    setRow(r);
    setCol(c);
    if (onClick) onClick(r, c);
}
