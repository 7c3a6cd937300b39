#pragma once

#include <QString>

// Reads the departments, grades, courses and classes of マスタ into the process context (at most
// 10 departments, grades and courses and 20 classes per department; entries beyond are ignored).
// Start-up reads them once; the basic master screen reads them again after it has stored a change,
// so that the screens opened afterwards offer what was just entered.
void loadMasters();

// The grade a 学年 entry stands for is the leading whole number of its name, half- or full-width,
// so that "1", "１", "1年" and "１年" are all grade 1; -1 when the name starts with no number in
// 1..10. Every lesson, course subject and assignment is filed under this number.
int gradeNumberOf(const QString& name);

// An entry number of マスタ as it is stored and looked up: a number of fewer than three digits is
// padded with zeros ("1" is "001", the entry the menu and the lists look for).
QString masterEntryCode(const QString& typed);

// The school's name as entered on 基本情報登録 (empty until entered), for titles and sheets.
QString schoolName();
