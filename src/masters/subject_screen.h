#pragma once

#include "masters/subject_scope.h"

class QCheckBox;

// 教科登録: the subjects (教科) into which a course subject is divided — number, name,
// abbreviation, elective and αβ展開 marks. 表示 offers the selection's course subjects; choosing
// one lists its subjects.
class 教科登録 : public 科目教科画面 {
public:
    教科登録();

private:
    void Form_Load();
    void B表示_Click();
    void C科目_Click();
    void 教科_Click(int row);
    void checkKamoku();
    void checkAll();
    void clearInputs();
    RegistrationPlan plan();

    QComboBox* C科目;
    QLineEdit* 教科番号;
    QLineEdit* 教科名;
    QLineEdit* 教科略称;
    QCheckBox* 選択F;
    QCheckBox* 展開F;
    QLineEdit* 備考;
};
