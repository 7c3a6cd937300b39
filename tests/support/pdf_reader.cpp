#include "support/pdf_reader.h"

#include <memory>

#include <poppler-qt6.h>

PdfContent readPdf(const QString& path) {
    PdfContent out;
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
    if (!doc || doc->isLocked()) return out;
    out.pages = doc->numPages();
    for (int i = 0; i < out.pages; ++i) {
        const std::unique_ptr<Poppler::Page> page = doc->page(i);
        if (!page) return {};
        if (i == 0) out.pageSize = page->pageSizeF();
        out.text += page->text(QRectF(), Poppler::Page::PhysicalLayout) + u'\f';
    }
    return out;
}
