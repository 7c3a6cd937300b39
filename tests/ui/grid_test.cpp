// The grid as the timetable and list screens use it: formats by selection range, palette
// colours, widths in twips, clearing, clicks, and the vertical merge of equal neighbours.

#include <gtest/gtest.h>

#include <QImage>
#include <QStyledItemDelegate>

#include "ui/grid.h"

namespace {

// A timetable-shaped grid: column 0 holds each period number in two rows.
void layOutPeriods(Grid& g, int periods, int cols) {
    g.setRows(0);
    g.setCols(0);
    g.setRows(1 + 2 * periods);
    g.setCols(cols);
    for (int p = 1; p <= periods; ++p) {
        g.setTextMatrix(2 * p - 1, 0, QString::number(p));
        g.setTextMatrix(2 * p, 0, QString::number(p));
    }
    g.setMergeCells(3);
    g.setMergeCol(0, true);
}

TEST(GridTest, FormatsApplyToTheCurrentCellOrTheSelectionRange) {
    Grid g;
    g.setRows(3);
    g.setCols(4);
    g.setRow(0);
    g.setCol(0);
    g.setColSel(3);
    g.setCellBackColor(14);
    g.setCellAlignment(5);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.cellBackColor(0, c), 14);
        EXPECT_EQ(g.cellAlignment(0, c), 5);
    }
    EXPECT_EQ(g.cellBackColor(1, 0), 15);  // untouched cells are white on black

    g.setRow(2);  // choosing a cell collapses the range onto it
    g.setCol(1);
    g.setCellForeColor(9);
    g.setCellFontSize(8);
    g.setText("国語");
    EXPECT_EQ(g.cellForeColor(2, 1), 9);
    EXPECT_EQ(g.cellForeColor(2, 2), 0);
    EXPECT_EQ(g.cellFontSize(2, 1), 8);
    EXPECT_EQ(g.textMatrix(2, 1), "国語");
    // What the view paints.
    g.refresh();
    const auto background = [&](int r, int c) {
        return g.model()->data(g.model()->index(r, c), Qt::BackgroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(background(2, 1), QColor(255, 255, 255));
    EXPECT_EQ(g.model()->data(g.model()->index(2, 1)).toString(), "国語");
    g.setRow(0);
    g.setCol(3);
    EXPECT_EQ(background(0, 3), QColor(255, 255, 0));
}

TEST(GridTest, WidthsAreTwipsAndZeroRowsAndColumnsClearEverything) {
    Grid g;
    g.setRows(2);
    g.setCols(3);
    g.setColWidth(-1, 950);
    g.setColWidth(0, 300);
    EXPECT_EQ(g.colWidth(0), 300);
    EXPECT_EQ(g.colWidth(2), 950);
    g.resize(100, 100);
    g.show();
    g.refresh();
    EXPECT_EQ(g.columnWidth(2), 63);  // 15 twips to a pixel: the least a column gets
    // A wider grid shares its room out in proportion, up to its right edge.
    g.resize(600, 100);
    EXPECT_GT(g.columnWidth(2), 63);
    EXPECT_NEAR(double(g.columnWidth(0)) / g.columnWidth(2), 20.0 / 63, 0.05);
    EXPECT_EQ(g.columnWidth(0) + g.columnWidth(1) + g.columnWidth(2), g.viewport()->width());

    g.setRow(1);
    g.setCol(1);
    g.setText("x");
    g.setCellBackColor(10);
    g.setRows(0);
    g.setCols(0);
    g.setRows(2);
    g.setCols(3);
    EXPECT_EQ(g.textMatrix(1, 1), "");
    EXPECT_EQ(g.cellBackColor(1, 1), 15);
    EXPECT_EQ(g.row(), 0);
}

TEST(GridTest, AClickMakesTheCellCurrentAndReportsRowAndColumn) {
    Grid g;
    g.setRows(5);
    g.setCols(3);
    int row = -1, col = -1;
    g.onClick = [&](int r, int c) {
        row = r;
        col = c;
    };
    g.clickCell(3, 2);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.col(), 2);
}

