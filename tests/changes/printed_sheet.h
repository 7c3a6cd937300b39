#pragma once

#include <initializer_list>

#include <QStringList>

#include "ui/printer.h"

// Reading a recorded sheet back: which text stands where, in what size.
inline const PrintItem* textOn(const PrintedPage& page, const QString& text) {
    for (const PrintItem& i : page.items)
        if (i.kind == PrintItem::Kind::Text && i.text == text) return &i;
    return nullptr;
}

inline const PrintItem* textAt(const PrintedPage& page, double x, double y) {
    for (const PrintItem& i : page.items)
        if (i.kind == PrintItem::Kind::Text && qAbs(i.x1 - x) < 1e-9 && qAbs(i.y1 - y) < 1e-9)
            return &i;
    return nullptr;
}

// "text @ x,y size s", so that one comparison shows every text that is off.
inline QString placed(const PrintItem* item) {
    if (!item) return QStringLiteral("(not printed)");
    return QStringLiteral("%1 @ %2,%3 size %4")
        .arg(item->text)
        .arg(item->x1)
        .arg(item->y1)
        .arg(item->size);
}

// The texts at positions given as x, y, x, y, ...
inline QStringList placedAt(const PrintedPage& page, std::initializer_list<double> xy) {
    QStringList out;
    for (auto i = xy.begin(); i != xy.end() && i + 1 != xy.end(); i += 2)
        out << placed(textAt(page, i[0], i[1]));
    return out;
}

// Where a text ends, in its font and size.
inline double rightEdge(const PrintItem& item) {
    Printer probe(QString{});
    probe.setFontName(item.font);
    probe.setFontSize(item.size);
    return item.x1 + probe.textWidth(item.text);
}
