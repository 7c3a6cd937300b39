#include "newdb/sample_school.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "data/dates.h"
#include "newdb/record_writer.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The school

struct Department {
    const char* code;
    const char* name;
    const char* shortName;
    int classes;
};

const Department kDepartments[] = {
    {"001", "中学部", "中学", 3},
    {"002", "高等部", "高校", 4},
};

struct Subject {
    const char* kamoku;  // course-subject number
    const char* kamokuName;
    const char* kamokuShort;
    bool elective;
    const char* kyouka;  // subject number
    const char* name;
    const char* shortName;
    int hours;
    const char* area;  // which teachers teach it; "担任" = the homeroom teacher
};

const Subject kJuniorSubjects[] = {
    {"01", "国語", "国語", false, "01", "国語", "国語", 4, "国語"},
    {"02", "社会", "社会", false, "01", "社会", "社会", 4, "社会"},
    {"03", "数学", "数学", false, "01", "数学", "数学", 4, "数学"},
    {"04", "理科", "理科", false, "01", "理科", "理科", 4, "理科"},
    {"05", "外国語", "英語", false, "01", "英語", "英語", 4, "英語"},
    {"06", "保健体育", "保体", false, "01", "保健体育", "保体", 3, "保体"},
    {"07", "音楽", "音楽", false, "01", "音楽", "音楽", 1, "音楽"},
    {"08", "美術", "美術", false, "01", "美術", "美術", 1, "美術"},
    {"09", "技術・家庭", "技家", false, "01", "技術・家庭", "技家", 2, "技家"},
    {"10", "道徳", "道徳", false, "01", "道徳", "道徳", 1, "担任"},
    {"11", "総合的な学習の時間", "総合", false, "01", "総合的な学習の時間", "総合", 1, "担任"},
};

const Subject kSeniorSubjects[] = {
    {"01", "国語", "国語", false, "01", "現代の国語", "現国", 2, "国語"},
    {"01", "国語", "国語", false, "02", "言語文化", "言文", 2, "国語"},
    {"02", "地理歴史・公民", "地公", false, "01", "歴史総合", "歴総", 2, "地公"},
    {"02", "地理歴史・公民", "地公", false, "02", "公共", "公共", 2, "地公"},
    {"03", "数学", "数学", false, "01", "数学Ⅰ", "数Ⅰ", 3, "数学"},
    {"03", "数学", "数学", false, "02", "数学Ａ", "数Ａ", 2, "数学"},
    {"04", "理科", "理科", false, "01", "物理基礎", "物基", 2, "理科"},
    {"04", "理科", "理科", false, "02", "化学基礎", "化基", 2, "理科"},
    {"05", "外国語", "英語", false, "01", "英語コミュニケーションⅠ", "英コ", 3, "英語"},
    {"05", "外国語", "英語", false, "02", "論理・表現Ⅰ", "論表", 2, "英語"},
    {"06", "保健体育", "保体", false, "01", "体育", "体育", 2, "保体"},
    {"06", "保健体育", "保体", false, "02", "保健", "保健", 1, "保体"},
    // The elective pair: every class of a grade splits into α (music) and β (art) at the same
    // two periods of the week.
    {"07", "芸術選択", "芸術", true, "01", "芸術α 音楽Ⅰ", "芸術α", 2, "音楽"},
    {"07", "芸術選択", "芸術", true, "02", "芸術β 美術Ⅰ", "芸術β", 2, "美術"},
    {"08", "情報", "情報", false, "01", "情報Ⅰ", "情報", 1, "情報"},
    {"09", "総合的な探究の時間", "総探", false, "01", "総合的な探究の時間", "総探", 1, "担任"},
};

struct Teacher {
    const char* family;
    const char* given;
    const char* familyKana;
    const char* givenKana;
    int sex;             // 1 male, 2 female
    const char* dept;    // department taught in ("" = none)
    const char* area;    // subject area ("" = no lessons)
    bool noDisplayName;  // shown by full name in the timetables
    bool onLeave;
};

