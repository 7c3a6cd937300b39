#include "lists/teacher_list_screen.h"

#include <QPushButton>

#include "calendar/calendar_export_screen.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "lists/inquiry_list.h"
#include "ui/grid.h"

namespace {
const QString kTitle = QStringLiteral("教員一覧");
}

教員一覧::教員一覧() : 照会一覧("教員一覧", kTitle, "G担任", {640, 420}) {
    // Every teacher's lessons of this week, to be narrowed to one teacher or widened on the way.
    addButton(button("BiCalendar出力", QStringLiteral("iCalendar出力"), [this] {
        const QDate monday = weekStartingMonday(school().today);
        showModal(new iCalendar出力(this, QString(), monday, monday.addDays(6)));
    }));
    run([this] { Form_Load(); });
}

void 教員一覧::Form_Load() {
    ctx().errorFlag = 0;
    ctx().title = kTitle;
    EntryList list(listGrid(), inquiryLayout({QStringLiteral("番号"), QStringLiteral("氏名"),
                                              QStringLiteral("ｶﾅ氏名"), QStringLiteral("表示名"),
                                              QStringLiteral("担任"), QStringLiteral("備考")},
                                             {800, 1500, 1500, 1000, 1500, 3000}, 300));
    list.reset();
    Recordset rs("教員");
    rs.setIndex("Idx_カナ");
    rs.seek(Seek::AtLeast, {QString()});
    for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) {
        const QString homeroom =
            rs.integer("員_担任F") != 0
                ? homeroomText(rs.text("員_学部"), rs.integer("員_学年"), rs.text("員_組"))
                : QString();
        list.append({rs.text("員_番号"), rs.text("員_氏名"), rs.text("員_氏名カナ"),
                     rs.text("員_表示名"), homeroom, rs.text("員_備考")});
    }
}
