#include "ui/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>

namespace {

QPointer<QWidget> g_owner;

QWidget* owner() {
    return g_owner ? g_owner.data() : QApplication::activeWindow();
}

// A message box is as wide as its text; a long screen title would be cut ("時限コ…・照会").
// A spacer in the box's own grid keeps it wide enough for the title.
void fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

class DialogMessages : public MessageService {
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override {
        QMessageBox box(
            icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title,
            text, QMessageBox::Ok, owner());
        fitTitle(box);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }

    bool ask(const QString& text, const QString& title) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, owner());
        QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        // The questions go on to delete, replace or overwrite: a Return typed once too often
        // must stop, never go on.
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        fitTitle(box);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return box.clickedButton() == yes;
    }
};

DialogMessages g_dialogs;
MessageService* g_service = nullptr;

}  // namespace

MessageOwner::MessageOwner(QWidget* window) : previous_(g_owner) {
    g_owner = window;
}

MessageOwner::~MessageOwner() {
    g_owner = previous_;
}

MessageService& messages() {
    return g_service ? *g_service : g_dialogs;
}

void setMessageService(MessageService* service) {
    g_service = service;
}