// Subject teachers first (their order decides who teaches which classes), then staff without
// lessons.
const Teacher kTeachers[] = {
    {"佐藤", "健一", "サトウ", "ケンイチ", 1, "001", "国語", false, false},
    {"鈴木", "美咲", "スズキ", "ミサキ", 2, "001", "国語", false, false},
    {"高橋", "誠", "タカハシ", "マコト", 1, "001", "社会", false, false},
    {"田中", "由美", "タナカ", "ユミ", 2, "001", "社会", false, false},
    {"伊藤", "大輔", "イトウ", "ダイスケ", 1, "001", "数学", false, false},
    {"渡辺", "直子", "ワタナベ", "ナオコ", 2, "001", "数学", true, false},
    {"山本", "浩二", "ヤマモト", "コウジ", 1, "001", "理科", false, false},
    {"中村", "恵子", "ナカムラ", "ケイコ", 2, "001", "理科", false, false},
    {"小林", "翔太", "コバヤシ", "ショウタ", 1, "001", "英語", false, false},
    {"加藤", "香織", "カトウ", "カオリ", 2, "001", "英語", false, false},
    {"吉田", "剛", "ヨシダ", "ツヨシ", 1, "001", "保体", false, false},
    {"山田", "亜希", "ヤマダ", "アキ", 2, "001", "保体", false, false},
    {"佐々木", "隆", "ササキ", "タカシ", 1, "001", "技家", false, false},
    {"山口", "幸子", "ヤマグチ", "サチコ", 2, "", "音楽", false, false},
    {"松本", "修", "マツモト", "オサム", 1, "", "美術", false, false},
    {"井上", "真理", "イノウエ", "マリ", 2, "002", "国語", false, false},
    {"木村", "拓也", "キムラ", "タクヤ", 1, "002", "国語", false, false},
    {"林", "智子", "ハヤシ", "トモコ", 2, "002", "国語", false, false},
    {"斎藤", "学", "サイトウ", "マナブ", 1, "002", "地公", false, false},
    {"清水", "陽子", "シミズ", "ヨウコ", 2, "002", "地公", false, false},
    {"山崎", "哲也", "ヤマザキ", "テツヤ", 1, "002", "地公", false, false},
    {"森", "裕子", "モリ", "ユウコ", 2, "002", "数学", false, false},
    {"池田", "和也", "イケダ", "カズヤ", 1, "002", "数学", false, false},
    {"橋本", "明美", "ハシモト", "アケミ", 2, "002", "数学", false, false},
    {"阿部", "聡", "アベ", "サトシ", 1, "002", "理科", false, false},
    {"石川", "久美子", "イシカワ", "クミコ", 2, "002", "理科", false, false},
    {"山下", "正樹", "ヤマシタ", "マサキ", 1, "002", "理科", false, false},
    {"中島", "麻衣", "ナカジマ", "マイ", 2, "002", "英語", false, false},
    {"石井", "健太", "イシイ", "ケンタ", 1, "002", "英語", false, false},
    {"小川", "千尋", "オガワ", "チヒロ", 2, "002", "英語", false, false},
    {"前田", "勇気", "マエダ", "ユウキ", 1, "002", "保体", false, false},
    {"岡田", "さやか", "オカダ", "サヤカ", 2, "002", "保体", false, false},
    {"長谷川", "浩", "ハセガワ", "ヒロシ", 1, "002", "情報", true, false},
    {"藤田", "博之", "フジタ", "ヒロユキ", 1, "", "", false, false},  // 校長
    {"後藤", "典子", "ゴトウ", "ノリコ", 2, "", "", false, false},    // 教頭
    {"近藤", "里美", "コンドウ", "サトミ", 2, "", "", false, false},  // 養護教諭
    {"村上", "武", "ムラカミ", "タケシ", 1, "", "", false, false},    // 学校司書
    {"遠藤", "玲奈", "エンドウ", "レナ", 2, "", "", false, true},     // 休職中
    {"青木", "拓海", "アオキ", "タクミ", 1, "", "", false, false},    // 少人数指導
    {"坂本", "綾", "サカモト", "アヤ", 2, "", "", false, false},      // 実習助手
};
constexpr int kTeacherCount = int(sizeof kTeachers / sizeof kTeachers[0]);

QString teacherNumber(int i) {
    return QStringLiteral("%1").arg(i + 1, 3, 10, QChar('0'));
}
QString fullName(const Teacher& t) {
    return QString::fromUtf8(t.family) + "　" + t.given;
}
QString displayName(const Teacher& t) {
    return t.noDisplayName ? QString() : QString::fromUtf8(t.family);
}

