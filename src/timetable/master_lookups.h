#pragma once

#include <map>
#include <tuple>

#include <QString>

#include "context/work_context.h"

// The master look-ups of one pass over a class's week (a drawing, a registration): course
// subject, subject and teacher by number. A class meets the same ones many times a week; each is
// read once per pass, and a repeated look-up leaves the same current-selection values and decode
// result as reading it again would. One pass works on one class: the cache assumes that the
// year, department, grade and course of ctx stay as they are.
class MasterLookups {
public:
    explicit MasterLookups(WorkContext& ctx) : ctx_(ctx) {}

    // Each returns the decode result (0 found, 1 not found).
    int kamoku(const QString& number);
    int subject(const QString& number);  // within ctx.kamokuNumber
    int teacher(const QString& number);

    // The teacher line of the grid: the display name, or the full name when there is none.
    QString teacherLine() const;

private:
    WorkContext& ctx_;
    std::map<QString, std::tuple<QString, QString, QString, int, int>> kamoku_;
    std::map<std::pair<QString, QString>, std::tuple<QString, int, QString, QString, int, int, int>>
        subjects_;
    std::map<QString, std::tuple<QString, QString, QString, int>> teachers_;
};
