#pragma once

#include <QComboBox>
#include <QString>

#include "context/work_context.h"
#include "ui/fields.h"

// Shared by the selection lists.
namespace list_support {

// The drop-down a fill mode fills (nothing happens when the target is not one).
inline QComboBox* asList(QWidget* target) {
    return qobject_cast<QComboBox*>(target);
}

inline QString textOf(QWidget* target) {
    return target ? fieldText(target) : QString();
}

// Emptied, a drop-down shows nothing either: a text set earlier (a class shown for the previous
// entry) would otherwise stay in an editable one and be taken for a choice.
inline void clearList(QWidget* target) {
    if (QComboBox* c = asList(target)) {
        c->clear();
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->clearEditText();
    }
}

// A filled drop-down shows nothing until the user picks an entry or the screen sets one: the
// first entry shown by itself would look chosen when nobody chose it.
inline void addEntry(QWidget* target, const QString& text) {
    if (QComboBox* c = asList(target)) {
        const bool first = c->count() == 0;
        c->addItem(text);
        if (first) c->setCurrentIndex(-1);
    }
}

// Leaves a decode's result in the screen's values and returns it.
inline int finish(WorkContext& ctx, int result) {
    ctx.decodeResult = result;
    return result;
}

// A miss reported as the checks do, without touching the field's colour: error flag, and for the
// first failure of a confirmation the message and tab position 0.
inline void reportMiss(WorkContext& ctx, QWidget* field, const QString& message) {
    ctx.errorFlag = 1;
    if (ctx.firstErrorFlag == 0) {
        if (field) setTabFirst(field);
        ctx.message = message;
        ctx.firstErrorFlag = 1;
    }
}

// A whole number typed or stored as text; -1 when it is none.
inline int numberOf(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : -1;
}

}  // namespace list_support