// Monday to Friday, six periods.
constexpr int kDays = 5;
constexpr int kPeriods = 6;
constexpr int kSlots = kDays * kPeriods;
int slotWeekday(int s) {
    return 2 + s / kPeriods;
}
int slotPeriod(int s) {
    return 1 + s % kPeriods;
}
int slotOf(int weekday, int period) {
    return (weekday - 2) * kPeriods + period - 1;
}

struct ClassRef {
    int dept;  // index into kDepartments
    int grade;
    int klass;  // 1-based
    int homeroom = -1;
};

struct Lesson {
    int cls;                 // index into the class list
    const Subject* subject;  // nullptr: the free-text HR lesson
    std::vector<int> teachers;
};

struct Timetable {
    std::vector<ClassRef> classes;
    std::vector<Lesson> lessons;
    // per class and slot: the lesson placed there (-1 = free)
    std::vector<std::array<int, kSlots>> placed;
    std::vector<std::array<bool, kSlots>> busy;  // per teacher
};

const Subject* subjectsOf(int dept, int& count) {
    if (dept == 0) {
        count = int(std::size(kJuniorSubjects));
        return kJuniorSubjects;
    }
    count = int(std::size(kSeniorSubjects));
    return kSeniorSubjects;
}

std::vector<int> teachersOf(int dept, const char* area) {
    std::vector<int> out;
    for (int i = 0; i < kTeacherCount; ++i) {
        const Teacher& t = kTeachers[i];
        if (QString::fromUtf8(t.area) == QString::fromUtf8(area) &&
            (QString::fromUtf8(t.dept).isEmpty() ||
             QString::fromUtf8(t.dept) == kDepartments[dept].code))
            out.push_back(i);
    }
    return out;
}

// The elective periods of each senior grade: the same two slots in every class of the grade, and
// different for each grade, because the music and art teachers take all of them.
int electiveSlot(int grade, int n) {
    static const int table[3][2] = {
        {slotOf(3, 5), slotOf(5, 5)}, {slotOf(3, 6), slotOf(5, 6)}, {slotOf(4, 5), slotOf(4, 6)}};
    return table[grade - 1][n];
}
const int kHomeroomSlot = slotOf(6, 6);  // Friday, sixth period

// Lays out lessons and who teaches them; the scheduler then finds their periods.
Timetable planLessons() {
    Timetable tt;
    for (int d = 0; d < 2; ++d)
        for (int g = 1; g <= 3; ++g)
            for (int k = 1; k <= kDepartments[d].classes; ++k) tt.classes.push_back({d, g, k});

    // Homeroom teachers: the first subject teachers of each department, one class each.
    for (int d = 0; d < 2; ++d) {
        std::vector<int> pool;
        for (int i = 0; i < kTeacherCount; ++i)
            if (QString::fromUtf8(kTeachers[i].dept) == kDepartments[d].code) pool.push_back(i);
        int next = 0;
        for (ClassRef& c : tt.classes)
            if (c.dept == d) c.homeroom = pool[next++];
    }

    for (int ci = 0; ci < int(tt.classes.size()); ++ci) {
        const ClassRef& c = tt.classes[ci];
        int n = 0;
        const Subject* subjects = subjectsOf(c.dept, n);
        // Index of this class among the classes of its department, to share the classes out.
        int order = 0;
        for (int j = 0; j < ci; ++j) order += tt.classes[j].dept == c.dept;
        for (int s = 0; s < n; ++s) {
            const Subject& sub = subjects[s];
            std::vector<int> teachers;
            if (QString::fromUtf8(sub.area) == "担任") {
                teachers = {c.homeroom};
            } else {
                const std::vector<int> area = teachersOf(c.dept, sub.area);
                teachers = {area[order % area.size()]};
            }
            if (sub.elective) continue;  // placed together with its partner below
            for (int h = 0; h < sub.hours; ++h) tt.lessons.push_back({ci, &sub, teachers});
        }
        if (c.dept == 1) {
            // One elective lesson per elective slot, held by both the α and the β teacher.
            std::vector<int> both;
            const Subject* first = nullptr;
            for (int s = 0; s < n; ++s)
                if (subjects[s].elective) {
                    both.push_back(teachersOf(c.dept, subjects[s].area).front());
                    if (!first) first = &subjects[s];
                }
            for (int h = 0; h < first->hours; ++h) tt.lessons.push_back({ci, first, both});
        }
        tt.lessons.push_back({ci, nullptr, {c.homeroom}});
    }
    return tt;
}

