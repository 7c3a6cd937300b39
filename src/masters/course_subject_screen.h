#pragma once

#include "masters/subject_scope.h"

class QCheckBox;

// 科目登録: the course subjects (科目) a grade of a department studies in one year — number, name,
// abbreviation and whether it is elective. The timetable screens offer them by name.
class 科目登録 : public 科目教科画面 {
public:
    科目登録();

private:
    void Form_Load();
    void B表示_Click();
    void 科目_Click(int row);
    void checkAll();
    void clearInputs();
    RegistrationPlan plan();

    QLineEdit* 科目番号;
    QLineEdit* 科目名;
    QLineEdit* 科目略称;
    QCheckBox* 選択F;
    QLineEdit* 備考;
};
