#include "ui/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class DialogMessages : public MessageService {
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override {
        QMessageBox box(
            icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title,
            text, QMessageBox::Ok, QApplication::activeWindow());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }

    bool ask(const QString& text, const QString& title) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton,
                        QApplication::activeWindow());
        QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return box.clickedButton() == yes;
    }
};

DialogMessages g_dialogs;
MessageService* g_service = nullptr;

}  // namespace

MessageService& messages() {
    return g_service ? *g_service : g_dialogs;
}

void setMessageService(MessageService* service) {
    g_service = service;
}
