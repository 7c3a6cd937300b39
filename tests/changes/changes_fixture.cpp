#include "changes/changes_fixture.h"

void ChangesTest::SetUp() {
    TimetableTest::SetUp();
    const std::pair<const char*, const char*> kana[] = {{"001", "サトウ ケンイチ"},
                                                        {"002", "スズキ ミサキ"},
                                                        {"003", "タカハシ マコト"},
                                                        {"004", "ヤマグチ サチコ"}};
    Operation op;
    Recordset rs("教員");
    rs.setIndex("Key_教員");
    for (const auto& [no, reading] : kana) {
        rs.seek(Seek::Equal, {no});
        rs.edit();
        rs.set("員_氏名カナ", reading);
        rs.update();
    }
    op.commit();
}

void ChangesTest::assignment(const char* teacher, const char* name, const char* dept, int grade,
                             const char* kamoku, const char* subject) {
    insert("担当", {{"担_年度", 2007},
                    {"担_教員番号", teacher},
                    {"担_学部", dept},
                    {"担_学年", grade},
                    {"担_科目番号", kamoku},
                    {"担_教科番号", subject},
                    {"担_氏名", name}});
}

void ChangesTest::teacherWith(const char* no, const char* name, const char* kana,
                              const char* leaveFrom, const char* leaveTo) {
    insert("教員", {{"員_番号", no},
                    {"員_氏名", name},
                    {"員_氏名カナ", kana},
                    {"員_休職FROM", leaveFrom},
                    {"員_休職TO", leaveTo}});
}

void ChangesTest::changeTo(const char* date, const char* dept, int grade, const char* klass,
                           int period, const char* teacher, const char* subjectName,
                           const char* shortName, const char* remark) {
    QString name, display;
    for (const Record& t : records("教員"))
        if (t.at("員_番号") == Value(teacher)) {
            name = t.at("員_氏名").toText();
            display = t.at("員_表示名").toText();
        }
    insert("時限変更", {{"変_年度", 2007},
                        {"変_日付", date},
                        {"変_学部", dept},
                        {"変_学年", grade},
                        {"変_組", klass},
                        {"変_時限", period},
                        {"変_科目", "01"},
                        {"変_教科", "01"},
                        {"変_教科名", subjectName},
                        {"変_教科略称", shortName},
                        {"変_教員", teacher},
                        {"変_教員名", name},
                        {"変_教員表示名", display},
                        {"変_備考", remark}});
}
