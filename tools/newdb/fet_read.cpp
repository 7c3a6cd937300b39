#include "newdb/fet_school.h"

#include <algorithm>

#include <QFile>
#include <QXmlStreamReader>

#include "data/database.h"
#include "generation/problem.h"

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
            if (i >= 0)
                act.teachers.push_back(i);
            else
                s.leftOut.add(QStringLiteral("活動の教員のうち教員一覧にない名前"));
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
            if (it == s.studentSets.end()) {
                s.leftOut.add(QStringLiteral("活動の生徒のうち生徒一覧にない名前"));
                continue;
            }
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

}  // namespace

School readSchool(const QString& path) {
    School s;
    s.path = path;
    const Node root = readTree(path);
    readLists(root, s);
    readStudents(root, s);
    readActivities(root, s);
    readConstraints(root, s);
    return s;
}

}  // namespace fet
