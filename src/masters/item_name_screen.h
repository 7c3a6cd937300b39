#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QLineEdit;

// 項目名登: the item names of 項目名, from which every input check of the program names the field
// it refuses ("年度に入力してください"). Changing a name changes those messages at once.
class 項目名登 : public Screen {
public:
    項目名登();

private:
    void Form_Load();
    void 項目_Click(int row);
    void B確定_Click();
    void 削除_Click();
    void 終了_Click();

    void checkAll();
    RegistrationPlan plan();

    QLineEdit* 項目NO;
    QLineEdit* 項目名;
    QLineEdit* メッセージ;
    std::unique_ptr<Registration> registration_;
};
