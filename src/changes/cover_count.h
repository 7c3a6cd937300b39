#pragma once

#include <vector>

#include <QHash>
#include <QString>

// The cover lessons a teacher has taken: the lesson changes (時限変更) that give the teacher a
// lesson (変_教員) in place of another teacher's, counted over the term that contains a date and
// over the date's week, Monday to Sunday. A change that keeps a class with a teacher of its own
// standard lesson at that weekday and period (a self-study stored under the absent teacher) is no
// cover; a lesson given where the class has none is one. Every change of those ranges counts,
// also one dated later than the date: duty already given out is duty taken. Without a term around
// the date (a holiday, or no terms registered) the school year counts instead.
struct CoverCounts {
    int term = 0;
    int week = 0;
};

class CoverCounter {
public:
    CoverCounter(int year, const QString& date);

    // The counts of the teachers named (a teacher may be named more than once): together, since
    // the standard lessons they are checked against come from one read.
    QHash<QString, CoverCounts> of(const std::vector<QString>& teachers);
    // The count runs over the school year: no term contains the date.
    bool wholeYear() const { return wholeYear_; }

private:
    QHash<QString, CoverCounts> countEach(const std::vector<QString>& teachers);
    // Every teacher's count from one statement, where each look-up is a round trip to a server.
    void countAll();
    void add(CoverCounts& counts, const QString& date) const;

    int year_;
    QString termFrom_, termTo_, weekFrom_, weekTo_;
    QString from_, to_;  // both ranges together
    bool wholeYear_ = false;
    bool grouped_ = false, counted_ = false;
    QHash<QString, CoverCounts> all_;
};
