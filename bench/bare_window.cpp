// A bare Qt window, the yardstick of the program's start-up: QApplication, one widget of the
// menu's size with a label, shown and painted once.

#include <QApplication>
#include <QLabel>

#include "ui/first_paint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("時間割"));
    window.resize(640, 480);
    window.show();
    quitAfterPaint(window);
    return app.exec();
}
