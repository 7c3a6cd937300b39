#include "support/xlsx_reader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

quint32 le(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | quint8(b.at(at + i));
    return v;
}

// The parts of the zip archive an .xlsx file is, by name.
std::map<QString, QByteArray> unzip(const QByteArray& zip) {
    std::map<QString, QByteArray> parts;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0) return parts;
    const int count = int(le(zip, end + 10, 2));
    qsizetype at = le(zip, end + 16, 4);
    for (int i = 0; i < count && zip.mid(at, 4) == QByteArray("PK\x01\x02", 4); ++i) {
        const int method = int(le(zip, at + 10, 2));
        const quint32 packed = le(zip, at + 20, 4), size = le(zip, at + 24, 4);
        const int nameLength = int(le(zip, at + 28, 2));
        const qsizetype local = le(zip, at + 42, 4);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        at += 46 + nameLength + le(zip, at + 30, 2) + le(zip, at + 32, 2);
        const qsizetype data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
        QByteArray body = zip.mid(data, packed);
        if (method == 8) {
            QByteArray out(qsizetype(size), '\0');
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef*>(body.data());
            z.avail_in = uInt(body.size());
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            inflate(&z, Z_FINISH);
            inflateEnd(&z);
            body = out;
        }
        parts[name] = body;
    }
    return parts;
}

// Zero-based row and column of "B3".
std::pair<int, int> position(const QString& ref) {
    int col = 0, i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) col = col * 26 + (ref[i].unicode() - 'A' + 1);
    return {ref.mid(i).toInt() - 1, col - 1};
}

QString rgb(const QXmlStreamAttributes& a) {
    return a.value(QStringLiteral("rgb")).toString().right(6);
}

}  // namespace

XlsxFile::XlsxFile(const QString& path, int sheetIndex) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return;
    }
    auto parts = unzip(file.readAll());
    const QString sheetPart = QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheetIndex + 1);
    EXPECT_TRUE(parts.count(sheetPart)) << path.toStdString() << " has no such worksheet";

    QXmlStreamReader workbook(parts["xl/workbook.xml"]);
    while (!workbook.atEnd()) {
        workbook.readNext();
        if (!workbook.isStartElement()) continue;
        if (workbook.name() == QStringLiteral("sheet"))
            sheetNames << workbook.attributes().value(QStringLiteral("name")).toString();
        else if (workbook.name() == QStringLiteral("definedName") &&
                 workbook.attributes().value(QStringLiteral("localSheetId")).toInt() == sheetIndex)
            repeatedRows = workbook.readElementText().section('!', 1);
    }
    sheetName = sheetNames.value(sheetIndex);

    QStringList shared;
    QXmlStreamReader strings(parts["xl/sharedStrings.xml"]);
    while (!strings.atEnd()) {
        strings.readNext();
        if (strings.isStartElement() && strings.name() == QStringLiteral("si")) shared << QString();
        if (strings.isStartElement() && strings.name() == QStringLiteral("t"))
            shared.last() += strings.readElementText();
    }

    // Fonts and fills by number, then each cell format's pick of them.
    std::vector<Style> fonts, fills;
    QXmlStreamReader styles(parts["xl/styles.xml"]);
    QString section;
    while (!styles.atEnd()) {
        styles.readNext();
        if (!styles.isStartElement()) continue;
        const auto name = styles.name().toString();
        const QXmlStreamAttributes a = styles.attributes();
        if (name == "fonts" || name == "fills" || name == "cellXfs" || name == "cellStyleXfs")
            section = name;
        else if (name == "font" && section == "fonts")
            fonts.emplace_back();
        else if (name == "sz" && section == "fonts")
            fonts.back().size = a.value(QStringLiteral("val")).toDouble();
        else if (name == "color" && section == "fonts")
            fonts.back().colour = rgb(a);
        else if (name == "name" && section == "fonts")
            fonts.back().font = a.value(QStringLiteral("val")).toString();
        else if (name == "fill" && section == "fills")
            fills.emplace_back();
        else if (name == "fgColor" && section == "fills")
            fills.back().fill = rgb(a);
        else if (name == "xf" && section == "cellXfs") {
            Style s = fonts.at(a.value(QStringLiteral("fontId")).toInt());
            s.fill = fills.at(a.value(QStringLiteral("fillId")).toInt()).fill;
            styles_.push_back(s);
        } else if (name == "alignment" && section == "cellXfs")
            styles_.back().horizontal = a.value(QStringLiteral("horizontal")).toString();
    }

    QXmlStreamReader sheet(parts[sheetPart]);
    QString cell, type;
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (!sheet.isStartElement()) continue;
        const auto name = sheet.name().toString();
        const QXmlStreamAttributes a = sheet.attributes();
        auto attributes = [&](std::map<QString, QString>& into) {
            for (const auto& attr : a) into[attr.name().toString()] = attr.value().toString();
        };
        if (name == "row") {
            rows_ = std::max(rows_, a.value(QStringLiteral("r")).toInt());
        } else if (name == "c") {
            cell = a.value(QStringLiteral("r")).toString();
            type = a.value(QStringLiteral("t")).toString();
            styleOf_[cell] = a.value(QStringLiteral("s")).toInt();
        } else if (name == "v") {
            const QString v = sheet.readElementText();
            texts_[cell] = type == "s" ? shared.value(v.toInt()) : v;
        } else if (name == "col") {
            for (int c = a.value(QStringLiteral("min")).toInt();
                 c <= a.value(QStringLiteral("max")).toInt(); ++c)
                widths_[c - 1] = a.value(QStringLiteral("width")).toDouble();
        } else if (name == "mergeCell") {
            merges << a.value(QStringLiteral("ref")).toString();
        } else if (name == "pageSetup") {
            attributes(pageSetup);
        } else if (name == "pageSetUpPr" || name == "printOptions") {
            attributes(sheetProps);
        }
    }
}

QString XlsxFile::ref(int row, int col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar('A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

QString XlsxFile::text(int row, int col) const {
    const auto it = texts_.find(ref(row, col));
    return it == texts_.end() ? QString() : it->second;
}

QStringList XlsxFile::row(int r) const {
    QStringList out;
    int last = -1;
    for (const auto& [at, text] : texts_) {
        const auto [row, col] = position(at);
        if (row == r) last = std::max(last, col);
    }
    for (int c = 0; c <= last; ++c) out << text(r, c);
    return out;
}

const XlsxFile::Style* XlsxFile::styleAt(int row, int col) const {
    const auto it = styleOf_.find(ref(row, col));
    if (it == styleOf_.end() || it->second >= int(styles_.size())) return nullptr;
    return &styles_[it->second];
}

QString XlsxFile::fill(int row, int col) const {
    const Style* s = styleAt(row, col);
    return s ? s->fill : QString();
}
QString XlsxFile::colour(int row, int col) const {
    const Style* s = styleAt(row, col);
    return s ? s->colour : QString();
}
QString XlsxFile::font(int row, int col) const {
    const Style* s = styleAt(row, col);
    return s ? s->font : QString();
}
double XlsxFile::fontSize(int row, int col) const {
    const Style* s = styleAt(row, col);
    return s ? s->size : 0;
}
QString XlsxFile::horizontal(int row, int col) const {
    const Style* s = styleAt(row, col);
    return s ? s->horizontal : QString();
}

double XlsxFile::columnWidth(int col) const {
    const auto it = widths_.find(col);
    return it == widths_.end() ? 0 : it->second;
}
