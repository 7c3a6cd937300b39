// jikanwari-newdb --from-fet on real schools: the example files of the fet-data package, which
// no one here wrote.

#include <map>
#include <set>
#include <tuple>

#include <QFile>
#include <QProcess>

#include "data/new_database.h"
#include "newdb/fet_import.h"
#include "support/database_fixture.h"

namespace {

const QString kExamples = QStringLiteral("/usr/share/doc/fet-data/examples/FET-5-official/");

class FetImportTest : public DatabaseTest {
protected:
    static fet::ImportSummary import(const QString& file, const QString& reduced = {}) {
        const QString path = kExamples + file;
        EXPECT_TRUE(QFile::exists(path)) << "fet-data is not installed: " << path.toStdString();
        return fet::importFet(path, 2026, reduced);
    }

    // Periods a week per class: the lines of one elective block are taught at the same times,
    // so a class counts each block once.
    static std::map<QString, int> weeklyPeriods() {
        std::map<QString, int> out;
        std::set<std::pair<QString, qint64>> blocks;
        for (const Record& r : records("作成時数")) {
            const QString klass = r.at("作_組").toText();
            const qint64 block = r.at("作_選択").toInt();
            if (block == 0 || blocks.insert({klass, block}).second)
                out[klass] += int(r.at("作_時間数").toInt());
        }
        return out;
    }

