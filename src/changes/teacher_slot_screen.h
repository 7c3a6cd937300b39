#pragma once

#include <optional>

#include "changes/teacher_week.h"
#include "common/shown_records.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class Grid;

// 教員コマ: one teacher's week, the standard week or the seven days from an inquiry date with the
// lesson changes and events of those days laid over it. A lesson picked in a dated week can be
// given to another teacher or subject for that date: one lesson change (時限変更).
class 教員コマ : public Screen {
public:
    教員コマ();

private:
    void Form_Load();
    void 年度_LostFocus();
    void 照会日_LostFocus();
    void 標準F_Click();
    void C学部_Click();
    void C学年_Click();
    void C組_Click();
    void C科目_Click();
    void C科目_LostFocus();
    void C教科_LostFocus();
    void C教員_LostFocus();
    void B表示_Click();
    void G時割_Click(int row, int col);
    void B確定_Click();
    void B変更取消_Click();
    void B印刷_Click();
    void BExcel出力_Click();
    void BiCalendar出力_Click();

    void checkDecoded(bool found, QComboBox* field, const QString& message);
    void fillWeek();
    void highlight(int colour);
    void showLesson(const WeekLesson& lesson);

    QLineEdit* 年度;
    QLineEdit* 照会日;
    QLabel* 曜日;
    QCheckBox* 標準F;
    QComboBox* C教員;
    QComboBox* C学部;
    QComboBox* C学年;
    QComboBox* C組;
    QComboBox* C科目;
    QComboBox* C教科;
    Grid* G時割;

    bool checking_ = false;  // 表示 or 確定 is running the checks
    QString inquiryDate_;    // "yyyy/mm/dd"; empty in the standard week
    int firstWeekday_ = 1;

    // The week on the grid, and the cell picked in it: a change is written for that date and
    // period, whatever the date box has been changed to since.
    std::optional<TeacherWeek> week_;
    QString weekTeacherName_;
    struct Pick {
        int col = 0;
        int period = 0;
        int weekday = 0;
        QString date;
        std::optional<WeekLesson> lesson;
        QString classLabel;  // department, grade and class as the lists showed them
    };
    std::optional<Pick> pick_;
    // The picked lesson's change of the date as it was shown.
    ShownRecords changeShown_{QStringLiteral("時限変更"), QStringLiteral("Key_変更")};
};
