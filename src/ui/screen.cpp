#include "ui/screen.h"

#include <algorithm>
#include <map>
#include <tuple>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QShortcut>
#include <QAbstractSpinBox>

#include "data/database.h"
#include "ui/fields.h"
#include "ui/function_keys.h"
#include "ui/grid.h"
#include "ui/messages.h"

namespace {
std::function<void(Screen&)> g_modalRunner;
// Where the user last left each screen, so that it opens there again.
std::map<QString, QPoint>& lastPlaces() {
    static std::map<QString, QPoint> places;
    return places;
}
// After these the clerk starts the next entry, so the focus goes back to the first input.
bool startsNextEntry(const QString& button) {
    for (const char* name : {"B確定", "確定", "B削除", "削除", "Bクリア"})
        if (button == QString::fromUtf8(name)) return true;
    return false;
}
void collectTabStops(QLayout* layout, std::vector<QWidget*>& out);
bool isInput(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || dynamic_cast<const Grid*>(w);
}
}  // namespace

Screen::Screen(const QString& formName, const QString& caption, Screen* caller)
    : formName_(formName),
      ctx_(caller ? caller->sharedContext() : std::make_shared<WorkContext>()) {
    setObjectName(formName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    // The function keys work wherever the focus is in the window; Esc leaves as 終了 does.
    for (int key : functionKeys()) {
        auto* sc = new QShortcut(QKeySequence(key), this);
        connect(sc, &QShortcut::activated, this, [this, key] { pressKeyButton(key); });
    }
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] { pressKeyButton(Qt::Key_Escape); });
}

Screen::~Screen() = default;

void Screen::run(const std::function<void()>& handler) {
    if (depth_ > 0) {
        handler();
        return;
    }
    ++depth_;
    try {
        if (Database::isOpen()) {
            Operation op;
            handler();
            op.commit();
        } else {
            handler();
        }
    } catch (const DbError& e) {
        // A file in use or a full disk is nothing wrong with the data: say just that.
        if (e.kind() != DbError::Kind::Other)
            showMessage(e.message() + QStringLiteral("\nこの操作による変更は取り消されました。"));
        else
            showMessage(
                QStringLiteral("データベースの処理に失敗しました。\n%1\nこの操作による変更は"
                               "取り消されました。")
                    .arg(e.message()));
    } catch (const std::exception& e) {
        showMessage(QStringLiteral("処理中に予期しないエラーが発生しました。\n%"
                                   "1\nこの操作による変更は取り消されました。")
                        .arg(QString::fromUtf8(e.what())));
    }
    --depth_;
    focusTabFirst();
}

void Screen::showMessage(const QString& text) {
    const QString title = ctx_->title;
    deferUntilStored([text, title, self = QPointer<Screen>(this)] {
        MessageOwner over(self);
        showExclamation(text, title);
    });
}
void Screen::showPlainMessage(const QString& text) {
    const QString title = ctx_->title;
    deferUntilStored([text, title, self = QPointer<Screen>(this)] {
        MessageOwner over(self);
        showInformation(text, title);
    });
}

void Screen::deferUntilStored(std::function<void()> show) {
    // A message before any write shows at once, in turn with the questions around it; one after
    // work that waits for the commit (a write, a print) waits too, and comes after it.
    if (Database::isOpen() && (db().hasWrites() || db().hasAfterCommit()))
        db().afterCommit(std::move(show));
    else
        show();
}

bool Screen::ask(const QString& text) {
    if (Database::isOpen() && db().hasAfterCommit() && db().operationDepth() == 1) {
        db().commit();
        db().begin();
    }
    MessageOwner over(this);
    return askYesNo(text, ctx_->title);
}

void Screen::afterCommit(std::function<void()> action) {
    if (Database::isOpen())
        db().afterCommit(std::move(action));
    else
        action();
}

void Screen::onLostFocus(QWidget* control, std::function<void()> handler) {
    lostFocus_.emplace_back(control, std::move(handler));
    control->installEventFilter(this);
    if (auto* c = qobject_cast<QComboBox*>(control); c && c->lineEdit())
        c->lineEdit()->installEventFilter(this);
}

