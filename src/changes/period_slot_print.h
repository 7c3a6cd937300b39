#pragma once

#include <QString>

class Grid;

// PRTコマ: prints the slot grid of one date and period as the A4 sheet "授業コマ割り": a half of
// the table per department, each with its class names and a column per grade, a band per class.
// Two departments and ten classes fit a page; more continue on further pages.
struct PeriodSheetHeader {
    int year = 0;
    QString date;  // "yyyy/mm/dd"
    int period = 0;
};

// Mode 9 prints; the finished document goes to the print preview.
void PRTコマ(int mode, Grid& grid, const PeriodSheetHeader& header);

// What a saved sheet of the period is called: "授業コマ割り_2007年度_20070604_2時限".
QString periodSheetFileName(const PeriodSheetHeader& header);