    // What the generator places, independent of line order, numbering and subject names: each
    // line, or each block as one placement of all its classes and teachers.
    using Placement = std::tuple<QStringList, QStringList, qint64, qint64, qint64, qint64>;
    static std::multiset<Placement> placements() {
        std::multiset<Placement> out;
        std::map<qint64, std::pair<std::set<QString>, std::set<QString>>> blocks;
        std::map<qint64, Placement> shape;
        for (const Record& r : records("作成時数")) {
            const QString klass = r.at("作_学年").toText() + "/" + r.at("作_組").toText();
            QStringList teachers = r.at("作_教員").toText().split(',', Qt::SkipEmptyParts);
            teachers.sort();
            const Placement p{{klass},
                              teachers,
                              r.at("作_時間数").toInt(),
                              r.at("作_連続").toInt(),
                              r.at("作_分散").toInt(),
                              r.at("作_間隔").toInt()};
            if (const qint64 block = r.at("作_選択").toInt()) {
                blocks[block].first.insert(klass);
                blocks[block].second.insert(teachers.begin(), teachers.end());
                shape[block] = p;
            } else {
                out.insert(p);
            }
        }
        for (auto& [block, p] : shape) {
            const auto& [classes, teachers] = blocks[block];
            std::get<0>(p) = QStringList(classes.begin(), classes.end());
            std::get<1>(p) = QStringList(teachers.begin(), teachers.end());
            out.insert(p);
        }
        return out;
    }
};

TEST_F(FetImportTest, SchoolsOfSeveralCountriesArriveWholeWithWhatIsLeftOutCounted) {
    struct Case {
        const char* file;
        int teachers, grades, classes, lessons, periods;
        QStringList leftOut;
    };
    // Lessons and periods as counted from the files by hand: a FET activity is a lesson unless
    // it starts together with others; a class has each lesson's duration once.
    const Case cases[] = {
        {"Brazil/1/Brazil.fet",
         27,
         16,
         16,
         400,
         400,
         {"ConstraintTeacherMaxDaysPerWeek: 13 件", "ConstraintTeachersMaxGapsPerWeek: 1 件"}},
        // Groups split into subgroups that meet in parallel, seven days, breaks.
        {"Namibia/by-Bobby/set-2/KPS.fet",
         21,
         16,
         19,
         767,
         931,
         {"ConstraintMinDaysBetweenActivities（一部の活動の間だけ取り込み）: 10 件"}},
        // Categories: subgroups shared by several groups; double periods.
        {"Germany/secondary-school-1/constraints-min-days-100-few-0/German-100_and_0.fet",
         33,
         6,
         42,
         589,
         680,
         {}},
        {"Vietnam/2-secondary-school/VietNamHungYen.fet", 33, 4, 9, 230, 257, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Database::close();
        QFile::remove(kDatabaseFile);
        createNewDatabase(kDatabaseFile);
        const fet::ImportSummary s = import(c.file);
        EXPECT_EQ(s.teachers, c.teachers);
        EXPECT_EQ(records("教員").size(), std::size_t(c.teachers));
        EXPECT_EQ(s.grades, c.grades);
        EXPECT_EQ(s.classes, c.classes);
        EXPECT_EQ(s.lessons, c.lessons);
        int periods = 0;
        for (const auto& [klass, n] : weeklyPeriods()) periods += n;
        EXPECT_EQ(periods, c.periods);
        for (const QString& line : c.leftOut)
            EXPECT_TRUE(s.leftOut.contains(line)) << line.toStdString();

        // The lines of one block are placed as one: the same count in the same runs.
        std::map<qint64, std::pair<qint64, qint64>> shape;
        for (const Record& r : records("作成時数")) {
            const qint64 hours = r.at("作_時間数").toInt(), run = r.at("作_連続").toInt();
            EXPECT_EQ(hours % std::max<qint64>(run, 1), 0);
            if (const qint64 b = r.at("作_選択").toInt()) {
                auto [it, added] = shape.emplace(b, std::pair{hours, run});
                EXPECT_EQ(it->second, std::pair(hours, run)) << "block " << b;
            }
        }
    }
    EXPECT_EQ(records("業務年度").front().at("業_年度"), Value(2026));
}

TEST_F(FetImportTest, SubgroupLessonsAreTaughtInParallelWithinTheirClass) {
    // Greece: three groups of three or four subgroups, most lessons given to one subgroup; each
    // class's busiest subgroup has 34 periods of the 35 a week holds.
    import("Greece/Gymnasio/Gymnasio.fet");
    EXPECT_EQ(weeklyPeriods(), (std::map<QString, int>{{"Α", 34}, {"Β", 34}, {"Γ", 34}}));
    // A block is taught at once: none of its teachers in two of its lines.
    std::map<qint64, std::multiset<QString>> teachersOfBlock;
    for (const Record& r : records("作成時数"))
        if (const qint64 block = r.at("作_選択").toInt())
            for (const QString& t : r.at("作_教員").toText().split(',', Qt::SkipEmptyParts))
                teachersOfBlock[block].insert(t);
    for (const auto& [block, teachers] : teachersOfBlock)
        EXPECT_EQ(std::set<QString>(teachers.begin(), teachers.end()).size(), teachers.size())
            << "block " << block;
}

TEST_F(FetImportTest, FetDaysAndHoursBecomeWeekdaysFromMondayAndPeriodsFromOne) {
    import("Namibia/by-Bobby/set-2/KPS.fet");
    std::set<std::pair<qint64, qint64>> breaks;
    for (const Record& r : records("作成不可"))
        if (r.at("不_種別").toInt() == 3)
            breaks.insert({r.at("不_曜日").toInt(), r.at("不_時限").toInt()});
    // Registration ("Reg", the first hour) and the break ("Brk", the sixth) on all seven days;
    // the seventh is Sunday.
    EXPECT_EQ(breaks.size(), 14u);
    for (int weekday : {2, 3, 4, 5, 6, 7, 1}) {
        EXPECT_TRUE(breaks.count({weekday, 1})) << weekday;
        EXPECT_TRUE(breaks.count({weekday, 6})) << weekday;
    }
    std::map<QString, qint64> settings;
    for (const Record& r : records("作成設定"))
        settings[r.at("設_項目").toText()] = r.at("設_値").toInt();
    EXPECT_EQ(settings["曜日数"], 7);
    EXPECT_EQ(settings["時限数"], 9);

    // A teacher's unavailable slots under the teacher's number (Brazil: Gilmar, 17 slots from
    // Monday's first to Friday's first).
    Database::close();
    QFile::remove(kDatabaseFile);
    createNewDatabase(kDatabaseFile);
    import("Brazil/1/Brazil.fet");
    QString gilmar;
    for (const Record& r : records("教員"))
        if (r.at("員_氏名") == Value("Gilmar")) gilmar = r.at("員_番号").toText();
    std::set<std::pair<qint64, qint64>> off;
    for (const Record& r : records("作成不可"))
        if (r.at("不_種別").toInt() == 1 && r.at("不_教員").toText() == gilmar)
            off.insert({r.at("不_曜日").toInt(), r.at("不_時限").toInt()});
    EXPECT_EQ(off.size(), 17u);
    EXPECT_TRUE(off.count({2, 1}) && off.count({2, 5}) && off.count({6, 1}));
    EXPECT_FALSE(off.count({6, 2}));
}

// Lines taught directly after another line of their class, as (class, row, row after).
std::set<std::tuple<QString, qint64, qint64>> followed() {
    std::set<std::pair<QString, qint64>> rows;
    for (const Record& r : records("作成時数"))
        rows.insert({r.at("作_組").toText(), r.at("作_行").toInt()});
    std::set<std::tuple<QString, qint64, qint64>> out;
    for (const Record& r : records("作成時数"))
        if (const qint64 after = r.at("作_後続").toInt()) {
            EXPECT_TRUE(rows.count({r.at("作_組").toText(), after}));
            out.insert({r.at("作_組").toText(), r.at("作_行").toInt(), after});
        }
    return out;
}

TEST_F(FetImportTest, TheWrittenBackFileStatesExactlyTheImportedProblem) {
    for (const auto& [file, consecutive] :
         {std::pair{"Namibia/by-Bobby/set-2/KPS.fet", 0},
          {"Italy/2010/Liceo-2010.fet", 0},
          {"Germany/secondary-school-1/constraints-min-days-100-few-0/German-100_and_0.fet", 0},
          // Six of its eight "directly after" pairs are two single lessons of one class.
          {"Romania/Oradea/FS-2008-2009-difficult.fet", 6},
          // Eight lines of lessons at least two days apart.
          {"Namibia/by-Bobby/set-7-2016/HashiyanaPSY16T2a.fet", 0}}) {
        SCOPED_TRACE(file);
        Database::close();
        QFile::remove(kDatabaseFile);
        createNewDatabase(kDatabaseFile);
        const fet::ImportSummary first = import(file, "reduced.fet");
        const auto placed = placements();
        const auto off = records("作成不可");
        const auto apart = std::count_if(placed.begin(), placed.end(),
                                         [](const Placement& p) { return std::get<5>(p) == 2; });
        EXPECT_EQ(apart, QString(file).contains("Hashiyana") ? 8 : 0);
        EXPECT_EQ(followed().size(), std::size_t(consecutive));
        Database::close();
        QFile::remove(kDatabaseFile);
        createNewDatabase(kDatabaseFile);
        const fet::ImportSummary again = fet::importFet("reduced.fet", 2026);
        EXPECT_EQ(again.leftOut, QStringList());
        EXPECT_EQ(again.lessons, first.lessons);
        EXPECT_EQ(again.classes, first.classes);
        EXPECT_EQ(placements(), placed);
        EXPECT_EQ(followed().size(), std::size_t(consecutive));
        EXPECT_EQ(records("作成不可").size(), off.size());
    }
}

TEST_F(FetImportTest, TheToolRefusesWeeksItCannotHoldAndRegistersTheYearItIsGiven) {
    auto run = [](const QStringList& args, QString& out) {
        QProcess p;
        p.start(NEWDB_TOOL, args);
        p.waitForFinished(60000);
        out = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitCode();
    };
    QString out;
    EXPECT_EQ(run({"--from-fet", kExamples + "Morocco/Goulmima/Lycee-Goulmima.fet", "a.mdb"}, out),
              1);
    EXPECT_TRUE(out.contains("1 週間が 11 日あります（7 日まで）")) << out.toStdString();
    EXPECT_EQ(run({"--from-fet", kExamples + "anonymous/2/2017/lk-example.fet", "a.mdb"}, out), 1);
    EXPECT_TRUE(out.contains("1 日が 11 時限あります（10 時限まで）")) << out.toStdString();
    EXPECT_FALSE(QFile::exists("a.mdb"));

    EXPECT_EQ(run({"--from-fet", kExamples + "United-Kingdom/Hopwood/Hopwood.fet", "--year", "2030",
                   "b.mdb"},
                  out),
              0);
    EXPECT_TRUE(out.contains("ConstraintActivityPreferredRoom: 162 件")) << out.toStdString();
    Database::close();
    Database::open("b.mdb");
    EXPECT_EQ(records("業務年度").front().at("業_年度"), Value(2030));
    EXPECT_EQ(records("作成時数").front().at("作_年度"), Value(2030));
}

}  // namespace
