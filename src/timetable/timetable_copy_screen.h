#pragma once

#include "timetable/lesson_fields.h"
#include "timetable/lesson_record.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class Grid;

// 時間割コピー: builds a class's timetable from another one, typically next year's from this
// year's. The source week is loaded once into this screen's slot tables; the user edits it in
// memory (single lessons, elective breakdowns, swaps, shifts) and registers the whole week under
// the target class. Nothing reaches the database before 登録.
class 時間割コピー : public Screen {
public:
    時間割コピー();

private:
    // The pickers of one class (source or target).
    struct ClassFields {
        QLineEdit* year;
        QComboBox* dept;
        QComboBox* grade;
        QComboBox* klass;
        const char* yearItem;
    };

    void Form_Load();
    void C学部_Click() { deptPicked(source_); }
    void C先学部_Click() { deptPicked(target_); }
    void B表示_Click();
    void G時割_Click(int row, int col);
    void C科目_Click();
    void C教科_Click();
    void C時限_LostFocus();
    void C曜日_LostFocus();
    void C科目_LostFocus();
    void C教科_LostFocus();
    void C教員_LostFocus();
    void B確定_Click();
    void B削除_Click();
    void Bクリア_Click();
    void B入替_Click();
    void B左シフト_Click();
    void B右シフト_Click();
    void B上シフト_Click();
    void B下シフト_Click();
    void B登録_Click();
    void B印刷_Click();
    void BExcel出力_Click();

    void deptPicked(const ClassFields& f);
    // Checks and decodes one class's pickers (each class against its own department); false
    // after reporting the first failure through the error flag and message.
    bool decodeClass(const ClassFields& f, ShownClass& out);
    // The current selection is the loaded class again (a picker or the target has changed it).
    void selectLoaded();
    // Names the loaded class above the grid, offers its course subjects, empties the entry.
    void showLoadedClass();
    void redraw();
    bool refuseWithoutTimetable();
    // The message of a teacher conflict at the entry slot in the target class as the pickers
    // show it now; empty when there is none or the target is not complete yet.
    QString targetConflict();
    void upDown(int mode);
    void afterModal();

    ClassFields source_;
    ClassFields target_;
    Grid* G時割;
    QLabel* 表示中;
    QRadioButton* O曜日;
    QRadioButton* O全件;
    QComboBox* Cシ曜日;
    QCheckBox* Ch日曜;
    QCheckBox* Ch土曜;
    LessonFields fields_;

    bool confirming_ = false;
    // The slot the entry fields stand for, from the last slot click or field check.
    int weekday_ = 0;
    int period_ = 0;

    // The class whose week is loaded: the source after 表示, the target after 登録.
    bool loaded_ = false;
    ShownClass class_;
};
