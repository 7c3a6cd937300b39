#include "common/progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressDialog>

namespace {

int g_showDelay = 400;
constexpr int kPaintEvery = 50;  // milliseconds

// Neither Esc nor the window's close button ends the dialog: the work behind it goes on, and
// without the dialog the other windows would take clicks in the middle of it.
class ProgressDialog : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) return;
        QProgressDialog::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
    void reject() override {}
};

}  // namespace

void Progress::setShowDelay(int milliseconds) {
    g_showDelay = milliseconds;
}

Progress::Progress(QWidget* owner, const QString& label, int steps)
    : dialog_(std::make_unique<ProgressDialog>(label, QString(), 0, std::max(steps, 1),
                                               owner ? owner->window() : nullptr)),
      steps_(std::max(steps, 1)) {
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumWidth(360);
    dialog_->setCancelButton(nullptr);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    if (owner) dialog_->setWindowTitle(owner->window()->windowTitle());
    // Shown by refresh() alone, so that events are let through only while it is up.
    dialog_->setMinimumDuration(std::numeric_limits<int>::max());
    dialog_->hide();
    started_.start();
    sincePaint_.start();
}

Progress::~Progress() = default;

void Progress::setLabel(const QString& text) {
    dialog_->setLabelText(text);
    refresh();
}

void Progress::advance(int steps) {
    value_ = std::min(value_ + steps, steps_);
    refresh();
}

void Progress::refresh() {
    if (!dialog_->isVisible()) {
        if (started_.elapsed() < g_showDelay) return;
        dialog_->show();
    } else if (sincePaint_.elapsed() < kPaintEvery) {
        return;
    }
    dialog_->setValue(value_);
    sincePaint_.restart();
    QCoreApplication::processEvents();
}
