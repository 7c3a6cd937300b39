#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QStringList>

#include "support/database_fixture.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printer.h"
#include "ui/screen.h"
#include "ui/xlsx_export.h"

// Records every message and answers the questions from a queue. A question nobody queued an
// answer for fails the test and is answered いいえ.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
        bool question;
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;

    void show(const QString& text, const QString& title, MessageIcon icon) override;
    bool ask(const QString& text, const QString& title) override;

    QStringList texts() const;
    QString last() const { return shown.empty() ? QString() : shown.back().text; }
    void clear() { shown.clear(); }
};

// Drives one screen the way a user does: fields, drop-downs, buttons, grid cells, and reads back
// what the screen shows.
class ScreenDriver {
public:
    // Takes the screen and closes it at the end, unless it belongs to somebody else (a modal
    // screen belongs to the screen that opened it).
    explicit ScreenDriver(Screen* screen, bool owns = true);
    ~ScreenDriver();
    ScreenDriver(const ScreenDriver&) = delete;

    Screen& screen() { return *screen_; }
    template <typename T = QWidget>
    T* control(const QString& name) const {
        T* w = screen_->control<T>(name);
        if (!w) ADD_FAILURE() << "no control " << name.toStdString();
        return w;
    }

    // Typing into a text box or a drop-down.
    void set(const QString& control, const QString& text);
    // Picking an entry of a drop-down: the entry is chosen and its _Click handler runs.
    void pick(const QString& combo, const QString& entry);
    // Leaving a field: its lost-focus handler runs.
    void leave(const QString& control);
    // Clicking a button, an option button or a check box.
    void click(const QString& control);
    void clickCell(const QString& grid, int row, int col);
    // The keyboard: the screen is shown and active, the focus put into a control, keys typed into
    // whatever holds the focus, and the name of the control that holds it read back.
    void showActive();
    void focus(const QString& control);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString& text);
    QString focused() const;

    QString text(const QString& control) const;
    int colour(const QString& control) const;  // text colour, palette number
    QStringList entries(const QString& combo) const;
    bool checked(const QString& control) const;
    bool visible(const QString& control) const;
    bool enabled(const QString& control) const;

    Grid& grid(const QString& name) const;
    QString cell(const QString& grid, int row, int col) const;
    int back(const QString& grid, int row, int col) const;
    int fore(const QString& grid, int row, int col) const;
    Grid::Span span(const QString& grid, int row, int col) const;

private:
    Screen* screen_;
    bool owns_;
};

// The text of a document as a real PDF reader sees it: the document is rendered to a PDF file and
// read back with a PDF reader (support/pdf_reader.h). Empty when either step fails (the test then
// fails on its content).
QString pdfText(const PrintedDocument& doc);

// A test with a fresh database, scripted messages, recorded prints and scripted modal screens.
class ScreenTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Queues the answers to the next questions (true = はい).
    void answer(std::initializer_list<bool> yesNo) {
        for (bool a : yesNo) messages.answers.push_back(a);
    }
    // Queues what happens in the next modal screen; unqueued modal screens close at once.
    void onModal(std::function<void(ScreenDriver&)> script) {
        modalScripts.push_back(std::move(script));
    }

    ScriptedMessages messages;
    std::vector<PrintedDocument> printed;
    // The save dialog records what it proposes and answers with the proposed file name in the
    // test's folder, unless an answer is queued (an empty one cancels).
    QStringList proposedSaves;
    std::deque<QString> saveAnswers;
    QStringList savedTo;
    std::deque<std::function<void(ScreenDriver&)>> modalScripts;
    QStringList modalOpened;  // form names of the modal screens opened
};
