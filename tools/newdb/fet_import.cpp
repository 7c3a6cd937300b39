#include "newdb/fet_import.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "data/database.h"
#include "generation/problem.h"
#include "newdb/record_writer.h"

namespace fet {
namespace {

// ---------------------------------------------------------------------------------------------
// The file as an element tree (a few megabytes at most)

struct Node {
    QString name, text;
    std::vector<Node> children;

    const Node* child(QStringView n) const {
        for (const Node& c : children)
            if (c.name == n) return &c;
        return nullptr;
    }
    // Names are taken as written: FET tells " 1" from "1".
    QString value(QStringView n, const QString& fallback = {}) const {
        const Node* c = child(n);
        return c ? c->text : fallback;
    }
    std::vector<const Node*> all(QStringView n) const {
        std::vector<const Node*> out;
        for (const Node& c : children)
            if (c.name == n) out.push_back(&c);
        return out;
    }
    QStringList values(QStringView n) const {
        QStringList out;
        for (const Node* c : all(n)) out << c->text;
        return out;
    }
    int number(QStringView n) const { return value(n).trimmed().toInt(); }
    bool active() const { return value(u"Active", "true").trimmed() != "false"; }
};

Node readTree(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("「%1」を開けません：%2").arg(path, file.errorString()));
    QXmlStreamReader xml(&file);
    Node root;
    std::vector<Node*> open;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (open.empty()) {
                    root.name = xml.name().toString();
                    open.push_back(&root);
                } else {
                    open.back()->children.push_back({xml.name().toString(), {}, {}});
                    open.push_back(&open.back()->children.back());
                }
                break;
            case QXmlStreamReader::Characters:
                if (!open.empty()) open.back()->text += xml.text();
                break;
            case QXmlStreamReader::EndElement:
                open.pop_back();
                break;
            default:
                break;
        }
    }
    if (xml.hasError())
        throw DbError(QStringLiteral("「%1」は FET のファイルとして読めません（%2 行目：%3）")
                          .arg(path)
                          .arg(xml.lineNumber())
                          .arg(xml.errorString()));
    if (root.name != "fet")
        throw DbError(QStringLiteral("「%1」は FET のファイルではありません").arg(path));
    return root;
}

// ---------------------------------------------------------------------------------------------
// The school as the file states it

struct Activity {
    int id = 0, groupId = 0;
    std::vector<int> teachers;  // sorted indexes
    int subject = 0;
    std::vector<int> classes;  // sorted indexes
    int duration = 1;
    // Named only by subgroups of its class (not the class, its year or another class): a parallel
    // lesson, taught beside the other subgroups' lessons.
    std::set<QString> subgroups;
    bool wholeClass = false;
};

struct Slot {
    int day = 0, hour = 0;  // 0-based, in the file's order
    bool operator<(const Slot& o) const { return std::tie(day, hour) < std::tie(o.day, o.hour); }
};

// What the file holds but is not kept, counted by kind in the order first met.
class LeftOut {
public:
    void add(const QString& kind, int n = 1) {
        if (n <= 0) return;
        for (auto& [k, count] : counts_)
            if (k == kind) {
                count += n;
                return;
            }
        counts_.push_back({kind, n});
    }
    QStringList lines() const {
        QStringList out;
        for (const auto& [kind, count] : counts_)
            out << QStringLiteral("%1: %2 件").arg(kind).arg(count);
        return out;
    }

private:
    std::vector<std::pair<QString, int>> counts_;
};

struct School {
    QString path, institution;
    QStringList days, hours, subjects, teachers;
    struct Year {
        QString name;
        bool hasGroups = false;
        std::vector<int> classes;
    };
    std::vector<Year> years;
    struct Class {
        QString name;
        int grade = 0;  // 1-based: the FET year's position
    };
    std::vector<Class> classes;
    std::map<QString, std::vector<int>> studentSets;  // any students name → its classes
    std::map<QString, int> yearByName;
    std::set<QString> groupNames;
    std::vector<Activity> activities;
    std::map<int, int> activityById;

    std::set<std::pair<int, Slot>> teacherOff, gradeOff, classOff;
    std::set<Slot> breaks;
    struct MinDays {
        std::vector<int> activities;
        int days = 1, weight = 100;
    };
    std::vector<MinDays> minDays;
    std::vector<std::vector<int>> sameStart;
    std::vector<std::pair<int, int>> consecutive;
    LeftOut leftOut;
};

