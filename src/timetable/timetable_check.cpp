#include "timetable/timetable_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
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

// The texts of the year's lessons and masters, each kept once and known by a number. A school's
// timetable names a few hundred codes and names thousands of times; grouping and comparing by
// number spares a conversion and an allocation per field read, and equal texts (as stored) have
// equal numbers. 0 is the empty text.
class Texts {
public:
    Texts() { id(QByteArrayView()); }
    int id(QByteArrayView utf8) {
        const std::string_view bytes(utf8.data(), size_t(utf8.size()));
        if (const auto it = ids_.find(bytes); it != ids_.end()) return it->second;
        const int n = int(texts_.size());
        texts_.push_back(QString::fromUtf8(utf8));
        ids_.emplace(std::string(bytes), n);
        return n;
    }
    int id(const QString& text) { return id(QByteArrayView(text.toUtf8())); }
    const QString& operator[](int id) const { return texts_[size_t(id)]; }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> ids_;
    std::vector<QString> texts_;
};

// Keys of numbered texts (and integers) for the masters' look-ups.
template <size_t N>
struct KeyHash {
    size_t operator()(const std::array<int, N>& k) const {
        size_t h = 0;
        for (int v : k) h = h * 1000003u ^ size_t(unsigned(v));
        return h;
    }
};

struct KamokuEntry {
    int name = 0;
    int elective = 0;
};
struct SubjectEntry {
    int name = 0, shortName = 0;
    int split = 0, elective = 0;
};
struct TeacherEntry {
    QString name, kana, leaveFrom, leaveTo;
    int nameId = 0, displayId = 0;
};

// A class as the timetable stores it, its texts numbered. The course is part of where a lesson is
// kept, but a class is the same class under any course: the weekday check compares classes, not
// course rows.
struct ClassKey {
    int dept = 0, grade = 0, klass = 0;
    bool operator<(const ClassKey& o) const {
        return std::tie(dept, grade, klass) < std::tie(o.dept, o.grade, o.klass);
    }
    bool operator==(const ClassKey& o) const {
        return dept == o.dept && grade == o.grade && klass == o.klass;
    }
};

// A lesson with the fields the checks use, its texts numbered in Texts, and the masters it names
// (null where none is registered under its department, grade and course).
struct Lesson {
    int dept = 0, grade = 0, course = 0, klass = 0;
    int weekday = 0, period = 0;
    int teacher = 0, kamoku = 0, kamokuName = 0, subject = 0, subjectName = 0, subjectShort = 0;
    int teacherName = 0, teacherDisplay = 0;
    bool freeText = false;
    int elective = 0;  // 組_選択番号
    const KamokuEntry* k = nullptr;
    const SubjectEntry* s = nullptr;
    const TeacherEntry* t = nullptr;
    ClassKey classKey() const { return {dept, grade, klass}; }
    bool sameClass(const Lesson& o) const {
        return dept == o.dept && grade == o.grade && course == o.course && klass == o.klass;
    }
};

// The masters of the year, read once: a school has a few hundred of them, the timetable
// thousands of lessons that name them.
struct Masters {
    std::unordered_map<std::array<int, 4>, KamokuEntry, KeyHash<4>> kamoku;
    std::unordered_map<std::array<int, 5>, SubjectEntry, KeyHash<5>> subjects;
    std::unordered_map<int, TeacherEntry> teachers;

    Masters(int year, Texts& texts) {
        readKeyRange({"科目", "Key_科目", {year}, {year}},
                     {"科_学部", "科_学年", "科_コース", "科_番号", "科_名称", "科_選択F"},
                     [&](const KeyRow& r) {
                         kamoku[{texts.id(r.utf8(0)), int(r.integer(1)), texts.id(r.utf8(2)),
                                 texts.id(r.utf8(3))}] = {texts.id(r.utf8(4)), int(r.integer(5))};
                     });
        readKeyRange({"教科", "Key_教科", {year}, {year}},
                     {"教_学部", "教_学年", "教_コース", "教_科目番号", "教_教科番号", "教_名称",
                      "教_略称", "教_展開F", "教_選択F"},
                     [&](const KeyRow& r) {
                         subjects[{texts.id(r.utf8(0)), int(r.integer(1)), texts.id(r.utf8(2)),
                                   texts.id(r.utf8(3)), texts.id(r.utf8(4))}] = {
                             texts.id(r.utf8(5)), texts.id(r.utf8(6)), int(r.integer(7)),
                             int(r.integer(8))};
                     });
        readKeyRange({"教員", "Key_教員", {}, {}},
                     {"員_番号", "員_氏名", "員_表示名", "員_氏名カナ", "員_休職FROM", "員_休職TO"},
                     [&](const KeyRow& r) {
                         const int name = texts.id(r.utf8(1));
                         teachers[texts.id(r.utf8(0))] = {texts[name], r.text(3),
                                                          r.text(4),   r.text(5),
                                                          name,        texts.id(r.utf8(2))};
                     });
    }

