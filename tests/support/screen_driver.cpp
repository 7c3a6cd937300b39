#include "support/screen_driver.h"

#include <QTemporaryDir>

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "support/pdf_reader.h"
#include "ui/fields.h"

void ScriptedMessages::show(const QString& text, const QString& title, MessageIcon icon) {
    shown.push_back({text, title, icon, false});
}

bool ScriptedMessages::ask(const QString& text, const QString& title) {
    shown.push_back({text, title, MessageIcon::None, true});
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const Shown& s : shown) out << s.text;
    return out;
}

ScreenDriver::ScreenDriver(Screen* screen, bool owns) : screen_(screen), owns_(owns) {}

ScreenDriver::~ScreenDriver() {
    if (owns_) delete screen_;
}

void ScreenDriver::set(const QString& name, const QString& text) {
    if (QWidget* w = control(name)) setFieldText(w, text);
}

void ScreenDriver::pick(const QString& name, const QString& entry) {
    auto* c = control<QComboBox>(name);
    if (!c) return;
    const int i = c->findText(entry);
    if (i < 0) {
        ADD_FAILURE() << name.toStdString() << " has no entry " << entry.toStdString()
                      << "; entries: " << entries(name).join(",").toStdString();
        return;
    }
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}

void ScreenDriver::leave(const QString& name) {
    if (QWidget* w = control(name)) screen_->fireLostFocus(w);
}

void ScreenDriver::click(const QString& name) {
    QWidget* w = control(name);
    if (!w) return;
    if (!w->isEnabled()) {
        ADD_FAILURE() << name.toStdString() << " is disabled";
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->click();
}

void ScreenDriver::showActive() {
    screen_->show();
    screen_->activateWindow();
    if (!QTest::qWaitForWindowActive(screen_)) ADD_FAILURE() << "the screen did not become active";
}

void ScreenDriver::focus(const QString& name) {
    if (QWidget* w = control(name)) w->setFocus(Qt::OtherFocusReason);
}

void ScreenDriver::key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : screen_, static_cast<Qt::Key>(key), modifiers);
}

void ScreenDriver::type(const QString& text) {
    if (QWidget* target = QApplication::focusWidget()) QTest::keyClicks(target, text);
}

QString ScreenDriver::focused() const {
    QWidget* w = QApplication::focusWidget();
    while (w && w->objectName().isEmpty()) w = w->parentWidget();  // a drop-down's editor
    return w ? w->objectName() : QString();
}

void ScreenDriver::clickCell(const QString& name, int row, int col) {
    grid(name).clickCell(row, col);
}

QString ScreenDriver::text(const QString& name) const {
    QWidget* w = control(name);
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    return w ? fieldText(w) : QString();
}

int ScreenDriver::colour(const QString& name) const {
    QWidget* w = control(name);
    return w ? fieldColour(w) : -1;
}

QStringList ScreenDriver::entries(const QString& name) const {
    QStringList out;
    if (auto* c = control<QComboBox>(name))
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

bool ScreenDriver::checked(const QString& name) const {
    auto* b = control<QAbstractButton>(name);
    return b && b->isChecked();
}

bool ScreenDriver::visible(const QString& name) const {
    QWidget* w = control(name);
    return w && w->isVisibleTo(screen_);
}

bool ScreenDriver::enabled(const QString& name) const {
    QWidget* w = control(name);
    return w && w->isEnabled();
}

Grid& ScreenDriver::grid(const QString& name) const {
    Grid* g = control<Grid>(name);
    if (!g) throw std::runtime_error("no grid " + name.toStdString());
    return *g;
}

QString ScreenDriver::cell(const QString& g, int row, int col) const {
    return grid(g).textMatrix(row, col);
}
int ScreenDriver::back(const QString& g, int row, int col) const {
    return grid(g).cellBackColor(row, col);
}
int ScreenDriver::fore(const QString& g, int row, int col) const {
    return grid(g).cellForeColor(row, col);
}
Grid::Span ScreenDriver::span(const QString& g, int row, int col) const {
    return grid(g).mergedSpan(row, col);
}

void ScreenTest::SetUp() {
    DatabaseTest::SetUp();
    setMessageService(&messages);
    setPrintSink([this](const PrintedDocument& doc) { printed.push_back(doc); });
    setSaveFileChooser([this](const QString& proposed) {
        proposedSaves << proposed;
        QString answer = QDir(dir()).filePath(QFileInfo(proposed).fileName());
        if (!saveAnswers.empty()) {
            answer = saveAnswers.front();
            saveAnswers.pop_front();
        }
        if (!answer.isEmpty()) savedTo << answer;
        return answer;
    });
    Screen::setModalRunner([this](Screen& sub) {
        modalOpened << sub.formName();
        if (modalScripts.empty()) return;
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        ScreenDriver d(&sub, false);
        script(d);
    });
}

void ScreenTest::TearDown() {
    Screen::setModalRunner(nullptr);
    setPrintSink(nullptr);
    setSaveFileChooser(nullptr);
    setMessageService(nullptr);
    EXPECT_TRUE(messages.answers.empty()) << "answers left over";
    DatabaseTest::TearDown();
}

QString pdfText(const PrintedDocument& doc) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    if (!writePdf(doc, pdf)) return {};
    return readPdf(pdf).text;
}
