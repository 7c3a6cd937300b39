#pragma once

#include <QStringList>

#include "ui/printer.h"

// Reading a recorded sheet back: the texts of a page and where they stand.
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

inline QStringList textsOn(const PrintedPage& page) {
    QStringList out;
    for (const PrintItem& i : page.items)
        if (i.kind == PrintItem::Kind::Text) out << i.text;
    return out;
}

// Where and how large a text is printed, for one comparison per text.
inline QString placed(const PrintItem* item) {
    if (!item) return QStringLiteral("(not printed)");
    return QStringLiteral("%1 @ %2,%3 size %4")
        .arg(item->text)
        .arg(item->x1)
        .arg(item->y1)
        .arg(item->size);
}
