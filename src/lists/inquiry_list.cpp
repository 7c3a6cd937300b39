#include "lists/inquiry_list.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/grid.h"
#include "ui/xlsx_export.h"

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

照会一覧::照会一覧(const char* formName, const QString& title, const char* gridName, QSize minimum)
    : Screen(QString::fromUtf8(formName), title) {
    list_ = grid(gridName);
    list_->setMinimumSize(minimum);
    auto* buttons = buttons_ = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button(kXlsxButton, QString::fromUtf8(kXlsxCaption),
                              [this, title] { saveXlsx(*this, listSheet(*list_, title)); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { close(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
}

void 照会一覧::addButton(QWidget* button) {
    buttons_->insertWidget(buttons_->count() - 1, button);
}
