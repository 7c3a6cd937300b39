#pragma once

#include "common/shown_records.h"
#include "timetable/lesson_fields.h"
#include "timetable/lesson_record.h"
#include "ui/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class Grid;

// 組時間割: the standard weekly timetable of one class, entered lesson by lesson. The user shows a
// class, clicks a slot, fills course subject, subject and teacher (or a free-text lesson such as
// "HR") and confirms; every write redraws the week from the database. A slot shared by several
// lessons (elective or split) opens its breakdown.
class 組時間割 : public Screen {
public:
    組時間割();

private:
    void Form_Load();
    void 年度_LostFocus();
    void C学部_Click();
    void C学年_Click();
    void C組_Click();
    void B表示_Click();
    void G時割_Click(int row, int col);
    // Puts the first lesson of the picked slot into the entry fields (empty ones for a free slot).
    void showSlotLesson();
    void C科目_Click();
    void C教科_Click();
    void C時限_LostFocus();
    void C曜日_LostFocus();
    void C科目_LostFocus();
    void C教科_LostFocus();
    void C教員_LostFocus();
    void B確定_Click();
    void B削除_Click();
    void B印刷_Click();
    void BExcel出力_Click();

    bool refuseWithoutClass();
    void selectShownClass();
    void draw();

    QLineEdit* 年度;
    QComboBox* C学部;
    QComboBox* C学年;
    QComboBox* C組;
    Grid* G時割;
    QLineEdit* 備考;
    QLabel* 表示中;
    LessonFields fields_;

    bool confirming_ = false;
    // The slot and lesson the entry fields stand for, from the last slot click or field check.
    int weekday_ = 0;
    int period_ = 0;
    QString teacher_;
    // The lessons of the picked slot as they were shown.
    ShownRecords slotShown_{QStringLiteral("組時間割"), QStringLiteral("Key_時間割")};

    // The class the grid shows.
    bool shown_ = false;
    ShownClass class_;
};
