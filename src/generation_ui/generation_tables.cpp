#include "generation_ui/generation_tables.h"

#include <map>
#include <tuple>

#include <QRegularExpression>

#include "common/list_support.h"
#include "common/registration.h"
#include "context/school_context.h"
#include "data/recordset.h"

namespace {

QString classLabel(const QString& dept, int grade, const QString& klass) {
    return QStringLiteral("%1 %2 %3")
        .arg(stored_names::department(dept), stored_names::grade(grade),
             stored_names::klass(dept, klass));
}

std::vector<Value> unavailableKey(int year, const UnavailableOwner& o, int weekday, int period) {
    const bool teacher = o.kind == UnavailableOwner::Teacher;
    const bool grade = o.kind == UnavailableOwner::Grade;
    return {year,
            int(o.kind),
            teacher ? o.teacher : QString(),
            grade ? o.dept : QString(),
            grade ? o.grade : 0,
            grade ? o.klass : QString(),
            weekday,
            period};
}

std::vector<Value> keptKey(int year, const ScopeClass& c, int weekday, int period) {
    return {year, c.dept, c.grade, c.course, c.klass, weekday, period};
}

// Adds the record of `key` when it is missing, deletes it when it is there; true when added.
bool toggle(const char* table, const char* index, const QStringList& fields,
            const std::vector<Value>& key) {
    Recordset rs(table);
    rs.setIndex(index);
    rs.seek(Seek::Equal, key);
    if (!rs.noMatch()) {
        rs.remove();
        return false;
    }
    rs.addNew();
    for (int i = 0; i < fields.size(); ++i) rs.set(fields[i], key[i]);
    rs.update();
    return true;
}

const QStringList kUnavailableFields = {"不_年度", "不_種別", "不_教員", "不_学部",
                                        "不_学年", "不_組",   "不_曜日", "不_時限"};
const QStringList kKeptFields = {"固_年度", "固_学部", "固_学年", "固_コース",
                                 "固_組",   "固_曜日", "固_時限"};

// HR, 道徳 and 総合 (総合的な学習の時間 …) by the start of their names: 歴史総合 is a subject.
bool isHomeroomLesson(const Recordset& rs) {
    static const QStringList kNames = {"HR", "ＨＲ", "ホームルーム", "学活", "道徳", "総合"};
    for (const char* field : {"組_科目名", "組_教科名", "組_教科略称"}) {
        const QString text = rs.text(field).trimmed();
        for (const QString& name : kNames)
            if (text.startsWith(name)) return true;
    }
    return false;
}

}  // namespace

std::vector<ScopeClass> classesInScope(int year, const QString& department) {
    std::vector<ScopeClass> out;
    std::set<std::tuple<QString, int, QString, QString>> seen;
    const SchoolContext& s = school();
    for (int d = 1; d <= s.departmentCount; ++d) {
        const QString dept = s.departments[d].code;
        if (!department.isEmpty() && dept != department) continue;
        for (int g = 1; g <= s.gradeCount; ++g) {
            const int grade = list_support::numberOf(s.grades[g].name);
            if (grade <= 0) continue;
            for (int k = 1; k <= s.classCount[d]; ++k) {
                const QString klass = s.classes[d][k].name;
                if (!seen.insert({dept, grade, QString(), klass}).second) continue;
                out.push_back({dept, grade, QString(), klass, classLabel(dept, grade, klass)});
            }
        }
    }
    // Lines stored for a class the masters no longer list (or under a course) stay reachable.
    Recordset rs("作成時数");
    rs.setIndex("Key_作成時数");
    rs.seek(Seek::AtLeast,
            department.isEmpty() ? std::vector<Value>{year} : std::vector<Value>{year, department});
    for (; !rs.noMatch() && !rs.eof() && rs.integer("作_年度") == year &&
           (department.isEmpty() || rs.text("作_学部") == department);
         rs.moveNext()) {
        ScopeClass c{rs.text("作_学部"), rs.integer("作_学年"), rs.text("作_コース"),
                     rs.text("作_組"), QString()};
        if (!seen.insert({c.dept, c.grade, c.course, c.klass}).second) continue;
        c.label = classLabel(c.dept, c.grade, c.klass);
        out.push_back(c);
    }
    return out;
}

std::set<std::pair<int, int>> readUnavailable(int year, const UnavailableOwner& owner) {
    std::set<std::pair<int, int>> out;
    std::vector<Value> from = unavailableKey(year, owner, 0, 0);
    from.resize(6);
    Recordset rs("作成不可");
    rs.setIndex("Key_作成不可");
    rs.seek(Seek::AtLeast, from);
    for (; !rs.noMatch() && !rs.eof(); rs.moveNext()) {
        bool same = true;
        for (int i = 0; i < 6 && same; ++i) same = rs.value(kUnavailableFields[i]) == from[i];
        if (!same) break;
        out.insert({rs.integer("不_曜日"), rs.integer("不_時限")});
    }
    return out;
}

