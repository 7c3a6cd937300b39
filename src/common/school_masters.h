#pragma once

// Reads the departments, grades, courses and classes of マスタ into the process context (at most
// 10 departments, grades and courses and 20 classes per department; entries beyond are ignored).
// Start-up reads them once; the basic master screen reads them again after it has stored a change,
// so that the screens opened afterwards offer what was just entered.
void loadMasters();

#include <QString>

// The school's name as entered on 基本情報登録 (empty until entered), for titles and sheets.
QString schoolName();
