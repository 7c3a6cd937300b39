#include "support/xlsx_reader.h"

#include <memory>

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <minizip/unzip.h>

namespace {

// One member of the zip archive a workbook is; empty when the file or the member is missing.
QByteArray part(const QString& path, const QString& name) {
    const std::unique_ptr<void, int (*)(unzFile)> zip(
        unzOpen64(QFile::encodeName(path).constData()), unzClose);
    if (!zip || unzLocateFile(zip.get(), name.toUtf8().constData(), 1) != UNZ_OK ||
        unzOpenCurrentFile(zip.get()) != UNZ_OK)
        return {};
    QByteArray out;
    char buffer[16384];
    int n;
    while ((n = unzReadCurrentFile(zip.get(), buffer, sizeof buffer)) > 0) out.append(buffer, n);
    unzCloseCurrentFile(zip.get());
    return n < 0 ? QByteArray() : out;
}

// Zero-based row and column of "B3".
std::pair<int, int> position(const QString& ref) {
    int col = 0, i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) col = col * 26 + (ref[i].unicode() - 'A' + 1);
    return {ref.mid(i).toInt() - 1, col - 1};
}

// Runs `on` for every element of an XML part, with its name and attributes.
template <typename F>
void elements(const QByteArray& xml, F on) {
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement)
            on(r, r.name().toString(), r.attributes());
}

QString attr(const QXmlStreamAttributes& a, const char* name) {
    return a.value(QLatin1String(name)).toString();
}

}  // namespace

XlsxFile::XlsxFile(const QString& path, int sheet) {
    const QByteArray data = part(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet + 1));
    if (data.isEmpty()) {
        ADD_FAILURE() << path.toStdString() << " has no worksheet " << sheet + 1;
        return;
    }
    elements(part(path, "xl/workbook.xml"), [&](auto& r, const QString& name, const auto& a) {
        if (name == "sheet") sheetNames << attr(a, "name");
        if (name == "definedName" && attr(a, "localSheetId").toInt() == sheet)
            repeatedRows = r.readElementText().section('!', 1);
    });
    sheetName = sheetNames.value(sheet);

    QStringList shared;
    elements(part(path, "xl/sharedStrings.xml"), [&](auto& r, const QString& name, const auto&) {
        if (name == "si") shared << QString();
        if (name == "t") shared.last() += r.readElementText();
    });

    // Fonts and fills by number, then each cell format's pick of them.
    std::vector<Style> fonts, fills;
    QString section;
    elements(part(path, "xl/styles.xml"), [&](auto&, const QString& name, const auto& a) {
        if (name == "fonts" || name == "fills" || name == "cellXfs" || name == "cellStyleXfs")
            section = name;
        else if (section == "fonts" && name == "font")
            fonts.emplace_back();
        else if (section == "fonts" && name == "sz")
            fonts.back().size = attr(a, "val").toDouble();
        else if (section == "fonts" && name == "color")
            fonts.back().colour = attr(a, "rgb").right(6);
        else if (section == "fonts" && name == "name")
            fonts.back().font = attr(a, "val");
        else if (section == "fills" && name == "fill")
            fills.emplace_back();
        else if (section == "fills" && name == "fgColor")
            fills.back().fill = attr(a, "rgb").right(6);
        else if (section == "cellXfs" && name == "xf") {
            styles_.push_back(fonts.at(attr(a, "fontId").toInt()));
            styles_.back().fill = fills.at(attr(a, "fillId").toInt()).fill;
        } else if (section == "cellXfs" && name == "alignment")
            styles_.back().horizontal = attr(a, "horizontal");
    });

    std::pair<int, int> cell;
    bool sharedText = false;
    elements(data, [&](auto& r, const QString& name, const auto& a) {
        if (name == "row") {
            rowCount = std::max(rowCount, attr(a, "r").toInt());
        } else if (name == "c") {
            cell = position(attr(a, "r"));
            sharedText = attr(a, "t") == "s";
            styleOf_[cell] = attr(a, "s").toInt();
        } else if (name == "v") {
            const QString v = r.readElementText();
            texts_[cell] = sharedText ? shared.value(v.toInt()) : v;
        } else if (name == "col") {
            for (int c = attr(a, "min").toInt(); c <= attr(a, "max").toInt(); ++c)
                widths_[c - 1] = attr(a, "width").toDouble();
        } else if (name == "mergeCell") {
            merges << attr(a, "ref");
        } else if (name == "pageSetup" || name == "pageSetUpPr") {
            for (const auto& at : a) pageSetup[at.name().toString()] = at.value().toString();
        }
    });
}

QString XlsxFile::text(int row, int col) const {
    const auto it = texts_.find({row, col});
    return it == texts_.end() ? QString() : it->second;
}

QStringList XlsxFile::row(int r) const {
    int last = -1;
    for (const auto& [at, text] : texts_)
        if (at.first == r) last = std::max(last, at.second);
    QStringList out;
    for (int c = 0; c <= last; ++c) out << text(r, c);
    return out;
}

XlsxFile::Style XlsxFile::style(int row, int col) const {
    const auto it = styleOf_.find({row, col});
    return it == styleOf_.end() || it->second >= int(styles_.size()) ? Style{}
                                                                     : styles_[it->second];
}

double XlsxFile::columnWidth(int col) const {
    const auto it = widths_.find(col);
    return it == widths_.end() ? 0 : it->second;
}
