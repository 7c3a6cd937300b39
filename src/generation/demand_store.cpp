#include "generation/demand_store.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "data/recordset.h"

namespace gen {

namespace {

struct ClassKey {
    QString dept;
    int grade = 0;
    QString course, klass;
    auto tie() const { return std::tie(dept, grade, course, klass); }
    bool operator<(const ClassKey& o) const { return tie() < o.tie(); }
    bool operator==(const ClassKey& o) const { return tie() == o.tie(); }
};

struct StoredLesson {
    ClassKey cls;
    int elective = 0, weekday = 0, period = 0;
    QString teacher, kamoku, kyouka;
    bool freeText = false;
    QString shownName;  // 組_教科名, the only name a free-text lesson has
};

// Every lesson of the year's 組時間割, in key order.
std::vector<StoredLesson> lessonsOfYear(int year) {
    std::vector<StoredLesson> out;
    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    rs.seek(Seek::AtLeast, {year});
    while (!rs.noMatch() && !rs.eof() && rs.integer("組_年度") == year) {
        out.push_back(
            {{rs.text("組_学部"), rs.integer("組_学年"), rs.text("組_コース"), rs.text("組_組")},
             rs.integer("組_選択番号"),
             rs.integer("組_曜日"),
             rs.integer("組_時限"),
             rs.text("組_教員"),
             rs.text("組_科目"),
             rs.text("組_教科"),
             rs.integer("組_登録") != 0,
             rs.text("組_教科名")});
        rs.moveNext();
    }
    return out;
}

bool inDepartment(const QString& department, const QString& dept) {
    return department.isEmpty() || department == dept;
}

// ------------------------------------------------------------------------------ prefill

// One stored demand line before it is written.
struct Line {
    QString kamoku, kyouka;
    QStringList teachers;  // sorted
    int hours = 0;
    int consecutive = 0;
    int block = 0;
    auto tie() const { return std::tie(kamoku, kyouka, teachers); }
    bool operator<(const Line& o) const { return tie() < o.tie(); }
};

// The lines of a set of classes from one year's lessons: lessons of one class and slot with one
// subject are one lesson (several teachers = team teaching); lessons of several subjects in one
// slot, or marked with a selection number, and the classes that share such a teacher and subject
// in that slot, are an elective block; blocks that recur with the same lines are one block with
// that many lessons a week.
std::map<ClassKey, std::vector<Line>> linesFrom(const std::vector<StoredLesson>& lessons,
                                                const std::set<ClassKey>& classes, int& blocks) {
    using Slot = std::pair<int, int>;
    std::map<Slot, std::map<ClassKey, std::vector<const StoredLesson*>>> bySlot;
    for (const StoredLesson& l : lessons)
        if (classes.count(l.cls) && !l.freeText) bySlot[{l.weekday, l.period}][l.cls].push_back(&l);

    std::map<ClassKey, std::map<Line, int>> plain;  // per class: line -> lessons a week
    std::map<ClassKey, std::multiset<std::pair<Line, int>>> plainDays;  // (line, weekday)
    // A block's signature: its classes' lines; counted over the week.
    using Signature = std::vector<std::pair<ClassKey, Line>>;
    std::map<Signature, int> blockCount;

    for (const auto& [slot, perClass] : bySlot) {
        // Classes joined by a shared teacher and subject in this slot (or by being elective).
        std::vector<ClassKey> keys;
        for (const auto& [c, ls] : perClass) keys.push_back(c);
        std::vector<int> parent(keys.size());
        std::iota(parent.begin(), parent.end(), 0);
        std::function<int(int)> root = [&](int i) {
            return parent[i] == i ? i : parent[i] = root(parent[i]);
        };
        auto isElective = [&](const std::vector<const StoredLesson*>& ls) {
            for (const StoredLesson* l : ls)
                if (l->elective > 0 || l->kamoku != ls.front()->kamoku ||
                    l->kyouka != ls.front()->kyouka)
                    return true;
            return false;
        };
        std::map<std::tuple<QString, QString, QString>, int> seen;
        for (size_t i = 0; i < keys.size(); ++i)
            for (const StoredLesson* l : perClass.at(keys[i])) {
                if (l->teacher.isEmpty()) continue;
                auto [it, fresh] = seen.emplace(std::tuple(l->teacher, l->kamoku, l->kyouka), i);
                if (!fresh) parent[root(static_cast<int>(i))] = root(it->second);
            }
        std::map<int, std::vector<int>> components;
        for (size_t i = 0; i < keys.size(); ++i)
            components[root(static_cast<int>(i))].push_back(static_cast<int>(i));
        for (const auto& [r, members] : components) {
            bool elective = members.size() > 1;
            for (int i : members) elective = elective || isElective(perClass.at(keys[i]));
            auto linesOf = [&](const std::vector<const StoredLesson*>& ls) {
                std::map<std::tuple<int, QString, QString>, QStringList> byLine;
                for (const StoredLesson* l : ls) {
                    QStringList& t = byLine[{l->elective, l->kamoku, l->kyouka}];
                    if (!l->teacher.isEmpty()) t << l->teacher;
                }
                std::vector<Line> out;
                for (auto& [k, teachers] : byLine) {
                    teachers.sort();
                    teachers.removeDuplicates();
                    out.push_back({std::get<1>(k), std::get<2>(k), teachers});
                }
                return out;
            };
            if (!elective) {
                const ClassKey& c = keys[members.front()];
                const Line line = linesOf(perClass.at(c)).front();
                ++plain[c][line];
                plainDays[c].insert({line, slot.first});
                continue;
            }
            Signature sig;
            for (int i : members)
                for (const Line& l : linesOf(perClass.at(keys[i]))) sig.push_back({keys[i], l});
            std::sort(sig.begin(), sig.end());
            ++blockCount[sig];
        }
    }
    std::map<ClassKey, std::vector<Line>> out;
    for (auto& [c, lines] : plain)
        for (auto& [line, hours] : lines) {
            Line l = line;
            l.hours = hours;
            // Two lessons of it on one day in the timetable it comes from: allow that again.
            std::set<int> days;
            for (const auto& [pl, day] : plainDays[c])
                if (pl.tie() == line.tie()) days.insert(day);
            l.consecutive = static_cast<int>(days.size()) < hours ? 1 : 0;
            out[c].push_back(l);
        }
    for (auto& [sig, count] : blockCount) {
        ++blocks;
        for (const auto& [c, line] : sig) {
            Line l = line;
            l.hours = count;
            l.block = blocks;
            out[c].push_back(l);
        }
    }
    return out;
}

}  // namespace

int prefillDemand(int year, const QString& department) {
    Operation op;
    const std::vector<StoredLesson> now = lessonsOfYear(year);
    const std::vector<StoredLesson> before = lessonsOfYear(year - 1);
    std::set<ClassKey> fromNow, fromBefore;
    for (const StoredLesson& l : now)
        if (inDepartment(department, l.cls.dept)) fromNow.insert(l.cls);
    for (const StoredLesson& l : before)
        if (inDepartment(department, l.cls.dept) && !fromNow.count(l.cls)) fromBefore.insert(l.cls);

    // Elective blocks are numbered across the year: keep the numbers other departments use.
    int blocks = 0;
    Recordset rs("作成時数");
    rs.setIndex("Key_作成時数");
    rs.seek(Seek::AtLeast, {year});
    while (!rs.noMatch() && !rs.eof() && rs.integer("作_年度") == year) {
        if (inDepartment(department, rs.text("作_学部")))
            rs.remove();
        else
            blocks = std::max(blocks, rs.integer("作_選択"));
        rs.moveNext();
    }
    auto lines = linesFrom(now, fromNow, blocks);
    for (auto& [c, ls] : linesFrom(before, fromBefore, blocks)) lines[c] = ls;

    int written = 0;
    for (const auto& [c, ls] : lines) {
        int row = 0;
        for (const Line& l : ls) {
            rs.addNew();
            rs.set("作_年度", year);
            rs.set("作_学部", c.dept);
            rs.set("作_学年", c.grade);
            rs.set("作_コース", c.course);
            rs.set("作_組", c.klass);
            rs.set("作_行", ++row);
            rs.set("作_科目", l.kamoku);
            rs.set("作_教科", l.kyouka);
            rs.set("作_教員", l.teachers.join(','));
            rs.set("作_時間数", l.hours);
            rs.set("作_連続", l.consecutive);
            rs.set("作_選択", l.block);
            // On different days as a strong wish: the timetable it comes from may not keep that.
            rs.set("作_分散", 50);
            rs.set("作_間隔", 1);
            rs.update();
            ++written;
        }
    }
    // Free-text lessons (HR and the like) are not the generator's to place: keep their slots.
    Recordset kept("作成固定");
    kept.setIndex("Key_作成固定");
    for (const StoredLesson& l : now) {
        if (!l.freeText || !fromNow.count(l.cls)) continue;
        kept.seek(Seek::Equal,
                  {year, l.cls.dept, l.cls.grade, l.cls.course, l.cls.klass, l.weekday, l.period});
        if (!kept.noMatch()) continue;
        kept.addNew();
        kept.set("固_年度", year);
        kept.set("固_学部", l.cls.dept);
        kept.set("固_学年", l.cls.grade);
        kept.set("固_コース", l.cls.course);
        kept.set("固_組", l.cls.klass);
        kept.set("固_曜日", l.weekday);
        kept.set("固_時限", l.period);
        kept.update();
    }
    op.commit();
    return written;
}

// ------------------------------------------------------------------------------ loading

namespace {

struct Names {
    QString teacherName(const QString& code) {
        auto it = teachers.find(code);
        return it == teachers.end() ? code : it->second;
    }
    std::map<QString, QString> teachers;  // number -> 表示名, else 氏名
    std::map<QString, QString> departments;
};

Names readNames() {
    Names n;
    Recordset t("教員");
    t.setIndex("Key_教員");
    t.seek(Seek::AtLeast, {QString()});
    while (!t.noMatch() && !t.eof()) {
        const QString shown = t.text("員_表示名");
        n.teachers[t.text("員_番号")] = shown.isEmpty() ? t.text("員_氏名") : shown;
        t.moveNext();
    }
    Recordset m("マスタ");
    m.setIndex("Key_マスタ");
    m.seek(Seek::AtLeast, {"002"});
    while (!m.noMatch() && !m.eof() && m.text("マ_番号") == "002") {
        n.departments[m.text("マ_連番")] = m.text("マ_名称");
        m.moveNext();
    }
    return n;
}

QString subjectName(int year, const ClassKey& c, const QString& kamoku, const QString& kyouka,
                    bool* heavy = nullptr) {
    Recordset k("科目");
    k.setIndex("Key_科目");
    k.seek(Seek::Equal, {year, c.dept, c.grade, c.course, kamoku});
    QString name = k.noMatch() ? QString() : k.text("科_名称");
    if (heavy) *heavy = !k.noMatch() && k.integer("科_主要F") != 0;
    Recordset s("教科");
    s.setIndex("Key_教科");
    s.seek(Seek::Equal, {year, c.dept, c.grade, c.course, kamoku, kyouka});
    if (!s.noMatch() && !s.text("教_名称").isEmpty()) name = s.text("教_名称");
    return name.isEmpty() ? kamoku + '-' + kyouka : name;
}

// The settings items and where each lives in Settings.
struct Item {
    const char* name;
    int Settings::*plain = nullptr;
    int Weights::*weight = nullptr;
};
const Item kItems[] = {
    {"曜日数", &Settings::days},
    {"時限数", &Settings::periods},
    {"1日最大", &Settings::dailyMax},
    {"作成秒数", &Settings::seconds},
    {"重み_分散", nullptr, &Weights::spread},
    {"重み_空き", nullptr, &Weights::teacherGap},
    {"重み_1日最大", nullptr, &Weights::dailyMax},
    {"重み_最終時限", nullptr, &Weights::heavyLast},
};
const QString kHardDailyMax = QStringLiteral("1日最大必須");

void storeSetting(int year, const QString& item, int value) {
    Recordset rs("作成設定");
    rs.setIndex("Key_作成設定");
    rs.seek(Seek::Equal, {year, item});
    if (rs.noMatch()) {
        rs.addNew();
        rs.set("設_年度", year);
        rs.set("設_項目", item);
    } else {
        rs.edit();
    }
    rs.set("設_値", value);
    rs.update();
}

struct StoredLine {
    ClassKey cls;
    int row = 0;
    QString kamoku, kyouka;
    QStringList teachers;
    int hours = 0, consecutive = 0, block = 0, spread = 0, next = 0, minDays = 1;
};

}  // namespace

Problem loadProblem(int year, const QString& department, QStringList* warnings) {
    Operation op;
    Problem p;
    p.year = year;
    p.department = department;
    auto warn = [&](const QString& w) {
        if (warnings) *warnings << w;
    };
    const Settings settings = readSettings(year);
    p.days = std::clamp(settings.days, 1, kMaxDays);
    p.periods = std::clamp(settings.periods, 1, kMaxPeriods);
    p.weights = settings.weights;
    const int dailyMax = settings.dailyMax;
    p.dailyMaxIsHard = settings.dailyMaxIsHard;

    Names names = readNames();
    std::map<QString, int> teacherIndex;
    auto teacherOf = [&](const QString& code) {
        auto [it, fresh] = teacherIndex.emplace(code, static_cast<int>(p.teachers.size()));
        if (fresh) {
            if (!names.teachers.count(code))
                warn(QStringLiteral("教員 %1 が登録されていません").arg(code));
            p.teachers.push_back({code, names.teacherName(code), {}, dailyMax});
        }
        return it->second;
    };

    // The lines.
    std::vector<StoredLine> lines;
    {
        Recordset rs("作成時数");
        rs.setIndex("Key_作成時数");
        rs.seek(Seek::AtLeast, {year});
        while (!rs.noMatch() && !rs.eof() && rs.integer("作_年度") == year) {
            if (inDepartment(department, rs.text("作_学部"))) {
                StoredLine l{{rs.text("作_学部"), rs.integer("作_学年"), rs.text("作_コース"),
                              rs.text("作_組")},
                             rs.integer("作_行"),
                             rs.text("作_科目"),
                             rs.text("作_教科"),
                             rs.text("作_教員").split(',', Qt::SkipEmptyParts),
                             rs.integer("作_時間数"),
                             rs.integer("作_連続"),
                             rs.integer("作_選択"),
                             rs.integer("作_分散"),
                             rs.integer("作_後続"),
                             rs.integer("作_間隔")};
                for (QString& t : l.teachers) t = t.trimmed();
                if (l.hours > 0) lines.push_back(l);
            }
            rs.moveNext();
        }
    }
    std::map<ClassKey, int> groupIndex;
    const bool severalDepartments = [&] {
        std::set<QString> d;
        for (const StoredLine& l : lines) d.insert(l.cls.dept);
        return d.size() > 1;
    }();
    auto groupOf = [&](const ClassKey& c) {
        auto [it, fresh] = groupIndex.emplace(c, static_cast<int>(p.groups.size()));
        if (fresh) {
            QString name = QStringLiteral("%1年%2組").arg(c.grade).arg(c.klass);
            if (severalDepartments) name = names.departments[c.dept] + ' ' + name;
            p.groups.push_back({c.dept, c.course, c.klass, c.grade, name, {}});
        }
        return it->second;
    };
    for (const StoredLine& l : lines) groupOf(l.cls);

    // Slots nobody, a grade or a class may use.
    {
        Recordset rs("作成不可");
        rs.setIndex("Key_作成不可");
        rs.seek(Seek::AtLeast, {year});
        while (!rs.noMatch() && !rs.eof() && rs.integer("不_年度") == year) {
            const int day = dayOfStoredWeekday(rs.integer("不_曜日"));
            const int period = rs.integer("不_時限");
            Week w;
            if (day < p.days)
                for (int q = 0; q < p.periods; ++q)
                    if (period == 0 || period == q + 1) w.set(day * p.periods + q);
            auto add = [&](Week& into) {
                into.bits[0] |= w.bits[0];
                into.bits[1] |= w.bits[1];
            };
            switch (rs.integer("不_種別")) {
                case 1:
                    add(p.teachers[teacherOf(rs.text("不_教員"))].unavailable);
                    break;
                case 2:
                    for (size_t g = 0; g < p.groups.size(); ++g)
                        if (p.groups[g].department == rs.text("不_学部") &&
                            p.groups[g].grade == rs.integer("不_学年") &&
                            (rs.text("不_組").isEmpty() ||
                             rs.text("不_組") == p.groups[g].classCode))
                            add(p.groups[g].unavailable);
                    break;
                case 3:
                    for (Group& g : p.groups) add(g.unavailable);
                    break;
            }
            rs.moveNext();
        }
    }

    // Lessons of classes the generator does not place keep their teachers busy.
    const std::vector<StoredLesson> stored = lessonsOfYear(year);
    for (const StoredLesson& l : stored) {
        if (groupIndex.count(l.cls) || l.teacher.isEmpty()) continue;
        const int day = dayOfStoredWeekday(l.weekday);
        if (day >= p.days || l.period < 1 || l.period > p.periods) continue;
        p.teachers[teacherOf(l.teacher)].unavailable.set(day * p.periods + l.period - 1);
    }

    // Units: one plain line, or all lines of one elective block.
    struct Unit {
        std::vector<int> lines;
        int remaining = 0;
        std::vector<int> kept;  // fixed activities
    };
    std::vector<Unit> units;
    std::map<int, int> unitOfBlock;
    std::vector<int> unitOfLine(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const StoredLine& l = lines[i];
        if (l.block > 0) {
            auto [it, fresh] = unitOfBlock.emplace(l.block, static_cast<int>(units.size()));
            if (fresh) units.push_back({{}, l.hours, {}});
            Unit& u = units[it->second];
            if (l.hours != u.remaining)
                warn(QStringLiteral(
                         "選択 %1 の行の時間数がそろっていません（%2 と %3）。少ない方で作成します")
                         .arg(l.block)
                         .arg(u.remaining)
                         .arg(l.hours));
            u.remaining = std::min(u.remaining, l.hours);
            u.lines.push_back(static_cast<int>(i));
            unitOfLine[i] = it->second;
        } else {
            unitOfLine[i] = static_cast<int>(units.size());
            units.push_back({{static_cast<int>(i)}, l.hours, {}});
        }
    }

    // Kept slots: their lessons stay, as fixed activities that count toward the matching line.
    {
        std::map<std::pair<ClassKey, std::pair<int, int>>, std::vector<const StoredLesson*>> atSlot;
        for (const StoredLesson& l : stored)
            if (groupIndex.count(l.cls)) atSlot[{l.cls, {l.weekday, l.period}}].push_back(&l);
        // Fixed activities by slot and by class, or by selection number for lessons several
        // classes share.
        std::map<std::tuple<int, int, QString>, int> fixedIndex;
        Recordset rs("作成固定");
        rs.setIndex("Key_作成固定");
        rs.seek(Seek::AtLeast, {year});
        while (!rs.noMatch() && !rs.eof() && rs.integer("固_年度") == year) {
            const ClassKey c{rs.text("固_学部"), rs.integer("固_学年"), rs.text("固_コース"),
                             rs.text("固_組")};
            const int weekday = rs.integer("固_曜日"), period = rs.integer("固_時限");
            const int day = dayOfStoredWeekday(weekday);
            rs.moveNext();
            auto g = groupIndex.find(c);
            if (g == groupIndex.end() || day >= p.days || period < 1 || period > p.periods)
                continue;
            const int slot = day * p.periods + period - 1;
            auto found = atSlot.find({c, {weekday, period}});
            if (found == atSlot.end()) {
                // Kept free.
                p.groups[g->second].unavailable.set(slot);
                continue;
            }
            const StoredLesson& first = *found->second.front();
            const auto key = std::tuple(
                slot, first.elective, first.elective > 0 ? QString() : QString::number(g->second));
            auto [it, fresh] = fixedIndex.emplace(key, static_cast<int>(p.activities.size()));
            if (fresh) {
                Activity a;
                a.fixedSlot = slot;
                p.activities.push_back(a);
            }
            Activity& a = p.activities[it->second];
            if (std::find(a.groups.begin(), a.groups.end(), g->second) == a.groups.end())
                a.groups.push_back(g->second);
            for (const StoredLesson* l : found->second)
                if (!l->teacher.isEmpty()) {
                    const int t = teacherOf(l->teacher);
                    if (std::find(a.teachers.begin(), a.teachers.end(), t) == a.teachers.end())
                        a.teachers.push_back(t);
                }
            if (!fresh) continue;
            // The line it counts toward: same class, course subject and subject.
            int unit = -1;
            for (size_t i = 0; i < lines.size() && unit < 0; ++i)
                if (lines[i].cls == c && lines[i].kamoku == first.kamoku &&
                    lines[i].kyouka == first.kyouka)
                    unit = unitOfLine[i];
            const QString what =
                first.freeText ? first.shownName : subjectName(year, c, first.kamoku, first.kyouka);
            a.label = QStringLiteral("%1 %2（固定）").arg(p.groups[g->second].name, what);
            if (unit >= 0 && units[unit].remaining > 0) {
                --units[unit].remaining;
                units[unit].kept.push_back(it->second);
            } else {
                if (unit >= 0)
                    warn(QStringLiteral("%1: 固定した授業が作成時数より多くあります").arg(a.label));
                Demand d;
                d.label = a.label;
                d.spreadWeight = 0;
                d.activities.push_back(it->second);
                a.demand = static_cast<int>(p.demands.size());
                p.demands.push_back(d);
            }
        }
    }

    // Demands and their activities.
    for (Unit& u : units) {
        Demand d;
        const StoredLine& head = lines[u.lines.front()];
        bool heavy = false;
        const QString subject = subjectName(year, head.cls, head.kamoku, head.kyouka, &heavy);
        std::vector<int> groups, teachers;
        QStringList teacherNames;
        // Lessons several lines share carry one selection number per teacher and subject, the
        // same in every class, so that the timetable check sees one lesson taught together.
        std::map<std::tuple<QStringList, QString, QString>, int> electiveNo;
        for (int li : u.lines) {
            const StoredLine& l = lines[li];
            Demand::Line line;
            line.group = groupOf(l.cls);
            line.subject = l.kamoku;
            line.course = l.kyouka;
            if (head.block > 0) {
                auto [it, fresh] = electiveNo.emplace(std::tuple(l.teachers, l.kamoku, l.kyouka),
                                                      static_cast<int>(electiveNo.size()) + 1);
                line.electiveNo = it->second;
            }
            if (l.teachers.isEmpty())
                warn(QStringLiteral("%1 %2: 教員が入っていません")
                         .arg(p.groups[line.group].name,
                              subjectName(year, l.cls, l.kamoku, l.kyouka)));
            for (const QString& code : l.teachers) {
                const int t = teacherOf(code);
                line.teachers.push_back(t);
                if (std::find(teachers.begin(), teachers.end(), t) == teachers.end()) {
                    teachers.push_back(t);
                    teacherNames << p.teachers[t].name;
                }
            }
            if (std::find(groups.begin(), groups.end(), line.group) == groups.end())
                groups.push_back(line.group);
            d.lines.push_back(line);
        }
        d.spreadWeight = std::clamp(head.spread, 0, 100);
        // 0 is what a line stored before the field existed holds: on different days.
        d.minDaysApart = std::clamp(head.minDays, 1, kMaxDays);
        if (head.block > 0) {
            QStringList shown = teacherNames.mid(0, 2);
            d.label = QStringLiteral("%1年 選択%2（%3%4）")
                          .arg(head.cls.grade)
                          .arg(head.block)
                          .arg(shown.join(QStringLiteral("・")),
                               teacherNames.size() > 2 ? QStringLiteral(" 他") : QString());
        } else {
            d.label = QStringLiteral("%1 %2（%3）")
                          .arg(p.groups[groups.front()].name, subject,
                               teacherNames.join(QStringLiteral("・")));
        }
        const int run = head.consecutive >= 2 ? head.consecutive : 1;
        d.mayDouble = head.consecutive == 1;
        const int index = static_cast<int>(p.demands.size());
        for (int k : u.kept) {
            p.activities[k].demand = index;
            d.activities.push_back(k);
        }
        int left = u.remaining;
        while (left > 0) {
            Activity a;
            a.duration = std::min(run, left) == run ? run : 1;
            left -= a.duration;
            a.groups = groups;
            a.teachers = teachers;
            a.demand = index;
            a.heavy = heavy;
            a.label = d.label;
            d.activities.push_back(static_cast<int>(p.activities.size()));
            p.activities.push_back(a);
        }
        p.demands.push_back(d);
    }
    // Lines taught directly after another line of the same class.
    std::vector<int> demandOfLine(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) demandOfLine[i] = -1;
    {
        int unitDemand = static_cast<int>(p.demands.size() - units.size());
        for (size_t u = 0; u < units.size(); ++u)
            for (int li : units[u].lines) demandOfLine[li] = unitDemand + static_cast<int>(u);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].next) continue;
        int after = -1;
        for (size_t j = 0; j < lines.size(); ++j)
            if (lines[j].cls == lines[i].cls && lines[j].row == lines[i].next)
                after = static_cast<int>(j);
        if (after < 0) {
            warn(QStringLiteral("%1: 後に続く行 %2 がありません")
                     .arg(p.demands[demandOfLine[i]].label)
                     .arg(lines[i].next));
            continue;
        }
        auto free = [&](int demand) {
            std::vector<int> out;
            for (int a : p.demands[demand].activities)
                if (p.activities[a].fixedSlot < 0) out.push_back(a);
            return out;
        };
        const std::vector<int> first = free(demandOfLine[i]), second = free(demandOfLine[after]);
        for (size_t k = 0; k < std::min(first.size(), second.size()); ++k)
            p.consecutive.push_back({first[k], second[k]});
    }
    op.commit();
    return p;
}

