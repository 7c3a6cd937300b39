#include "newdb/fet_import.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "data/database.h"
#include "generation/problem.h"
#include "newdb/fet_school.h"
#include "newdb/record_writer.h"

namespace fet {
namespace {

QString code(int n, int width) {
    return QStringLiteral("%1").arg(n, width, 10, QChar('0'));
}
int widthFor(int count, int least) {
    return std::max(least, int(QString::number(count).size()));
}

// The first `n` characters, never cutting a surrogate pair.
QString leftChars(const QString& text, int n) {
    int i = 0;
    for (int taken = 0; i < text.size() && taken < n; ++taken)
        i += text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    return text.left(i);
}

// Timetables show four characters of a teacher. FET names are often "Prof 41", "Prof 42": when
// the start is not telling, the start and end together are.
QStringList displayNames(const QStringList& names) {
    QStringList out;
    std::map<QString, int> uses;
    for (const QString& n : names) ++uses[leftChars(n.simplified(), 4)];
    for (const QString& n : names) {
        const QString start = leftChars(n.simplified(), 4);
        const QString compact = QString(n).remove(QChar(' '));
        out << (uses[start] > 1 && compact.size() > 4 ? leftChars(compact, 2) + compact.right(2)
                                                      : start);
    }
    return out;
}

const QString kDepartment = QStringLiteral("001");

void writeMasters(const School& s) {
    Recordset rs("マスタ");
    const QString name = s.institution.isEmpty() ? QStringLiteral("FET") : s.institution;
    addRecord(rs, {{"マ_番号", "001"},
                   {"マ_連番", "001"},
                   {"マ_名称", name},
                   {"マ_略称", leftChars(name, 5)}});
    addRecord(rs, {{"マ_番号", "002"},
                   {"マ_連番", kDepartment},
                   {"マ_名称", name},
                   {"マ_略称", leftChars(name, 5)}});
    for (int g = 1; g <= int(s.years.size()); ++g)
        addRecord(rs, {{"マ_番号", "003"},
                       {"マ_連番", code(g, 3)},
                       {"マ_名称", QString::number(g)},
                       {"マ_略称", s.years[g - 1].name}});
    const int width = widthFor(int(s.classes.size()), 3);
    for (int c = 0; c < int(s.classes.size()); ++c)
        addRecord(rs, {{"マ_番号", "006"},
                       {"マ_連番", code(c + 1, width)},
                       {"マ_名称", s.classes[c].name},
                       {"マ_略称", s.classes[c].name},
                       {"マ_学部", kDepartment}});
    addRecord(rs, {{"マ_番号", "010"},
                   {"マ_連番", "001"},
                   {"マ_名称", "5"},
                   {"マ_略称", "5"},
                   {"マ_備考", "年度"}});
}

struct Codes {
    QStringList teachers, subjects;
};

Codes writeTeachersAndSubjects(const School& s, const Plan& p, int year) {
    Codes codes;
    const int tw = widthFor(int(s.teachers.size()), 3), sw = widthFor(int(s.subjects.size()), 2);
    for (int t = 0; t < int(s.teachers.size()); ++t) codes.teachers << code(t + 1, tw);
    for (int j = 0; j < int(s.subjects.size()); ++j) codes.subjects << code(j + 1, sw);
    const QStringList shown = displayNames(s.teachers);
    {
        Recordset rs("教員");
        for (int t = 0; t < int(s.teachers.size()); ++t)
            addRecord(rs, {{"員_番号", codes.teachers[t]},
                           {"員_氏名", s.teachers[t]},
                           {"員_氏名カナ", s.teachers[t]},
                           {"員_表示名", shown[t]}});
    }
    // Per grade the subjects its lines use, and who teaches them there.
    std::map<int, std::map<int, bool>> used;  // grade → subject → elective
    std::set<std::tuple<int, int, int>> assigned;
    for (const Line& l : p.lines) {
        const int grade = s.classes[l.klass].grade;
        used[grade][l.subject] = used[grade][l.subject] || l.block > 0;
        for (int t : l.teachers) assigned.insert({t, grade, l.subject});
    }
    Recordset ka("科目"), kyo("教科"), tan("担当");
    for (const auto& [grade, subjects] : used)
        for (const auto& [j, elective] : subjects) {
            const QString& name = s.subjects[j];
            addRecord(ka, {{"科_年度", year},
                           {"科_学部", kDepartment},
                           {"科_学年", grade},
                           {"科_番号", codes.subjects[j]},
                           {"科_表示順", j + 1},
                           {"科_名称", name},
                           {"科_略称", leftChars(name, 5)},
                           {"科_選択F", elective ? 1 : 0}});
            addRecord(kyo, {{"教_年度", year},
                            {"教_学部", kDepartment},
                            {"教_学年", grade},
                            {"教_科目番号", codes.subjects[j]},
                            {"教_教科番号", "01"},
                            {"教_表示順", j + 1},
                            {"教_名称", name},
                            {"教_略称", leftChars(name, 5)},
                            {"教_選択F", elective ? 1 : 0}});
        }
    for (const auto& [t, grade, j] : assigned)
        addRecord(tan, {{"担_年度", year},
                        {"担_教員番号", codes.teachers[t]},
                        {"担_学部", kDepartment},
                        {"担_学年", grade},
                        {"担_科目番号", codes.subjects[j]},
                        {"担_教科番号", "01"},
                        {"担_氏名", s.teachers[t]}});
    return codes;
}

void writeGeneratorTables(const School& s, const Plan& p, const Codes& codes, int year) {
    {
        Recordset rs("作成時数");
        for (const Line& l : p.lines) {
            QStringList teachers;
            for (int t : l.teachers) teachers << codes.teachers[t];
            const School::Class& c = s.classes[l.klass];
            addRecord(rs, {{"作_年度", year},
                           {"作_学部", kDepartment},
                           {"作_学年", c.grade},
                           {"作_組", c.name},
                           {"作_行", l.row},
                           {"作_科目", codes.subjects[l.subject]},
                           {"作_教科", "01"},
                           {"作_教員", teachers.join(',')},
                           {"作_時間数", l.hours},
                           {"作_連続", l.run},
                           {"作_選択", l.block},
                           {"作_分散", l.spread},
                           {"作_後続", l.after},
                           {"作_間隔", l.minDays}});
        }
    }
    {
        Recordset rs("作成不可");
        auto off = [&](int kind, const QString& teacher, int grade, const QString& klass,
                       const Slot& slot) {
            addRecord(rs, {{"不_年度", year},
                           {"不_種別", kind},
                           {"不_教員", teacher},
                           {"不_学部", kind == 2 ? kDepartment : QString()},
                           {"不_学年", grade},
                           {"不_組", klass},
                           {"不_曜日", gen::storedWeekday(slot.day)},
                           {"不_時限", slot.hour + 1}});
        };
        for (const auto& [t, slot] : s.teacherOff) off(1, codes.teachers[t], 0, {}, slot);
        std::set<std::tuple<int, QString, Slot>> grades;  // a class also listed for its grade once
        for (const auto& [g, slot] : s.gradeOff) grades.insert({g, QString(), slot});
        for (const auto& [c, slot] : s.classOff)
            if (!s.gradeOff.count({s.classes[c].grade, slot}))
                grades.insert({s.classes[c].grade, s.classes[c].name, slot});
        for (const auto& [g, klass, slot] : grades) off(2, {}, g, klass, slot);
        for (const Slot& slot : s.breaks) off(3, {}, 0, {}, slot);
    }
    {
        // Only the wishes the file can state are scored, so a score compares with FET's.
        Recordset rs("作成設定");
        const std::pair<const char*, int> settings[] = {{"曜日数", int(s.days.size())},
                                                        {"時限数", int(s.hours.size())},
                                                        {"重み_空き", 0},
                                                        {"重み_最終時限", 0},
                                                        {"1日最大", 0}};
        for (const auto& [item, value] : settings)
            addRecord(rs, {{"設_年度", year}, {"設_項目", item}, {"設_値", value}});
    }
}

}  // namespace

ImportSummary importFet(const QString& fetPath, int year, const QString& reducedPath) {
    School s = readSchool(fetPath);
    const Plan p = planLines(s);

    Operation op;
    writeMasters(s);
    writeBusinessYears(year);
    const Codes codes = writeTeachersAndSubjects(s, p, year);
    writeGeneratorTables(s, p, codes, year);
    op.commit();
    if (!reducedPath.isEmpty()) writeReducedFet(s, p, reducedPath);

    ImportSummary sum;
    sum.days = int(s.days.size());
    sum.periods = int(s.hours.size());
    sum.teachers = int(s.teachers.size());
    sum.grades = int(s.years.size());
    sum.classes = int(s.classes.size());
    sum.subjects = int(s.subjects.size());
    sum.lines = int(p.lines.size());
    for (const Demand& d : p.demands) sum.lessons += int(d.parts.size());
    sum.blocks = p.blocks;
    sum.leftOut = s.leftOut.lines();
    return sum;
}

}  // namespace fet
