#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QString>

class QWidget;
class QProgressDialog;

// How far a long piece of work has got (a term-end run, a reorganization, an import), in a
// progress dialog over the screen that runs it. The dialog shows only when the work takes more
// than a moment; while it shows it is modal, so the user sees the work go on and the windows keep
// painting, but no other action can start in the middle of this one. It cannot be cancelled: the
// work is one operation and ends as a whole.
class Progress {
public:
    Progress(QWidget* owner, const QString& label, int steps);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void setLabel(const QString& text);
    void advance(int steps = 1);
    // Within a long step: lets the windows paint now and then.
    void keepAlive() { refresh(); }

    int value() const { return value_; }
    QProgressDialog* dialog() const { return dialog_.get(); }

    // How long work runs before the dialog shows (tests show it at once).
    static void setShowDelay(int milliseconds);

private:
    void refresh();

    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer started_, sincePaint_;
    int value_ = 0;
    int steps_ = 0;
};
