#include <algorithm>
#include <set>
#include <tuple>

#include "data/dates.h"
#include "newdb/record_writer.h"
#include "newdb/sample_school.h"

namespace {

constexpr int kDepts = 3, kGrades = 3, kClasses = 12, kTeachers = 200, kYears = 10;
constexpr int kSubjects = 10;
constexpr int kChangesPerYear = 4000;
constexpr int kEventsPerYear = 60;

QString code3(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QChar('0'));
}
QString code2(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar('0'));
}

// A small deterministic generator, so that every run builds the same school.
struct Lcg {
    quint64 state;
    quint32 next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(state >> 33);
    }
};

}  // namespace

void fillLargeSchool(int lastYear) {
    Operation op;
    {
        Recordset rs("マスタ");
        addRecord(rs, {{"マ_番号", "001"},
                       {"マ_連番", "001"},
                       {"マ_名称", "大規模学園"},
                       {"マ_略称", "大規模"}});
        for (int d = 1; d <= kDepts; ++d)
            addRecord(rs, {{"マ_番号", "002"},
                           {"マ_連番", code3(d)},
                           {"マ_名称", QStringLiteral("第%1学部").arg(d)},
                           {"マ_略称", QString::number(d)}});
        for (int g = 1; g <= kGrades; ++g)
            addRecord(rs, {{"マ_番号", "003"},
                           {"マ_連番", code3(g)},
                           {"マ_名称", QString::number(g)},
                           {"マ_略称", QStringLiteral("%1年").arg(g)}});
        int entry = 0;
        for (int d = 1; d <= kDepts; ++d)
            for (int k = 1; k <= kClasses; ++k)
                addRecord(rs, {{"マ_番号", "006"},
                               {"マ_連番", code3(++entry)},
                               {"マ_名称", QString::number(k)},
                               {"マ_略称", QStringLiteral("%1組").arg(k)},
                               {"マ_学部", code3(d)}});
        addRecord(rs,
                  {{"マ_番号", "010"}, {"マ_連番", "001"}, {"マ_名称", "10"}, {"マ_略称", "10"}});
    }
    writeBusinessYears(lastYear);
    {
        Recordset rs("教員");
        for (int t = 0; t < kTeachers; ++t)
            addRecord(rs, {{"員_番号", code3(t + 1)},
                           {"員_氏名", QStringLiteral("教員　%1").arg(t + 1)},
                           {"員_氏名カナ", QStringLiteral("キョウイン %1").arg(t + 1)},
                           {"員_表示名", QStringLiteral("教%1").arg(t + 1)},
                           {"員_性別", 1 + t % 2},
                           // A few on leave for the second half of the year, a few without end.
                           {"員_休職FROM", t % 25 == 7    ? QStringLiteral("%1/09/01").arg(lastYear)
                                           : t % 40 == 13 ? QStringLiteral("%1/04/20").arg(lastYear)
                                                          : QString()},
                           {"員_休職TO", t % 25 == 7 ? QStringLiteral("%1/03/31").arg(lastYear + 1)
                                                     : QString()}});
    }
    Recordset ka("科目"), kyo("教科"), kumi("組時間割"), hen("時限変更"), tan("担当"), yo("予定");
    Lcg rng{12345};
    // Events have a generator of their own, so the lesson changes stay what they were.
    Lcg eventRng{54321};
    for (int y = lastYear - kYears + 1; y <= lastYear; ++y) {
        for (int d = 1; d <= kDepts; ++d)
            for (int g = 1; g <= kGrades; ++g)
                for (int s = 1; s <= kSubjects; ++s) {
                    addRecord(ka, {{"科_年度", y},
                                   {"科_学部", code3(d)},
                                   {"科_学年", g},
                                   {"科_番号", code2(s)},
                                   {"科_表示順", s},
                                   {"科_名称", QStringLiteral("科目%1").arg(s)},
                                   {"科_略称", QStringLiteral("科%1").arg(s)}});
                    addRecord(kyo, {{"教_年度", y},
                                    {"教_学部", code3(d)},
                                    {"教_学年", g},
                                    {"教_科目番号", code2(s)},
                                    {"教_教科番号", "01"},
                                    {"教_表示順", s},
                                    {"教_名称", QStringLiteral("教科%1").arg(s)},
                                    {"教_略称", QStringLiteral("教%1").arg(s)}});
                }
        // Monday to Friday, six periods; at each slot the 108 classes have 108 different
        // teachers, so nobody is booked twice.
        int cls = 0;
        for (int d = 1; d <= kDepts; ++d)
            for (int g = 1; g <= kGrades; ++g)
                for (int k = 1; k <= kClasses; ++k, ++cls)
                    for (int slot = 0; slot < 30; ++slot) {
                        const int t = (cls + 37 * slot + y) % kTeachers;
                        const int s = 1 + (cls + slot) % kSubjects;
                        addRecord(kumi, {{"組_年度", y},
                                         {"組_学部", code3(d)},
                                         {"組_学年", g},
                                         {"組_組", QString::number(k)},
                                         {"組_曜日", 2 + slot / 6},
                                         {"組_時限", 1 + slot % 6},
                                         {"組_教員", code3(t + 1)},
                                         {"組_科目", code2(s)},
                                         {"組_科目名", QStringLiteral("科目%1").arg(s)},
                                         {"組_教科", "01"},
                                         {"組_教科名", QStringLiteral("教科%1").arg(s)},
                                         {"組_教科略称", QStringLiteral("教%1").arg(s)},
                                         {"組_教員名", QStringLiteral("教員　%1").arg(t + 1)},
                                         {"組_教員表示名", QStringLiteral("教%1").arg(t + 1)}});
                    }
        std::set<std::tuple<int, int, int, int, int>> used;
        const QDate start(y, 4, 6);
        while (int(used.size()) < kChangesPerYear) {
            const QDate date = start.addDays(rng.next() % 340);
            if (date.dayOfWeek() > 5) continue;
            const int d = 1 + rng.next() % kDepts, g = 1 + rng.next() % kGrades;
            const int k = 1 + rng.next() % kClasses, p = 1 + rng.next() % 6;
            if (!used.insert({int(date.toJulianDay()), d, g, k, p}).second) continue;
            const int t = rng.next() % kTeachers;
            addRecord(hen, {{"変_年度", y},
                            {"変_日付", dateText(date)},
                            {"変_学部", code3(d)},
                            {"変_学年", g},
                            {"変_組", QString::number(k)},
                            {"変_時限", p},
                            {"変_科目", "01"},
                            {"変_教科", "01"},
                            {"変_教科名", "教科1"},
                            {"変_教科略称", "教1"},
                            {"変_教員", code3(t + 1)},
                            {"変_教員名", QStringLiteral("教員　%1").arg(t + 1)},
                            {"変_教員表示名", QStringLiteral("教%1").arg(t + 1)}});
        }
        // One to four assignments per teacher.
        for (int t = 0; t < kTeachers; ++t)
            for (int j = 0; j <= t % 4; ++j)
                addRecord(tan, {{"担_年度", y},
                                {"担_教員番号", code3(t + 1)},
                                {"担_学部", code3(1 + (t + j) % kDepts)},
                                {"担_学年", 1 + (t / 3 + j) % kGrades},
                                {"担_科目番号", code2(1 + (t + 3 * j) % kSubjects)},
                                {"担_教科番号", "01"},
                                {"担_氏名", QStringLiteral("教員　%1").arg(t + 1)}});
        // Events of every classification, for the whole school or one department and grade, of
        // one day or a few; a test week in June takes periods 3 and 4 of a whole department.
        addRecord(yo, {{"予_年度", y},
                       {"予_学部", "002"},
                       {"予_日付", QStringLiteral("%1/06/01").arg(y)},
                       {"予_連番", 0},
                       {"予_時限From", 3},
                       {"予_時限To", 4},
                       {"予_終了日", QStringLiteral("%1/06/12").arg(y)},
                       {"予_授業F", 2},
                       {"予_名称", "定期考査"},
                       {"予_略称", "考査"}});
        for (int e = 1; e <= kEventsPerYear; ++e) {
            const QDate from = start.addDays(eventRng.next() % 340);
            const int days = eventRng.next() % 4 == 0 ? int(eventRng.next() % 5) : 0;
            const bool common = eventRng.next() % 3 == 0;
            const int lessons = int(eventRng.next() % 3);
            const int first = 1 + int(eventRng.next() % 6);
            addRecord(yo, {{"予_年度", y},
                           {"予_学部", common ? QStringLiteral("000")
                                              : code3(1 + int(eventRng.next() % kDepts))},
                           {"予_学年", common ? 0 : 1 + int(eventRng.next() % kGrades)},
                           {"予_日付", dateText(from)},
                           {"予_連番", e},
                           {"予_時限From", lessons == 2 ? first : 0},
                           {"予_時限To", lessons == 2 ? std::min(first + 1, 6) : 0},
                           {"予_終了日", dateText(from.addDays(days))},
                           {"予_授業F", lessons},
                           {"予_名称", QStringLiteral("行事%1").arg(e)},
                           {"予_略称", QStringLiteral("行%1").arg(e)}});
        }
    }
    op.commit();
}