void Screen::onLostFocusReported(QWidget* control, std::function<void()> check) {
    onLostFocus(control, [this, check = std::move(check)] {
        ctx_->resetReporting();
        check();
        if (ctx_->errorFlag == 1 && !ctx_->message.isEmpty()) showMessage(ctx_->message);
    });
}

void Screen::fireLostFocus(QWidget* control) {
    for (auto& [w, handler] : lostFocus_)
        if (w == control) run(handler);
}

bool Screen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Return moves on to the next input, Shift+Return back, as in Japanese office software;
        // the field's leave check runs as the focus leaves it.
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
            focusNextPrevChild(mods == Qt::NoModifier);
            return true;
        }
        // Arrow keys on option buttons would pick the neighbouring option unseen (the kind of
        // lesson, say); they move the focus instead and only Space or a click chooses.
        if (qobject_cast<QRadioButton*>(watched)) {
            const int k = key->key();
            if (k == Qt::Key_Up || k == Qt::Key_Left || k == Qt::Key_Down || k == Qt::Key_Right) {
                focusNextPrevChild(k == Qt::Key_Down || k == Qt::Key_Right);
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusOut && !movingFocus_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            QWidget* w = qobject_cast<QWidget*>(watched);
            // The line edit inside a drop-down reports for the drop-down.
            if (w && qobject_cast<QComboBox*>(w->parentWidget())) w = w->parentWidget();
            QWidget* next = QApplication::focusWidget();
            const bool staysInside = next && (next == w || w->isAncestorOf(next));
            if (w && !staysInside) fireLostFocus(w);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Screen::setTabFirst(QWidget* field) {
    tabFirst_ = field;
    focusRequested_ = true;
}

void Screen::focusTabFirst() {
    if (!focusRequested_ || !tabFirst_) return;
    focusRequested_ = false;
    ++focusMoves_;
    moveFocusTo(tabFirst_);
}

void Screen::moveFocusTo(QWidget* w) {
    // Moving the focus is not the user leaving a field: no lost-focus check runs for it.
    movingFocus_ = true;
    w->setFocus(Qt::OtherFocusReason);
    movingFocus_ = false;
}

QWidget* Screen::firstInput() const {
    if (firstInput_) return firstInput_;
    if (!layout()) return nullptr;
    std::vector<QWidget*> stops;
    collectTabStops(layout(), stops);
    for (QWidget* w : stops)
        if (isInput(w) && w->isEnabled() && !w->isHidden()) return w;
    return nullptr;
}

void Screen::pressKeyButton(int key) {
    if (key == Qt::Key_Escape && !escapeCloses_) return;
    // The first shown and enabled button with this key, as a click on it would find it.
    for (auto* b : findChildren<QPushButton*>()) {
        const int k = functionKeyFor(b->objectName());
        const bool match = key == Qt::Key_Escape ? k == Qt::Key_F12 : k == key;
        if (!match || !b->isVisibleTo(this) || !b->isEnabled()) continue;
        // The focus goes to the button first, as with the mouse, so the field being left is
        // checked before the button acts.
        b->setFocus(Qt::ShortcutFocusReason);
        b->click();
        return;
    }
    if (key == Qt::Key_Escape) close();
}

void Screen::watchKeys() {
    for (QWidget* w : findChildren<QWidget*>()) {
        const bool field = isInput(w) && !dynamic_cast<Grid*>(w);
        const bool choice = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
        if (field || choice) w->installEventFilter(this);
    }
}

void Screen::setModalRunner(std::function<void(Screen&)> runner) {
    g_modalRunner = std::move(runner);
}

namespace {

void collectTabStops(QLayout* layout, std::vector<QWidget*>& out);

void collectTabStops(QLayoutItem* item, std::vector<QWidget*>& out) {
    if (!item) return;
    if (QLayout* inner = item->layout()) {
        collectTabStops(inner, out);
    } else if (QWidget* w = item->widget()) {
        if (w->layout() && !dynamic_cast<Grid*>(w))
            collectTabStops(w->layout(), out);  // a frame or a caption beside its control
        else if (w->focusPolicy() & Qt::TabFocus)
            out.push_back(w);
    }
}

void collectTabStops(QLayout* layout, std::vector<QWidget*>& out) {
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        for (int r = 0; r < form->rowCount(); ++r)
            for (auto role :
                 {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                collectTabStops(form->itemAt(r, role), out);
        return;
    }
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        std::vector<std::tuple<int, int, QLayoutItem*>> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int r, c, rs, cs;
            grid->getItemPosition(i, &r, &c, &rs, &cs);
            cells.emplace_back(r, c, grid->itemAt(i));
        }
        std::stable_sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
            return std::tie(std::get<0>(a), std::get<1>(a)) <
                   std::tie(std::get<0>(b), std::get<1>(b));
        });
        for (const auto& cell : cells) collectTabStops(std::get<2>(cell), out);
        return;
    }
    for (int i = 0; i < layout->count(); ++i) collectTabStops(layout->itemAt(i), out);
}

}  // namespace

