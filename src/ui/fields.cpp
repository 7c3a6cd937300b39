#include "ui/fields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

#include "ui/palette.h"
#include "ui/screen.h"

namespace {
constexpr const char* kColourProperty = "jkTextColour";
}

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
    QPalette p = field->palette();
    p.setColor(QPalette::Text, paletteColor(colour));
    p.setColor(QPalette::ButtonText, paletteColor(colour));
    field->setPalette(p);
    if (auto* c = qobject_cast<QComboBox*>(field); c && c->lineEdit()) c->lineEdit()->setPalette(p);
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
