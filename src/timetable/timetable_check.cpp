#include "timetable/timetable_check.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/key_range.h"
#include "data/recordset.h"
#include "timetable/school_terms.h"
#include "timetable/slot_grid.h"

namespace {

using Kind = TimetableProblem::Kind;

// A class as the timetable stores it. The course is part of where a lesson is kept, but a class
// is the same class under any course: the weekday check compares classes, not course rows.
struct ClassKey {
    QString dept;
    int grade = 0;
    QString klass;
    bool operator<(const ClassKey& o) const {
        return std::tie(dept, grade, klass) < std::tie(o.dept, o.grade, o.klass);
    }
};

struct Lesson {
    QString dept;
    int grade = 0;
    QString course, klass;
    int weekday = 0, period = 0;
    QString teacher, kamoku, kamokuName, subject, subjectName, subjectShort;
    QString teacherName, teacherDisplay;
    bool freeText = false;
    int elective = 0;  // 組_選択番号
    ClassKey classKey() const { return {dept, grade, klass}; }
    bool sameClass(const Lesson& o) const {
        return dept == o.dept && grade == o.grade && course == o.course && klass == o.klass;
    }
};

struct KamokuEntry {
    QString name, shortName;
    int elective = 0;
};
struct SubjectEntry {
    QString name, shortName;
    int split = 0, elective = 0;
};
struct TeacherEntry {
    QString name, display, kana, leaveFrom, leaveTo;
};

// Keys of the masters as the look-ups of the timetable screens find them: the lesson's own
// department, grade and course.
QString key(std::initializer_list<QString> parts) {
    QString k;
    k.reserve(48);
    for (const QString& p : parts) {
        if (&p != parts.begin()) k += QChar(0x1f);
        k += p;
    }
    return k;
}

// The masters of the year, read once: a school has a few hundred of them, the timetable
// thousands of lessons that name them.
struct Masters {
    std::unordered_map<QString, KamokuEntry> kamoku;
    std::unordered_map<QString, SubjectEntry> subjects;
    std::unordered_map<QString, TeacherEntry> teachers;

    explicit Masters(int year) {
        Recordset ka("科目");
        ka.setIndex("Key_科目");
        for (ka.seekPrefix({year}); ka.inPrefix(); ka.moveNext())
            kamoku[key({ka.text("科_学部"), ka.text("科_学年"), ka.text("科_コース"),
                        ka.text("科_番号")})] = {ka.text("科_名称"), ka.text("科_略称"),
                                                 ka.integer("科_選択F")};
        Recordset ky("教科");
        ky.setIndex("Key_教科");
        for (ky.seekPrefix({year}); ky.inPrefix(); ky.moveNext())
            subjects[key({ky.text("教_学部"), ky.text("教_学年"), ky.text("教_コース"),
                          ky.text("教_科目番号"), ky.text("教_教科番号")})] = {
                ky.text("教_名称"), ky.text("教_略称"), ky.integer("教_展開F"),
                ky.integer("教_選択F")};
        Recordset t("教員");
        t.setIndex("Key_教員");
        t.seek(Seek::AtLeast, {QString()});
        for (; !t.noMatch() && !t.eof(); t.moveNext())
            teachers[t.text("員_番号")] = {t.text("員_氏名"), t.text("員_表示名"),
                                           t.text("員_氏名カナ"), t.text("員_休職FROM"),
                                           t.text("員_休職TO")};
    }

