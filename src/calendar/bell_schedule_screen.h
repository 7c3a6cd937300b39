#pragma once

#include <array>

#include "ui/screen.h"

class QComboBox;
class QLineEdit;

// 時程登録: the times the school's periods start and end, for the whole school or one
// department, on weekdays and on Saturdays. The calendars sent to teachers take their times
// from here.
class 時程登録 : public Screen {
public:
    時程登録();

    static constexpr int kPeriods = 10;

private:
    void Form_Load();
    void C学部_Click();
    void C曜日_Click();
    void B確定_Click();
    void B削除_Click();

    bool checkSelection();
    void showTimes();
    void checkTimes();
    void clearColours();

    QComboBox* C学部;
    QComboBox* C曜日;
    std::array<QLineEdit*, kPeriods + 1> 開始{}, 終了{};  // by period; [0] unused
};
