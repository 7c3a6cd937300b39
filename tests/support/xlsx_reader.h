#pragma once

#include <map>
#include <vector>

#include <QString>
#include <QStringList>

// Reads back a workbook the program wrote: one worksheet's name, cell texts, merged ranges, looks,
// column widths and page set-up, straight from the file's XML parts (unpacked in the test process).
class XlsxFile {
public:
    // The worksheet `sheet` (0: the first); a file that cannot be read fails the test.
    explicit XlsxFile(const QString& path, int sheet = 0);

    struct Style {
        QString fill, colour, font, horizontal;  // colours "RRGGBB"; empty: none, the default
        double size = 0;
    };

    QStringList sheetNames;  // every worksheet's
    QString sheetName;
    QStringList merges;                    // "A1:H1", in the file's order
    std::map<QString, QString> pageSetup;  // the attributes of <pageSetup> and <pageSetUpPr>
    QString repeatedRows;                  // the print titles' rows, "$3:$3"
    int rowCount = 0;

    // Zero-based, as the sheet's rows and columns count.
    QString text(int row, int col) const;
    QStringList row(int r) const;  // up to its last cell with text
    Style style(int row, int col) const;
    double columnWidth(int col) const;  // characters; 0 when the column has the default

private:
    std::map<std::pair<int, int>, QString> texts_;
    std::map<std::pair<int, int>, int> styleOf_;
    std::vector<Style> styles_;
    std::map<int, double> widths_;
};
