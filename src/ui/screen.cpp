#include "ui/screen.h"

#include <algorithm>
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

#include "data/database.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/messages.h"

namespace {
std::function<void(Screen&)> g_modalRunner;
}

Screen::Screen(const QString& formName, const QString& caption, Screen* caller)
    : formName_(formName),
      ctx_(caller ? caller->sharedContext() : std::make_shared<WorkContext>()) {
    setObjectName(formName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
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
    deferUntilStored([text, title] { showExclamation(text, title); });
}
void Screen::showPlainMessage(const QString& text) {
    const QString title = ctx_->title;
    deferUntilStored([text, title] { showInformation(text, title); });
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

void Screen::fireLostFocus(QWidget* control) {
    for (auto& [w, handler] : lostFocus_)
        if (w == control) run(handler);
}

bool Screen::eventFilter(QObject* watched, QEvent* event) {
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
    // Moving the focus is not the user leaving a field: no lost-focus check runs for it.
    movingFocus_ = true;
    tabFirst_->setFocus(Qt::OtherFocusReason);
    movingFocus_ = false;
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
    }
    QWidget::showEvent(e);
}

void Screen::keyPressEvent(QKeyEvent* e) {
    // Esc leaves a modal sub-screen, as in any dialog.
    if (e->key() == Qt::Key_Escape && modal_) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Screen::showModal(Screen* sub) {
    sub->modal_ = true;
    sub->caller_ = this;
    // Over the screen that opened it (over the middle of the display while that is not shown).
    sub->adjustSize();
    const QRect over =
        isVisible() ? frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (over.isValid()) {
        QRect g = sub->frameGeometry();
        g.moveCenter(over.center());
        // A sub-screen wider than its caller still opens whole on the display.
        if (const QScreen* display = screen()) {
            const QRect room = display->availableGeometry();
            g.moveLeft(
                std::clamp(g.left(), room.left(), std::max(room.left(), room.right() - g.width())));
            g.moveTop(
                std::clamp(g.top(), room.top(), std::max(room.top(), room.bottom() - g.height())));
        }
        sub->move(g.topLeft());
    }
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
    QWidget::closeEvent(e);
    if (e->isAccepted() && onClosed_) onClosed_();
}

QLineEdit* Screen::textBox(const char* name, int maxLength) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromUtf8(name));
    if (maxLength > 0) limitLength(e, maxLength);
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
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromUtf8(name));
    // Return on a button presses it, as Space does: a clerk works through a screen with the keys.
    b->setAutoDefault(true);
    if (onClick) connect(b, &QPushButton::clicked, this, [this, onClick] { run(onClick); });
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