    // The look-ups of the timetable screens: under the lesson's own department, grade and course.
    void resolve(Lesson& l) const {
        const auto k = kamoku.find({l.dept, l.grade, l.course, l.kamoku});
        l.k = k == kamoku.end() ? nullptr : &k->second;
        const auto s = subjects.find({l.dept, l.grade, l.course, l.kamoku, l.subject});
        l.s = s == subjects.end() ? nullptr : &s->second;
        const auto t = l.teacher == 0 ? teachers.end() : teachers.find(l.teacher);
        l.t = t == teachers.end() ? nullptr : &t->second;
    }
};

// The year's lessons, with the fields the checks use and nothing else: a whole school's
// timetable is thousands of records, and reading every field of each through a record set took
// most of the check's time.
std::vector<Lesson> lessonsOf(int year, const Masters& masters, Texts& texts) {
    std::vector<Lesson> lessons;
    const int common = texts.id(kCommonCode);
    readKeyRange({"組時間割", "Key_時間割", {year}, {year}},
                 {"組_学部", "組_学年", "組_コース", "組_組", "組_曜日", "組_時限", "組_教員",
                  "組_科目", "組_科目名", "組_教科", "組_教科名", "組_教科略称", "組_教員名",
                  "組_教員表示名", "組_登録", "組_選択番号"},
                 [&](const KeyRow& r) {
                     Lesson l;
                     l.dept = texts.id(r.utf8(0));
                     l.grade = int(r.integer(1));
                     l.course = texts.id(r.utf8(2));
                     l.klass = texts.id(r.utf8(3));
                     l.weekday = int(r.integer(4));
                     l.period = int(r.integer(5));
                     l.teacher = texts.id(r.utf8(6));
                     l.kamoku = texts.id(r.utf8(7));
                     l.kamokuName = texts.id(r.utf8(8));
                     l.subject = texts.id(r.utf8(9));
                     l.subjectName = texts.id(r.utf8(10));
                     l.subjectShort = texts.id(r.utf8(11));
                     l.teacherName = texts.id(r.utf8(12));
                     l.teacherDisplay = texts.id(r.utf8(13));
                     // "000" marks a lesson outside the registered subjects whatever its flag
                     // says.
                     l.freeText = r.integer(14) == 1 || l.kamoku == common;
                     l.elective = int(r.integer(15));
                     masters.resolve(l);
                     lessons.push_back(l);
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

// A number padded with zeros to `width` characters, so that numbers sort as texts. Formatting
// through QString::arg parses its pattern each time, which was most of the cost of a finding's
// place in the list.
QString zeroPadded(int n, int width) {
    if (n < 0) return QStringLiteral("%1").arg(n, width, 10, QChar('0'));
    return QString::number(n).rightJustified(width, QLatin1Char('0'));
}

// Classes in the order of the masters (department, grade, class), unknown ones after them.
using SortKey = QStringList;
void appendClassOrder(SortKey& k, const QString& dept, int grade, const QString& klass) {
    const int d = departmentPositionOf(dept), g = gradePositionOf(grade);
    const int c = d > 0 ? classPositionOf(d, klass) : 0;
    auto pos = [](int n) { return zeroPadded(n > 0 ? n : 99, 2); };
    k << pos(d) << dept << pos(g) << zeroPadded(grade, 5) << pos(c) << klass;
}
void appendSlot(SortKey& k, int weekday, int period) {
    k << QString::number(weekday) << zeroPadded(period, 2);
}

class Collector {
public:
    explicit Collector(const Texts& texts) : texts_(texts) {}

    void add(Kind kind, const Lesson& l, const QString& detail, SortKey order) {
        TimetableProblem p{
            kind,      texts_[l.dept], l.grade,           texts_[l.course], texts_[l.klass],
            l.weekday, l.period,       texts_[l.teacher], nameOf(l),        detail};
        found_.push_back({std::move(order), std::move(p)});
    }
    void add(TimetableProblem p, SortKey order) { found_.push_back({std::move(order), p}); }

    const Texts& texts() const { return texts_; }
    QString className(const ClassKey& c) const {
        return departmentText(texts_[c.dept]) + QLatin1Char(' ') + gradeText(c.grade) +
               classText(texts_[c.dept], texts_[c.klass]);
    }
    void appendClass(SortKey& k, const Lesson& l) const {
        appendClassOrder(k, texts_[l.dept], l.grade, texts_[l.klass]);
    }
    // Teachers in the order of their reading, as the teacher lists go.
    void appendTeacherOrder(SortKey& k, const Lesson& l) const {
        k << (l.t ? l.t->kana : QString(QChar(0xffff))) << texts_[l.teacher];
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
    // The teacher as registered; a teacher no longer registered as stored with the lesson.
    QString nameOf(const Lesson& l) const {
        if (l.teacher == 0) return {};
        if (l.t) return l.t->name;
        return texts_[l.teacherName == 0 ? l.teacher : l.teacherName];
    }

    const Texts& texts_;
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
void doubleBookings(const std::vector<Lesson>& lessons, Collector& out) {
    auto parallel = [](const Lesson& l) {
        if (l.freeText) return false;
        return (l.k && l.k->elective != 0) || (l.s && (l.s->split != 0 || l.s->elective != 0));
    };
    auto together = [&](const Lesson& a, const Lesson& b) {
        if (a.elective > 0 && a.elective == b.elective && a.kamoku == b.kamoku &&
            a.subject == b.subject)
            return true;
        return a.dept == b.dept && a.grade == b.grade && a.course == b.course &&
               a.kamoku == b.kamoku && parallel(a) && parallel(b);
    };
    // The lessons of each teacher and slot together, each slot's in the order read. Every
    // finding's place in the list names its slot, teacher and class, so the slots may come in
    // any order.
    std::vector<const Lesson*> bySlot;
    bySlot.reserve(lessons.size());
    for (const Lesson& l : lessons)
        if (l.teacher != 0) bySlot.push_back(&l);
    const auto slotOf = [](const Lesson* l) { return std::tie(l->weekday, l->period, l->teacher); };
    std::stable_sort(bySlot.begin(), bySlot.end(),
                     [&](const Lesson* a, const Lesson* b) { return slotOf(a) < slotOf(b); });
    const Texts& texts = out.texts();
    // The other classes in the order of their codes, as the finding names them.
    const auto byCode = [&](const ClassKey& a, const ClassKey& b) {
        return std::tie(texts[a.dept], a.grade, texts[a.klass]) <
               std::tie(texts[b.dept], b.grade, texts[b.klass]);
    };
    for (auto first = bySlot.begin(), last = first; first != bySlot.end(); first = last) {
        last = std::find_if(first, bySlot.end(),
                            [&](const Lesson* l) { return slotOf(l) != slotOf(*first); });
        if (last - first < 2) continue;
        const auto group = std::ranges::subrange(first, last);
        std::vector<ClassKey> reported;
        for (const Lesson* l : group) {
            std::vector<ClassKey> others;
            for (const Lesson* o : group)
                if (o->classKey() != l->classKey() && !together(*l, *o) &&
                    std::find(others.begin(), others.end(), o->classKey()) == others.end())
                    others.push_back(o->classKey());
            if (others.empty() ||
                std::find(reported.begin(), reported.end(), l->classKey()) != reported.end())
                continue;
            reported.push_back(l->classKey());
            std::sort(others.begin(), others.end(), byCode);
            QStringList names;
            for (const ClassKey& c : others) names << out.className(c);
            SortKey order = orderOf(Kind::DoubleBooking);
            appendSlot(order, l->weekday, l->period);
            out.appendTeacherOrder(order, *l);
            out.appendClass(order, *l);
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
void masterProblems(const std::vector<Lesson>& lessons, Collector& out) {
    const Texts& texts = out.texts();
    for (const Lesson& l : lessons) {
        QStringList found;
        auto renamed = [&](const char* what, int stored, int registered) {
            if (stored != registered)
                found << QStringLiteral("%1が変更されています：%2 → %3")
                             .arg(QString::fromUtf8(what), quoted(texts[stored]),
                                  quoted(texts[registered]));
        };
        if (!l.freeText) {
            if (l.k) {
                renamed("科目名", l.kamokuName, l.k->name);
                if (l.s) {
                    renamed("教科名", l.subjectName, l.s->name);
                    renamed("教科略称", l.subjectShort, l.s->shortName);
                } else {
                    found << QStringLiteral("教科が登録されていません（番号 %1）")
                                 .arg(texts[l.subject]);
                }
            } else {
                // Its subjects are kept under it, so they are missing too: one finding says it.
                found << QStringLiteral("科目が登録されていません（番号 %1）").arg(texts[l.kamoku]);
            }
        }
        if (l.teacher != 0) {
            if (l.t) {
                renamed("教員名", l.teacherName, l.t->nameId);
                renamed("教員表示名", l.teacherDisplay, l.t->displayId);
            } else {
                found
                    << QStringLiteral("教員が登録されていません（番号 %1）").arg(texts[l.teacher]);
            }
        }
        for (const QString& detail : found) {
            SortKey order = orderOf(Kind::Masters);
            out.appendClass(order, l);
            appendSlot(order, l.weekday, l.period);
            out.add(Kind::Masters, l, detail, std::move(order));
        }
    }
}

// Lessons of teachers whose leave overlaps a term in which the class has lessons.
void leaveProblems(int year, const std::vector<Lesson>& lessons, Collector& out) {
    // Read at the first lesson of a teacher on leave: most years have none.
    std::optional<std::vector<SchoolTerm>> terms;
    const DateRange schoolYear = schoolYearOf(year);
    const Texts& texts = out.texts();
    for (const Lesson& l : lessons) {
        const TeacherEntry* t = l.t;
        if (!t || t->leaveFrom.isEmpty()) continue;
        if (!terms) terms = schoolTerms(year);
        const QString& from = t->leaveFrom;
        const QString& to = t->leaveTo;  // empty: no end
        auto overlaps = [&](const QString& a, const QString& b) {
            return from <= b && (to.isEmpty() || to >= a);
        };
        QStringList names;
        bool anyTerm = false;
        for (const SchoolTerm& term : *terms) {
            if (!term.appliesTo(texts[l.dept], l.grade)) continue;
            anyTerm = true;
            if (overlaps(term.from, term.to)) names << term.name;
        }
        if (anyTerm ? names.isEmpty() : !overlaps(schoolYear.from, schoolYear.to)) continue;
        QString detail = QStringLiteral("休職 %1～%2").arg(from, to);
        if (!names.isEmpty())
            detail += QStringLiteral("（%1）").arg(names.join(QStringLiteral("・")));
        SortKey order = orderOf(Kind::Leave);
        out.appendTeacherOrder(order, l);
        appendSlot(order, l.weekday, l.period);
        out.appendClass(order, l);
        out.add(Kind::Leave, l, detail, std::move(order));
    }
}

// Classes without any lesson on a weekday that other classes of their grade use. A class is
// known from the masters (every class of a department in every grade, as the slot grid has
// them) or from its lessons. Each finding's place in the list names its class and weekday, so
// the classes may be gone through in any order.
void emptyDays(const std::vector<Lesson>& lessons, Texts& texts, Collector& out) {
    struct Days {
        std::set<int> weekdays;
        int course = 0;  // of the class's first lesson
    };
    std::map<ClassKey, Days> days;
    auto it = days.end();
    for (const Lesson& l : lessons) {
        // A class's lessons come together.
        if (it == days.end() || !(it->first == l.classKey()))
            it = days.try_emplace(l.classKey(), Days{{}, l.course}).first;
        it->second.weekdays.insert(l.weekday);
    }
    const SchoolContext& s = school();
    for (int d = 1; d <= s.departmentCount; ++d)
        for (int g = 1; g <= s.gradeCount; ++g) {
            bool ok = false;
            const int grade = s.grades[g].name.trimmed().toInt(&ok);
            if (!ok) continue;
            for (int k = 1; k <= s.classCount[d]; ++k)
                days.try_emplace(
                    {texts.id(s.departments[d].code), grade, texts.id(s.classes[d][k].name)});
        }
    std::map<std::pair<int, int>, std::set<int>> used;
    for (const auto& [c, day] : days)
        used[{c.dept, c.grade}].insert(day.weekdays.begin(), day.weekdays.end());
    for (const auto& [c, day] : days) {
        const std::set<int>& gradeDays = used[{c.dept, c.grade}];
        if (gradeDays.empty()) continue;
        auto report = [&](int weekday, const QString& detail) {
            TimetableProblem p{Kind::EmptyDay,
                               texts[c.dept],
                               c.grade,
                               texts[day.course],
                               texts[c.klass],
                               weekday,
                               0,
                               {},
                               {},
                               detail};
            SortKey order = orderOf(Kind::EmptyDay);
            appendClassOrder(order, texts[c.dept], c.grade, texts[c.klass]);
            appendSlot(order, weekday, 0);
            out.add(std::move(p), std::move(order));
        };
        if (day.weekdays.empty()) {
            report(0, QStringLiteral("この組の時間割がありません（同じ学年の他の組にはあります）"));
            continue;
        }
        for (int w : gradeDays)
            if (!day.weekdays.count(w))
                report(w, QStringLiteral("授業が1つもありません（同じ学年の他の組にはあります）"));
    }
}

}  // namespace

std::vector<TimetableProblem> checkWholeTimetable(int year) {
    Texts texts;
    const Masters masters(year, texts);
    const std::vector<Lesson> lessons = lessonsOf(year, masters, texts);
    Collector out(texts);
    doubleBookings(lessons, out);
    masterProblems(lessons, out);
    leaveProblems(year, lessons, out);
    emptyDays(lessons, texts, out);
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
