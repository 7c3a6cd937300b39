#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>

class QWidget;

// A print document as the prints build it: A4 portrait, millimetres from the top-left corner of
// the paper, a current position, font name and size in points, ink colour by palette number,
// line width and style. Ending the document hands it to the print sink: normally the print
// preview, from which the user prints or saves a PDF; tests record it or render a real PDF.
struct PrintItem {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // text: its top-left corner
    QString text;
    QString font;
    double size = 0;  // points
    int colour = 0;
    int width = 1;  // line width: tenths of a millimetre
    int style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
};

struct PrintedPage {
    std::vector<PrintItem> items;
};

struct PrintedDocument {
    QString title;
    QString fileName;  // what "PDFで保存" proposes, without ".pdf"; the title when empty
    std::vector<PrintedPage> pages;
};

class Printer {
public:
    explicit Printer(const QString& title);
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The name a saved PDF gets by default: say what the sheet is (year, class, teacher, date).
    void setFileName(const QString& baseName) { doc_->fileName = baseName; }

    static constexpr int kPaperA4 = 9;
    void setPaperSize(int code);   // only A4 portrait (9) is printed
    void setScaleMillimetres() {}  // the only scale the prints use

    void setFontName(const QString& name) { font_ = name; }
    void setFontSize(double points) { size_ = points; }
    void setForeColor(int colour) { colour_ = colour; }
    void setDrawWidth(int width) { width_ = width; }
    void setDrawStyle(int style) { style_ = style; }

    double currentX() const { return x_; }
    double currentY() const { return y_; }
    void setCurrentX(double mm) { x_ = mm; }
    void setCurrentY(double mm) { y_ = mm; }
    void moveTo(double x, double y) { x_ = x, y_ = y; }

    // Prints at the current position (its top-left); then, as a printed line ends, the position
    // moves to the start of the next line.
    void print(const QString& text);
    double textWidth(const QString& text) const;  // millimetres in the current font
    double textHeight() const;
    // The largest size up to `size` at which `text` fits `widthMm` in the current font (never
    // below `smallest`): a long name shrinks to stay inside its cell instead of running on.
    double sizeToFit(const QString& text, double widthMm, double size, double smallest = 5) const;

    void line(double x1, double y1, double x2, double y2);
    void box(double x1, double y1, double x2, double y2);

    void newPage();
    // Ends the document and hands it to the sink (the preview). `afterPreview` runs once the
    // preview has closed, told whether the user printed or saved the document. Nothing is drawn
    // after this: the preview may still be waiting for the document.
    void endDoc(std::function<void(bool output)> afterPreview = {});

    const PrintedDocument& document() const { return *doc_; }

private:
    PrintItem shape(PrintItem::Kind kind, double x1, double y1, double x2, double y2) const;
    double widthAt(double size, const QString& text) const;

    // Shared with the preview that endDoc hands it to, instead of copied with every page.
    std::shared_ptr<PrintedDocument> doc_ = std::make_shared<PrintedDocument>();
    // Widths measured for this document, by font, size and text. A sheet sets the same texts
    // page after page (its dates, its header, the same names), and shaping a text is the
    // costliest part of laying a page out.
    struct Measured {
        QString font;
        double size;
        QString text;
        friend bool operator==(const Measured&, const Measured&) = default;
        friend size_t qHash(const Measured& m, size_t seed = 0) {
            return qHashMulti(seed, m.font, m.size, m.text);
        }
    };
    mutable QHash<Measured, double> widths_;
    QString font_ = QStringLiteral("ＭＳＰ ゴシック");
    double size_ = 10;
    int colour_ = 0;
    int width_ = 1;
    int style_ = 0;
    double x_ = 0, y_ = 0;
};

using PrintSink = std::function<void(const PrintedDocument&)>;
// Replaces where ended documents go (nullptr: the print preview again).
void setPrintSink(PrintSink sink);
// Whether a document handed to a replaced sink counts as printed or saved (true until changed;
// setting a sink sets it back): false stands for closing the preview without either.
void setSinkOutputs(bool outputs);

// Draws a document onto pages: the preview, the printer and PDF files all use this.
class QPagedPaintDevice;
void renderDocument(const PrintedDocument& doc, QPagedPaintDevice& device);
// Saves a document as a PDF file; on failure the old file is kept and `error` says why.
bool writePdf(const PrintedDocument& doc, const QString& path, QString* error = nullptr);
// Where "PDFで保存" proposes to save: the document's file name, made safe, in the user's
// documents folder.
QString proposedPdfPath(const PrintedDocument& doc);
// The same for any saved document: `baseName` made safe, with `suffix` ("pdf", "xlsx").
QString proposedSavePath(QString baseName, const QString& suffix);
// True when the user printed the document or saved it as a PDF before closing the preview.
bool showPrintPreview(const PrintedDocument& doc, QWidget* parent);
