#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "ui/grid.h"
#include "ui/palette.h"

class Screen;

// "Excel出力": a printed sheet or a list saved as an .xlsx workbook for the schools that keep
// their timetables in spreadsheets too. The workbook is laid out like the sheet: the title lines
// of its print, then its table with the same rows and columns, merged blocks, colours and widths.

// One cell of the table.
struct XlsxCell {
    QString text;
    int back = colour::kWhite;  // palette numbers, as on the grid
    int fore = colour::kBlack;
    int align = 0;        // the grid's codes: 1 left, 4 centre, 5 centre-bottom, 7 right, ...
    double fontSize = 0;  // points; 0: the sheet's size
};

// A line above the table: the sheet's title, the year, the class, the teacher, the date.
struct XlsxTitle {
    QString text;
    double fontSize = 12;
    int align = 1;
};

struct XlsxSheet {
    QString name;      // the worksheet's tab
    QString fileName;  // proposed for the saved file, without ".xlsx"
    std::vector<XlsxTitle> titles;
    std::vector<std::vector<XlsxCell>> cells;  // the table, row by row
    std::vector<Grid::Span> spans;             // merged blocks, in table positions
    std::vector<int> widths;                   // twips per column
    std::vector<int> heights;                  // twips per row; 0 or none: the default
    double fontSize = 11;
    int headingRows = 0;   // printed again on every page, and kept in view when scrolling
    bool onePage = false;  // fits one A4 page like its print; a list runs on over pages
    // Cells as wide as the print's: a long name is set smaller rather than cut off or run into
    // the next column, as the print does.
    bool shrinkToFit = false;

    int rows() const { return int(cells.size()); }
    int cols() const { return cells.empty() ? 0 : int(cells.front().size()); }
    XlsxCell& at(int row, int col) { return cells[row][col]; }
    void title(const QString& text, double size = 12, int align = 1) {
        titles.push_back({text, size, align});
    }
};

// The table as a grid shows it: texts, colours, alignment, widths and merged blocks. The light
// green of a picked cell marks the user's place on the screen and stays out of the sheet.
// `toLastText` leaves out the empty rows a list lays out below its entries.
XlsxSheet sheetFromGrid(const Grid& grid, bool toLastText = false);

// A list as the screen shows it: its title above the heading row and the rows listed.
XlsxSheet listSheet(const Grid& grid, const QString& title);

// Print measures for the sheets laid out like their prints.
constexpr int mmToTwips(double mm) {
    return int(mm * 1440 / 25.4 + 0.5);
}

// Writes the workbook, a worksheet per sheet (a sheet printed on several pages gives one for each
// page); false, with the reason in `error`, when it cannot be written. A file that is there
// already is replaced only once the new one is complete.
bool writeXlsx(const std::vector<XlsxSheet>& sheets, const QString& path, QString* error = nullptr);

// libxlsxwriter, with the zip and crypto libraries it brings, is a module loaded at the first
// export (see data/module_loader.h); its entry writes the workbook to `path`, its temporary files
// in `folder`.
inline const QString kXlsxModule = QStringLiteral("jikanwari-xlsx");
extern "C" Q_DECL_EXPORT bool jikanwariWriteXlsx(const std::vector<XlsxSheet>* sheets,
                                                const QString* path, const QString* folder,
                                                QString* error);
inline bool writeXlsx(const XlsxSheet& sheet, const QString& path, QString* error = nullptr) {
    return writeXlsx(std::vector<XlsxSheet>{sheet}, path, error);
}

// The button's handler: asks where to save (the first sheet's file name in the documents folder,
// or in the folder saved to last), writes, and says how it went under the screen's title.
void saveXlsx(Screen& screen, const std::vector<XlsxSheet>& sheets);
inline void saveXlsx(Screen& screen, const XlsxSheet& sheet) {
    saveXlsx(screen, std::vector<XlsxSheet>{sheet});
}

// The button every exporting screen puts beside 印刷 (or 終了).
inline constexpr const char* kXlsxButton = "BExcel出力";
inline constexpr const char* kXlsxCaption = "Excel出力";

// Tests answer the save dialog: the chooser gets the proposed path and returns the chosen one
// (empty: cancelled). nullptr brings back the dialog.
using SaveFileChooser = std::function<QString(const QString& proposedPath)>;
void setSaveFileChooser(SaveFileChooser chooser);
