#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

// Ends the application once the window has been painted the first time: start-up is measured to
// the painted window, for the program and for a bare Qt window alike (which links nothing else,
// hence a header).
inline void quitAfterPaint(QWidget& window) {
    class PaintWatch : public QObject {
    public:
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint && !seen_) {
                seen_ = true;
                // After the paint has been delivered, not within it.
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return false;
        }

    private:
        bool seen_ = false;
    };
    window.installEventFilter(new PaintWatch(&window));
}
