// iCalendar出力: the sample school's teachers' files, read back with libical, against what
// 教員コマ shows for a week with lesson changes and an event.

#include <set>

#include <QDir>
#include <QFile>
#include <libical/ical.h>

#include "calendar/calendar_export_screen.h"
#include "calendar/teacher_calendar.h"
#include "changes/teacher_slot_screen.h"
#include "changes/teacher_week.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/module_loader.h"
#include "newdb/sample_school.h"
#include "support/screen_driver.h"

namespace {

struct Exported {
    QString uid, summary, description, zone;
    QString start, end;  // "yyyy/mm/dd hh:mm"
};

std::vector<Exported> readBack(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    icalcomponent* cal = icalparser_parse_string(f.readAll().constData());
    EXPECT_NE(cal, nullptr);
    std::vector<Exported> out;
    if (!cal) return out;
    const auto when = [](icalproperty* p, icaltimetype t) {
        icalparameter* tz = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
        return std::pair{
            QString::asprintf("%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute),
            QString::fromUtf8(tz ? icalparameter_get_tzid(tz) : "")};
    };
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        icalproperty* s = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        icalproperty* e = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY);
        const auto [start, zone] = when(s, icalproperty_get_dtstart(s));
        const auto [end, endZone] = when(e, icalproperty_get_dtend(e));
        EXPECT_EQ(zone, endZone);
        out.push_back({QString::fromUtf8(icalcomponent_get_uid(ev)),
                       QString::fromUtf8(icalcomponent_get_summary(ev)),
                       QString::fromUtf8(icalcomponent_get_description(ev)), zone, start, end});
    }
    icalcomponent_free(cal);
    return out;
}

const char* const kBells[][2] = {{"08:50", "09:40"}, {"09:50", "10:40"}, {"10:50", "11:40"},
                                 {"11:50", "12:40"}, {"13:30", "14:20"}, {"14:30", "15:20"}};

class TeacherCalendarTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        fillSampleSchool(QDate(2007, 6, 4));  // a Monday; the changes fall in its week
        school().setToday(QDate(2007, 6, 4));
        school().businessYear = 2007;
        loadMasters();
        QDir(dir()).mkdir("ics");
        iCalendar出力::setFolderChooser([this](QWidget*) { return folder(); });
    }
    void TearDown() override {
        iCalendar出力::setFolderChooser(nullptr);
        school().clearMasters();
        ScreenTest::TearDown();
    }
    QString folder() const { return QDir(dir()).filePath("ics"); }

    // Every teacher's week from 教員コマ, as "yyyy/mm/dd period" → changed.
    void exportAll() {
        ScreenDriver d(new 教員コマ);
        onModal([](ScreenDriver& m) {
            EXPECT_EQ(m.text("開始日"), "2007/06/04");
            EXPECT_EQ(m.text("終了日"), "2007/06/10");
            m.pick("C教員", "全教員");
            m.click("B出力");
        });
        messages.clear();
        d.click("BiCalendar出力");
    }
    std::map<QString, bool> weekOf(const QString& name) {
        ScreenDriver d(new 教員コマ);
        d.set("照会日", "2007/06/04");
        d.leave("照会日");
        d.set("C教員", name);
        d.click("B表示");
        std::map<QString, bool> lessons;
        for (int c = 1; c <= 7; ++c)
            for (int p = 1; p <= 10; ++p) {
                const int row = weekFirstRow(p);
                const QString top = d.cell("G時割", row, c);
                // Empty: no lesson; the same text in all three rows: an event took it.
                if (top.isEmpty() || top == d.cell("G時割", row + 2, c)) continue;
                lessons[d.cell("G時割", 0, c) + QStringLiteral(" %1").arg(p)] =
                    d.fore("G時割", row + 2, c) == 13;
            }
        return lessons;
    }
};

