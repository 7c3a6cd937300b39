#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QDate>

#include "calendar/event_list.h"
#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class Grid;

// 行事予定: the school's events of one business year. A month calendar to pick a date from, the
// year's events for one department and grade (and the common ones) to pick one for editing, and
// the entry fields of one event: its days, its sequence number, what becomes of the lessons on
// those days (none, all, or some periods) and its names. The slot screens read what is stored
// here to take lessons away.
class 行事予定 : public Screen {
public:
    行事予定();

private:
    void Form_Load();
    void 年度_LostFocus();
    void B表示_Click();
    void 前月_Click();
    void 次月_Click();
    void C学部_Click();
    void C学年_Click();
    void G日付_Click(int row, int col);
    void G行事_Click(int row);
    void 行事日_LostFocus();
    void 終了日_LostFocus();
    void 連番_LostFocus();
    void C授業_Click();
    void 行事名_LostFocus();
    void B確定_Click();
    void B削除_Click();
    void B祝日登録_Click();

    RegistrationPlan plan();
    void checkAll();
    bool checkYear();
    void checkPeriods();
    void checkInYear(QLineEdit* field, const QString& caption);
    void periodsFollowClassification();
    // A field left by the user is coloured by its check, but the focus goes where the user sent
    // it and no message is prepared: those wait for 確定.
    void leaving(const std::function<void()>& check);

    void switchYear(int year);
    void showMonth(const QDate& month);
    void drawCalendar();
    void clearInputs();
    void listed(int count);
    void show(const Recordset& rs);
    QDate yearStart();
    QDate yearEnd();

    QLineEdit* 年度;
    QComboBox* C学部;
    QComboBox* C学年;
    QLineEdit* 予定月;
    QLabel* L表示年;
    Grid* G日付;
    Grid* G行事;
    QLineEdit* 行事日;
    QLineEdit* 終了日;
    QLineEdit* 連番;
    QComboBox* C授業;
    QLineEdit* 時限From;
    QLineEdit* 時限To;
    QLineEdit* 行事名;
    QLineEdit* 行事略称;
    QLineEdit* 備考;
    std::unique_ptr<Registration> registration_;

    QDate month_;  // the first day of the month shown
    // What the checks of the last confirmation made of the inputs.
    int sequence_ = 0;
    int periodFrom_ = 0, periodTo_ = 0;
    // The keys of the listed events, row 1 first, and the event last picked from the list: a
    // delete removes exactly that one, whatever has been typed since.
    std::vector<EventKey> listedKeys_, fillingKeys_;
    std::optional<EventKey> picked_;
};