bool teachersFree(const Timetable& tt, const Lesson& l, int slot) {
    for (int t : l.teachers)
        if (tt.busy[t][slot]) return false;
    return true;
}

void place(Timetable& tt, int lesson, int slot) {
    const Lesson& l = tt.lessons[lesson];
    tt.placed[l.cls][slot] = lesson;
    for (int t : l.teachers) tt.busy[t][slot] = true;
}

void unplace(Timetable& tt, int lesson, int slot) {
    const Lesson& l = tt.lessons[lesson];
    tt.placed[l.cls][slot] = -1;
    for (int t : l.teachers) tt.busy[t][slot] = false;
}

// Greedy placement, most loaded teachers first, spreading a subject over the week; a lesson that
// finds no period moves a placed lesson of its class out of the way. Returns false when stuck.
bool schedule(Timetable& tt, std::mt19937& rng) {
    tt.placed.assign(tt.classes.size(), {});
    for (auto& row : tt.placed) row.fill(-1);
    tt.busy.assign(kTeacherCount, {});
    for (auto& row : tt.busy) row.fill(false);

    std::vector<int> load(kTeacherCount, 0);
    for (const Lesson& l : tt.lessons)
        for (int t : l.teachers) ++load[t];

    std::vector<int> pending;
    std::vector<int> electiveCount(tt.classes.size(), 0);
    for (int i = 0; i < int(tt.lessons.size()); ++i) {
        const Lesson& l = tt.lessons[i];
        if (!l.subject) {
            place(tt, i, kHomeroomSlot);
        } else if (l.subject->elective) {
            const ClassRef& c = tt.classes[l.cls];
            tt.placed[l.cls][electiveSlot(c.grade, electiveCount[l.cls]++)] = i;
        } else {
            pending.push_back(i);
        }
    }
    // The elective teachers are away in every senior class at those slots.
    for (const ClassRef& c : tt.classes)
        if (c.dept == 1)
            for (int n = 0; n < 2; ++n)
                for (int t : teachersOf(1, "音楽")) tt.busy[t][electiveSlot(c.grade, n)] = true;
    for (const ClassRef& c : tt.classes)
        if (c.dept == 1)
            for (int n = 0; n < 2; ++n)
                for (int t : teachersOf(1, "美術")) tt.busy[t][electiveSlot(c.grade, n)] = true;

    std::shuffle(pending.begin(), pending.end(), rng);
    std::stable_sort(pending.begin(), pending.end(), [&](int a, int b) {
        return load[tt.lessons[a].teachers[0]] > load[tt.lessons[b].teachers[0]];
    });

    auto sameSubjectThatDay = [&](int cls, const Subject* s, int day) {
        int n = 0;
        for (int p = 0; p < kPeriods; ++p) {
            const int other = tt.placed[cls][day * kPeriods + p];
            if (other >= 0 && tt.lessons[other].subject == s) ++n;
        }
        return n;
    };

    for (int lesson : pending) {
        const Lesson& l = tt.lessons[lesson];
        int best = -1, bestScore = 1 << 30;
        for (int s = 0; s < kSlots; ++s) {
            if (tt.placed[l.cls][s] >= 0 || !teachersFree(tt, l, s)) continue;
            const int score =
                sameSubjectThatDay(l.cls, l.subject, s / kPeriods) * 10 + int(rng() % 5);
            if (score < bestScore) bestScore = score, best = s;
        }
        if (best >= 0) {
            place(tt, lesson, best);
            continue;
        }
        // Move a placed lesson of this class to a free period where its teacher is free.
        bool repaired = false;
        for (int s = 0; s < kSlots && !repaired; ++s) {
            const int other = tt.placed[l.cls][s];
            if (other < 0 || !tt.lessons[other].subject || tt.lessons[other].subject->elective)
                continue;
            unplace(tt, other, s);
            if (teachersFree(tt, l, s)) {
                for (int f = 0; f < kSlots; ++f)
                    if (f != s && tt.placed[l.cls][f] < 0 &&
                        teachersFree(tt, tt.lessons[other], f)) {
                        place(tt, other, f);
                        place(tt, lesson, s);
                        repaired = true;
                        break;
                    }
            }
            if (!repaired) place(tt, other, s);
        }
        if (!repaired) return false;
    }
    return true;
}

