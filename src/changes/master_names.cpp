#include "changes/master_names.h"

#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/database.h"
#include "data/key_range.h"
#include "data/recordset.h"
#include "timetable/slot_grid.h"

MasterNames::MasterNames(int year) : year_(year) {}

MasterNames::~MasterNames() = default;

bool MasterNames::yearListPays() {
    // On the embedded file a look-up is a seek in memory, far cheaper than reading the whole
    // year's list for the few dozen names a drawing needs; only a server's round trips make the
    // list worth it.
    return db().statementsAreRoundTrips();
}

const MasterNames::Kamoku& MasterNames::kamoku(const QString& dept, int grade,
                                               const QString& course, const QString& number) {
    auto [it, fresh] = kamoku_.try_emplace({dept, grade, course, number});
    if (!fresh || kamokuYear_) return it->second;
    if (yearListPays() && ++kamokuLookups_ > kLookupsBeforeYear) {
        readKamokuYear();
        return kamoku_[{dept, grade, course, number}];
    }
    if (!kamokuRs_) {
        kamokuRs_ = std::make_unique<Recordset>("科目");
        kamokuRs_->setIndex("Key_科目");
    }
    Recordset& rs = *kamokuRs_;
    rs.seek(Seek::Equal, {year_, dept, grade, course, number});
    if (!rs.noMatch())
        it->second = {true, number, rs.text("科_名称"), rs.text("科_略称"), rs.integer("科_選択F")};
    return it->second;
}

const MasterNames::Subject& MasterNames::subject(const QString& dept, int grade,
                                                 const QString& course, const QString& kamoku,
                                                 const QString& number) {
    auto [it, fresh] = subjects_.try_emplace({dept, grade, course, kamoku, number});
    if (!fresh || subjectYear_) return it->second;
    if (yearListPays() && ++subjectLookups_ > kLookupsBeforeYear) {
        readSubjectYear();
        return subjects_[{dept, grade, course, kamoku, number}];
    }
    if (!subjectRs_) {
        subjectRs_ = std::make_unique<Recordset>("教科");
        subjectRs_->setIndex("Key_教科");
    }
    Recordset& rs = *subjectRs_;
    rs.seek(Seek::Equal, {year_, dept, grade, course, kamoku, number});
    if (!rs.noMatch())
        it->second = {true,
                      number,
                      rs.text("教_名称"),
                      rs.text("教_略称"),
                      rs.integer("教_展開F"),
                      rs.integer("教_選択F")};
    return it->second;
}

void MasterNames::readYear() {
    if (!kamokuYear_) readKamokuYear();
    if (!subjectYear_) readSubjectYear();
}

void MasterNames::readKamokuYear() {
    readKeyRange({"科目", "Key_科目", {year_}, {year_}},
                 {"科_学部", "科_学年", "科_コース", "科_番号", "科_名称", "科_略称", "科_選択F"},
                 [&](const KeyRow& r) {
                     kamoku_[{r.text(0), int(r.integer(1)), r.text(2), r.text(3)}] = {
                         true, r.text(3), r.text(4), r.text(5), int(r.integer(6))};
                 });
    kamokuYear_ = true;
}

void MasterNames::readSubjectYear() {
    readKeyRange({"教科", "Key_教科", {year_}, {year_}},
                 {"教_学部", "教_学年", "教_コース", "教_科目番号", "教_教科番号", "教_名称",
                  "教_略称", "教_展開F", "教_選択F"},
                 [&](const KeyRow& r) {
                     subjects_[{r.text(0), int(r.integer(1)), r.text(2), r.text(3), r.text(4)}] = {
                         true,          r.text(4), r.text(5), r.text(6), int(r.integer(7)),
                         int(r.integer(8))};
                 });
    subjectYear_ = true;
}

QString MasterNames::departmentName(const QString& code) {
    if (code == kCommonCode) return kCommonName;
    const int d = departmentPositionOf(code);
    return d > 0 ? school().departments[d].name : QString();
}