void Screen::orderTabsByLayout() {
    if (!layout()) return;
    std::vector<QWidget*> stops;
    collectTabStops(layout(), stops);
    for (size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

void Screen::showEvent(QShowEvent* e) {
    if (!shownOnce_) {
        shownOnce_ = true;
        orderTabsByLayout();
        watchKeys();
        if (!modal_) {
            QWidget* menu = QApplication::activeWindow();
            placeWindow(menu && menu != this ? menu->frameGeometry() : QRect());
        }
    }
    QWidget::showEvent(e);
}

void Screen::keyPressEvent(QKeyEvent* e) {
    // The shortcuts take these keys in an active window; a key that reaches the screen all the
    // same (a window not yet active) acts alike.
    const auto keys = functionKeys();
    const int key = QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key()))
                        .toCombined();
    if (key == Qt::Key_Escape || std::find(keys.begin(), keys.end(), key) != keys.end()) {
        pressKeyButton(key);
        return;
    }
    QWidget::keyPressEvent(e);
}

void Screen::placeWindow(const QRect& over) {
    adjustSize();
    const QScreen* display = screen();
    const QRect room = display ? display->availableGeometry() : QRect();
    if (!room.isValid()) return;
    // The window manager's title bar and borders, guessed while the window has none yet.
    const QSize frame = frameGeometry().size() - size();
    const QSize border = frame.expandedTo(QSize(16, 40));
    // Whole on the display: a screen taller or wider than it shrinks (its grids scroll).
    const QSize fit = room.size() - border;
    const QSize least = minimumSizeHint();
    if (layout() && (least.width() > fit.width() || least.height() > fit.height())) {
        // Too large even at its least: the screen scrolls inside its window instead.
        auto* inner = new QWidget;
        inner->setLayout(layout());
        auto* scroll = new QScrollArea(this);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(inner);
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(scroll);
        // The old layout had fixed the window's least size; the scroll area sets its own.
        setMinimumSize(0, 0);
        resize(std::min(least.width() + 20, fit.width()),
               std::min(least.height() + 20, fit.height()));
    }
    if (width() > fit.width() || height() > fit.height())
        resize(std::min(width(), fit.width()), std::min(height(), fit.height()));
    QRect g(QPoint(), size() + frame);
    const auto last = lastPlaces().find(formName_);
    if (last != lastPlaces().end() && !modal_)
        g.moveTopLeft(last->second);
    else
        g.moveCenter((over.isValid() ? over : room).center());
    g.moveLeft(
        std::clamp(g.left(), room.left(), std::max(room.left(), room.right() + 1 - g.width())));
    g.moveTop(
        std::clamp(g.top(), room.top(), std::max(room.top(), room.bottom() + 1 - g.height())));
    move(g.topLeft());
}

