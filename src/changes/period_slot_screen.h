#pragma once

#include <optional>
#include <vector>

#include "changes/lesson_change.h"
#include "changes/standby_list.h"
#include "common/shown_records.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class Grid;

// 時限コマ: one period of one date across all classes, with the teachers free then. A lesson
// picked in the grid is given to a stand-by teacher, turned into self-study or has its remark
// changed for that date: one lesson change (時限変更).
class 時限コマ : public Screen {
public:
    時限コマ();

private:
    void Form_Load();
    void 年度_LostFocus();
    void 照会日_LostFocus();
    void C時限_LostFocus();
    void 自習_Click();
    void B表示_Click();
    void G時割_Click(int row, int col);
    void G教員_Click(int row, int col);
    void B確定_Click();
    void B変更取消_Click();
    void 代講順_Click();
    void B印刷_Click();
    void BExcel出力_Click();

    bool periodShown() const;
    void fillGrids();
    void emptyEntries();
    void forgetPick();
    void selectPicked();
    void highlightLesson(int colour);
    void highlightStandby(int row, int colour);
    void takeLesson(const QString& kamoku, const QString& subject);
    // The change of the picked lesson on the date and period shown.
    ChangeKey pickedChange() const;

    QLineEdit* 年度;
    QLineEdit* 照会日;
    QLabel* 曜日;
    QComboBox* C時限;
    Grid* G時割;
    Grid* G教員;
    QLineEdit* 変更教員;
    QLineEdit* 科目;
    QLineEdit* 教科;
    QLineEdit* 備考;
    QCheckBox* 自習;
    // Beside the documented controls: the stand-by list by fewest cover lessons taken.
    QCheckBox* 代講順;

    // What the grids show. A change is written for that year, date and period; editing the boxes
    // afterwards drops the picked lesson, so nothing is written for a grid no longer shown.
    struct Shown {
        int year = 0;
        QString date;
        int weekday = 0;
        int period = 0;
    } shown_;
    std::vector<StandbyRow> standby_;
    int standbyRow_ = 0;
    // The picked class's change of the date as it was shown.
    ShownRecords changeShown_{QStringLiteral("時限変更"), QStringLiteral("Key_変更")};

    // The lesson picked in the grid: its cell and its class.
    struct Picked {
        int col = 0, row = 0;
        QString dept, deptName;
        int deptPos = 0;
        int grade = 0;
        QString gradeText;
        int gradePos = 0;
        QString course, klass, classText;
        int classPos = 0;
    };
    std::optional<Picked> picked_;
    // The subject texts that ticking self-study covers, shown again when it is unticked.
    QString kamokuText_, subjectText_;
};
