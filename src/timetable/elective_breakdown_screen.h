#pragma once

#include "ui/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class Grid;

// The lessons that share one slot of a class (an elective or split slot): listed, picked and
// edited one by one. The caller puts the slot's weekday and period into its values and opens the
// screen modally; the screen works on the caller's values and class.
//
// Two kinds: 選時間割 works on the database (組時間割 records of the slot), 選時間割TBL on the slot
// tables of a timetable loaded in memory (the copy screen's), by entry number.
class 選択内訳 : public Screen {
public:
    選択内訳(const char* formName, Screen* caller);

protected:
    // Called by the subclasses' constructors once their own controls exist.
    void finishLayout(QWidget* extraField, const QString& extraCaption);

    virtual void listSlot() = 0;
    virtual void pickRow(int row) = 0;
    virtual void B確定_Click() = 0;
    virtual void B削除_Click() = 0;
    virtual void loadExtra() {}

    void Form_Load();
    void G時割_Click(int row, int col);
    void C科目_Click();
    void C教科_Click();

    // The field checks; each returns true when the field passed.
    bool checkKamoku();
    bool checkSubject();
    bool checkTeacher();

    // The list: the heading row, then one row per lesson (more rows when needed).
    void resetList(int lessons);
    void writeRow(int row, const QString& subject, const QString& teacher);
    int slotWeekday() { return ctx().slotWeekday; }
    int slotPeriod() { return ctx().slotPeriod; }

    Grid* G時割;
    QComboBox* C科目;
    QComboBox* C教科;
    QComboBox* C教員;
    QLabel* L学部;
    QLabel* L学年;
    QLabel* L組;
    QLabel* L日付;
    QLabel* L曜日;
    QLabel* L時限;

private:
    void reportOwn(QWidget* field, bool wasFirst, const QString& message);
    // Black when found; otherwise reported as above. Returns whether it was found.
    bool settle(QWidget* field, bool found, bool wasFirst, const QString& message);
};

// On the database: the 組時間割 records of the slot, every selection number of the class.
class 選時間割 : public 選択内訳 {
public:
    explicit 選時間割(Screen* caller);

private:
    void listSlot() override;
    void pickRow(int row) override;
    void B確定_Click() override;
    void B削除_Click() override;

    QLineEdit* 備考;
    QString pickedTeacher_;  // the teacher of the row picked last, whom delete removes
};

// On the loaded timetable's slot entry table, entries 1..10.
class 選時間割TBL : public 選択内訳 {
public:
    explicit 選時間割TBL(Screen* caller);

private:
    void listSlot() override;
    void pickRow(int row) override;
    void B確定_Click() override;
    void B削除_Click() override;
    void loadExtra() override;
    bool checkNumber();

    QComboBox* C番号;
    int entry_ = 0;
};
