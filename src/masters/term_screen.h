#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// 期間登録: the dated periods of a year — terms, holidays, examination weeks — each for one
// department and grade or for all of them ("共通"), with whether lessons are held. The list shows
// the periods of the department and grade shown, the common ones included.
class 期間登録 : public Screen {
public:
    期間登録();

private:
    void Form_Load();
    void B表示_Click();
    void C学部_Click();
    void C学年_Click();
    void 開始日_LostFocus();
    void 終了日_LostFocus();
    void 登録名称_LostFocus();
    void 学期_LostFocus();
    void 期間_Click(int row);
    void B確定_Click();
    void 削除_Click();

    bool checkSelection();
    void checkAll();
    int lessonsMark() const;
    RegistrationPlan plan();

    QLineEdit* 年度;
    QComboBox* C学部;
    QComboBox* C学年;
    QLineEdit* 開始日;
    QLineEdit* 終了日;
    QCheckBox* 授業有;
    QCheckBox* 学期名;
    QLineEdit* 学期;
    QLineEdit* 登録名称;
    QLineEdit* 登録略称;
    QLineEdit* 備考;
    std::unique_ptr<Registration> registration_;

    // The department and grade the list was shown for; writes go only there.
    bool shown_ = false;
    QString shownDepartment_;
    int shownGrade_ = 0;
};
