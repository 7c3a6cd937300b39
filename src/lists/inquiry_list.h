#pragma once

#include "common/registration.h"
#include "ui/screen.h"

class QHBoxLayout;

// The grid of an inquiry list: one fixed heading row, light yellow and centred, and as many
// rows below as there are records (the first `rows` are laid out even when fewer are listed).
EntryList::Layout inquiryLayout(QStringList headings, std::vector<int> widths, int rows);

// The homeroom class of a teacher as a list shows it: "高等部 1年1組".
QString homeroomText(const QString& departmentCode, int grade, const QString& classCode);

// A read-only list screen: its grid, and Excel出力 and 終了 below it. The screen fills the grid
// when it opens.
class 照会一覧 : public Screen {
protected:
    照会一覧(const char* formName, const QString& title, const char* gridName, QSize minimum);
    Grid* listGrid() const { return list_; }
    // A list's own button, placed before 終了.
    void addButton(QWidget* button);

private:
    Grid* list_;
    QHBoxLayout* buttons_;
};