    const KamokuEntry* kamokuOf(const Lesson& l) const {
        const auto it = kamoku.find(key({l.dept, QString::number(l.grade), l.course, l.kamoku}));
        return it == kamoku.end() ? nullptr : &it->second;
    }
    const SubjectEntry* subjectOf(const Lesson& l) const {
        const auto it =
            subjects.find(key({l.dept, QString::number(l.grade), l.course, l.kamoku, l.subject}));
        return it == subjects.end() ? nullptr : &it->second;
    }
    const TeacherEntry* teacherOf(const QString& number) const {
        const auto it = teachers.find(number);
        return it == teachers.end() ? nullptr : &it->second;
    }
};

// The year's lessons, with the fields the checks use and nothing else: a whole school's
// timetable is thousands of records, and reading every field of each through a record set took
// most of the check's time.
std::vector<Lesson> lessonsOf(int year) {
    std::vector<Lesson> lessons;
    readKeyRange({"組時間割", "Key_時間割", {year}, {year}},
                 {"組_学部", "組_学年", "組_コース", "組_組", "組_曜日", "組_時限", "組_教員",
                  "組_科目", "組_科目名", "組_教科", "組_教科名", "組_教科略称", "組_教員名",
                  "組_教員表示名", "組_登録", "組_選択番号"},
                 [&](const KeyRow& r) {
                     Lesson l{r.text(0),         int(r.integer(1)), r.text(2),  r.text(3),
                              int(r.integer(4)), int(r.integer(5)), r.text(6),  r.text(7),
                              r.text(8),         r.text(9),         r.text(10), r.text(11),
                              r.text(12),        r.text(13)};
                     // "000" marks a lesson outside the registered subjects whatever its flag
                     // says.
                     l.freeText = r.integer(14) == 1 || l.kamoku == kCommonCode;
                     l.elective = int(r.integer(15));
                     lessons.push_back(std::move(l));
                 });
    return lessons;
}

// ------------------------------------------------------------------------------ names and order

QString gradeText(int grade) {
    const int g = gradePositionOf(grade);
    return g > 0 ? school().grades[g].shortName : QString::number(grade);
}

QString classText(const QString& dept, const QString& klass) {
    const int d = departmentPositionOf(dept);
    const int k = d > 0 ? classPositionOf(d, klass) : 0;
    return k > 0 ? school().classes[d][k].shortName : klass;
}

QString departmentText(const QString& dept) {
    if (dept == kCommonCode) return kCommonName;
    const int d = departmentPositionOf(dept);
    return d > 0 ? school().departments[d].name : dept;
}

QString className(const ClassKey& c) {
    return departmentText(c.dept) + QLatin1Char(' ') + gradeText(c.grade) +
           classText(c.dept, c.klass);
}

// Classes in the order of the masters (department, grade, class), unknown ones after them.
using SortKey = QStringList;
void appendClassOrder(SortKey& k, const QString& dept, int grade, const QString& klass) {
    const int d = departmentPositionOf(dept), g = gradePositionOf(grade);
    const int c = d > 0 ? classPositionOf(d, klass) : 0;
    auto pos = [](int n) { return QStringLiteral("%1").arg(n > 0 ? n : 99, 2, 10, QChar('0')); };
    k << pos(d) << dept << pos(g) << QStringLiteral("%1").arg(grade, 5, 10, QChar('0')) << pos(c)
      << klass;
}
void appendSlot(SortKey& k, int weekday, int period) {
    k << QString::number(weekday) << QStringLiteral("%1").arg(period, 2, 10, QChar('0'));
}

class Collector {
public:
    explicit Collector(const Masters& masters) : masters_(masters) {}

    void add(Kind kind, const Lesson& l, const QString& detail, SortKey order) {
        TimetableProblem p{kind,      l.dept,   l.grade,   l.course,  l.klass,
                           l.weekday, l.period, l.teacher, nameOf(l), detail};
        found_.push_back({std::move(order), std::move(p)});
    }
    void add(TimetableProblem p, SortKey order) { found_.push_back({std::move(order), p}); }

    // The teacher as registered; a teacher no longer registered as stored with the lesson.
    QString nameOf(const Lesson& l) const {
        if (l.teacher.isEmpty()) return {};
        if (const TeacherEntry* t = masters_.teacherOf(l.teacher)) return t->name;
        return l.teacherName.isEmpty() ? l.teacher : l.teacherName;
    }
    // Teachers in the order of their reading, as the teacher lists go.
    void appendTeacherOrder(SortKey& k, const QString& teacher) const {
        const TeacherEntry* t = masters_.teacherOf(teacher);
        k << (t ? t->kana : QString(QChar(0xffff))) << teacher;
    }