TEST(GridTest, EqualVerticalNeighboursMergeOnlyWhereTheSwitchIsOnAndWithinTheLabelBlocks) {
    Grid g;
    layOutPeriods(g, 3, 4);
    // Period numbers: one cell per period.
    EXPECT_EQ(g.mergedSpan(1, 0), (Grid::Span{1, 0, 2, 1}));
    EXPECT_EQ(g.mergedSpan(4, 0), (Grid::Span{3, 0, 2, 1}));

    // An elective in period 1 of column 2 (both lines equal), an ordinary lesson in column 1.
    g.setTextMatrix(1, 1, "国語");
    g.setTextMatrix(2, 1, "佐藤");
    g.setTextMatrix(1, 2, "芸術");
    g.setTextMatrix(2, 2, "芸術");
    // Equal texts in column 3, but its switch stays off.
    g.setTextMatrix(1, 3, "芸術");
    g.setTextMatrix(2, 3, "芸術");
    g.setMergeCol(1, true);
    g.setMergeCol(2, true);
    EXPECT_EQ(g.mergedSpan(1, 2), (Grid::Span{1, 2, 2, 1}));
    EXPECT_EQ(g.mergedSpan(1, 1), (Grid::Span{1, 1, 1, 1}));
    EXPECT_EQ(g.mergedSpan(1, 3), (Grid::Span{1, 3, 1, 1}));

    // The same text in the teacher line of period 1 and the lesson line of period 2 stays apart:
    // the cells to the left (the period labels) are not joined there.
    g.setTextMatrix(3, 2, "芸術");
    g.setTextMatrix(4, 2, "芸術");
    EXPECT_EQ(g.mergedSpan(2, 2), (Grid::Span{1, 2, 2, 1}));
    EXPECT_EQ(g.mergedSpan(3, 2), (Grid::Span{3, 2, 2, 1}));

    // Empty cells never merge; without the label column's switch nothing to its right merges.
    EXPECT_EQ(g.mergedSpan(5, 1), (Grid::Span{5, 1, 1, 1}));
    g.setMergeCol(0, false);
    EXPECT_EQ(g.mergedSpan(1, 2), (Grid::Span{1, 2, 1, 1}));
}

TEST(GridTest, ARowWithItsSwitchOnJoinsEqualNeighbours) {
    Grid g;
    g.setRows(3);
    g.setCols(5);
    for (int c = 1; c <= 3; ++c) g.setTextMatrix(0, c, "中学部");
    g.setTextMatrix(0, 4, "高等部");
    g.setMergeCells(3);
    g.setMergeRow(0, true);
    EXPECT_EQ(g.mergedSpan(0, 2), (Grid::Span{0, 1, 1, 3}));
    EXPECT_EQ(g.mergedSpan(0, 4), (Grid::Span{0, 4, 1, 1}));
    g.setMergeCells(0);
    EXPECT_EQ(g.mergedSpan(0, 2), (Grid::Span{0, 2, 1, 1}));
}

}  // namespace

namespace {

// Colours, alignments, a smaller font, a text too long for its cell and one of two lines.
QImage paintedGrid(bool styleDelegate) {
    Grid g;
    if (styleDelegate) g.setItemDelegate(new QStyledItemDelegate(&g));
    g.resize(600, 200);
    g.setRows(6);
    g.setCols(4);
    g.setColWidth(-1, 2000);
    const QStringList texts = {"番号", "山田　太郎", "", "長い名前の科目がこの欄に入り切らない",
                               "A\nB", "1年"};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) g.setTextMatrix(r, c, texts[(r + c) % texts.size()]);
    g.setRow(1);
    g.setCol(0);
    g.setColSel(3);
    g.setCellBackColor(14);
    g.setRow(2);
    g.setCol(1);
    g.setRowSel(5);
    g.setCellAlignment(4);
    g.setCol(2);
    g.setCellAlignment(5);
    g.setCellForeColor(12);
    g.setRow(3);
    g.setCol(0);
    g.setColSel(3);
    g.setCellFontSize(8);
    g.refresh();
    return g.grab().toImage();
}

}  // namespace

TEST(GridTest, CellsArePaintedExactlyAsTheStylePaintsThem) {
    EXPECT_EQ(paintedGrid(false), paintedGrid(true));
}

TEST(GridTest, ALayoutInTheSameShapeRepaintsOnlyTheCellsThatDiffer) {
    Grid g;
    const auto layOut = [&g](const QString& middle, int corner) {
        g.setRows(0);
        g.setCols(0);
        g.setRows(3);
        g.setCols(3);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) g.setTextMatrix(r, c, QString::number(r * 3 + c));
        g.setTextMatrix(1, 1, middle);
        g.setRow(2);
        g.setCol(2);
        g.setCellBackColor(corner);
    };
    layOut("国語", 15);
    g.refresh();
    int resets = 0;
    std::vector<std::pair<QModelIndex, QModelIndex>> changed;
    QObject::connect(g.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(g.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& a, const QModelIndex& b) { changed.emplace_back(a, b); });

    layOut("数学", 14);  // one text and one colour differ
    g.refresh();
    EXPECT_EQ(resets, 0);
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0].first, g.model()->index(1, 1));
    EXPECT_EQ(changed[0].second, g.model()->index(1, 1));
    EXPECT_EQ(changed[1].first, g.model()->index(2, 2));
    EXPECT_EQ(g.model()->data(g.model()->index(1, 1)).toString(), "数学");

    // The same again, and a format set to what it already is: nothing to repaint.
    changed.clear();
    layOut("数学", 14);
    g.setRow(0);
    g.setCol(0);
    g.setCellBackColor(15);
    g.refresh();
    EXPECT_TRUE(changed.empty());
    // A new shape is a new grid to the view.
    g.setRows(4);
    g.refresh();
    EXPECT_EQ(resets, 1);
}
