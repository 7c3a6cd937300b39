#pragma once

#include <QString>

class QWidget;

// What the input checks need of a field: any text box or drop-down whose text can be read and
// written and whose text colour (palette number) can be set.
QString fieldText(const QWidget* field);
void setFieldText(QWidget* field, const QString& text);
void setFieldColour(QWidget* field, int colour);
int fieldColour(const QWidget* field);  // palette number; 0 until set

// Puts the field first in its screen's tab order ("tab position 0"): it gets the focus once the
// running event has finished.
void setTabFirst(QWidget* field);
