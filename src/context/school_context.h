#pragma once

#include <array>

#include <QDate>
#include <QString>

// What the whole process shares: today, the weekday names, the business year and the master
// tables loaded at start-up. Everything a screen works on belongs to that screen (WorkContext).
struct CodeName {
    QString code;
    QString name;
};

struct NameShort {
    QString name;
    QString shortName;
};

struct SchoolContext {
    static constexpr int kMaxDepartments = 10;
    static constexpr int kMaxGrades = 10;
    static constexpr int kMaxCourses = 10;
    static constexpr int kMaxClasses = 20;  // per department

    QDate today;
    QString todayText;                    // "yyyy/mm/dd"
    std::array<QString, 8> weekdayNames;  // 1 = "日" ... 7 = "土"

    int businessYear = 0;
    QString businessYearStart;  // "yyyy/mm/dd"
    QString businessYearEnd;

    // Positions 1..10 (index 0 unused), as the screens count them.
    std::array<CodeName, kMaxDepartments + 1> departments;
    int departmentCount = 0;
    std::array<NameShort, kMaxGrades + 1> grades;
    int gradeCount = 0;
    std::array<CodeName, kMaxCourses + 1> courses;
    int courseCount = 0;
    // classes[department position][class position 1..20]
    std::array<std::array<NameShort, kMaxClasses + 1>, kMaxDepartments + 1> classes;
    std::array<int, kMaxDepartments + 1> classCount{};
    int largestClassCount = 0;

    void setToday(const QDate& date);
    void clearMasters();
};

SchoolContext& school();
