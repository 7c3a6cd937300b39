#pragma once

#include <vector>

#include <QPointer>

#include "timetable/timetable_check.h"
#include "ui/screen.h"

class QLabel;
class QLineEdit;
class Grid;
class 組時間割;

// 時間割チェック: every problem of the year's standard timetable in one list, each kind under its
// heading, with a count line above and a print of the list. Picking a problem opens 組時間割 on
// its class with its slot picked, where it is put right; チェック lists again.
class 時間割チェック : public Screen {
public:
    時間割チェック();

private:
    void Form_Load();
    void 年度_LostFocus();
    void B表示_Click();
    void G問題_Click(int row, int col);
    void B印刷_Click();
    void BExcel出力_Click();

    void check(int year);
    void openTimetable(const TimetableProblem& p);

    QLineEdit* 年度;
    QLabel* L件数;
    Grid* G問題;

    int year_ = 0;  // the year listed
    std::vector<TimetableProblem> problems_;
    std::vector<int> problemOfRow_;  // per grid row: the problem listed there, -1 for headings
    int pickedRow_ = 0;
    QPointer<組時間割> timetable_;
};

// GRD時割チェック: lays out the list and fills it, each kind under a heading row that spans the
// columns. Returns, per grid row, the index of the problem listed there (-1 for headings).
std::vector<int> GRD時割チェック(Grid& grid, const std::vector<TimetableProblem>& problems);