    std::vector<TimetableProblem> sorted() {
        std::stable_sort(found_.begin(), found_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<TimetableProblem> out;
        out.reserve(found_.size());
        for (auto& f : found_) out.push_back(std::move(f.second));
        return out;
    }

private:
    const Masters& masters_;
    std::vector<std::pair<SortKey, TimetableProblem>> found_;
};

SortKey orderOf(Kind kind) {
    return {QString::number(int(kind))};
}

// ------------------------------------------------------------------------------ the checks

// Lessons that share their teacher and slot with a lesson of another class. Parallel lessons of
// one elective (or split) course subject in one grade are taught together: no clash. So is one
// lesson given to several classes at once, of any grades, which is stored in each class under the
// same subject and the same selection number above 0.
void doubleBookings(const std::vector<Lesson>& lessons, const Masters& masters, Collector& out) {
    auto parallel = [&](const Lesson& l) {
        if (l.freeText) return false;
        const KamokuEntry* k = masters.kamokuOf(l);
        const SubjectEntry* s = masters.subjectOf(l);
        return (k && k->elective != 0) || (s && (s->split != 0 || s->elective != 0));
    };
    auto together = [&](const Lesson& a, const Lesson& b) {
        if (a.elective > 0 && a.elective == b.elective && a.kamoku == b.kamoku &&
            a.subject == b.subject)
            return true;
        return a.dept == b.dept && a.grade == b.grade && a.course == b.course &&
               a.kamoku == b.kamoku && parallel(a) && parallel(b);
    };
    std::map<std::tuple<int, int, QString>, std::vector<const Lesson*>> bySlot;
    for (const Lesson& l : lessons)
        if (!l.teacher.isEmpty()) bySlot[{l.weekday, l.period, l.teacher}].push_back(&l);
    for (const auto& [slot, group] : bySlot) {
        if (group.size() < 2) continue;
        std::set<ClassKey> reported;
        for (const Lesson* l : group) {
            std::set<ClassKey> others;
            for (const Lesson* o : group)
                if (!o->sameClass(*l) && !together(*l, *o)) others.insert(o->classKey());
            others.erase(l->classKey());
            if (others.empty() || !reported.insert(l->classKey()).second) continue;
            QStringList names;
            for (const ClassKey& c : others) names << className(c);
            SortKey order = orderOf(Kind::DoubleBooking);
            appendSlot(order, l->weekday, l->period);
            out.appendTeacherOrder(order, l->teacher);
            appendClassOrder(order, l->dept, l->grade, l->klass);
            out.add(Kind::DoubleBooking, *l,
                    QStringLiteral("%1 と重複しています").arg(names.join(QStringLiteral("、"))),
                    std::move(order));
        }
    }
}

QString quoted(const QString& name) {
    return name.isEmpty() ? QStringLiteral("（なし）") : name;
}

// Course subject, subject and teacher of each lesson against the masters of the year.
void masterProblems(const std::vector<Lesson>& lessons, const Masters& masters, Collector& out) {
    for (const Lesson& l : lessons) {
        QStringList found;
        auto renamed = [&](const char* what, const QString& stored, const QString& registered) {
            if (stored != registered)
                found << QStringLiteral("%1が変更されています：%2 → %3")
                             .arg(QString::fromUtf8(what), quoted(stored), quoted(registered));
        };
        if (!l.freeText) {
            if (const KamokuEntry* k = masters.kamokuOf(l)) {
                renamed("科目名", l.kamokuName, k->name);
                if (const SubjectEntry* s = masters.subjectOf(l)) {
                    renamed("教科名", l.subjectName, s->name);
                    renamed("教科略称", l.subjectShort, s->shortName);
                } else {
                    found << QStringLiteral("教科が登録されていません（番号 %1）").arg(l.subject);
                }
            } else {
                // Its subjects are kept under it, so they are missing too: one finding says it.
                found << QStringLiteral("科目が登録されていません（番号 %1）").arg(l.kamoku);
            }
        }
        if (!l.teacher.isEmpty()) {
            if (const TeacherEntry* t = masters.teacherOf(l.teacher)) {
                renamed("教員名", l.teacherName, t->name);
                renamed("教員表示名", l.teacherDisplay, t->display);
            } else {
                found << QStringLiteral("教員が登録されていません（番号 %1）").arg(l.teacher);
            }
        }
        for (const QString& detail : found) {
            SortKey order = orderOf(Kind::Masters);
            appendClassOrder(order, l.dept, l.grade, l.klass);
            appendSlot(order, l.weekday, l.period);
            out.add(Kind::Masters, l, detail, std::move(order));
        }
    }
}

// Lessons of teachers whose leave overlaps a term in which the class has lessons.
void leaveProblems(int year, const std::vector<Lesson>& lessons, const Masters& masters,
                   Collector& out) {
    const std::vector<SchoolTerm> terms = schoolTerms(year);
    const DateRange schoolYear = schoolYearOf(year);
    for (const Lesson& l : lessons) {
        if (l.teacher.isEmpty()) continue;
        const TeacherEntry* t = masters.teacherOf(l.teacher);
        if (!t || t->leaveFrom.isEmpty()) continue;
        const QString& from = t->leaveFrom;
        const QString& to = t->leaveTo;  // empty: no end
        auto overlaps = [&](const QString& a, const QString& b) {
            return from <= b && (to.isEmpty() || to >= a);
        };
        QStringList names;
        bool anyTerm = false;
        for (const SchoolTerm& term : terms) {
            if (!term.appliesTo(l.dept, l.grade)) continue;
            anyTerm = true;
            if (overlaps(term.from, term.to)) names << term.name;
        }
        if (anyTerm ? names.isEmpty() : !overlaps(schoolYear.from, schoolYear.to)) continue;
        QString detail = QStringLiteral("休職 %1～%2").arg(from, to);
        if (!names.isEmpty())
            detail += QStringLiteral("（%1）").arg(names.join(QStringLiteral("・")));
        SortKey order = orderOf(Kind::Leave);
        out.appendTeacherOrder(order, l.teacher);
        appendSlot(order, l.weekday, l.period);
        appendClassOrder(order, l.dept, l.grade, l.klass);
        out.add(Kind::Leave, l, detail, std::move(order));
    }
}

// Classes without any lesson on a weekday that other classes of their grade use. A class is
// known from the masters (every class of a department in every grade, as the slot grid has
// them) or from its lessons.
void emptyDays(const std::vector<Lesson>& lessons, Collector& out) {
    std::map<ClassKey, std::set<int>> days;
    std::map<ClassKey, QString> courseOf;
    for (const Lesson& l : lessons) {
        days[l.classKey()].insert(l.weekday);
        courseOf.try_emplace(l.classKey(), l.course);
    }
    const SchoolContext& s = school();
    for (int d = 1; d <= s.departmentCount; ++d)
        for (int g = 1; g <= s.gradeCount; ++g) {
            bool ok = false;
            const int grade = s.grades[g].name.trimmed().toInt(&ok);
            if (!ok) continue;
            for (int k = 1; k <= s.classCount[d]; ++k)
                days.try_emplace({s.departments[d].code, grade, s.classes[d][k].name});
        }
    std::map<std::pair<QString, int>, std::set<int>> used;
    for (const auto& [c, weekdays] : days)
        used[{c.dept, c.grade}].insert(weekdays.begin(), weekdays.end());
    for (const auto& [c, weekdays] : days) {
        const std::set<int>& gradeDays = used[{c.dept, c.grade}];
        if (gradeDays.empty()) continue;
        auto report = [&](int weekday, const QString& detail) {
            TimetableProblem p{Kind::EmptyDay, c.dept, c.grade, courseOf[c], c.klass,
                               weekday,        0,      {},      {},          detail};
            SortKey order = orderOf(Kind::EmptyDay);
            appendClassOrder(order, c.dept, c.grade, c.klass);
            appendSlot(order, weekday, 0);
            out.add(std::move(p), std::move(order));
        };
        if (weekdays.empty()) {
            report(0, QStringLiteral("この組の時間割がありません（同じ学年の他の組にはあります）"));
            continue;
        }
        for (int w : gradeDays)
            if (!weekdays.count(w))
                report(w, QStringLiteral("授業が1つもありません（同じ学年の他の組にはあります）"));
    }
}

}  // namespace

std::vector<TimetableProblem> checkWholeTimetable(int year) {
    const Masters masters(year);
    const std::vector<Lesson> lessons = lessonsOf(year);
    Collector out(masters);
    doubleBookings(lessons, masters, out);
    masterProblems(lessons, masters, out);
    leaveProblems(year, lessons, masters, out);
    emptyDays(lessons, out);
    return out.sorted();
}

QString problemKindName(TimetableProblem::Kind kind) {
    switch (kind) {
        case Kind::DoubleBooking:
            return QStringLiteral("教員の重複");
        case Kind::Masters:
            return QStringLiteral("未登録・名称変更の授業");
        case Kind::Leave:
            return QStringLiteral("休職中の教員の授業");
        case Kind::EmptyDay:
            return QStringLiteral("授業のない曜日");
    }
    return {};
}

QStringList problemColumns() {
    return {QStringLiteral("学部"), QStringLiteral("学年"), QStringLiteral("組"),
            QStringLiteral("曜日"), QStringLiteral("時限"), QStringLiteral("教員"),
            QStringLiteral("内容")};
}

QStringList problemCells(const TimetableProblem& p) {
    const SchoolContext& s = school();
    return {departmentText(p.dept),
            gradeText(p.grade),
            classText(p.dept, p.klass),
            p.weekday >= 1 && p.weekday <= 7 ? s.weekdayNames[p.weekday] : QString(),
            p.period > 0 ? QString::number(p.period) : QString(),
            p.teacherName,
            p.detail};
}

QString problemSummary(const std::vector<TimetableProblem>& problems) {
    if (problems.empty()) return QStringLiteral("問題はありません");
    QStringList counts;
    for (Kind kind : kProblemKinds) {
        const auto n = std::count_if(problems.begin(), problems.end(),
                                     [&](const TimetableProblem& p) { return p.kind == kind; });
        if (n > 0) counts << QStringLiteral("%1 %2件").arg(problemKindName(kind)).arg(n);
    }
    return QStringLiteral("問題 %1件（%2）")
        .arg(problems.size())
        .arg(counts.join(QStringLiteral("、")));
}

namespace {
bool hasTimetable(int year) {
    Recordset rs("組時間割");
    rs.setIndex("Idx_コマ");
    rs.seekPrefix({year});
    return rs.inPrefix();
}
}  // namespace

QString checkSummary(int year, const std::vector<TimetableProblem>& problems) {
    if (problems.empty() && !hasTimetable(year))
        return QStringLiteral("この年度の時間割は登録されていません");
    return problemSummary(problems);
}
