#include "timetable/timetable_check_screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "context/school_context.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_check_print.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"
#include "ui/palette.h"
#include "ui/xlsx_export.h"

namespace {

const QString kTitle = QStringLiteral("時間割チェック");
constexpr int kWidths[] = {1000, 500, 500, 450, 450, 1400, 4600};
constexpr int kCols = int(std::size(kWidths));
constexpr int kAlignments[] = {1, 4, 4, 4, 4, 1, 1};  // codes: 1 left, 4 centred

void paintRow(Grid& g, int row, int colour) {
    g.setRow(row);
    g.setCol(0);
    g.setColSel(kCols - 1);
    g.setCellBackColor(colour);
}

// Picks an entry of one of 組時間割's drop-downs as a user would, so that its own handler runs.
void pick(QComboBox* list, const QString& entry) {
    const int i = list->findText(entry);
    if (i < 0) {
        list->setEditText(entry);
        return;
    }
    list->setCurrentIndex(i);
    Q_EMIT list->activated(i);
}

}  // namespace

std::vector<int> GRD時割チェック(Grid& g, const std::vector<TimetableProblem>& problems) {
    std::vector<int> problemOfRow{-1};
    for (int i = 0; i < int(problems.size()); ++i) {
        if (i == 0 || problems[i].kind != problems[i - 1].kind) problemOfRow.push_back(-1);
        problemOfRow.push_back(i);
    }
    g.setRows(0);
    g.setCols(0);
    g.setRows(int(problemOfRow.size()));
    g.setCols(kCols);
    g.setFixedRows(1);
    g.setFixedCols(0);
    // Merging joins the cells of a heading row into one that spans the list.
    g.setMergeCells(3);
    const QStringList headings = problemColumns();
    for (int c = 0; c < kCols; ++c) {
        g.setColWidth(c, kWidths[c]);
        g.setTextMatrix(0, c, headings[c]);
    }
    paintRow(g, 0, colour::kLightYellow);
    g.setCellAlignment(4);

    for (int r = 1; r < int(problemOfRow.size()); ++r) {
        const int i = problemOfRow[r];
        if (i >= 0) {
            const QStringList cells = problemCells(problems[i]);
            for (int c = 0; c < kCols; ++c) {
                g.setRow(r);
                g.setCol(c);
                g.setText(cells[c]);
                g.setCellAlignment(kAlignments[c]);
            }
            continue;
        }
        const TimetableProblem::Kind kind = problems[problemOfRow[r + 1]].kind;
        int count = 0;
        for (const TimetableProblem& p : problems) count += p.kind == kind;
        const QString heading =
            QStringLiteral("■ %1（%2件）").arg(problemKindName(kind)).arg(count);
        for (int c = 0; c < kCols; ++c) g.setTextMatrix(r, c, heading);
        paintRow(g, r, colour::kLightYellow);
        g.setCellForeColor(colour::kDarkBlue);
        g.setCellAlignment(1);
        g.setMergeRow(r, true);
    }
    g.setRow(0);
    g.setCol(0);
    return problemOfRow;
}

時間割チェック::時間割チェック() : Screen("時間割チェック", kTitle) {
    年度 = textBox("年度", 4);
    L件数 = label("L件数");
    QFont bold = L件数->font();
    bold.setBold(true);
    L件数->setFont(bold);
    G問題 = grid("G問題", [this](int r, int c) { G問題_Click(r, c); });
    G問題->setMinimumSize(760, 440);
    onLostFocus(年度, [this] { 年度_LostFocus(); });

    auto* top = new QHBoxLayout;
    QWidget* year = labelled(QStringLiteral("年度"), 年度);
    年度->setMaximumWidth(70);
    year->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    top->addWidget(year);
    top->addWidget(button("B表示", QStringLiteral("チェック"), [this] { B表示_Click(); }));
    top->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        label("L説明", QStringLiteral("行を選ぶと、その組の時間割作成を開きます。")));
    buttons->addStretch();
    buttons->addWidget(button("B印刷", QStringLiteral("印刷"), [this] { B印刷_Click(); }));
    buttons->addWidget(
        button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(L件数);
    layout->addWidget(G問題, 1);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 時間割チェック::Form_Load() {
    ctx().resetReporting();
    ctx().title = kTitle;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    // The list is ready when the screen opens: the check of the business year takes a moment.
    check(school().businessYear);
}

void 時間割チェック::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 時間割チェック::B表示_Click() {
    ctx().resetReporting();
    年度_LostFocus();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    ctx().workingYear = 年度->text().toInt();
    check(ctx().workingYear);
}

void 時間割チェック::check(int year) {
    year_ = year;
    problems_ = checkWholeTimetable(year);
    problemOfRow_ = GRD時割チェック(*G問題, problems_);
    pickedRow_ = 0;
    L件数->setText(QStringLiteral("%1年度　%2").arg(year).arg(checkSummary(year, problems_)));
}

void 時間割チェック::G問題_Click(int row, int) {
    if (row < 1 || row >= int(problemOfRow_.size()) || problemOfRow_[row] < 0) return;
    if (pickedRow_ > 0) paintRow(*G問題, pickedRow_, colour::kWhite);
    paintRow(*G問題, row, colour::kLightGreen);
    pickedRow_ = row;
    openTimetable(problems_[problemOfRow_[row]]);
}

void 時間割チェック::openTimetable(const TimetableProblem& p) {
    // One timetable window serves every pick: the next pick shows its class there.
    if (!timetable_) timetable_ = new 組時間割;
    組時間割& t = *timetable_;
    t.show();
    t.raise();
    t.activateWindow();
    const QStringList cells = problemCells(p);
    t.control<QLineEdit>("年度")->setText(QString::number(year_));
    pick(t.control<QComboBox>("C学部"), cells[0]);
    pick(t.control<QComboBox>("C学年"), cells[1]);
    pick(t.control<QComboBox>("C組"), cells[2]);
    t.control<QPushButton>("B表示")->click();
    // An empty day is picked at its first period, ready for a lesson to be entered.
    const int period = p.period > 0 ? p.period : 1;
    if (!SlotTables::inRange(p.weekday, period)) return;
    Grid& g = *t.control<Grid>("G時割");
    const QString lesson = g.textMatrix(lessonRow(period), p.weekday);
    if (!lesson.isEmpty() && lesson == g.textMatrix(teacherRow(period), p.weekday))
        // A shared slot is only marked: clicking it would open its breakdown unasked.
        GRD時割選択(t.ctx(), g, lessonRow(period), p.weekday);
    else
        g.clickCell(lessonRow(period), p.weekday);
}

void 時間割チェック::B印刷_Click() {
    PRT時割チェック(year_, problems_);
}

void 時間割チェック::BExcel出力_Click() {
    // The list as shown, under the lines the print heads it with: the year listed, the day it was
    // saved and the count line.
    XlsxSheet sheet = listSheet(*G問題, kTitle);
    sheet.fileName = checkSheetFileName(year_);
    sheet.title(QStringLiteral("%1 年度").arg(year_), 11, 7);
    sheet.title(QStringLiteral("出力日 %1").arg(school().todayText), 9, 7);
    sheet.title(checkSummary(year_, problems_), 11);
    saveXlsx(*this, sheet);
}
