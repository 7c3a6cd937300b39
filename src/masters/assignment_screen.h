#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLineEdit;

// 教員担当: the subjects one teacher is assigned to in a year, opened modally from 教員登録 for
// the teacher on that screen (its number and name arrive in the shared values, the reading
// with the constructor). The timetable screens offer a subject's assigned teachers from here.
class 教員担当 : public Screen {
public:
    教員担当(Screen* caller, const QString& kana);

private:
    void Form_Load();
    void 年度_LostFocus();
    void C学部_Click();
    void C学年_Click();
    void C科目_Click();
    void C教科_Click();
    void Bクリア_Click();
    void G担当_Click(int row);
    void B確定_Click();
    void B削除_Click();

    // Each check reports in its own words and runs without showing anything, so that 確定
    // shows one message however many checks failed.
    bool checkYear();
    bool checkKamoku(const QString& message);
    bool checkSubject(const QString& message);
    void checkAssignment();  // department, grade, course subject and subject
    void checkAll();
    // Does an event handler's check and shows its message when it failed.
    bool shown(bool passed);
    void showAssignment(const Recordset& rs);
    RegistrationPlan plan();

    QLineEdit* 教員番号;
    QLineEdit* 氏名;
    QLineEdit* 氏名カナ;
    QLineEdit* 年度;
    QComboBox* C学部;
    QComboBox* C学年;
    QComboBox* C科目;
    QComboBox* C教科;
    QLineEdit* 備考;
    std::unique_ptr<Registration> registration_;
    QString kana_;
};
