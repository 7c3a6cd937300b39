#pragma once

#include <QString>

// Message boxes and Yes/No questions, always under the title of the screen that shows them.
// Tests replace the service with a scripted one that records every message and answers the
// questions in order, so no test ever waits for a real dialog.
enum class MessageIcon { Exclamation, None };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void show(const QString& text, const QString& title, MessageIcon icon) = 0;
    // Buttons はい / いいえ; true for はい.
    virtual bool ask(const QString& text, const QString& title) = 0;
};

MessageService& messages();
// Installs another service (nullptr: the dialogs again); the caller keeps ownership.
void setMessageService(MessageService* service);

class QWidget;
// The window the dialogs open over while it lives (by default the active window): a screen sets
// itself around its messages, so a message never appears over the menu or another screen.
class MessageOwner {
public:
    explicit MessageOwner(QWidget* window);
    ~MessageOwner();
    MessageOwner(const MessageOwner&) = delete;
    MessageOwner& operator=(const MessageOwner&) = delete;

private:
    QWidget* previous_;
};

// The common forms.
inline void showExclamation(const QString& text, const QString& title) {
    messages().show(text, title, MessageIcon::Exclamation);
}
inline void showInformation(const QString& text, const QString& title) {
    messages().show(text, title, MessageIcon::None);
}
inline bool askYesNo(const QString& text, const QString& title) {
    return messages().ask(text, title);
}
