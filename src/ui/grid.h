#pragma once

#include <functional>
#include <vector>

#include <QTableView>

class GridModel;

// The grid the screens draw their timetables and lists in, with the semantics they are written
// against: a current cell and selection range that formatting applies to, colours by palette
// number, alignment codes (1 left, 4 centre, 5 centre-bottom), widths in twips, and vertical
// merging of equal neighbours.
//
// Merging (mode 3, "restrict columns", and 4, "restrict all"): in a column whose merge switch is
// on, vertically adjacent cells with equal, non-empty texts show as one cell; in a row whose
// switch is on, horizontally adjacent ones do. A vertical run never crosses a boundary between
// the merged blocks of the first column (the period or class labels), so a lesson never merges
// with the next period's. Mode 4 keeps horizontal runs within the blocks of the first row too.
//
// The cells live here; the view is told about changes once the running event has finished, so
// filling a whole grid costs no more than storing its texts.
class Grid : public QTableView {
public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    int rows() const { return int(cells_.size()); }
    int cols() const { return cols_; }
    void setRows(int n);  // setting 0 rows and 0 columns clears everything, formats included
    void setCols(int n);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n) { fixedRows_ = n; }
    void setFixedCols(int n) { fixedCols_ = n; }

    // Current cell; setting it also collapses the selection range onto it.
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int r);
    void setCol(int c);
    int rowSel() const { return rowSel_; }
    int colSel() const { return colSel_; }
    void setRowSel(int r) { rowSel_ = r; }
    void setColSel(int c) { colSel_ = c; }

    QString text() const { return textMatrix(row_, col_); }
    void setText(const QString& text) { setTextMatrix(row_, col_, text); }
    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& text);

    // Formats of the current cell, or of every cell of the selection range.
    void setCellBackColor(int colour);
    void setCellForeColor(int colour);
    void setCellAlignment(int code);
    void setCellFontSize(double points);

    int cellBackColor(int r, int c) const;
    int cellForeColor(int r, int c) const;
    int cellAlignment(int r, int c) const;
    double cellFontSize(int r, int c) const;  // 0 = the grid's own font size

    void setColWidth(int col, int twips);  // col -1: every column
    int colWidth(int col) const;           // twips

    void setMergeCells(int mode);
    void setMergeCol(int col, bool on);
    void setMergeRow(int row, bool on);
    int mergeCells() const { return mergeMode_; }

    struct Span {
        int row, col, rows, cols;
        bool operator==(const Span&) const = default;
    };
    // The block of merged cells that (r, c) belongs to (1 x 1 when not merged).
    Span mergedSpan(int r, int c) const;
    // Every block of more than one cell, as the view shows them.
    std::vector<Span> mergedSpans() const { return computeSpans(); }

    // The click event: the screen's handler with the clicked row and column.
    std::function<void(int row, int col)> onClick;
    // A click as the user makes it: the cell becomes current, then the handler runs.
    void clickCell(int r, int c);

    // Brings the view up to date at once (it otherwise catches up when the event has finished).
    void refresh();

    // The widths in twips are the least a column gets: a grid wider than their sum shares the
    // room out in proportion. Rows keep their height unless they are set to stretch as well (a
    // timetable that fills its window).
    void setStretchRows(bool on);
    int shownColumnWidth(int col) const { return columnWidth(col); }  // pixels

protected:
    // A grid is one stop of the Tab key; inside it the arrow keys move, and Return or Space acts
    // as a click on the current cell.
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class GridModel;
    struct Cell {
        QString text;
        int back = 15;
        int fore = 0;
        int align = 0;
        double fontSize = 0;
        bool operator==(const Cell&) const = default;
    };
    const Cell* cellAt(int r, int c) const;
    template <typename F>
    void forSelection(F f);
    void changed(bool shape = false);
    // Only these cells may have changed: the view repaints those that did and nothing else.
    void changedCells(int r0, int r1, int c0, int c1);
    // Tells the view which cells of rows r0..r1, columns c0..c1 differ from what it last showed.
    void reportChanges(int r0, int r1, int c0, int c1);
    void fitToView();
    std::vector<Span> computeSpans() const;

    GridModel* model_;
    int cols_ = 0;
    int fixedRows_ = 0, fixedCols_ = 0;
    int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0;
    int mergeMode_ = 0;
    std::vector<bool> mergeColOn_, mergeRowOn_;
    std::vector<std::vector<Cell>> cells_;
    std::vector<int> widths_;
    bool dirty_ = false, shapeDirty_ = false, scheduled_ = false;
    bool allDirty_ = false;
    int dirtyR0_ = 0, dirtyR1_ = -1, dirtyC0_ = 0, dirtyC1_ = -1;  // empty while r1 < r0
    // The shape the view was last laid out for: setting the same rows and widths again (every
    // 表示 lays its grid out anew) keeps the view as it is instead of rebuilding it.
    int fittedRows_ = -1, fittedCols_ = -1;
    std::vector<int> fittedWidths_;
    std::vector<Span> shownSpans_;
    // The cells as the view last took them: a grid laid out again in the same shape (every 表示)
    // repaints only the cells whose text or format differ.
    std::vector<std::vector<Cell>> shownCells_;
    bool stretchRows_ = false;
    int rowHeight_ = 0;
};

// Screen measures are twips: 1440 to the inch, 15 to a pixel at 96 dpi.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}