Timetable buildTimetable() {
    Timetable tt = planLessons();
    std::mt19937 rng(20070401);
    for (int attempt = 0; attempt < 500; ++attempt)
        if (schedule(tt, rng)) return tt;
    throw DbError(QStringLiteral("見本校の時間割を組めませんでした"));
}

QString classCode(const ClassRef& c) {
    return QString::number(c.klass);
}

// ---------------------------------------------------------------------------------------------
// Writers

void writeMasters() {
    Recordset rs("マスタ");
    addRecord(rs, {{"マ_番号", "001"},
                   {"マ_連番", "001"},
                   {"マ_名称", "桜丘学園中学校・高等学校"},
                   {"マ_略称", "桜丘学園"}});
    for (const Department& d : kDepartments)
        addRecord(rs, {{"マ_番号", "002"},
                       {"マ_連番", d.code},
                       {"マ_名称", d.name},
                       {"マ_略称", d.shortName}});
    for (int g = 1; g <= 3; ++g)
        addRecord(rs, {{"マ_番号", "003"},
                       {"マ_連番", QStringLiteral("%1").arg(g, 3, 10, QChar('0'))},
                       {"マ_名称", QString::number(g)},
                       {"マ_略称", QStringLiteral("%1年").arg(g)}});
    addRecord(rs,
              {{"マ_番号", "004"}, {"マ_連番", "001"}, {"マ_名称", "普通科"}, {"マ_略称", "普通"}});
    int entry = 0;
    for (const Department& d : kDepartments)
        for (int k = 1; k <= d.classes; ++k)
            addRecord(rs, {{"マ_番号", "006"},
                           {"マ_連番", QStringLiteral("%1").arg(++entry, 3, 10, QChar('0'))},
                           {"マ_名称", QString::number(k)},
                           {"マ_略称", QStringLiteral("%1組").arg(k)},
                           {"マ_学部", d.code}});
    addRecord(rs, {{"マ_番号", "010"},
                   {"マ_連番", "001"},
                   {"マ_名称", "5"},
                   {"マ_略称", "5"},
                   {"マ_備考", "年度"}});
}

void writeSubjects(int year) {
    Recordset ka("科目");
    Recordset kyo("教科");
    for (int d = 0; d < 2; ++d) {
        int n = 0;
        const Subject* subjects = subjectsOf(d, n);
        for (int g = 1; g <= 3; ++g) {
            QString lastKamoku;
            int order = 0;
            for (int s = 0; s < n; ++s) {
                const Subject& sub = subjects[s];
                if (sub.kamoku != lastKamoku) {
                    lastKamoku = sub.kamoku;
                    int hours = 0;
                    for (int t = 0; t < n; ++t)
                        if (QString::fromUtf8(subjects[t].kamoku) == sub.kamoku)
                            hours = sub.elective ? sub.hours : hours + subjects[t].hours;
                    addRecord(ka, {{"科_年度", year},
                                   {"科_学部", kDepartments[d].code},
                                   {"科_学年", g},
                                   {"科_コース", ""},
                                   {"科_番号", sub.kamoku},
                                   {"科_表示順", QString(sub.kamoku).toInt()},
                                   {"科_名称", sub.kamokuName},
                                   {"科_略称", sub.kamokuShort},
                                   {"科_主要F", QString(sub.kamoku).toInt() <= 5 ? 1 : 0},
                                   {"科_選択F", sub.elective ? 1 : 0},
                                   {"科_時間数", hours}});
                }
                addRecord(kyo, {{"教_年度", year},
                                {"教_学部", kDepartments[d].code},
                                {"教_学年", g},
                                {"教_コース", ""},
                                {"教_科目番号", sub.kamoku},
                                {"教_教科番号", sub.kyouka},
                                {"教_表示順", ++order},
                                {"教_名称", sub.name},
                                {"教_略称", sub.shortName},
                                {"教_選択F", sub.elective ? 1 : 0},
                                {"教_時間数", sub.hours}});
            }
        }
    }
}

