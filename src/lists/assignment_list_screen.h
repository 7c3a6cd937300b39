#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

// 担当一覧: the teachers' assignments of one year, grouped by teacher or by course subject, for
// every department or one. Read only. A value equal to the one above it is left out, so each
// group reads as a block.
class 担当一覧 : public Screen {
public:
    担当一覧();

private:
    void Form_Load();
    void 年度_LostFocus();
    void C学部_Click();
    void B表示_Click();
    void BExcel出力_Click();

    void layOut(bool byTeacher);
    void fill(bool byTeacher);

    QLineEdit* 年度;
    QComboBox* C学部;
    QRadioButton* 教員別;
    QRadioButton* 科目;
    std::unique_ptr<EntryList> list_;
    // What the rows listed are: the year, the department and the grouping.
    struct Shown {
        int year = 0;
        QString dept, order;
    } shown_;
};
