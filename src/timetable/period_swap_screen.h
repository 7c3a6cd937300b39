#pragma once

#include "ui/screen.h"

class QComboBox;
class QLineEdit;

// 時間割入替: exchanges the whole contents of two slots of the caller's loaded timetable, in
// memory (the caller registers the result). Modal; it stays open for further swaps, and the
// caller redraws its grid when it closes.
class 時間割入替 : public Screen {
public:
    explicit 時間割入替(Screen* caller);

private:
    // One side of the swap: its pickers, the slot's display and the slot it stands for.
    struct Side {
        QComboBox* weekdayList;
        QComboBox* periodList;
        QLineEdit* kamoku;
        QLineEdit* subject;
        QLineEdit* teacher;
        QString weekdayMessage, periodMessage, emptyMessage;
        int weekday = 0;
        int period = 0;
    };

    void Form_Load();
    void C元曜日_Click() { weekdayPicked(source_); }
    void C元時限_Click() { periodPicked(source_); }
    void C先曜日_Click() { weekdayPicked(target_); }
    void C先時限_Click() { periodPicked(target_); }
    void B確定_Click();

    void weekdayPicked(Side& side);
    void periodPicked(Side& side);
    // Shows the side's slot; false when it holds no lesson.
    bool showSlot(Side& side);
    QWidget* frame(const char* name, const QString& caption, Side& side);

    Side source_;
    Side target_;
};
