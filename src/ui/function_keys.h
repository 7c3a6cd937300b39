#pragma once

#include <vector>

#include <QPushButton>
#include <QString>

// One function key per kind of bottom button, the same on every screen, so a clerk's fingers learn
// it once: F12 always leaves, F2 always stores. A button is found by its control name, so a
// button that a screen adds later only needs a line in the table.
// A key is a Qt::Key with its modifiers combined (QKeyCombination::toCombined()).
int functionKeyFor(const QString& buttonName);  // the key, or 0 when the button has none
QString functionKeyText(int key);               // "F2", "Shift+F1"
std::vector<int> functionKeys();                // every key of the table, once

// A button that shows its function key in its corner. The key is drawn, not put into the caption,
// so a screen that changes the caption keeps the key and the caption stays the documented text.
class KeyButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};
