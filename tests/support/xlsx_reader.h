#pragma once

#include <map>

#include <QString>
#include <QStringList>

// Reads back a workbook the program wrote: one worksheet's name, cell texts, merged ranges,
// column widths, cell looks and page set-up, straight from the file's XML parts.
class XlsxFile {
public:
    // The worksheet `sheet` (0: the first); a file that cannot be read fails the test.
    explicit XlsxFile(const QString& path, int sheet = 0);

    QStringList sheetNames;  // every worksheet's
    QString sheetName;
    QStringList merges;                     // "A1:H1", in the file's order
    std::map<QString, QString> pageSetup;   // the attributes of <pageSetup>
    std::map<QString, QString> sheetProps;  // of <pageSetUpPr> and <printOptions>
    QString repeatedRows;                   // the print titles' rows, "$3:$3"

    // Zero-based, as the sheet's rows and columns count.
    QString text(int row, int col) const;
    QStringList row(int r) const;            // up to its last cell with text
    QString fill(int row, int col) const;    // background "RRGGBB"; empty when there is none
    QString colour(int row, int col) const;  // text colour "RRGGBB"; empty for the default
    QString font(int row, int col) const;
    double fontSize(int row, int col) const;
    QString horizontal(int row, int col) const;  // "center", "right"; empty for the default
    int rowCount() const { return rows_; }
    double columnWidth(int col) const;  // characters; 0 when the column has the default

    static QString ref(int row, int col);  // "B3"

private:
    struct Style {
        QString fill, colour, font, horizontal;
        double size = 0;
    };
    const Style* styleAt(int row, int col) const;

    std::map<QString, QString> texts_;
    std::map<QString, int> styleOf_;
    std::vector<Style> styles_;
    std::map<int, double> widths_;
    int rows_ = 0;
};
