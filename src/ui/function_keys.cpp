#include "ui/function_keys.h"

#include <algorithm>
#include <utility>

#include <QFontMetricsF>
#include <QPainter>

namespace {

// Leaving and the printed/exported outputs sit at the right, as on the screens; deleting is away
// from storing so that a slipped finger does not delete. Every F key already has its one meaning,
// so a button of a kind found on one screen only takes Shift with the key of the kind nearest
// it: 作成 works out a proposal and shows it, storing nothing, as 表示 and チェック do on F1.
// Letters and Ctrl+letters are left alone: they are typing and the input method's own keys.
constexpr int shifted(Qt::Key key) {
    return (Qt::SHIFT | key).toCombined();
}
const std::pair<const char*, int> kKeys[] = {
    {"B表示", Qt::Key_F1},      {"B確定", Qt::Key_F2},     {"確定", Qt::Key_F2},
    {"B登録", Qt::Key_F2},      {"B設定確定", Qt::Key_F2}, {"Bクリア", Qt::Key_F3},   {"B削除", Qt::Key_F4},
    {"削除", Qt::Key_F4},       {"B変更取消", Qt::Key_F5}, {"前月", Qt::Key_F6},
    {"次月", Qt::Key_F7},       {"B印刷", Qt::Key_F8},     {"BExcel出力", Qt::Key_F9},
    {"B祝日登録", Qt::Key_F10}, {"BiCalendar出力", Qt::Key_F11}, {"B出力", Qt::Key_F8},
    {"B終了", Qt::Key_F12},    {"終了", Qt::Key_F12},     {"B作成", shifted(Qt::Key_F1)},
};

}  // namespace

int functionKeyFor(const QString& buttonName) {
    // Asked for every button each time it is measured or painted: the names are converted once.
    static const std::vector<std::pair<QString, int>> names = [] {
        std::vector<std::pair<QString, int>> v;
        for (const auto& [name, key] : kKeys) v.emplace_back(QString::fromUtf8(name), key);
        return v;
    }();
    for (const auto& [name, key] : names)
        if (buttonName == name) return key;
    return 0;
}

std::vector<int> functionKeys() {
    std::vector<int> keys;
    for (const auto& entry : kKeys)
        if (std::find(keys.begin(), keys.end(), entry.second) == keys.end())
            keys.push_back(entry.second);
    return keys;
}

QString functionKeyText(int key) {
    const QKeyCombination k = QKeyCombination::fromCombined(key);
    if (k.key() < Qt::Key_F1 || k.key() > Qt::Key_F35) return QString();
    const QString shift = k.keyboardModifiers() & Qt::ShiftModifier ? QStringLiteral("Shift+") : "";
    return shift + QStringLiteral("F%1").arg(k.key() - Qt::Key_F1 + 1);
}

namespace {
// The key's name is drawn three quarters of the caption's size (at least 6 points), by scaling
// the caption's own font rather than asking for a smaller one: every font size is a font engine
// of its own, and setting one up (the font configuration's rules run for it) cost as much as a
// tenth of the program's start-up, for three letters.
double keyScale(const QFont& base) {
    const double points = base.pointSizeF();
    if (points <= 0) return 0.75;  // a font given in pixels
    return std::max(6.0, points * 0.75) / points;
}
int keyWidth(const QPushButton& b) {
    const QString t = functionKeyText(functionKeyFor(b.objectName()));
    if (t.isEmpty()) return 0;
    return qRound(QFontMetricsF(b.font()).horizontalAdvance(t) * keyScale(b.font())) + 4;
}
}  // namespace

QSize KeyButton::sizeHint() const {
    return QPushButton::sizeHint() + QSize(2 * keyWidth(*this), 0);
}

QSize KeyButton::minimumSizeHint() const {
    return QPushButton::minimumSizeHint() + QSize(2 * keyWidth(*this), 0);
}

void KeyButton::paintEvent(QPaintEvent* e) {
    QPushButton::paintEvent(e);
    const QString t = functionKeyText(functionKeyFor(objectName()));
    if (t.isEmpty()) return;
    QPainter p(this);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const double scale = keyScale(font());
    const QRectF area = rect().adjusted(4, 2, -4, -2);
    p.translate(area.topLeft());
    p.scale(scale, scale);
    p.drawText(QRectF(QPointF(0, 0), area.size() / scale), Qt::AlignLeft | Qt::AlignTop, t);
}
