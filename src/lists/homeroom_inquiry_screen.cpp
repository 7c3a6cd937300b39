#include "lists/homeroom_inquiry_screen.h"

#include "data/recordset.h"
#include "lists/inquiry_list.h"
#include "ui/grid.h"

namespace {
const QString kTitle = QStringLiteral("担任照会");
}

担任照会::担任照会() : 照会一覧("担任照会", kTitle, "G担任", {420, 420}) {
    run([this] { Form_Load(); });
}

void 担任照会::Form_Load() {
    ctx().errorFlag = 0;
    ctx().title = kTitle;
    EntryList list(listGrid(), inquiryLayout({QStringLiteral("学部"), QStringLiteral("学年"),
                                              QStringLiteral("組"), QStringLiteral("担任教員名")},
                                             {1000, 800, 800, 3000}, 50));
    list.reset();
    Recordset rs("教員");
    rs.setIndex("Idx_担任");
    rs.seek(Seek::AtLeast, {QString(), 0, QString()});
    if (rs.noMatch() || rs.eof()) {
        showMessage(QStringLiteral("G担任登録がされていません"));
        return;
    }
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.integer("員_担任F") == 0) continue;
        const QString dept = rs.text("員_学部");
        list.append({stored_names::department(dept), stored_names::grade(rs.integer("員_学年")),
                     stored_names::klass(dept, rs.text("員_組")), rs.text("員_氏名")});
    }
}
