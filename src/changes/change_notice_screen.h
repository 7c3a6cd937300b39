#pragma once

#include <optional>
#include <vector>

#include "changes/change_notice_print.h"
#include "ui/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// 変更通知: the change notice of one school week, Monday to Sunday, for one teacher, one class or
// the whole school. The week's changes are collected into WK時割変, each beside the standard
// lesson it replaces, and printed from there as "時間割変更通知".
class 変更通知 : public Screen {
public:
    変更通知();

private:
    void Form_Load();
    void 年度_LostFocus();
    void 照会日_LostFocus();
    void 出力日_LostFocus();
    void C学部_Click();
    void C学年_Click();
    void C組_Click();
    void C教員_Click();
    void Bクリア_Click();
    void B印刷_Click();
    void BExcel出力_Click();

    // Checks the fields and fills WK時割変 with the week's changes for the target, saying what
    // there is to know about them; the notice's header when there is a line to print or save.
    std::optional<NoticeHeader> fillNotice();
    int targetMode() const;
    void clearWeek();

    QLineEdit* 年度;
    QLineEdit* 照会日;
    QLabel* 曜日;
    QLabel* L期間;
    QLineEdit* 出力日;
    QLineEdit* 変更理由;
    QRadioButton* 全て;
    QRadioButton* 担任;
    QRadioButton* 教科;
    QComboBox* C学部;
    QComboBox* C学年;
    QComboBox* C組;
    QComboBox* C教員;

    bool checking_ = false;  // 印刷 is running the checks
    QString first_, last_;   // the week: Monday and Sunday, "yyyy/mm/dd"
};

// What the user is told about changes the notice has no row for; `done` is what was not done
// with them ("印刷", "出力").
QString leftOutMessage(const std::vector<NoticeLine>& lines, const QString& done);
