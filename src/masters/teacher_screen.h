#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

// 教員登録: the teachers — number, name and its reading, the short name the timetables show,
// personal details, and the class a homeroom teacher is in charge of. A teacher is picked from
// 教員選択; 担当登録 opens the teacher's assignments, 担任照会 the homeroom teachers.
class 教員登録 : public Screen {
public:
    教員登録();

private:
    void Form_Load();
    void C選択教員_Click();
    void C学部_Click();
    void 生年月日_LostFocus();
    void B確定_Click();
    void Bクリア_Click();
    void B削除_Click();
    void B担任照会_Click();
    void C担当登録_Click();

    void showTeacher(const QString& number);
    void fillHomeroomPickers();
    void checkAll();
    void checkHomeroom();
    void checkPostalCode(QLineEdit* field);
    RegistrationPlan plan();

    QComboBox* C選択教員;
    QLineEdit* 教員番号;
    QLineEdit* 氏名;
    QLineEdit* 氏名カナ;
    QLineEdit* 表示名;
    QRadioButton* 男;
    QRadioButton* 女;
    QLineEdit* 生年月日;
    QLineEdit* 郵便番号1;
    QLineEdit* 郵便番号2;
    QLineEdit* 住所1;
    QLineEdit* 住所2;
    QLineEdit* 電話番号;
    QLineEdit* 携帯番号;
    QLineEdit* 備考;
    QComboBox* C学部;
    QComboBox* C学年;
    QComboBox* C組;
    std::unique_ptr<Registration> registration_;

    bool homeroom_ = false;  // set by the check, read by the save
};
