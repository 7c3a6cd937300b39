#include "calendar/teacher_calendar.h"

#include <algorithm>
#include <map>

#include "calendar/bell_schedule.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/module_loader.h"
#include "data/recordset.h"

namespace {

QDate dateFromText(const QString& text) {
    return dateFrom(text);
}

QString orShort(const QString& name, const QString& shortName) {
    return name.isEmpty() ? shortName : name;
}

QString departmentName(const QString& code) {
    const SchoolContext& s = school();
    for (int i = 1; i <= s.departmentCount; ++i)
        if (s.departments[i].code == code) return s.departments[i].name;
    return code;
}

QString roomOf(int year, const QString& dept, int grade, const QString& course,
               const QString& kamoku, const QString& kyoka) {
    if (kyoka.isEmpty() || kyoka == kCommonCode) return {};
    Recordset rs("教科");
    rs.setIndex("Key_教科");
    rs.seek(Seek::Equal, {year, dept, grade, course, kamoku, kyoka});
    return rs.noMatch() ? QString() : rs.text("教_教室名");
}

struct Event {
    QString from, to, dept;
    int grade, kind, periodFrom, periodTo;
    bool takes(const DatedLesson& l) const {
        if (l.date < from || l.date > to) return false;
        if (dept != kCommonCode && dept != l.dept) return false;
        if (grade != 0 && grade != l.grade) return false;
        return kind == 0 || (l.period >= periodFrom && l.period <= periodTo);
    }
};

// The events of a year that take lessons away.
std::vector<Event> eventsOf(int year) {
    std::vector<Event> out;
    Recordset rs("予定");
    rs.setIndex("Key_予定");
    for (rs.seekPrefix({year}); rs.inPrefix(); rs.moveNext()) {
        const int kind = rs.integer("予_授業F");
        if (kind != 0 && kind != 2) continue;
        const QString to = rs.text("予_終了日");
        out.push_back({rs.text("予_日付"), to.isEmpty() ? rs.text("予_日付") : to,
                       rs.text("予_学部"), rs.integer("予_学年"), kind, rs.integer("予_時限From"),
                       rs.integer("予_時限To")});
    }
    return out;
}

// The lessons of one school year within [from, to].
void lessonsOfYear(int year, const QString& teacher, const QString& from, const QString& to,
                   std::vector<DatedLesson>& out) {
    // The standard week, by weekday.
    std::map<int, std::vector<DatedLesson>> week;
    Recordset std_("組時間割");
    std_.setIndex("Idx_教員コマ");
    for (std_.seekPrefix({year, teacher}); std_.inPrefix(); std_.moveNext()) {
        DatedLesson l;
        l.period = std_.integer("組_時限");
        l.dept = std_.text("組_学部");
        l.grade = std_.integer("組_学年");
        l.course = std_.text("組_コース");
        l.klass = std_.text("組_組");
        l.elective = std_.integer("組_選択番号");
        l.subject = std_.integer("組_登録") == 1
                        ? std_.text("組_教科略称")
                        : orShort(std_.text("組_教科名"), std_.text("組_教科略称"));
        l.room =
            roomOf(year, l.dept, l.grade, l.course, std_.text("組_科目"), std_.text("組_教科"));
        week[std_.integer("組_曜日")].push_back(l);
    }

    Recordset change("時限変更");
    change.setIndex("Key_変更");
    const QDate first = std::max(QDate(year, 4, 1), dateFromText(from));
    const QDate last = std::min(QDate(year + 1, 3, 31), dateFromText(to));
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const auto it = week.find(weekdayNumber(d));
        if (it == week.end()) continue;
        for (DatedLesson l : it->second) {
            l.date = dateText(d);
            // A change of the slot replaces the standard lesson; the teacher's own changes are
            // added below.
            change.seek(Seek::Equal,
                        {year, l.date, l.dept, l.grade, l.course, l.klass, l.elective, l.period});
            if (change.noMatch()) out.push_back(l);
        }
    }

