#pragma once

#include <QString>

class Grid;

// PRT教員コマ: prints the teacher week grid as the A4 sheet "教員別授業コマ割": seven day columns,
// ten period rows, each cell with the three texts of its grid cell, as the grid shows them. The
// days are those of the grid's header (the dates of the week shown, or only the weekday names of
// the standard week); the header names the teacher whose week is shown.
struct TeacherSheetHeader {
    int year = 0;
    QString teacherName;
};

// Mode 1 prints; the finished page goes to the print preview.
void PRT教員コマ(int mode, Grid& grid, const TeacherSheetHeader& header);

// What a saved sheet of the week on the grid is called: "教員別授業コマ割_2007年度_<name>_20070606"
// ("標準" for the standard week).
QString teacherSheetFileName(const Grid& grid, const TeacherSheetHeader& header);