int indexIn(const QStringList& list, const QString& name) {
    return int(list.indexOf(name));
}

void readLists(const Node& root, School& s) {
    s.institution = root.value(u"Institution_Name").trimmed();
    if (const Node* d = root.child(u"Days_List"))
        for (const Node* day : d->all(u"Day")) s.days << day->value(u"Name", day->text.trimmed());
    if (const Node* h = root.child(u"Hours_List"))
        for (const Node* hour : h->all(u"Hour"))
            s.hours << hour->value(u"Name", hour->text.trimmed());
    if (s.days.size() > gen::kMaxDays)
        throw DbError(QStringLiteral("「%1」は取り込めません：1 週間が %2 日あります（%3 日まで）")
                          .arg(s.path)
                          .arg(s.days.size())
                          .arg(gen::kMaxDays));
    if (s.hours.size() > gen::kMaxPeriods)
        throw DbError(
            QStringLiteral("「%1」は取り込めません：1 日が %2 時限あります（%3 時限まで）")
                .arg(s.path)
                .arg(s.hours.size())
                .arg(gen::kMaxPeriods));
    if (s.days.isEmpty() || s.hours.isEmpty())
        throw DbError(QStringLiteral("「%1」は取り込めません：曜日か時限がありません").arg(s.path));
    if (const Node* l = root.child(u"Subjects_List"))
        for (const Node* n : l->all(u"Subject")) s.subjects << n->value(u"Name");
    if (const Node* l = root.child(u"Teachers_List"))
        for (const Node* n : l->all(u"Teacher")) s.teachers << n->value(u"Name");
}

// Each year becomes a grade and each of its groups a class; a year without groups is one class.
// Subgroups name the classes they belong to.
void readStudents(const Node& root, School& s) {
    const Node* list = root.child(u"Students_List");
    if (!list) return;
    std::map<QString, int> classByName;
    auto classOf = [&](const QString& name, int grade) {
        auto [it, added] = classByName.emplace(name, int(s.classes.size()));
        if (added) s.classes.push_back({name, grade});
        return it->second;
    };
    for (const Node* y : list->all(u"Year")) {
        School::Year year{y->value(u"Name"), false, {}};
        const int grade = int(s.years.size()) + 1;
        const auto groups = y->all(u"Group");
        year.hasGroups = !groups.empty();
        if (groups.empty()) year.classes.push_back(classOf(year.name, grade));
        for (const Node* g : groups) {
            const int c = classOf(g->value(u"Name"), grade);
            year.classes.push_back(c);
            s.studentSets.emplace(g->value(u"Name"), std::vector<int>{c});
            s.groupNames.insert(g->value(u"Name"));
            for (const Node* sub : g->all(u"Subgroup")) {
                std::vector<int>& in = s.studentSets[sub->value(u"Name")];
                if (std::find(in.begin(), in.end(), c) == in.end()) in.push_back(c);
            }
        }
        s.yearByName.emplace(year.name, grade);
        s.studentSets[year.name] = year.classes;
        s.years.push_back(std::move(year));
    }
    for (auto& [name, classes] : s.studentSets) std::sort(classes.begin(), classes.end());
}

void readActivities(const Node& root, School& s) {
    const Node* list = root.child(u"Activities_List");
    if (!list) return;
    for (const Node* a : list->all(u"Activity")) {
        if (!a->active()) {
            s.leftOut.add(QStringLiteral("無効（Active=false）の活動"));
            continue;
        }
        Activity act;
        act.id = a->number(u"Id");
        act.groupId = a->number(u"Activity_Group_Id");
        act.duration = std::max(1, a->number(u"Duration"));
        for (const QString& t : a->values(u"Teacher")) {
            const int i = indexIn(s.teachers, t);
            if (i >= 0) act.teachers.push_back(i);
        }
        std::sort(act.teachers.begin(), act.teachers.end());
        act.teachers.erase(std::unique(act.teachers.begin(), act.teachers.end()),
                           act.teachers.end());
        const QString subject = a->value(u"Subject");
        act.subject = indexIn(s.subjects, subject);
        if (act.subject < 0) {
            act.subject = int(s.subjects.size());
            s.subjects << subject;
        }
        std::set<int> classes;
        for (const QString& st : a->values(u"Students")) {
            const auto it = s.studentSets.find(st);
            if (it == s.studentSets.end()) continue;
            classes.insert(it->second.begin(), it->second.end());
            if (s.groupNames.count(st) || s.yearByName.count(st))
                act.wholeClass = true;
            else
                act.subgroups.insert(st);
        }
        if (classes.empty()) {
            // A teachers' meeting or duty: the demand is kept per class, so it has no place.
            s.leftOut.add(QStringLiteral("生徒の指定がない活動（教員だけの予定）"));
            continue;
        }
        act.classes.assign(classes.begin(), classes.end());
        s.activityById[act.id] = int(s.activities.size());
        s.activities.push_back(std::move(act));
    }
}

