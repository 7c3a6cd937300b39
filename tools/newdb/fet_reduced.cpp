#include "newdb/fet_school.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

#include "data/database.h"

namespace fet {

void writeReducedFet(const School& s, const Plan& p, const QString& path) {
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
        x.writeTextElement("MinDays", QString::number(d.minDays));
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

}  // namespace fet
