#pragma once

#include <functional>

#include <QDate>

#include "ui/screen.h"

class QComboBox;
class QLineEdit;

// The Monday of the week `day` lies in: the week an export offers when no other is shown.
QDate weekStartingMonday(const QDate& day);

// iCalendar出力: one teacher's or every teacher's lessons of a range of dates, written as one
// .ics file per teacher into a folder the user picks. Opened from the teacher week and the
// teacher list with their teacher and dates filled in.
class iCalendar出力 : public Screen {
public:
    // `teacher` is a teacher number, empty for all teachers.
    iCalendar出力(Screen* caller, const QString& teacher, const QDate& from, const QDate& to);

    // How the folder is chosen (a folder dialog unless replaced); empty cancels.
    using FolderChooser = std::function<QString(QWidget* parent)>;
    static void setFolderChooser(FolderChooser chooser);

private:
    void B出力_Click();
    void checkRange();

    QComboBox* C教員;
    QLineEdit* 開始日;
    QLineEdit* 終了日;
};
