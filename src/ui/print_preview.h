#pragma once

#include <functional>

#include <QString>

class QPagedPaintDevice;
class QWidget;

// The print preview and the printer (Qt's print support, with the printing system's libraries it
// brings) are a module loaded at the first preview (see data/module_loader.h): most starts print
// nothing. What draws the pages stays in the program; the module asks for it through the request.
inline const QString kPrintModule = QStringLiteral("jikanwari-print");

struct PrintPreviewRequest {
    QString title;
    QWidget* parent = nullptr;
    std::function<void(QPagedPaintDevice& device)> setUpPage;  // paper, orientation, margins
    std::function<void(QPagedPaintDevice& device)> render;     // every page onto the device
    // "PDFで保存" on the preview's tool bar: asks where and saves; true once saved.
    std::function<bool(QWidget* preview)> savePdf;
};

// Shows the preview; true when the user printed the pages (or saved them through savePdf).
extern "C" Q_DECL_EXPORT bool jikanwariShowPrintPreview(const PrintPreviewRequest* request);
