#pragma once

#include "ui/screen.h"

// 教員一覧: every teacher in the order of the kana reading, with the class a homeroom teacher has.
// Read only; filled when the screen opens.
class 教員一覧 : public Screen {
public:
    教員一覧();

private:
    void Form_Load();
};
