#include "ui/fields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

#include "ui/palette.h"
#include "ui/screen.h"

namespace {
constexpr const char* kColourProperty = "jkTextColour";
constexpr const char* kLengthProperty = "jkMaxChars";
}  // namespace

QString fieldText(const QWidget* field) {
    if (const auto* e = qobject_cast<const QLineEdit*>(field)) return e->text();
    if (const auto* c = qobject_cast<const QComboBox*>(field)) return c->currentText();
    return QString();
}

void setFieldText(QWidget* field, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(field)) {
        e->setText(text);
    } else if (auto* c = qobject_cast<QComboBox*>(field)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            const int i = c->findText(text);
            c->setCurrentIndex(i);
        }
    }
}

void setFieldColour(QWidget* field, int colour) {
    field->setProperty(kColourProperty, colour);
    // Only the text the field shows: the entries of a drop-down's list keep their own colour.
    QWidget* shows = field;
    QPalette::ColorRole role = QPalette::Text;
    if (auto* c = qobject_cast<QComboBox*>(field)) {
        if (c->lineEdit())
            shows = c->lineEdit();
        else
            role = QPalette::ButtonText;
    }
    QPalette p = shows->palette();
    p.setColor(role, paletteColor(colour));
    shows->setPalette(p);
}

int fieldColour(const QWidget* field) {
    const QVariant v = field->property(kColourProperty);
    return v.isValid() ? v.toInt() : 0;
}

void setTabFirst(QWidget* field) {
    if (auto* s = dynamic_cast<Screen*>(field->window()))
        s->setTabFirst(field);
    else
        field->setFocus();
}

int textLength(const QString& text) {
    int n = 0;
    for (int i = 0; i < text.size(); ++i, ++n)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    return n;
}

QString leftText(const QString& text, int characters) {
    int i = 0;
    for (int n = 0; n < characters && i < text.size(); ++n)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
    return text.left(i);
}

void limitLength(QLineEdit* box, int characters) {
    box->setProperty(kLengthProperty, characters);
    // The box's own limit counts UTF-16 units; this one lets every character take two and cuts
    // what is longer at a character boundary.
    box->setMaxLength(characters * 2);
    QObject::connect(box, &QLineEdit::textChanged, box, [box, characters](const QString& text) {
        if (textLength(text) <= characters) return;
        const int cursor = box->cursorPosition();
        const QString cut = leftText(text, characters);
        box->setText(cut);
        box->setCursorPosition(std::min(cursor, int(cut.size())));
    });
}

int lengthLimit(const QLineEdit* box) {
    return box->property(kLengthProperty).toInt();
}
