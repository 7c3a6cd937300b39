#pragma once

#include <map>
#include <memory>
#include <tuple>

#include <QString>

struct WorkContext;

// The names of course subjects and subjects of any class, each read once per drawing. The lists
// decode within the current selection; a drawing that meets many classes asks them through a
// selection of its own, so the screen's selection (the lesson the user picked) stays as it was.
class MasterNames {
public:
    explicit MasterNames(int year);
    ~MasterNames();

    struct Kamoku {
        bool found = false;
        QString number, name, shortName;
        int elective = 0;
        QString shownName() const { return shortName.isEmpty() ? name : shortName; }
    };
    struct Subject {
        bool found = false;
        QString number, name, shortName;
        int split = 0, elective = 0;
        QString shownName() const { return shortName.isEmpty() ? name : shortName; }
    };

    const Kamoku& kamoku(const QString& dept, int grade, const QString& course,
                         const QString& number);
    const Subject& subject(const QString& dept, int grade, const QString& course,
                           const QString& kamoku, const QString& number);

    // The department's name from the masters loaded at start-up ("共通" for "000"); empty when the
    // code is unknown.
    QString departmentName(const QString& code);

private:
    std::unique_ptr<WorkContext> scratch_;
    std::map<std::tuple<QString, int, QString, QString>, Kamoku> kamoku_;
    std::map<std::tuple<QString, int, QString, QString, QString>, Subject> subjects_;
};
