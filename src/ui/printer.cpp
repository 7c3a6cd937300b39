#include "ui/printer.h"

#include <algorithm>

#include <QFont>
#include <QFontMetricsF>

#include "data/database.h"

namespace {

PrintSink g_sink;
bool g_sinkOutputs = true;

constexpr double kMillimetresPerPoint = 25.4 / 72.0;

}  // namespace

Printer::Printer(const QString& title) {
    doc_->title = title;
    doc_->pages.emplace_back();
}

void Printer::setPaperSize(int code) {
    (void)code;
}

void Printer::print(const QString& text) {
    PrintItem item;
    item.kind = PrintItem::Kind::Text;
    item.x1 = x_;
    item.y1 = y_;
    item.text = text;
    item.font = font_;
    item.size = size_;
    item.colour = colour_;
    doc_->pages.back().items.push_back(std::move(item));
    x_ = 0;
    y_ += textHeight();
}

namespace {

// Millimetres of `text` in a font at a size, measured ten times larger so that the screen's
// pixel grid does not round the result. Sheets measure the same few fonts and sizes over and over
// (every page's header, every cell), so the metrics of each are made once.
double widthIn(const QString& font, double size, const QString& text) {
    struct Metrics {
        QString font;
        double size;
        QFontMetricsF metrics;
    };
    static std::vector<Metrics> made;
    auto it = std::find_if(made.begin(), made.end(),
                           [&](const Metrics& m) { return m.size == size && m.font == font; });
    if (it == made.end()) {
        if (made.size() >= 64) made.clear();
        QFont f(font);
        f.setPointSizeF(size * 10);
        made.push_back({font, size, QFontMetricsF(f)});
        it = made.end() - 1;
    }
    return it->metrics.horizontalAdvance(text) / 10.0 / it->metrics.fontDpi() * 25.4;
}

}  // namespace

double Printer::widthAt(double size, const QString& text) const {
    Measured key{font_, size, text};
    if (const auto it = widths_.constFind(key); it != widths_.cend()) return *it;
    const double width = widthIn(font_, size, text);
    widths_.insert(std::move(key), width);
    return width;
}

double Printer::textWidth(const QString& text) const {
    return widthAt(size_, text);
}

double Printer::sizeToFit(const QString& text, double widthMm, double size, double smallest) const {
    const double width = widthAt(size, text);
    if (width <= widthMm || width <= 0) return size;
    // Widths grow in proportion to the size; one step down keeps rounding from spilling over.
    double fitted = size * widthMm / width;
    while (fitted > smallest && widthAt(fitted, text) > widthMm) fitted -= 0.25;
    return std::max(fitted, smallest);
}

double Printer::textHeight() const {
    return size_ * kMillimetresPerPoint * 1.2;
}

PrintItem Printer::shape(PrintItem::Kind kind, double x1, double y1, double x2, double y2) const {
    PrintItem item;
    item.kind = kind;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.colour = colour_;
    item.width = width_;
    item.style = style_;
    return item;
}

void Printer::line(double x1, double y1, double x2, double y2) {
    doc_->pages.back().items.push_back(shape(PrintItem::Kind::Line, x1, y1, x2, y2));
    x_ = x2;
    y_ = y2;
}

void Printer::box(double x1, double y1, double x2, double y2) {
    doc_->pages.back().items.push_back(shape(PrintItem::Kind::Box, x1, y1, x2, y2));
    x_ = x2;
    y_ = y2;
}

void Printer::newPage() {
    doc_->pages.emplace_back();
    x_ = y_ = 0;
}

void Printer::endDoc(std::function<void(bool output)> afterPreview) {
    // The preview waits until the running operation has ended, so that the file is not held
    // while the user looks at the sheet (and a sheet built from a work table it just filled is
    // shown only once that table is stored).
    auto hand = [doc = doc_, afterPreview = std::move(afterPreview)] {
        bool output = g_sinkOutputs;
        if (g_sink)
            g_sink(*doc);
        else
            output = showPrintPreview(*doc, nullptr);
        if (afterPreview) afterPreview(output);
    };
    if (Database::isOpen())
        db().afterCommit(std::move(hand));
    else
        hand();
}

void setSinkOutputs(bool outputs) {
    g_sinkOutputs = outputs;
}

void setPrintSink(PrintSink sink) {
    g_sink = std::move(sink);
    g_sinkOutputs = true;
}
