#include "lists/inquiry_list.h"

EntryList::Layout inquiryLayout(QStringList headings, std::vector<int> widths, int rows) {
    EntryList::Layout layout;
    layout.headings = std::move(headings);
    layout.widths = std::move(widths);
    layout.entryRows = rows - 1;
    layout.fixedRows = 1;
    layout.headingAlignment = 4;
    return layout;
}

QString homeroomText(const QString& departmentCode, int grade, const QString& classCode) {
    return stored_names::department(departmentCode) + QLatin1Char(' ') +
           stored_names::grade(grade) + stored_names::klass(departmentCode, classCode);
}
