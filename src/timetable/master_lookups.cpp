#include "timetable/master_lookups.h"

#include "common/selection_lists.h"

int MasterLookups::kamoku(const QString& number) {
    WorkContext& c = ctx_;
    auto [it, fresh] = kamoku_.try_emplace(number);
    if (fresh) {
        const int r = CMB科目(c, 科目::ByNumber, 0, number);
        it->second = {c.kamokuNumber, c.kamokuName, c.kamokuShortName, c.kamokuElective, r};
    } else {
        std::tie(c.kamokuNumber, c.kamokuName, c.kamokuShortName, c.kamokuElective,
                 c.decodeResult) = it->second;
    }
    return c.decodeResult;
}

int MasterLookups::subject(const QString& number) {
    WorkContext& c = ctx_;
    auto [it, fresh] = subjects_.try_emplace({c.kamokuNumber, number});
    if (fresh) {
        const int r = CMB教科(c, 教科::ByNumber, 0, number);
        it->second = {c.subjectNumber,
                      c.subjectOrder,
                      c.subjectName,
                      c.subjectShortName,
                      c.subjectSplit,
                      c.subjectElective,
                      r};
    } else {
        std::tie(c.subjectNumber, c.subjectOrder, c.subjectName, c.subjectShortName, c.subjectSplit,
                 c.subjectElective, c.decodeResult) = it->second;
    }
    return c.decodeResult;
}

int MasterLookups::teacher(const QString& number) {
    WorkContext& c = ctx_;
    auto [it, fresh] = teachers_.try_emplace(number);
    if (fresh) {
        const int r = CMB教師(c, 教師::ByNumber, number);
        it->second = {c.teacherNumber, c.teacherName, c.teacherDisplayName, r};
    } else {
        std::tie(c.teacherNumber, c.teacherName, c.teacherDisplayName, c.decodeResult) = it->second;
    }
    return c.decodeResult;
}

QString MasterLookups::teacherLine() const {
    return ctx_.teacherDisplayName.isEmpty() ? ctx_.teacherName : ctx_.teacherDisplayName;
}
