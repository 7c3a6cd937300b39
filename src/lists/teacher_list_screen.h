#pragma once

#include "lists/inquiry_list.h"

// 教員一覧: every teacher in the order of the kana reading, with the class a homeroom teacher has.
// Read only; filled when the screen opens.
class 教員一覧 : public 照会一覧 {
public:
    教員一覧();

private:
    void Form_Load();
};
