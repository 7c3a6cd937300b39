#include "timetable/copy_registration.h"

#include <set>

#include "common/occupancy_check.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/lesson_record.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

const QString kFreeTextCode = QStringLiteral("000");
constexpr int kListedMissing = 10;

// A slot's teachers share their course subject: what it lacks is said once.
void note(QStringList& list, const QString& line) {
    if (!list.contains(line)) list << line;
}

void markRed(Grid* grid, int row, int col) {
    if (!grid) return;
    grid->setRow(row);
    grid->setCol(col);
    grid->setCellBackColor(colour::kLightRed);
}

QString slotName(int weekday, int period) {
    return QStringLiteral("%1曜 %2時限").arg(school().weekdayNames[weekday]).arg(period);
}

}  // namespace

std::vector<SlotEntry> lessonsOf(const Slot& slot) {
    std::vector<SlotEntry> lessons;
    if (!slot.occupied()) return lessons;
    for (int k = 1; k <= SlotTables::kEntries && !slot.entries[k].empty(); ++k)
        lessons.push_back(slot.entries[k]);
    if (lessons.empty())
        lessons.push_back({slot.text[1], slot.text[3], slot.text[2], slot.freeText});
    return lessons;
}

bool anyLesson(const SlotTables& tables) {
    for (int w = 1; w <= SlotTables::kWeekdays; ++w)
        for (int p = 1; p <= SlotTables::kPeriods; ++p)
            if (tables.at(w, p).occupied()) return true;
    return false;
}

QString CopyCheck::missingMessage(const WorkContext& ctx) const {
    QString text = QStringLiteral(
                       "登録先（%1年度 %2 %3）に登録されていない科目・教科・教員が"
                       "あります（赤色の欄）")
                       .arg(ctx.workingYear)
                       .arg(ctx.departmentName, ctx.gradeText);
    for (int i = 0; i < missing.size() && i < kListedMissing; ++i) text += "\n" + missing[i];
    if (missing.size() > kListedMissing)
        text += QStringLiteral("\nほか %1 件").arg(missing.size() - kListedMissing);
    return text;
}

CopyCheck CopyRegistration::check(Grid* grid) {
    WorkContext& ctx = ctx_;
    MasterLookups& lookups = lookups_;
    if (grid) {
        grid->setRow(1);
        grid->setCol(1);
        grid->setRowSel(2 * SlotTables::kPeriods);
        grid->setColSel(SlotTables::kWeekdays);
        grid->setCellBackColor(colour::kWhite);
    }
    CopyCheck found;
    for (int w = 1; w <= SlotTables::kWeekdays; ++w) {
        for (int p = 1; p <= SlotTables::kPeriods; ++p) {
            for (const SlotEntry& lesson : lessonsOf(ctx.slotTables.at(w, p))) {
                bool known = true;
                if (lesson.freeText == 1) {
                    ctx.kamokuElective = ctx.subjectSplit = ctx.subjectElective = 0;
                } else if (lookups.kamoku(lesson.kamoku) != 0) {
                    note(found.missing, slotName(w, p) + QStringLiteral("　科目 ") + lesson.kamoku);
                    markRed(grid, lessonRow(p), w);
                    known = false;
                } else if (lookups.subject(lesson.subject) != 0) {
                    note(found.missing, slotName(w, p) + QStringLiteral("　教科 %1（科目 %2）")
                                                             .arg(lesson.subject, lesson.kamoku));
                    markRed(grid, lessonRow(p), w);
                    known = false;
                }
                if (lookups.teacher(lesson.teacher) != 0) {
                    note(found.missing,
                         slotName(w, p) + QStringLiteral("　教員 ") + lesson.teacher);
                    markRed(grid, teacherRow(p), w);
                    known = false;
                }
                if (!known) continue;
                // A conflict is reported by the check as an error; here it is only noted.
                const int errorFlag = ctx.errorFlag;
                const QString message = ctx.message;
                ctx.errorFlag = 0;
                ctx.slotWeekday = w;
                ctx.slotPeriod = p;
                CHK時間割(ctx, 1, list_option::kPlain, QString());
                if (ctx.errorFlag == 1) {
                    if (found.conflicts++ == 0) found.conflict = ctx.message;
                    markRed(grid, teacherRow(p), w);
                }
                ctx.errorFlag = errorFlag;
                ctx.message = message;
            }
        }
    }
    return found;
}

int CopyRegistration::replaced() {
    int count = 0;
    for (int w = 1; w <= SlotTables::kWeekdays; ++w)
        for (int p = 1; p <= SlotTables::kPeriods; ++p)
            if (ctx_.slotTables.at(w, p).occupied())
                count += int(LessonKey::of(ctx_, w, p, QString()).slotLessons().size());
    return count;
}

int CopyRegistration::write() {
    WorkContext& ctx = ctx_;
    Recordset rs("組時間割");
    int written = 0;
    for (int w = 1; w <= SlotTables::kWeekdays; ++w) {
        for (int p = 1; p <= SlotTables::kPeriods; ++p) {
            const std::vector<SlotEntry> lessons = lessonsOf(ctx.slotTables.at(w, p));
            if (lessons.empty()) continue;
            LessonKey::of(ctx, w, p, QString()).removeSlot();
            std::set<QString> teachers;
            for (const SlotEntry& lesson : lessons) {
                // A slot may name one teacher twice: the second lesson rewrites the first.
                const LessonKey key = LessonKey::of(ctx, w, p, lesson.teacher);
                if (!teachers.insert(lesson.teacher).second && key.find(rs))
                    rs.edit();
                else
                    key.addTo(rs);
                lookups_.teacher(lesson.teacher);
                rs.set("組_教員名", ctx.teacherName);
                rs.set("組_教員表示名", ctx.teacherDisplayName);
                if (lesson.freeText == 1) {
                    rs.set("組_科目", kFreeTextCode);
                    rs.set("組_科目名", lesson.kamoku);
                    rs.set("組_教科", kFreeTextCode);
                    rs.set("組_教科名", lesson.kamoku);
                    rs.set("組_教科略称", lesson.kamoku);
                    rs.set("組_登録", 1);
                } else {
                    lookups_.kamoku(lesson.kamoku);
                    lookups_.subject(lesson.subject);
                    rs.set("組_科目", lesson.kamoku);
                    rs.set("組_科目名", ctx.kamokuName);
                    rs.set("組_教科", lesson.subject);
                    rs.set("組_教科名", ctx.subjectName);
                    rs.set("組_教科略称", ctx.subjectShortName);
                    rs.set("組_登録", 0);
                }
                rs.set("組_教員", lesson.teacher);
                rs.set("組_備考", QString());
                rs.update();
                ++written;
            }
        }
    }
    return written;
}