std::vector<Slot> slotsOf(const School& s, const Node& c, QStringView element) {
    std::vector<Slot> out;
    for (const Node* t : c.all(element)) {
        const int d = indexIn(s.days, t->value(u"Day")), h = indexIn(s.hours, t->value(u"Hour"));
        if (d >= 0 && h >= 0) out.push_back({d, h});
    }
    return out;
}

std::vector<int> activitiesOf(const School& s, const QStringList& ids) {
    std::vector<int> out;
    for (const QString& id : ids) {
        const auto it = s.activityById.find(id.trimmed().toInt());
        if (it != s.activityById.end()) out.push_back(it->second);
    }
    return out;
}

void readConstraints(const Node& root, School& s) {
    if (const Node* list = root.child(u"Time_Constraints_List"))
        for (const Node& c : list->children) {
            const QString& kind = c.name;
            if (kind == "ConstraintBasicCompulsoryTime") continue;
            if (!c.active()) {
                s.leftOut.add(QStringLiteral("無効（Active=false）の制約"));
                continue;
            }
            const double weight = c.value(u"Weight_Percentage", "100").trimmed().toDouble();
            const bool hard = weight >= 100;
            const QString soft = kind + QStringLiteral("（重み 100% 未満）");
            if (kind == "ConstraintTeacherNotAvailableTimes") {
                const int t = indexIn(s.teachers, c.value(u"Teacher"));
                if (!hard || t < 0) {
                    s.leftOut.add(hard ? kind + QStringLiteral("（教員不明）") : soft);
                    continue;
                }
                for (const Slot& slot : slotsOf(s, c, u"Not_Available_Time"))
                    s.teacherOff.insert({t, slot});
            } else if (kind == "ConstraintStudentsSetNotAvailableTimes") {
                const QString set = c.value(u"Students");
                const auto it = s.studentSets.find(set);
                if (!hard || it == s.studentSets.end()) {
                    s.leftOut.add(hard ? kind + QStringLiteral("（生徒不明）") : soft);
                    continue;
                }
                const auto year = s.yearByName.find(set);
                for (const Slot& slot : slotsOf(s, c, u"Not_Available_Time")) {
                    if (year != s.yearByName.end())
                        s.gradeOff.insert({year->second, slot});
                    else
                        for (int k : it->second) s.classOff.insert({k, slot});
                }
            } else if (kind == "ConstraintBreakTimes") {
                if (!hard) {
                    s.leftOut.add(soft);
                    continue;
                }
                for (const Slot& slot : slotsOf(s, c, u"Break_Time")) s.breaks.insert(slot);
            } else if (kind == "ConstraintMinDaysBetweenActivities") {
                if (weight <= 0) continue;  // binds nothing
                s.minDays.push_back({activitiesOf(s, c.values(u"Activity_Id")),
                                     std::max(1, c.number(u"MinDays")),
                                     hard ? 100 : std::clamp(int(weight), 1, 99)});
            } else if (kind == "ConstraintActivitiesSameStartingTime") {
                if (!hard) {
                    s.leftOut.add(soft);
                    continue;
                }
                s.sameStart.push_back(activitiesOf(s, c.values(u"Activity_Id")));
            } else if (kind == "ConstraintTwoActivitiesConsecutive") {
                const std::vector<int> pair = activitiesOf(
                    s, {c.value(u"First_Activity_Id"), c.value(u"Second_Activity_Id")});
                if (!hard || pair.size() != 2) {
                    s.leftOut.add(hard ? kind + QStringLiteral("（活動不明）") : soft);
                    continue;
                }
                s.consecutive.push_back({pair[0], pair[1]});
            } else {
                s.leftOut.add(kind);
            }
        }
    if (const Node* list = root.child(u"Space_Constraints_List"))
        for (const Node& c : list->children)
            if (c.name != "ConstraintBasicCompulsorySpace" && c.active()) s.leftOut.add(c.name);
    if (const Node* rooms = root.child(u"Rooms_List"))
        s.leftOut.add(QStringLiteral("教室（Room）"), int(rooms->all(u"Room").size()));
}

