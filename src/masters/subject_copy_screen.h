#pragma once

#include <memory>
#include <vector>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QLineEdit;

// 教科コピー: copies subjects, with the course subjects they belong to, from one year,
// department and grade to another. Both selections are listed side by side; the user moves
// source subjects into the target list and writes the rows so added in one step.
class 教科コピー : public Screen {
public:
    教科コピー();

private:
    // A year, department ("" for every department) and grade, with the course of the listing.
    struct Selection {
        int year = 0;
        QString department;
        int grade = 0;
        QString course;
    };
    // A listed subject and the selection it was listed from; `added` marks a row moved over from
    // the source list, the only rows a confirmation writes.
    struct Row {
        QString kamoku, kamokuName, subject, subjectName;
        Selection from;
        bool added = false;
    };
    struct Side {
        QLineEdit* year = nullptr;
        QComboBox* department = nullptr;
        QComboBox* grade = nullptr;
        std::unique_ptr<EntryList> list;
        Selection selection;
        std::vector<Row> rows;
        int picked = 0;  // list row, 0 = none
    };

    void Form_Load();
    void B表示_Click();
    void G元教科_Click(int row);
    void G先教科_Click(int row);
    void Bコピー_Click();
    void B削除_Click();
    void B確定_Click();
    void 終了_Click();

    QWidget* selectionBox(Side& side, const QString& caption, const char* year,
                          const char* department, const char* grade);
    bool check(Side& side);
    void fill(Side& side);
    void draw(Side& side);
    void pick(Side& side, Side& other, int row);
    bool copyRow(const Row& row);

    Side source_, target_;
    bool shownWithError_ = false;
};