    Recordset mine("時限変更");
    mine.setIndex("Idx_教員コマ");
    Recordset replaced("組時間割");
    replaced.setIndex("Key_時間割");
    for (mine.seekPrefix({year, teacher, dateText(first), 0}, 2);
         mine.inPrefix() && mine.text("変_日付") <= dateText(last); mine.moveNext()) {
        DatedLesson l;
        l.date = mine.text("変_日付");
        l.period = mine.integer("変_時限");
        l.dept = mine.text("変_学部");
        l.grade = mine.integer("変_学年");
        l.course = mine.text("変_コース");
        l.klass = mine.text("変_組");
        l.elective = mine.integer("変_選択番号");
        l.subject = orShort(mine.text("変_教科名"), mine.text("変_教科略称"));
        l.room =
            roomOf(year, l.dept, l.grade, l.course, mine.text("変_科目"), mine.text("変_教科"));
        l.changed = true;
        const int weekday = weekdayNumber(dateFromText(l.date));
        QStringList teachers;
        for (replaced.seekPrefix(
                 {year, l.dept, l.grade, l.course, l.klass, l.elective, weekday, l.period});
             replaced.inPrefix(); replaced.moveNext())
            teachers << replaced.text("組_教員名");
        l.replaced = teachers.join(QStringLiteral("、"));
        out.push_back(l);
    }

    const std::vector<Event> events = eventsOf(year);
    std::erase_if(out, [&](const DatedLesson& l) {
        return std::any_of(events.begin(), events.end(),
                           [&](const Event& e) { return e.takes(l); });
    });
}

}  // namespace

QString DatedLesson::uid() const {
    return QStringLiteral("%1-%2-%3-%4-%5-%6-%7-%8@jikanwari")
        .arg(QString::number(businessYearOf(dateFromText(date))),
             QString(date).remove(QLatin1Char('/')), QString::number(period), dept,
             QString::number(grade), course, klass, QString::number(elective));
}

std::vector<DatedLesson> datedLessons(const QString& teacher, const QDate& from, const QDate& to) {
    std::vector<DatedLesson> out;
    for (int year = businessYearOf(from); year <= businessYearOf(to); ++year)
        lessonsOfYear(year, teacher, dateText(from), dateText(to), out);
    std::sort(out.begin(), out.end(), [](const DatedLesson& a, const DatedLesson& b) {
        return std::tie(a.date, a.period, a.klass, a.elective) <
               std::tie(b.date, b.period, b.klass, b.elective);
    });
    return out;
}

QString calendarFileName(const QString& number, const QString& name) {
    QString safe = number + QLatin1Char('_') + name;
    for (QChar& c : safe)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
    return safe.trimmed() + QStringLiteral(".ics");
}

QByteArray teacherCalendar(const QString& teacherName, const std::vector<DatedLesson>& lessons,
                           int& untimed, QString* error) {
    untimed = 0;
    // The bell schedule and the names are read here, before the writer is loaded: the module
    // knows nothing of the database.
    std::vector<CalendarEvent> events;
    std::map<std::pair<QString, int>, std::map<int, BellPeriod>> bells;  // by department, weekday
    for (const DatedLesson& l : lessons) {
        const QDate date = dateFromText(l.date);
        const int weekday = weekdayNumber(date);
        auto key = std::make_pair(l.dept, weekday);
        if (!bells.count(key)) bells[key] = bellSchedule(l.dept, weekday);
        const auto bell = bells[key].find(l.period);
        if (bell == bells[key].end()) {
            ++untimed;
            continue;
        }
        const QString klass = QStringLiteral("%1年%2").arg(l.grade).arg(l.klass);
        QString summary = QStringLiteral("%1限 %2 %3").arg(l.period).arg(klass, l.subject);
        QStringList description = {departmentName(l.dept) + QLatin1Char(' ') + klass,
                                   QStringLiteral("教科: ") + l.subject};
        if (!l.room.isEmpty()) description << QStringLiteral("教室: ") + l.room;
        if (l.changed) {
            summary = QStringLiteral("変更: ") + summary;
            description << QStringLiteral("授業変更（元の担当: %1）")
                               .arg(l.replaced.isEmpty() ? QStringLiteral("なし") : l.replaced);
        }
        events.push_back({l.uid(), date, bell->second.start, bell->second.end, summary,
                          description.join(QLatin1Char('\n')), l.room, l.changed});
    }
    using Writer = bool (*)(const QString*, const std::vector<CalendarEvent>*, QByteArray*);
    QString why;
    const auto write =
        reinterpret_cast<Writer>(moduleEntry(kCalendarModule, "jikanwariWriteCalendar", &why));
    QByteArray out;
    const QString title = teacherName + QStringLiteral(" 授業");
    if (!write || !write(&title, &events, &out)) {
        if (error) *error = why;
        return {};
    }
    return out;
}