// ---------------------------------------------------------------------------------------------
// What the generator gets: placements (activities that start together) grouped into demands (the
// weekly lessons of one set of 作成時数 lines)

struct LineKey {
    QString group;  // the FET activity group, or the single activity kept on a line of its own
    int duration = 1, subject = 0;
    std::vector<int> teachers, classes;
    bool operator<(const LineKey& o) const {
        return std::tie(group, duration, subject, teachers, classes) <
               std::tie(o.group, o.duration, o.subject, o.teachers, o.classes);
    }
    bool operator==(const LineKey& o) const { return !(*this < o) && !(o < *this); }
};

struct Demand {
    std::vector<LineKey> keys;            // one line per key and class
    std::vector<std::vector<int>> parts;  // per placement: its activities, in key order
    int spread = 0;                       // 0, a wish 1..99 or a must 100
    int block = 0;                        // 作_選択
};

struct Line {
    int klass = 0, subject = 0, hours = 0, run = 0, block = 0, spread = 0, row = 0, after = 0;
    std::vector<int> teachers;
};

struct Plan {
    std::vector<Demand> demands;
    std::vector<int> demandOf;  // per activity
    std::vector<Line> lines;
    std::vector<std::pair<int, int>> consecutive;  // activity pairs kept
    int blocks = 0;
};

struct UnionFind {
    std::vector<int> up;
    explicit UnionFind(int n) : up(n) { std::iota(up.begin(), up.end(), 0); }
    int find(int a) { return up[a] == a ? a : up[a] = find(up[a]); }
    void join(int a, int b) { up[find(a)] = find(b); }
};

// Packs parallel lessons (of one class, or of classes joined by them) into elective blocks, each
// of lessons of one length for other subgroups and other teachers that may start at a common
// slot. First fit over several orders, the longest lessons first; the packing with the fewest
// periods wins, so that a class needs hardly more periods than its busiest subgroup. The first
// order is the file's, in which a split activity's lessons land in successive blocks and so stay
// one demand.
std::vector<std::vector<int>> packParallel(const School& s, std::vector<int> lessons) {
    // Where a lesson may start: its teachers and class free for its whole length, no break. A
    // block starts where all of its lessons may.
    using Starts = std::bitset<gen::kMaxDays * gen::kMaxPeriods>;
    const int days = int(s.days.size()), hours = int(s.hours.size());
    std::map<int, Starts> starts;
    for (int a : lessons) {
        const Activity& x = s.activities[a];
        auto free = [&](const Slot& slot) {
            return !s.breaks.count(slot) &&
                   std::none_of(x.classes.begin(), x.classes.end(),
                                [&](int c) {
                                    return s.gradeOff.count({s.classes[c].grade, slot}) ||
                                           s.classOff.count({c, slot});
                                }) &&
                   std::none_of(x.teachers.begin(), x.teachers.end(), [&](int t) {
                       return s.teacherOff.count({t, slot});
                   });
        };
        Starts& allowed = starts[a];
        for (int d = 0; d < days; ++d)
            for (int h = 0; h + x.duration <= hours; ++h) {
                bool ok = true;
                for (int k = 0; k < x.duration && ok; ++k) ok = free({d, h + k});
                allowed[d * hours + h] = ok;
            }
    }
    struct Block {
        int duration = 1;
        std::set<QString> subgroups;
        std::set<int> teachers;
        std::vector<int> members;
        Starts starts;
    };
    auto firstFit = [&](const std::vector<int>& order) {
        std::vector<Block> blocks;
        for (int a : order) {
            const Activity& x = s.activities[a];
            auto fits = [&](const Block& b) {
                return b.duration == x.duration && (b.starts & starts[a]).any() &&
                       std::none_of(x.subgroups.begin(), x.subgroups.end(),
                                    [&](const QString& g) { return b.subgroups.count(g); }) &&
                       std::none_of(x.teachers.begin(), x.teachers.end(),
                                    [&](int t) { return b.teachers.count(t); });
            };
            auto b = std::find_if(blocks.begin(), blocks.end(), fits);
            if (b == blocks.end())
                b = blocks.insert(blocks.end(), Block{x.duration, {}, {}, {}, starts[a]});
            b->starts &= starts[a];
            b->subgroups.insert(x.subgroups.begin(), x.subgroups.end());
            b->teachers.insert(x.teachers.begin(), x.teachers.end());
            b->members.push_back(a);
        }
        return blocks;
    };
    auto periods = [](const std::vector<Block>& blocks) {
        int total = 0;
        for (const Block& b : blocks) total += b.duration;
        return total;
    };
    auto longestFirst = [&] {
        std::stable_sort(lessons.begin(), lessons.end(), [&](int a, int b) {
            return s.activities[a].duration > s.activities[b].duration;
        });
    };
    longestFirst();
    std::vector<Block> best = firstFit(lessons);
    std::mt19937 random(20070401);
    for (int round = 0; round < 200; ++round) {
        std::shuffle(lessons.begin(), lessons.end(), random);
        longestFirst();
        std::vector<Block> blocks = firstFit(lessons);
        if (periods(blocks) < periods(best)) best = std::move(blocks);
    }
    std::vector<std::vector<int>> out;
    for (Block& b : best) out.push_back(std::move(b.members));
    return out;
}

