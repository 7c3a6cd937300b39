// The print preview with Qt's print support. A module of its own (see kPrintModule in
// print_preview.h); it draws nothing itself.

#include "ui/print_preview.h"

#include <QAction>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

extern "C" Q_DECL_EXPORT bool jikanwariShowPrintPreview(const PrintPreviewRequest* request) {
    const PrintPreviewRequest& r = *request;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(r.title);
    printer.setFullPage(true);
    r.setUpPage(printer);
    QPrintPreviewDialog preview(&printer, r.parent);
    bool saved = false;
    preview.setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(r.title));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&r](QPrinter* target) { r.render(*target); });
    if (QToolBar* bar = preview.findChild<QToolBar*>()) {
        QAction* save = bar->addAction(QStringLiteral("PDFで保存"));
        QObject::connect(save, &QAction::triggered, &preview, [&r, &preview, &saved] {
            if (r.savePdf(&preview)) saved = true;
        });
    }
    // A whole A4 page where the display allows, and never larger than the display.
    QSize size(900, 1000);
    if (const QScreen* screen = r.parent ? r.parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    preview.resize(size);
    // The dialog is accepted only when its print action has sent the pages to a printer.
    return preview.exec() == QDialog::Accepted || saved;
}