// ------------------------------------------------------------------------------ registration

void registerSolution(const Problem& p, const Solution& sol) {
    Operation op;
    // Slots of each class that stay as they are: the kept lessons.
    std::vector<std::set<int>> kept(p.groups.size());
    for (const Activity& a : p.activities)
        if (a.fixedSlot >= 0)
            for (int g : a.groups)
                for (int k = 0; k < a.duration; ++k) kept[g].insert(a.fixedSlot + k);

    Recordset rs("組時間割");
    rs.setIndex("Key_時間割");
    for (size_t g = 0; g < p.groups.size(); ++g) {
        const Group& c = p.groups[g];
        rs.seek(Seek::AtLeast, {p.year, c.department, c.grade, c.course, c.classCode});
        while (!rs.noMatch() && !rs.eof() && rs.integer("組_年度") == p.year &&
               rs.text("組_学部") == c.department && rs.integer("組_学年") == c.grade &&
               rs.text("組_コース") == c.course && rs.text("組_組") == c.classCode) {
            const int day = dayOfStoredWeekday(rs.integer("組_曜日"));
            const int period = rs.integer("組_時限") - 1;
            // Lessons outside the generated week are not the generator's: they stay too.
            const bool inWeek = day < p.days && period >= 0 && period < p.periods;
            if (inWeek && !kept[g].count(day * p.periods + period)) rs.remove();
            rs.moveNext();
        }
    }

    struct Teach {
        QString name, shown;
    };
    std::map<QString, Teach> teachers;
    {
        Recordset t("教員");
        t.setIndex("Key_教員");
        for (const Teacher& teacher : p.teachers) {
            t.seek(Seek::Equal, {teacher.code});
            if (!t.noMatch()) teachers[teacher.code] = {t.text("員_氏名"), t.text("員_表示名")};
        }
    }
    Recordset ka("科目"), kyo("教科");
    ka.setIndex("Key_科目");
    kyo.setIndex("Key_教科");
    for (size_t i = 0; i < p.activities.size(); ++i) {
        const Activity& a = p.activities[i];
        if (a.fixedSlot >= 0 || sol.start[i] < 0 || a.demand < 0) continue;
        for (const Demand::Line& line : p.demands[a.demand].lines) {
            const Group& c = p.groups[line.group];
            ka.seek(Seek::Equal, {p.year, c.department, c.grade, c.course, line.subject});
            kyo.seek(Seek::Equal,
                     {p.year, c.department, c.grade, c.course, line.subject, line.course});
            std::vector<QString> codes;
            for (int t : line.teachers) codes.push_back(p.teachers[t].code);
            if (codes.empty()) codes.push_back(QString());
            for (int k = 0; k < a.duration; ++k) {
                const int slot = sol.start[i] + k;
                const int weekday = storedWeekday(p.dayOf(slot)), period = p.periodOf(slot) + 1;
                for (const QString& code : codes) {
                    rs.seek(Seek::Equal, {p.year, c.department, c.grade, c.course, c.classCode,
                                          line.electiveNo, weekday, period, code});
                    if (!rs.noMatch()) continue;  // the same lesson twice in one block
                    rs.addNew();
                    rs.set("組_年度", p.year);
                    rs.set("組_学部", c.department);
                    rs.set("組_学年", c.grade);
                    rs.set("組_コース", c.course);
                    rs.set("組_組", c.classCode);
                    rs.set("組_選択番号", line.electiveNo);
                    rs.set("組_曜日", weekday);
                    rs.set("組_時限", period);
                    rs.set("組_教員", code);
                    rs.set("組_科目", line.subject);
                    rs.set("組_科目名", ka.noMatch() ? QString() : ka.text("科_名称"));
                    rs.set("組_教科", line.course);
                    rs.set("組_教科名", kyo.noMatch() ? QString() : kyo.text("教_名称"));
                    rs.set("組_教科略称", kyo.noMatch() ? QString() : kyo.text("教_略称"));
                    auto t = teachers.find(code);
                    if (t != teachers.end()) {
                        rs.set("組_教員名", t->second.name);
                        rs.set("組_教員表示名", t->second.shown);
                    }
                    rs.update();
                }
            }
        }
    }
    op.commit();
}

Settings readSettings(int year) {
    Settings out;
    Recordset rs("作成設定");
    rs.setIndex("Key_作成設定");
    rs.seek(Seek::AtLeast, {year, QString()});
    for (; !rs.noMatch() && !rs.eof() && rs.integer("設_年度") == year; rs.moveNext()) {
        const QString item = rs.text("設_項目");
        const int value = rs.integer("設_値");
        if (item == kHardDailyMax) out.dailyMaxIsHard = value == 1;
        for (const Item& i : kItems) {
            if (item != QString::fromUtf8(i.name)) continue;
            if (i.plain)
                out.*(i.plain) = value;
            else
                out.weights.*(i.weight) = value;
        }
    }
    return out;
}

void writeSettings(int year, const Settings& settings) {
    for (const Item& i : kItems)
        storeSetting(year, QString::fromUtf8(i.name),
                     i.plain ? settings.*(i.plain) : settings.weights.*(i.weight));
    storeSetting(year, kHardDailyMax, settings.dailyMaxIsHard ? 1 : 0);
}

}  // namespace gen