void Screen::showModal(Screen* sub) {
    sub->modal_ = true;
    sub->caller_ = this;
    // Over the screen that opened it (over the middle of the display while that is not shown).
    sub->placeWindow(isVisible() ? frameGeometry() : QRect());
    // The sub-screen's actions are operations of their own: what this handler wrote so far is
    // committed first, and a fresh operation carries on afterwards.
    const bool suspend = Database::isOpen() && db().operationDepth() == 1;
    if (suspend) db().commit();
    if (g_modalRunner) {
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        g_modalRunner(*sub);
        delete sub;
    } else {
        QEventLoop loop;
        sub->onClosed_ = [&loop] { loop.quit(); };
        sub->setWindowModality(Qt::ApplicationModal);
        sub->show();
        loop.exec();
    }
    if (suspend) db().begin();
}

void Screen::closeEvent(QCloseEvent* e) {
    if (isVisible()) lastPlaces()[formName_] = pos();
    QWidget::closeEvent(e);
    if (e->isAccepted() && onClosed_) onClosed_();
}

QLineEdit* Screen::textBox(const char* name, int maxLength) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromUtf8(name));
    if (maxLength > 0) limitLength(e, maxLength);
    // A short field (a year, a number, a date) never shrinks so far that what it holds is cut
    // off, however narrow the window.
    if (maxLength > 0 && maxLength <= 10)
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(maxLength + 1, '0')) + 12);
    return e;
}

QComboBox* Screen::comboBox(const char* name, std::function<void()> onClick) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromUtf8(name));
    // Users may type an entry as well as pick one.
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(8);
    // A picked entry is one of the list's own: the field is no longer in error, unless the
    // screen's handler finds otherwise.
    connect(c, &QComboBox::activated, this, [c](int) { setFieldColour(c, 0); });
    if (onClick) connect(c, &QComboBox::activated, this, [this, onClick](int) { run(onClick); });
    return c;
}

QPushButton* Screen::button(const char* name, const QString& caption,
                            std::function<void()> onClick) {
    auto* b = new KeyButton(caption, this);
    b->setObjectName(QString::fromUtf8(name));
    // Return on a button presses it, as Space does: a clerk works through a screen with the keys.
    b->setAutoDefault(true);
    const bool nextEntry = startsNextEntry(b->objectName());
    if (onClick)
        connect(b, &QPushButton::clicked, this, [this, onClick, nextEntry] {
            const int moves = focusMoves_;
            run(onClick);
            // Unless the handler sent the focus to a field in error, the next entry starts.
            if (nextEntry && moves == focusMoves_ && isVisible())
                if (QWidget* first = firstInput()) moveFocusTo(first);
        });
    return b;
}

QRadioButton* Screen::option(const char* name, const QString& caption,
                             std::function<void()> onClick) {
    auto* r = new QRadioButton(caption, this);
    r->setObjectName(QString::fromUtf8(name));
    if (onClick) connect(r, &QRadioButton::clicked, this, [this, onClick] { run(onClick); });
    return r;
}

QCheckBox* Screen::checkBox(const char* name, const QString& caption,
                            std::function<void()> onClick) {
    auto* c = new QCheckBox(caption, this);
    c->setObjectName(QString::fromUtf8(name));
    if (onClick) connect(c, &QCheckBox::clicked, this, [this, onClick] { run(onClick); });
    return c;
}

QLabel* Screen::label(const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

Grid* Screen::grid(const char* name, std::function<void(int row, int col)> onClick) {
    auto* g = new Grid(this);
    g->setObjectName(QString::fromUtf8(name));
    if (onClick) g->onClick = [this, onClick](int r, int c) { run([&] { onClick(r, c); }); };
    return g;
}

QWidget* Screen::labelled(const QString& caption, QWidget* control) {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* l = new QLabel(caption, box);
    l->setBuddy(control);
    row->addWidget(l);
    row->addWidget(control, 1);
    return box;
}

QGridLayout* Screen::buttonRows(int perRow, std::initializer_list<QWidget*> buttons) {
    auto* rows = new QGridLayout;
    int i = 0;
    for (QWidget* b : buttons) {
        if (b) rows->addWidget(b, i / perRow, i % perRow);
        ++i;
    }
    return rows;
}
