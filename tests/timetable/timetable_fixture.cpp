#include "timetable/timetable_fixture.h"

void TimetableTest::SetUp() {
    ScreenTest::SetUp();
    SchoolContext& s = school();
    s.setToday(QDate(2007, 6, 4));
    s.businessYear = 2007;
    s.businessYearStart = "2007/04/01";
    s.businessYearEnd = "2008/03/31";
    s.clearMasters();
    s.departments[1] = {"001", "中学部"};
    s.departments[2] = {"002", "高等部"};
    s.departmentCount = 2;
    s.grades[1] = {"1", "1年"};
    s.grades[2] = {"2", "2年"};
    s.gradeCount = 2;
    for (int d = 1; d <= 2; ++d) {
        for (int k = 1; k <= 3; ++k)
            s.classes[d][k] = {QString::number(k), QStringLiteral("%1組").arg(k)};
        s.classCount[d] = 3;
    }
    s.largestClassCount = 3;

    kamoku("002", 1, "01", "国語", "国語");
    subject("002", 1, "01", "01", 1, "現代の国語", "現国");
    subject("002", 1, "01", "02", 2, "言語文化", "");
    kamoku("002", 1, "03", "数学", "数学");
    subject("002", 1, "03", "01", 1, "数学Ⅰ", "数Ⅰ");
    kamoku("002", 1, "07", "芸術選択", "芸術", 1);
    subject("002", 1, "07", "01", 1, "芸術α 音楽Ⅰ", "芸術α", 0, 1);
    subject("002", 1, "07", "02", 2, "芸術β 美術Ⅰ", "芸術β", 0, 1);
    kamoku("002", 1, "06", "保健体育", "保体");
    subject("002", 1, "06", "01", 1, "体育", "体育", 1);
    teacher("001", "佐藤　健一", "佐藤");
    teacher("002", "鈴木　美咲", "鈴木");
    teacher("003", "高橋　誠", "");
    teacher("004", "山口　幸子", "山口");
}

void TimetableTest::TearDown() {
    school().clearMasters();
    ScreenTest::TearDown();
}

void TimetableTest::kamoku(const char* dept, int grade, const char* no, const char* name,
                           const char* shortName, int elective) {
    insertKamoku(dept, grade, no, name, shortName, elective);
}

void TimetableTest::subject(const char* dept, int grade, const char* kamoku, const char* no,
                            int order, const char* name, const char* shortName, int split,
                            int elective) {
    insertSubject(dept, grade, kamoku, no, order, name, shortName, split, elective);
}

void TimetableTest::teacher(const char* no, const char* name, const char* display) {
    insert("教員", {{"員_番号", no}, {"員_氏名", name}, {"員_表示名", display}});
}

void TimetableTest::lesson(const char* dept, int grade, const char* klass, int weekday, int period,
                           const char* teacher, const char* kamoku, const char* subject,
                           const char* subjectName, const char* shortName, int selection,
                           int freeText) {
    // The names a screen stores with the lesson, as the teachers of SetUp have them.
    static const std::map<QString, std::pair<QString, QString>> names = {
        {"001", {"佐藤　健一", "佐藤"}},
        {"002", {"鈴木　美咲", "鈴木"}},
        {"003", {"高橋　誠", ""}},
        {"004", {"山口　幸子", "山口"}}};
    const auto name = names.count(teacher) ? names.at(teacher) : std::pair<QString, QString>();
    insert("組時間割", {{"組_教員名", name.first},
                        {"組_教員表示名", name.second},
                        {"組_年度", 2007},
                        {"組_学部", dept},
                        {"組_学年", grade},
                        {"組_組", klass},
                        {"組_選択番号", selection},
                        {"組_曜日", weekday},
                        {"組_時限", period},
                        {"組_教員", teacher},
                        {"組_科目", kamoku},
                        {"組_教科", subject},
                        {"組_教科名", subjectName},
                        {"組_教科略称", shortName},
                        {"組_登録", freeText}});
}

void TimetableTest::change(const char* date, const char* dept, int grade, const char* klass,
                           int period, const char* teacher) {
    insert("時限変更", {{"変_年度", 2007},
                        {"変_日付", date},
                        {"変_学部", dept},
                        {"変_学年", grade},
                        {"変_組", klass},
                        {"変_時限", period},
                        {"変_教員", teacher}});
}

void TimetableTest::selectClass(WorkContext& ctx, const char* dept, int grade, const char* klass) {
    ctx.workingYear = 2007;
    ctx.departmentCode = dept;
    ctx.departmentPosition = QString(dept).toInt();
    ctx.grade = grade;
    ctx.courseCode.clear();
    ctx.classCode = klass;
    ctx.selectionNumber = 0;
}

void TimetableTest::event(const char* from, const char* to, const char* dept, int grade,
                          int lessons, int periodFrom, int periodTo, const char* name,
                          const char* shortName) {
    static int sequence = 0;
    insert("予定", {{"予_年度", 2007},
                    {"予_学部", dept},
                    {"予_学年", grade},
                    {"予_日付", from},
                    {"予_連番", ++sequence},
                    {"予_時限From", periodFrom},
                    {"予_時限To", periodTo},
                    {"予_終了日", to},
                    {"予_授業F", lessons},
                    {"予_名称", name},
                    {"予_略称", shortName}});
}
