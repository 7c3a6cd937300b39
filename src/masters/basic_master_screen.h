#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// 基本登録: the general master table マスタ — the school's name, its departments, grades and
// classes, and how many business years are kept. One kind is worked on at a time, chosen with the
// option buttons; the list shows that kind's entries.
class 基本登録 : public Screen {
public:
    基本登録();

private:
    void Form_Load();
    void 学校名_Click();
    void 学部_Click();
    void 学年_Click();
    void 組_Click();
    void 保存期間_Click();
    void B確定_Click();
    void 削除_Click();
    void マスタ_Click(int row);
    void C学部_Click();
    void 終了_Click();

    void chooseKind(const QString& kind);
    void checkAll();
    void checkRetention(QLineEdit* field);
    void reloadMasters();
    RegistrationPlan plan();

    QLineEdit* マスターNO;
    QLineEdit* 登録NO;
    QLineEdit* 登録名称;
    QLineEdit* 登録略称;
    QLineEdit* 備考;
    QLabel* L学部;
    QComboBox* C学部;
    QLabel* L反映;
    std::unique_ptr<Registration> registration_;

    QString kind_;  // the kind worked on
};
