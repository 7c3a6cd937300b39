#pragma once

#include <QString>

class Grid;

// PRT組時割: prints a class timetable grid as the A4 sheet "時間割表". It prints the grid's
// texts as they are shown; the header names the class the grid shows.
struct TimetableHeader {
    int year = 0;
    QString departmentName;
    QString gradeName;
    QString classCode;
};

// Mode 1 prints; the finished page goes to the print preview.
void PRT組時割(int mode, Grid& grid, const TimetableHeader& header);

// The class as the sheet's header names it: "1年  1組".
QString classLine(const TimetableHeader& header);
// What a saved sheet of this class is called: "時間割表_2007年度_高等部_1年_1組".
QString timetableFileName(const TimetableHeader& header);