TEST_F(TeacherCalendarTest, EveryTeachersFileHoldsTheWeekOfTheTeacherSlotScreen) {
    exportAll();
    const std::vector<Record> teachers = records("教員");
    ASSERT_EQ(messages.last(), QStringLiteral("%1人分のiCalendarファイルを「%2」に出力しました。")
                                   .arg(teachers.size())
                                   .arg(QDir::toNativeSeparators(folder())));

    // The slots whose standard teacher was replaced on a date: 教員コマ still shows that teacher
    // his lesson, the calendar does not.
    std::set<std::pair<QString, QString>> replaced;  // teacher, "date period"
    const std::vector<Record> changes = records("時限変更");
    ASSERT_GE(changes.size(), 3u);
    for (const Record& ch : changes)
        for (const Record& l : records("組時間割"))
            if (l.at("組_学部") == ch.at("変_学部") && l.at("組_学年") == ch.at("変_学年") &&
                l.at("組_組") == ch.at("変_組") && l.at("組_時限") == ch.at("変_時限") &&
                l.at("組_曜日") == Value(weekdayNumber(
                                       QDate::fromString(ch.at("変_日付").toText(), "yyyy/MM/dd"))))
                replaced.insert({l.at("組_教員").toText(),
                                 ch.at("変_日付").toText() + " " + ch.at("変_時限").toText()});

    int lessons = 0, changed = 0;
    for (const Record& t : teachers) {
        const QString no = t.at("員_番号").toText(), name = t.at("員_氏名").toText();
        std::map<QString, bool> expected = weekOf(name);
        std::erase_if(expected, [&](const auto& e) { return replaced.count({no, e.first}); });
        std::map<QString, bool> actual;
        std::set<QString> uids;
        for (const Exported& e : readBack(QDir(folder()).filePath(calendarFileName(no, name)))) {
            const QString slot = e.uid.section('-', 1, 1);
            const QString key = QDate::fromString(slot, "yyyyMMdd").toString("yyyy/MM/dd") + " " +
                                e.uid.section('-', 2, 2);
            const int period = e.uid.section('-', 2, 2).toInt();
            ASSERT_TRUE(period >= 1 && period <= 6) << e.uid.toStdString();
            EXPECT_EQ(e.start, key.left(10) + " " + kBells[period - 1][0]);
            EXPECT_EQ(e.end, key.left(10) + " " + kBells[period - 1][1]);
            EXPECT_EQ(e.zone, "Asia/Tokyo");
            EXPECT_TRUE(e.uid.startsWith("2007-")) << e.uid.toStdString();
            EXPECT_TRUE(uids.insert(e.uid).second) << e.uid.toStdString();
            const bool isChange = e.summary.startsWith("変更: ");
            EXPECT_EQ(isChange, e.description.contains("元の担当")) << e.uid.toStdString();
            actual[key] = actual[key] || isChange;
        }
        EXPECT_EQ(actual, expected) << name.toStdString();
        lessons += int(actual.size());
        for (const auto& [slot, c] : actual) changed += c;
    }
    EXPECT_GT(lessons, 300);
    EXPECT_EQ(changed, int(changes.size()));
}

// A calendar that reads the files again finds the lesson under the same identifier: with the
// change cancelled it moves back to the teacher whose lesson it was.
TEST_F(TeacherCalendarTest, ACancelledChangeLeavesTheCoverAndReturnsToItsTeacher) {
    exportAll();
    const Record change = records("時限変更").front();
    const QString cover = change.at("変_教員").toText();
    const auto fileOf = [&](const QString& no) {
        for (const Record& t : records("教員"))
            if (t.at("員_番号").toText() == no)
                return QDir(folder()).filePath(calendarFileName(no, t.at("員_氏名").toText()));
        return QString();
    };
    const auto uidsOf = [&](const QString& no) {
        QStringList uids;
        for (const Exported& e : readBack(fileOf(no))) uids << e.uid;
        return uids;
    };
    const QString day = change.at("変_日付").toText().remove('/');
    QString uid;
    for (const QString& u : uidsOf(cover))
        if (u.section('-', 1, 2) == day + "-" + change.at("変_時限").toText()) uid = u;
    ASSERT_FALSE(uid.isEmpty());

    QString standard;
    for (const Record& l : records("組時間割"))
        if (l.at("組_学部") == change.at("変_学部") && l.at("組_学年") == change.at("変_学年") &&
            l.at("組_組") == change.at("変_組") && l.at("組_時限") == change.at("変_時限") &&
            l.at("組_曜日") == Value(weekdayNumber(
                                   QDate::fromString(change.at("変_日付").toText(), "yyyy/MM/dd"))))
            standard = l.at("組_教員").toText();
    EXPECT_FALSE(uidsOf(standard).contains(uid));

    {
        Operation op;
        Recordset rs("時限変更");
        rs.setIndex("Key_変更");
        rs.seek(Seek::Equal, {change.at("変_年度"), change.at("変_日付"), change.at("変_学部"),
                              change.at("変_学年"), change.at("変_コース"), change.at("変_組"),
                              change.at("変_選択番号"), change.at("変_時限")});
        rs.remove();
        op.commit();
    }
    answer({true});  // the files are there: overwrite them
    exportAll();
    EXPECT_FALSE(uidsOf(cover).contains(uid));
    EXPECT_TRUE(uidsOf(standard).contains(uid));
}

// The writer is a module: an installation without it says so and writes no file rather than
// empty calendars that would clear the teachers' lessons from their phones.
TEST_F(TeacherCalendarTest, WithoutTheWriterNothingIsWrittenAndTheExportSaysSo) {
    linkModuleEntry(kCalendarModule, nullptr);
    exportAll();
    linkModuleEntry(kCalendarModule, reinterpret_cast<QFunctionPointer>(&jikanwariWriteCalendar));
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("iCalendarファイルを出力できませんでした")))
        << messages.last().toStdString();
    EXPECT_TRUE(QDir(folder()).isEmpty());
}

}  // namespace