bool toggleUnavailable(int year, const UnavailableOwner& owner, int weekday, int period) {
    return toggle("作成不可", "Key_作成不可", kUnavailableFields,
                  unavailableKey(year, owner, weekday, period));
}

std::set<std::pair<int, int>> readKept(int year, const ScopeClass& c) {
    std::set<std::pair<int, int>> out;
    Recordset rs("作成固定");
    rs.setIndex("Key_作成固定");
    rs.seek(Seek::AtLeast, {year, c.dept, c.grade, c.course, c.klass, 0, 0});
    for (; !rs.noMatch() && !rs.eof() && rs.integer("固_年度") == year &&
           rs.text("固_学部") == c.dept && rs.integer("固_学年") == c.grade &&
           rs.text("固_コース") == c.course && rs.text("固_組") == c.klass;
         rs.moveNext())
        out.insert({rs.integer("固_曜日"), rs.integer("固_時限")});
    return out;
}

bool toggleKept(int year, const ScopeClass& c, int weekday, int period) {
    return toggle("作成固定", "Key_作成固定", kKeptFields, keptKey(year, c, weekday, period));
}

int keepHomeroomSlots(int year, const std::vector<ScopeClass>& classes) {
    int kept = 0;
    for (const ScopeClass& c : classes) {
        std::set<std::pair<int, int>> slots;
        Recordset rs("組時間割");
        rs.setIndex("Key_時間割");
        rs.seek(Seek::AtLeast, {year, c.dept, c.grade, c.course, c.klass, 0, 0, 0, QString()});
        for (; !rs.noMatch() && !rs.eof() && rs.integer("組_年度") == year &&
               rs.text("組_学部") == c.dept && rs.integer("組_学年") == c.grade &&
               rs.text("組_コース") == c.course && rs.text("組_組") == c.klass;
             rs.moveNext())
            if (isHomeroomLesson(rs)) slots.insert({rs.integer("組_曜日"), rs.integer("組_時限")});
        const std::set<std::pair<int, int>> already = readKept(year, c);
        for (const auto& [weekday, period] : slots)
            if (!already.count({weekday, period}) && toggleKept(year, c, weekday, period)) ++kept;
    }
    return kept;
}

namespace {

// The numbers of the teachers whose field of `index` holds exactly `name`.
QStringList teachersNamed(const char* index, const char* field, const QString& name) {
    QStringList out;
    Recordset rs("教員");
    rs.setIndex(index);
    rs.seek(Seek::Equal, {name});
    for (; !rs.noMatch() && !rs.eof() && rs.text(field) == name; rs.moveNext())
        out << rs.text("員_番号");
    return out;
}

}  // namespace

QString teacherNames(const QString& numbers) {
    // Each teacher by a name that reads back as that teacher: the display name, else the full
    // name, else (two teachers of one name) the number.
    QStringList names;
    Recordset rs("教員");
    rs.setIndex("Key_教員");
    for (QString n : numbers.split(',', Qt::SkipEmptyParts)) {
        n = n.trimmed();
        rs.seek(Seek::Equal, {n});
        if (rs.noMatch()) {
            names << n;
            continue;
        }
        const QString display = rs.text("員_表示名"), full = rs.text("員_氏名");
        if (!display.isEmpty() && teachersNamed("Idx_表示名", "員_表示名", display).size() == 1)
            names << display;
        else if (!full.isEmpty() && teachersNamed("Idx_教員名", "員_氏名", full).size() == 1 &&
                 teachersNamed("Idx_表示名", "員_表示名", full).isEmpty())
            names << full;
        else
            names << n;
    }
    return names.join(QStringLiteral("・"));
}

QString teacherNumbers(const QString& names, QStringList* unknown, QStringList* ambiguous) {
    QStringList numbers;
    static const QRegularExpression kSeparators(QStringLiteral("[・,、，]"));
    for (QString name : names.split(kSeparators, Qt::SkipEmptyParts)) {
        name = name.trimmed();
        if (name.isEmpty()) continue;
        QStringList found = teachersNamed("Idx_表示名", "員_表示名", name);
        if (found.isEmpty()) found = teachersNamed("Idx_教員名", "員_氏名", name);
        if (found.isEmpty()) found = teachersNamed("Key_教員", "員_番号", name);
        if (found.size() != 1) {
            if (QStringList* into = found.isEmpty() ? unknown : ambiguous) *into << name;
            continue;
        }
        if (!numbers.contains(found[0])) numbers << found[0];
    }
    return numbers.join(',');
}