Plan plan(School& s) {
    const int n = int(s.activities.size());
    UnionFind together(n);
    for (const std::vector<int>& members : s.sameStart) {
        if (members.size() < 2) continue;
        const int d = s.activities[members[0]].duration;
        if (std::any_of(members.begin(), members.end(),
                        [&](int a) { return s.activities[a].duration != d; })) {
            // One placement has one length; FET would let the shorter end early.
            s.leftOut.add(QStringLiteral("ConstraintActivitiesSameStartingTime（長さの違う活動）"));
            continue;
        }
        for (int a : members) together.join(a, members[0]);
    }
    std::vector<int> size(n, 0);
    for (int a = 0; a < n; ++a) ++size[together.find(a)];

    // "Directly after" is stored between two lines of one class, so only single lessons of one
    // class outside any block can carry it; each gets a line of its own.
    Plan p;
    std::set<int> ownLine, first, second;
    for (const auto& [a, b] : s.consecutive) {
        const Activity &x = s.activities[a], &y = s.activities[b];
        if (a == b || size[together.find(a)] > 1 || size[together.find(b)] > 1 ||
            x.classes.size() != 1 || x.classes != y.classes || first.count(a) || second.count(b)) {
            s.leftOut.add(
                QStringLiteral("ConstraintTwoActivitiesConsecutive（組の違う活動・選択の活動）"));
            continue;
        }
        first.insert(a);
        second.insert(b);
        ownLine.insert(a);
        ownLine.insert(b);
        p.consecutive.push_back({a, b});
    }

    // Lessons of subgroups only are parallel lessons, taught in elective blocks beside the other
    // subgroups' lessons. A subgroup lesson may join classes (a subgroup of each): those classes
    // are packed together.
    UnionFind linked(int(s.classes.size()));
    std::vector<int> candidates;
    for (int a = 0; a < n; ++a) {
        const Activity& x = s.activities[a];
        if (x.wholeClass || x.subgroups.empty() || size[together.find(a)] > 1 || ownLine.count(a))
            continue;
        candidates.push_back(a);
        for (int c : x.classes) linked.join(c, x.classes[0]);
    }
    std::map<int, std::vector<int>> parallel;  // classes packed together → their lessons
    for (int a : candidates) parallel[linked.find(s.activities[a].classes[0])].push_back(a);
    for (const auto& [classes, lessons] : parallel)
        for (const std::vector<int>& block : packParallel(s, lessons))
            for (int a : block) together.join(a, block.front());
    s.leftOut.add(
        QStringLiteral("Subgroup だけの活動（組の選択の授業として他の Subgroup と同時に）"),
        int(candidates.size()));

    auto keyOf = [&](int a) {
        const Activity& x = s.activities[a];
        const QString group = ownLine.count(a) || x.groupId == 0
                                  ? QStringLiteral("a%1").arg(x.id)
                                  : QStringLiteral("g%1").arg(x.groupId);
        return LineKey{group, x.duration, x.subject, x.teachers, x.classes};
    };
    std::map<int, std::vector<int>> placements;  // root → activities, in file order
    for (int a = 0; a < n; ++a) placements[together.find(a)].push_back(a);
    std::vector<std::vector<int>> ordered;
    for (auto& [root, members] : placements) ordered.push_back(members);
    std::sort(ordered.begin(), ordered.end());  // by the first activity in the file

    std::map<std::vector<LineKey>, int> demandBySignature;
    p.demandOf.assign(n, -1);
    for (std::vector<int>& members : ordered) {
        std::vector<std::pair<LineKey, int>> keyed;
        for (int a : members) keyed.push_back({keyOf(a), a});
        std::sort(keyed.begin(), keyed.end());
        // Two lessons of one FET activity at the same time cannot be one line: each its own.
        for (std::size_t i = 1; i < keyed.size(); ++i)
            if (keyed[i].first == keyed[i - 1].first)
                for (auto& [key, a] : keyed)
                    key.group = QStringLiteral("a%1").arg(s.activities[a].id);
        std::sort(keyed.begin(), keyed.end());
        std::vector<LineKey> signature;
        std::vector<int> part;
        for (auto& [key, a] : keyed) {
            signature.push_back(key);
            part.push_back(a);
        }
        auto [it, added] = demandBySignature.emplace(signature, int(p.demands.size()));
        if (added) p.demands.push_back({signature, {}, 0, 0});
        for (int a : part) p.demandOf[a] = it->second;
        p.demands[it->second].parts.push_back(part);
    }

    // Days apart: kept for the placements of one demand when the constraint covers all of them.
    for (const School::MinDays& m : s.minDays) {
        std::map<int, std::set<int>> covered;  // demand → its placements named
        for (int a : m.activities) {
            const Demand& d = p.demands[p.demandOf[a]];
            for (int i = 0; i < int(d.parts.size()); ++i)
                if (std::count(d.parts[i].begin(), d.parts[i].end(), a))
                    covered[p.demandOf[a]].insert(i);
        }
        int kept = 0;
        for (const auto& [demand, parts] : covered) {
            Demand& d = p.demands[demand];
            if (d.parts.size() < 2 || parts.size() != d.parts.size()) continue;
            d.spread = std::max(d.spread, m.weight);
            ++kept;
        }
        const QString kind = QStringLiteral("ConstraintMinDaysBetweenActivities");
        if (kept == 0)
            s.leftOut.add(kind + QStringLiteral("（別々の行になった活動の間）"));
        else if (kept != int(covered.size()) ||
                 std::any_of(covered.begin(), covered.end(), [&](const auto& c) {
                     return c.second.size() != p.demands[c.first].parts.size();
                 }))
            s.leftOut.add(kind + QStringLiteral("（一部の活動の間だけ取り込み）"));
        if (kept > 0 && m.days > 1)
            s.leftOut.add(kind + QStringLiteral("（MinDays 2 以上を 1 日として）"));
    }

    // The lines, class by class in the order of the demands.
    std::map<int, int> rows;          // class → last row
    std::map<int, int> lineOfSingle;  // activity of a single-class, single line demand
    for (Demand& d : p.demands) {
        const bool joint = d.keys.size() > 1 || d.keys.front().classes.size() > 1;
        if (joint) d.block = ++p.blocks;
        for (std::size_t k = 0; k < d.keys.size(); ++k) {
            const LineKey& key = d.keys[k];
            for (int c : key.classes) {
                Line line;
                line.klass = c;
                line.subject = key.subject;
                line.teachers = key.teachers;
                line.hours = int(d.parts.size()) * key.duration;
                line.run = key.duration >= 2 ? key.duration : 0;
                line.block = d.block;
                line.spread = d.spread;
                line.row = ++rows[c];
                if (!joint && d.parts.size() == 1)
                    lineOfSingle[d.parts[0][0]] = int(p.lines.size());
                p.lines.push_back(std::move(line));
            }
        }
    }
    for (const auto& [a, b] : p.consecutive)
        p.lines[lineOfSingle.at(a)].after = p.lines[lineOfSingle.at(b)].row;
    return p;
}

