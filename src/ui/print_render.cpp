#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QPainter>
#include <QPdfWriter>

#include "data/module_loader.h"
#include "ui/file_save.h"
#include "ui/messages.h"
#include "ui/palette.h"
#include "ui/print_preview.h"
#include "ui/printer.h"

namespace {

Qt::PenStyle penStyle(int style) {
    switch (style) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        case 5:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

void renderPage(QPainter& p, const PrintedPage& page, double pxPerMm) {
    for (const PrintItem& item : page.items) {
        if (item.kind == PrintItem::Kind::Text) {
            QFont f(item.font);
            f.setPointSizeF(item.size);
            p.setFont(f);
            p.setPen(paletteColor(item.colour));
            // The position is the text's top-left corner; the text is never clipped.
            const double ascent = QFontMetricsF(f, p.device()).ascent();
            p.drawText(QPointF(item.x1 * pxPerMm, item.y1 * pxPerMm + ascent), item.text);
        } else {
            QPen pen(paletteColor(item.colour));
            pen.setWidthF(std::max(1.0, item.width * 0.1 * pxPerMm));
            pen.setStyle(penStyle(item.style));
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            const QPointF a(item.x1 * pxPerMm, item.y1 * pxPerMm);
            const QPointF b(item.x2 * pxPerMm, item.y2 * pxPerMm);
            if (item.kind == PrintItem::Kind::Line)
                p.drawLine(a, b);
            else
                p.drawRect(QRectF(a, b).normalized());
        }
    }
}

void setUpA4(QPagedPaintDevice& device) {
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

}  // namespace

void renderDocument(const PrintedDocument& doc, QPagedPaintDevice& device) {
    QPainter p(&device);
    // Coordinates are millimetres from the paper's corner, whatever margin the device keeps.
    const double pxPerMm = device.logicalDpiX() / 25.4;
    const QRectF paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    p.translate(-paint.left(), -paint.top());
    bool first = true;
    for (const PrintedPage& page : doc.pages) {
        if (!first) device.newPage();
        first = false;
        renderPage(p, page, pxPerMm);
    }
}

bool writePdf(const PrintedDocument& doc, const QString& path, QString* error) {
    // The PDF is built in memory and saved whole, so that a failed save never leaves a cut-off
    // file in place of the one the user had.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setTitle(doc.title);
        pdf.setCreator(QStringLiteral("時間割"));
        setUpA4(pdf);
        renderDocument(doc, pdf);
    }
    return saveFile(path, buffer.data(), error);
}

QString proposedSavePath(QString name, const QString& suffix) {
    // Characters no file system of the schools' machines takes in a name.
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\s]+"));
    name = name.replace(unsafe, QStringLiteral("_"));
    if (name.isEmpty()) name = QStringLiteral("印刷");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(name + '.' + suffix);
}

QString proposedPdfPath(const PrintedDocument& doc) {
    return proposedSavePath(doc.fileName.isEmpty() ? doc.title : doc.fileName,
                            QStringLiteral("pdf"));
}

bool showPrintPreview(const PrintedDocument& doc, QWidget* parent) {
    QString error;
    const auto entry = reinterpret_cast<bool (*)(const PrintPreviewRequest*)>(
        moduleEntry(kPrintModule, "jikanwariShowPrintPreview", &error));
    if (!entry) {
        showExclamation(QStringLiteral("印刷プレビューを表示できませんでした。\n%1").arg(error),
                        doc.title);
        return false;
    }
    PrintPreviewRequest request;
    request.title = doc.title;
    request.parent = parent;
    request.setUpPage = [](QPagedPaintDevice& device) { setUpA4(device); };
    request.render = [&doc](QPagedPaintDevice& device) { renderDocument(doc, device); };
    request.savePdf = [&doc](QWidget* preview) {
        const QString path =
            QFileDialog::getSaveFileName(preview, QStringLiteral("PDFで保存"),
                                         proposedPdfPath(doc), QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty()) return false;
        QString why;
        if (!writePdf(doc, path, &why)) {
            showExclamation(QStringLiteral("「%1」に保存できませんでした。\n%2")
                                .arg(QDir::toNativeSeparators(path), why),
                            doc.title);
            return false;
        }
        showInformation(
            QStringLiteral("「%1」に保存しました。").arg(QDir::toNativeSeparators(path)),
            doc.title);
        return true;
    };
    return entry(&request);
}
