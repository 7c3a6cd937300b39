#pragma once

#include "lists/inquiry_list.h"

// 担任照会: the homeroom teachers, class by class. Read only; filled when the screen opens.
class 担任照会 : public 照会一覧 {
public:
    担任照会();

private:
    void Form_Load();
};