// ---------------------------------------------------------------------------------------------
// Writing the database

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

int weekdayOf(int day) {  // the file's first day is Monday (2), the seventh Sunday (1)
    return (day + 1) % 7 + 1;
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
                           {"作_後続", l.after}});
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
                           {"不_曜日", weekdayOf(slot.day)},
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

// ---------------------------------------------------------------------------------------------
// The school as imported, written back as a FET file

void writeReduced(const School& s, const Plan& p, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DbError(QStringLiteral("「%1」に書けません：%2").arg(path, file.errorString()));
    QXmlStreamWriter x(&file);
    x.setAutoFormatting(true);
    x.writeStartDocument();
    x.writeStartElement("fet");
    // The format as FET 6.8 writes it, in its ordinary mode: a version of the source file can
    // name a variant of FET (mornings and afternoons, terms) that reads the file otherwise.
    x.writeAttribute("version", "6.8.5");
    x.writeTextElement("Mode", "Official");
    x.writeTextElement("Institution_Name", s.institution);
    x.writeTextElement("Comments", QStringLiteral("jikanwari-newdb --from-fet: as imported"));
    auto list = [&](const char* listName, const char* countName, const char* item,
                    const QStringList& names) {
        x.writeStartElement(listName);
        if (countName) x.writeTextElement(countName, QString::number(names.size()));
        for (const QString& n : names) {
            x.writeStartElement(item);
            x.writeTextElement("Name", n);
            x.writeEndElement();
        }
        x.writeEndElement();
    };
    list("Days_List", "Number_of_Days", "Day", s.days);
    list("Hours_List", "Number_of_Hours", "Hour", s.hours);
    list("Subjects_List", nullptr, "Subject", s.subjects);
    x.writeEmptyElement("Activity_Tags_List");
    list("Teachers_List", nullptr, "Teacher", s.teachers);

    // Years and their classes as groups; a year without groups is its own class.
    x.writeStartElement("Students_List");
    for (const School::Year& y : s.years) {
        x.writeStartElement("Year");
        x.writeTextElement("Name", y.name);
        x.writeTextElement("Number_of_Students", "0");
        if (y.hasGroups)
            for (int c : y.classes)
                if (s.classes[c].grade == int(&y - s.years.data()) + 1) {
                    x.writeStartElement("Group");
                    x.writeTextElement("Name", s.classes[c].name);
                    x.writeTextElement("Number_of_Students", "0");
                    x.writeEndElement();
                }
        x.writeEndElement();
    }
    x.writeEndElement();

    // One activity per placement, the placements of a demand as one split activity.
    std::vector<std::vector<int>> ids(p.demands.size());
    x.writeStartElement("Activities_List");
    int next = 0;
    for (std::size_t di = 0; di < p.demands.size(); ++di) {
        const Demand& d = p.demands[di];
        std::set<int> teachers, classes;
        for (const LineKey& k : d.keys) {
            teachers.insert(k.teachers.begin(), k.teachers.end());
            classes.insert(k.classes.begin(), k.classes.end());
        }
        const int duration = d.keys.front().duration;
        const int groupId = d.parts.size() > 1 ? next + 1 : 0;
        for (std::size_t i = 0; i < d.parts.size(); ++i) {
            ids[di].push_back(++next);
            x.writeStartElement("Activity");
            for (int t : teachers) x.writeTextElement("Teacher", s.teachers[t]);
            x.writeTextElement("Subject", s.subjects[d.keys.front().subject]);
            for (int c : classes) x.writeTextElement("Students", s.classes[c].name);
            x.writeTextElement("Duration", QString::number(duration));
            x.writeTextElement("Total_Duration", QString::number(duration * int(d.parts.size())));
            x.writeTextElement("Id", QString::number(next));
            x.writeTextElement("Activity_Group_Id", QString::number(groupId));
            x.writeTextElement("Active", "true");
            x.writeTextElement("Comments", "");
            x.writeEndElement();
        }
    }
    x.writeEndElement();
    x.writeEmptyElement("Buildings_List");
    x.writeEmptyElement("Rooms_List");

    auto times = [&](const char* element, const std::vector<Slot>& slots) {
        for (const Slot& slot : slots) {
            x.writeStartElement(element);
            x.writeTextElement("Day", s.days[slot.day]);
            x.writeTextElement("Hour", s.hours[slot.hour]);
            x.writeEndElement();
        }
    };
    auto constraint = [&](const char* kind, int weight) {
        x.writeStartElement(kind);
        x.writeTextElement("Weight_Percentage", QString::number(weight));
    };
    auto close = [&] {
        x.writeTextElement("Active", "true");
        x.writeTextElement("Comments", "");
        x.writeEndElement();
    };
    auto notAvailable = [&](const char* kind, const char* who, const QString& name,
                            const std::vector<Slot>& slots) {
        constraint(kind, 100);
        x.writeTextElement(who, name);
        x.writeTextElement("Number_of_Not_Available_Times", QString::number(slots.size()));
        times("Not_Available_Time", slots);
        close();
    };
    x.writeStartElement("Time_Constraints_List");
    constraint("ConstraintBasicCompulsoryTime", 100);
    close();
    std::map<int, std::vector<Slot>> byTeacher, byGrade, byClass;
    for (const auto& [t, slot] : s.teacherOff) byTeacher[t].push_back(slot);
    for (const auto& [g, slot] : s.gradeOff) byGrade[g].push_back(slot);
    for (const auto& [c, slot] : s.classOff) byClass[c].push_back(slot);
    for (const auto& [t, slots] : byTeacher)
        notAvailable("ConstraintTeacherNotAvailableTimes", "Teacher", s.teachers[t], slots);
    for (const auto& [g, slots] : byGrade)
        notAvailable("ConstraintStudentsSetNotAvailableTimes", "Students", s.years[g - 1].name,
                     slots);
    for (const auto& [c, slots] : byClass)
        notAvailable("ConstraintStudentsSetNotAvailableTimes", "Students", s.classes[c].name,
                     slots);
    if (!s.breaks.empty()) {
        constraint("ConstraintBreakTimes", 100);
        x.writeTextElement("Number_of_Break_Times", QString::number(s.breaks.size()));
        times("Break_Time", {s.breaks.begin(), s.breaks.end()});
        close();
    }
    for (std::size_t di = 0; di < p.demands.size(); ++di) {
        const Demand& d = p.demands[di];
        if (d.spread == 0 || d.parts.size() < 2) continue;
        constraint("ConstraintMinDaysBetweenActivities", d.spread);
        x.writeTextElement("Consecutive_If_Same_Day", "false");
        x.writeTextElement("Number_of_Activities", QString::number(d.parts.size()));
        for (int id : ids[di]) x.writeTextElement("Activity_Id", QString::number(id));
        x.writeTextElement("MinDays", "1");
        close();
    }
    for (const auto& [a, b] : p.consecutive) {
        constraint("ConstraintTwoActivitiesConsecutive", 100);
        x.writeTextElement("First_Activity_Id", QString::number(ids[p.demandOf[a]][0]));
        x.writeTextElement("Second_Activity_Id", QString::number(ids[p.demandOf[b]][0]));
        close();
    }
    x.writeEndElement();
    x.writeStartElement("Space_Constraints_List");
    x.writeStartElement("ConstraintBasicCompulsorySpace");
    x.writeTextElement("Weight_Percentage", "100");
    close();
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    if (!file.commit())
        throw DbError(QStringLiteral("「%1」に書けません：%2").arg(path, file.errorString()));
}

}  // namespace

ImportSummary importFet(const QString& fetPath, int year, const QString& reducedPath) {
    School s;
    s.path = fetPath;
    const Node root = readTree(fetPath);
    readLists(root, s);
    readStudents(root, s);
    readActivities(root, s);
    readConstraints(root, s);
    const Plan p = plan(s);

    Operation op;
    writeMasters(s);
    writeBusinessYears(year);
    const Codes codes = writeTeachersAndSubjects(s, p, year);
    writeGeneratorTables(s, p, codes, year);
    op.commit();
    if (!reducedPath.isEmpty()) writeReduced(s, p, reducedPath);

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
