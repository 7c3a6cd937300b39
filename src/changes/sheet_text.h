#pragma once

#include <QString>

#include "ui/printer.h"

// The way the sheets of the lesson changes set their texts: at a position, in a size, in black.
inline void printAt(Printer& p, double x, double y, double size, const QString& text) {
    p.setFontSize(size);
    p.moveTo(x, y);
    p.print(text);
}

// The same for a text that must stay inside its cell: set smaller when it would run over `room`
// millimetres into the next cell.
// An empty text prints nothing.
inline void printIn(Printer& p, double x, double y, double size, double room, const QString& text) {
    if (text.isEmpty()) return;
    printAt(p, x, y, p.sizeToFit(text, room, size), text);
}

// Starts a page of a sheet: the printer starts on its first page, every later one is new.
inline void startPage(Printer& p, int& pages) {
    if (pages++ > 0) p.newPage();
}
