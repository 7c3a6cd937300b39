#include "ui/xlsx_export.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

#include "data/module_loader.h"
#include "ui/fields.h"
#include "ui/file_save.h"
#include "ui/printer.h"
#include "ui/screen.h"

namespace {

SaveFileChooser g_chooser;
QString g_lastFolder;  // where the user saved last in this session

using Writer = bool (*)(const std::vector<XlsxSheet>*, const QString*, const QString*, QString*);

// The writer of the workbook file, in its module (see kXlsxModule); when that cannot be loaded, a
// writer that says why.
Writer xlsxWriter(QString* why) {
    QString error;
    const auto entry = reinterpret_cast<Writer>(moduleEntry(kXlsxModule, "jikanwariWriteXlsx", &error));
    if (entry) return entry;
    *why = error;
    return [](const std::vector<XlsxSheet>*, const QString*, const QString*, QString*) {
        return false;
    };
}

QString proposedPath(const XlsxSheet& sheet) {
    const QString proposed = proposedSavePath(
        sheet.fileName.isEmpty() ? sheet.name : sheet.fileName, QStringLiteral("xlsx"));
    if (g_lastFolder.isEmpty() || !QDir(g_lastFolder).exists()) return proposed;
    return QDir(g_lastFolder).filePath(QFileInfo(proposed).fileName());
}

QString askPath(Screen& screen, const QString& proposed) {
    if (g_chooser) return g_chooser(proposed);
    QFileDialog dialog(&screen, QString::fromUtf8(kXlsxCaption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Excel ブック (*.xlsx)"));
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.setDirectory(QFileInfo(proposed).absolutePath());
    dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

XlsxSheet sheetFromGrid(const Grid& grid, bool toLastText) {
    XlsxSheet sheet;
    int rows = grid.rows();
    if (toLastText) {
        auto empty = [&](int r) {
            for (int c = 0; c < grid.cols(); ++c)
                if (!grid.textMatrix(r, c).isEmpty()) return false;
            return true;
        };
        while (rows > grid.fixedRows() && empty(rows - 1)) --rows;
    }
    sheet.cells.assign(rows, std::vector<XlsxCell>(grid.cols()));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < grid.cols(); ++c) {
            XlsxCell& cell = sheet.at(r, c);
            cell.text = grid.textMatrix(r, c);
            cell.back = grid.cellBackColor(r, c);
            if (cell.back == colour::kLightGreen) cell.back = colour::kWhite;
            cell.fore = grid.cellForeColor(r, c);
            cell.align = grid.cellAlignment(r, c);
        }
    for (const Grid::Span& s : grid.mergedSpans())
        if (s.row + s.rows <= rows) sheet.spans.push_back(s);
    for (int c = 0; c < grid.cols(); ++c) sheet.widths.push_back(grid.colWidth(c));
    sheet.headingRows = grid.fixedRows();
    return sheet;
}

XlsxSheet listSheet(const Grid& grid, const QString& title) {
    XlsxSheet sheet = sheetFromGrid(grid, true);
    sheet.name = sheet.fileName = title;
    sheet.title(title, 16, 4);
    return sheet;
}

bool writeXlsx(const std::vector<XlsxSheet>& sheets, const QString& path, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    // The library writes the workbook in a folder of its own, and Qt puts the finished file where
    // the user wants it. The library takes its paths in UTF-8 on every platform (on Windows it
    // opens them as wide-character names), never in the local 8-bit encoding: the temporary
    // folder sits under the user's profile, which on Japanese Windows is often a Japanese name.
    QTemporaryDir work;
    if (!work.isValid()) return fail(work.errorString());
    const QString built = work.filePath(QStringLiteral("sheet.xlsx"));
    QString why;
    const QString folder = work.path();
    if (!xlsxWriter(&why)(&sheets, &built, &folder, &why)) return fail(why);

    QFile in(built);
    if (!in.open(QIODevice::ReadOnly)) return fail(in.errorString());
    if (!saveFile(path, in.readAll(), &why)) return fail(why);
    return true;
}

namespace {

void askAndWrite(Screen& screen, const std::vector<XlsxSheet>& sheets) {
    QString path = askPath(screen, proposedPath(sheets.front()));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    const QString shown = QDir::toNativeSeparators(path);
    QString error;
    if (!writeXlsx(sheets, path, &error)) {
        screen.showMessage(QStringLiteral("「%1」に保存できませんでした。\n"
                                          "表計算ソフトで開いているときは閉じてから、"
                                          "または書込みのできる場所に保存して下さい。\n(%2)")
                               .arg(shown, error));
        return;
    }
    g_lastFolder = QFileInfo(path).absolutePath();
    screen.showPlainMessage(QStringLiteral("「%1」に保存しました。").arg(shown));
}

}  // namespace

void saveXlsx(Screen& screen, const std::vector<XlsxSheet>& sheets) {
    if (sheets.empty()) return;
    // The dialog waits until the running operation has ended, so that the database is not held
    // while the user picks a folder (and a sheet built from a work table it just filled is saved
    // only once that table is stored).
    screen.afterCommit([screen = QPointer<Screen>(&screen), sheets] {
        if (screen) askAndWrite(*screen, sheets);
    });
}

void setSaveFileChooser(SaveFileChooser chooser) {
    g_chooser = std::move(chooser);
}