void writeTeachers(const Timetable& tt, int year) {
    Recordset rs("教員");
    for (int i = 0; i < kTeacherCount; ++i) {
        const Teacher& t = kTeachers[i];
        const ClassRef* home = nullptr;
        for (const ClassRef& c : tt.classes)
            if (c.homeroom == i) home = &c;
        const int birthYear = 1965 + (i * 7) % 32;
        addRecord(rs,
                  {{"員_番号", teacherNumber(i)},
                   {"員_氏名", fullName(t)},
                   {"員_氏名カナ", QString::fromUtf8(t.familyKana) + " " + t.givenKana},
                   {"員_表示名", displayName(t)},
                   {"員_担任F", home ? 1 : 0},
                   {"員_学部", home ? QString(kDepartments[home->dept].code) : QString()},
                   {"員_学年", home ? home->grade : 0},
                   {"員_組", home ? classCode(*home) : QString()},
                   {"員_性別", t.sex},
                   {"員_生年月日", QStringLiteral("%1/%2/%3")
                                       .arg(birthYear)
                                       .arg(1 + i % 12, 2, 10, QChar('0'))
                                       .arg(1 + (i * 3) % 28, 2, 10, QChar('0'))},
                   {"員_郵便1", QStringLiteral("%1").arg(150 + i % 40, 3, 10, QChar('0'))},
                   {"員_郵便2", QStringLiteral("%1").arg(1000 + i * 37, 4, 10, QChar('0'))},
                   {"員_住所1", QStringLiteral("東京都桜丘市緑町%1丁目").arg(1 + i % 5)},
                   {"員_住所2", QStringLiteral("%1番%2号").arg(1 + i % 20).arg(1 + i % 9)},
                   {"員_電話1", QStringLiteral("042-555-%1").arg(1000 + i * 13)},
                   {"員_電話2", QStringLiteral("090-1234-%1").arg(2000 + i * 17)},
                   {"員_休職FROM", t.onLeave ? QStringLiteral("%1/09/01").arg(year) : QString()},
                   {"員_休職TO", t.onLeave ? QStringLiteral("%1/03/31").arg(year + 1) : QString()},
                   {"員_備考", t.onLeave ? QStringLiteral("休職中") : QString()}});
    }
}

void writeAssignments(const Timetable& tt, int year) {
    // One assignment per teacher, department, grade and subject they teach.
    std::set<std::tuple<int, int, int, QString, QString>> seen;
    Recordset rs("担当");
    for (const Lesson& l : tt.lessons) {
        if (!l.subject) continue;
        const ClassRef& c = tt.classes[l.cls];
        int n = 0;
        const Subject* subjects = subjectsOf(c.dept, n);
        for (int s = 0; s < n; ++s) {
            const Subject& sub = subjects[s];
            if (QString::fromUtf8(sub.kamoku) != l.subject->kamoku) continue;
            if (!sub.elective && &sub != l.subject) continue;
            for (int t : l.teachers) {
                if (sub.elective && QString::fromUtf8(kTeachers[t].area) != sub.area) continue;
                if (!seen.insert({t, c.dept, c.grade, QString(sub.kamoku), QString(sub.kyouka)})
                         .second)
                    continue;
                addRecord(rs, {{"担_年度", year},
                               {"担_教員番号", teacherNumber(t)},
                               {"担_学部", kDepartments[c.dept].code},
                               {"担_学年", c.grade},
                               {"担_コース", ""},
                               {"担_科目番号", sub.kamoku},
                               {"担_教科番号", sub.kyouka},
                               {"担_氏名", fullName(kTeachers[t])}});
            }
        }
    }
}

void writeLesson(Recordset& rs, int year, const ClassRef& c, int slot, const Subject* sub,
                 int teacher) {
    const Teacher& t = kTeachers[teacher];
    const bool freeText = sub == nullptr;
    addRecord(rs, {{"組_年度", year},
                   {"組_学部", kDepartments[c.dept].code},
                   {"組_学年", c.grade},
                   {"組_コース", ""},
                   {"組_組", classCode(c)},
                   {"組_選択番号", 0},
                   {"組_曜日", slotWeekday(slot)},
                   {"組_時限", slotPeriod(slot)},
                   {"組_教員", teacherNumber(teacher)},
                   {"組_科目", freeText ? "000" : sub->kamoku},
                   {"組_科目名", freeText ? "" : sub->kamokuName},
                   {"組_教科", freeText ? "000" : sub->kyouka},
                   {"組_教科名", freeText ? "HR" : sub->name},
                   {"組_教科略称", freeText ? "HR" : sub->shortName},
                   {"組_教員名", fullName(t)},
                   {"組_教員表示名", displayName(t)},
                   {"組_登録", freeText ? 1 : 0}});
}

