#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "context/work_context.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Grid;

// The base of every screen: one window named after its form, with the screen's working values,
// its controls (each named as documented, so a control can be found by name), the wiring of
// click and lost-focus handlers, and the boundary every handler runs behind: one database
// operation per user action, and an engine error shown once, rolled back, the screen still usable.
class Screen : public QWidget {
public:
    // A screen opened by another one modally works on the caller's values.
    Screen(const QString& formName, const QString& caption, Screen* caller = nullptr);
    ~Screen() override;

    const QString& formName() const { return formName_; }
    WorkContext& ctx() { return *ctx_; }
    std::shared_ptr<WorkContext> sharedContext() const { return ctx_; }

    // Runs one event handler as one operation. Nested calls run inside the outer one.
    void run(const std::function<void()>& handler);

    // Messages under this screen's title. Once the running operation has written, a message
    // waits until the commit has gone through and is dropped when it fails: the user never reads
    // "stored" about something that was not.
    void showMessage(const QString& text);       // exclamation icon and OK
    void showPlainMessage(const QString& text);  // OK without icon
    // はい / いいえ. A question after writes first stores them, so that their messages come first.
    bool ask(const QString& text);

    // Runs `action` once the running operation has committed (at once outside one); dropped when
    // the operation fails. For in-memory state that mirrors what was written.
    void afterCommit(std::function<void()> action);

    // Tab order: fields and buttons in the order the layouts place them (top to bottom, left to
    // right), which is the order a user reads the screen in. Done when the screen is first shown.
    void orderTabsByLayout();

    // Lost focus: the handler runs when the focus leaves the control for another control of the
    // same window (not when a message box or another window takes it).
    void onLostFocus(QWidget* control, std::function<void()> handler);
    // A leave check that reports: run on its own (an earlier failure neither silences it nor
    // leaves a stale mark), and a field left in error says why, never just pulls the focus back.
    void onLostFocusReported(QWidget* control, std::function<void()> check);
    void fireLostFocus(QWidget* control);  // as if the user left the control

    // The input the focus returns to after storing, deleting or clearing: by default the first
    // field in tab order; a screen whose work starts elsewhere (a grid) names it.
    void setFirstInput(QWidget* input) { firstInput_ = input; }
    QWidget* firstInput() const;

    // Esc closes the screen as its 終了 does, unless the screen is the one that ends the program.
    void setEscapeCloses(bool closes) { escapeCloses_ = closes; }

    // Tab position 0: the field gets the focus when the running event has finished.
    void setTabFirst(QWidget* field);
    QWidget* tabFirst() const { return tabFirst_; }

    // Shows a sub-screen modally (it shares this screen's values) and returns when it closes.
    void showModal(Screen* sub);
    // Tests take over modal screens: the runner gets the open sub-screen and closes it by
    // returning. nullptr restores the real event loop.
    static void setModalRunner(std::function<void(Screen&)> runner);

    // Finds a control by its documented name.
    template <typename T = QWidget>
    T* control(const QString& name) const {
        return findChild<T*>(name);
    }

protected:
    // Control builders: each control gets its documented name as objectName.
    QLineEdit* textBox(const char* name, int maxLength = 0);
    QComboBox* comboBox(const char* name, std::function<void()> onClick = {});
    QPushButton* button(const char* name, const QString& caption, std::function<void()> onClick);
    QRadioButton* option(const char* name, const QString& caption,
                         std::function<void()> onClick = {});
    QCheckBox* checkBox(const char* name, const QString& caption,
                        std::function<void()> onClick = {});
    QLabel* label(const char* name, const QString& text = QString());
    Grid* grid(const char* name, std::function<void(int row, int col)> onClick = {});
    // A caption and its control side by side, for the layouts.
    QWidget* labelled(const QString& caption, QWidget* control);
    // Buttons in rows of `perRow`, in reading order (nullptr leaves its cell empty): a column of
    // buttons beside a grid, narrow enough for the screen to fit a small display whole.
    static QGridLayout* buttonRows(int perRow, std::initializer_list<QWidget*> buttons);

    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusTabFirst();
    void moveFocusTo(QWidget* w);
    void watchKeys();
    void pressKeyButton(int key);
    void placeWindow(const QRect& over);
    void deferUntilStored(std::function<void()> show);

    QString formName_;
    std::shared_ptr<WorkContext> ctx_;
    std::vector<std::pair<QWidget*, std::function<void()>>> lostFocus_;
    QPointer<QWidget> tabFirst_;
    bool focusRequested_ = false;
    int depth_ = 0;
    bool movingFocus_ = false;
    std::function<void()> onClosed_;
    QPointer<Screen> caller_;  // the screen a modal sub-screen opens over
    bool shownOnce_ = false;
    bool modal_ = false;
    QPointer<QWidget> firstInput_;
    int focusMoves_ = 0;
    bool escapeCloses_ = true;  // counts the focus moves a handler asked for
};
