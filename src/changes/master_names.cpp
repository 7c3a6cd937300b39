#include "changes/master_names.h"

#include "common/selection_lists.h"
#include "context/work_context.h"

MasterNames::MasterNames(int year) : scratch_(std::make_unique<WorkContext>()) {
    scratch_->workingYear = year;
}

MasterNames::~MasterNames() = default;

const MasterNames::Kamoku& MasterNames::kamoku(const QString& dept, int grade,
                                               const QString& course, const QString& number) {
    auto [it, fresh] = kamoku_.try_emplace({dept, grade, course, number});
    if (fresh) {
        WorkContext& c = *scratch_;
        c.departmentCode = dept;
        c.grade = grade;
        c.courseCode = course;
        if (CMB科目(c, 科目::ByNumber, 0, number) == 0)
            it->second = {true, c.kamokuNumber, c.kamokuName, c.kamokuShortName, c.kamokuElective};
    }
    return it->second;
}

const MasterNames::Subject& MasterNames::subject(const QString& dept, int grade,
                                                 const QString& course, const QString& kamoku,
                                                 const QString& number) {
    auto [it, fresh] = subjects_.try_emplace({dept, grade, course, kamoku, number});
    if (fresh) {
        WorkContext& c = *scratch_;
        c.departmentCode = dept;
        c.grade = grade;
        c.courseCode = course;
        c.kamokuNumber = kamoku;
        if (CMB教科(c, 教科::ByNumber, 0, number) == 0)
            it->second = {true,           c.subjectNumber,  c.subjectName, c.subjectShortName,
                          c.subjectSplit, c.subjectElective};
    }
    return it->second;
}

QString MasterNames::departmentName(const QString& code) {
    WorkContext& c = *scratch_;
    return CMB学部(c, 学部::ByCode, list_option::kWithCommon, code) == 0 ? c.departmentName
                                                                         : QString();
}