void writeTimetable(const Timetable& tt, int year) {
    Recordset rs("組時間割");
    for (int ci = 0; ci < int(tt.classes.size()); ++ci) {
        const ClassRef& c = tt.classes[ci];
        for (int s = 0; s < kSlots; ++s) {
            const Lesson& l = tt.lessons[tt.placed[ci][s]];
            if (l.subject && l.subject->elective) {
                int n = 0;
                const Subject* subjects = subjectsOf(c.dept, n);
                for (int k = 0; k < n; ++k)
                    if (subjects[k].elective)
                        writeLesson(rs, year, c, s, &subjects[k],
                                    teachersOf(c.dept, subjects[k].area).front());
            } else {
                writeLesson(rs, year, c, s, l.subject, l.teachers[0]);
            }
        }
    }
}

void writeTerms(int year) {
    Recordset rs("期間");
    struct Term {
        QString from, to;
        int lessons, isTerm;
        const char* term;
        const char* name;
        const char* shortName;
    };
    const QString y = QString::number(year), n = QString::number(year + 1);
    const Term terms[] = {
        {y + "/04/06", y + "/07/19", 1, 1, "1", "1学期", "1学期"},
        {y + "/07/20", y + "/08/31", 0, 0, "", "夏季休業", "夏休"},
        {y + "/09/01", y + "/12/24", 1, 1, "2", "2学期", "2学期"},
        {y + "/12/25", n + "/01/07", 0, 0, "", "冬季休業", "冬休"},
        {n + "/01/08", n + "/03/24", 1, 1, "3", "3学期", "3学期"},
        {n + "/03/25", n + "/03/31", 0, 0, "", "学年末休業", "春休"},
    };
    for (const Term& t : terms)
        addRecord(rs, {{"期_年度", year},
                       {"期_学部", "000"},
                       {"期_学年", 0},
                       {"期_開始日", t.from},
                       {"期_終了日", t.to},
                       {"期_授業F", t.lessons},
                       {"期_学期F", t.isTerm},
                       {"期_学期", t.term},
                       {"期_名称", t.name},
                       {"期_略称", t.shortName}});
}

void writeEvents(const QDate& today, int year) {
    Recordset rs("予定");
    struct Event {
        QDate from, to;
        const char* dept;
        int grade;
        int lessons;  // 0 no lessons, 1 lessons held, 2 only periods from..to are taken
        int periodFrom, periodTo;
        const char* name;
        const char* shortName;
    };
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    const Event events[] = {
        {QDate(year, 4, 7), QDate(year, 4, 7), "000", 0, 0, 0, 0, "入学式", "入学式"},
        {QDate(year, 5, 20), QDate(year, 5, 20), "000", 0, 1, 0, 0, "避難訓練", "避難訓練"},
        {QDate(year, 10, 10), QDate(year, 10, 10), "000", 0, 0, 0, 0, "体育祭", "体育祭"},
        {QDate(year, 11, 5), QDate(year, 11, 7), "002", 2, 0, 0, 0, "修学旅行", "修学旅行"},
        {QDate(year, 7, 6), QDate(year, 7, 10), "002", 0, 2, 3, 6, "期末考査", "考査"},
        // In the current week, so that the inquiry screens show events at once.
        {monday.addDays(2), monday.addDays(2), "000", 0, 2, 5, 6, "校内研修会", "研修"},
        {monday.addDays(3), monday.addDays(3), "001", 1, 1, 0, 0, "歯科検診", "検診"},
    };
    std::map<std::pair<QString, int>, int> sequence;
    for (const Event& e : events) {
        if (businessYearOf(e.from) != year) continue;
        const int seq = ++sequence[{dateText(e.from), e.grade}];
        addRecord(rs, {{"予_年度", year},
                       {"予_学部", e.dept},
                       {"予_学年", e.grade},
                       {"予_コース", ""},
                       {"予_日付", dateText(e.from)},
                       {"予_連番", seq},
                       {"予_時限From", e.periodFrom},
                       {"予_時限To", e.periodTo},
                       {"予_終了日", dateText(e.to)},
                       {"予_授業F", e.lessons},
                       {"予_名称", e.name},
                       {"予_略称", e.shortName}});
    }
}

