#pragma once

#include <QSizeF>
#include <QString>

// A PDF file as a reader sees it, read in the test process through Poppler: its text laid out as
// on the page, each page ending in a form feed (as pdftotext writes it), and the first page's
// size in points. Empty when the file is no readable PDF.
struct PdfContent {
    QString text;
    int pages = 0;
    QSizeF pageSize;
};
PdfContent readPdf(const QString& path);
