#pragma once

#include "ui/screen.h"

class QLineEdit;

// 年度登録: registers the business year the first time the program is used. Start-up opens it
// modally when 業務年度 has no current year; it writes the year (業_区分 1) and the next one (2)
// and updates the business year of the running program.
class 年度登録 : public Screen {
public:
    explicit 年度登録(Screen* caller);

private:
    void Form_Load();
    void 年度_LostFocus();
    void 開始日_LostFocus();
    void 終了日_LostFocus();
    void B確定_Click();
    void checkAll();

    QLineEdit* 年度;
    QLineEdit* 開始日;
    QLineEdit* 終了日;
};