// A teacher without a lesson at that slot, neither in the timetable nor in a change already
// written for that date.
int freeTeacher(const Timetable& tt, int slot, const std::set<int>& taken, int avoid) {
    for (int i = 0; i < kTeacherCount; ++i)
        if (i != avoid && !tt.busy[i][slot] && !kTeachers[i].onLeave && *kTeachers[i].area &&
            !taken.count(i))
            return i;
    return -1;
}

void writeChanges(const Timetable& tt, const QDate& today) {
    Recordset rs("時限変更");
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    struct Change {
        int dayOffset;  // from Monday
        int cls;
        int period;
        bool selfStudy;
    };
    const Change changes[] = {
        {1, 0, 2, false},  // 中学部 1年1組, Tuesday 2nd period: another teacher
        {1, 4, 4, false},  // 中学部 2年2組, Tuesday 4th period
        {3, 14, 3, true},  // 高等部 2年2組, Thursday 3rd period: self-study
        {4, 9, 1, false},  // 高等部 1年1組, Friday 1st period
    };
    std::map<QString, std::set<int>> takenByDateSlot;
    for (const Change& ch : changes) {
        const QDate date = monday.addDays(ch.dayOffset);
        const ClassRef& c = tt.classes[ch.cls];
        const int slot = slotOf(weekdayNumber(date), ch.period);
        const Lesson& standard = tt.lessons[tt.placed[ch.cls][slot]];
        if (!standard.subject || standard.subject->elective) continue;
        std::set<int>& taken = takenByDateSlot[dateText(date) + QString::number(slot)];
        const int t = freeTeacher(tt, slot, taken, standard.teachers[0]);
        if (t < 0) continue;
        taken.insert(t);
        const Teacher& teacher = kTeachers[t];
        addRecord(rs, {{"変_年度", businessYearOf(date)},
                       {"変_日付", dateText(date)},
                       {"変_学部", kDepartments[c.dept].code},
                       {"変_学年", c.grade},
                       {"変_コース", ""},
                       {"変_組", classCode(c)},
                       {"変_選択番号", 0},
                       {"変_時限", ch.period},
                       {"変_科目", ch.selfStudy ? "000" : standard.subject->kamoku},
                       {"変_教科", ch.selfStudy ? "000" : standard.subject->kyouka},
                       {"変_教科名", ch.selfStudy ? "自習" : standard.subject->name},
                       {"変_教科略称", ch.selfStudy ? "自習" : standard.subject->shortName},
                       {"変_教員", teacherNumber(t)},
                       {"変_教員名", fullName(teacher)},
                       {"変_教員表示名", displayName(teacher)},
                       {"変_備考", ch.selfStudy ? "監督" : "出張のため"}});
    }
}

// The whole school's weekday bell schedule: six periods of fifty minutes, lunch after the fourth.
void writeBellSchedule() {
    Recordset rs("時程");
    const char* const times[][2] = {{"08:50", "09:40"}, {"09:50", "10:40"}, {"10:50", "11:40"},
                                    {"11:50", "12:40"}, {"13:30", "14:20"}, {"14:30", "15:20"}};
    for (int p = 1; p <= kPeriods; ++p)
        addRecord(rs, {{"時_学部", "000"},
                       {"時_曜日区分", 0},
                       {"時_時限", p},
                       {"時_開始", times[p - 1][0]},
                       {"時_終了", times[p - 1][1]}});
}

}  // namespace

void fillSampleSchool(const QDate& today) {
    const int year = businessYearOf(today);
    const Timetable tt = buildTimetable();
    Operation op;
    writeMasters();
    writeBusinessYears(year);
    writeSubjects(year);
    writeTeachers(tt, year);
    writeAssignments(tt, year);
    writeTimetable(tt, year);
    writeTerms(year);
    writeEvents(today, year);
    writeChanges(tt, today);
    writeBellSchedule();
    op.commit();
}
