#pragma once

#include <QString>

class QLineEdit;
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

// Lengths are counted in characters as a user counts them: 𠮷 or an emoji is one character,
// although it takes two UTF-16 units, and is never cut in half.
int textLength(const QString& text);
QString leftText(const QString& text, int characters);
// A text box that holds at most `characters` characters (typed, pasted or set).
void limitLength(QLineEdit* box, int characters);
int lengthLimit(const QLineEdit* box);  // 0 when unlimited
