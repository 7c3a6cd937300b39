#pragma once

#include <map>
#include <memory>
#include <tuple>

#include <QString>

#include "common/names.h"

class Recordset;

// The names of course subjects and subjects of any class, each read once per drawing: the
// number look-ups of the course-subject and subject lists, on record sets kept open for the whole
// drawing. The stand-by list meets a new class at almost every line, and opening a record set
// per line would cost as much as the rest of the drawing. A drawing that
// asks for many names on a database server (where a look-up per line costs a round trip) reads
// the year's list once instead. The screen's selection (the lesson the user picked) is not touched.
class MasterNames {
public:
    explicit MasterNames(int year);
    ~MasterNames();

    struct Kamoku {
        bool found = false;
        QString number, name, shortName;
        int elective = 0;
        QString shownName() const { return shortOrName(shortName, name); }
    };
    struct Subject {
        bool found = false;
        QString number, name, shortName;
        int split = 0, elective = 0;
        QString shownName() const { return shortOrName(shortName, name); }
    };

    const Kamoku& kamoku(const QString& dept, int grade, const QString& course,
                         const QString& number);
    const Subject& subject(const QString& dept, int grade, const QString& course,
                           const QString& kamoku, const QString& number);

    // Reads the year's course subjects and subjects at once, each with the fields a name needs:
    // a list that meets a new class at almost every line needs most of them, and one read of each
    // list costs less than a look-up per name, on the file too.
    void readYear();

    // The department's name from the masters loaded at start-up ("共通" for "000"); empty when the
    // code is unknown.
    QString departmentName(const QString& code);

private:
    // Look-ups one by one before the year's whole list is read.
    static constexpr int kLookupsBeforeYear = 8;
    static bool yearListPays();
    void readKamokuYear();
    void readSubjectYear();

    int year_;
    int kamokuLookups_ = 0, subjectLookups_ = 0;
    bool kamokuYear_ = false, subjectYear_ = false;
    std::unique_ptr<Recordset> kamokuRs_, subjectRs_;
    std::map<std::tuple<QString, int, QString, QString>, Kamoku> kamoku_;
    std::map<std::tuple<QString, int, QString, QString, QString>, Subject> subjects_;
};
