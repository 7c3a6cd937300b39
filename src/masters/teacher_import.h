#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "common/csv.h"
#include "context/work_context.h"

class Progress;
class Recordset;

// The teacher file of the batch import: one teacher a line, 19 comma-separated fields in this
// order (a field may stand in double quotes).
namespace teacher_field {
enum : int {
    番号,
    氏名,
    氏名カナ,
    表示名,
    担任F,
    担任学部,
    担任学年,
    担任組,
    性別,
    生年月日,
    郵便1,
    郵便2,
    住所1,
    住所2,
    電話1,
    電話2,
    休職FROM,
    休職TO,
    備考,
    Count
};
}

// One line after its checks: the fields as they stand afterwards (dates written "yyyy/mm/dd",
// postal codes filled with leading zeros, the homeroom class emptied without the homeroom flag),
// the label of the first check that failed (empty when the line can be stored), and the codes of
// the homeroom class.
struct TeacherLine {
    QStringList fields;
    QString error;
    QString departmentCode;
    int grade = 0;
    QString classCode;
};

// Checks one line. A line too short to hold every required field is refused as such; one that
// holds them but lacks later fields is checked as if those were empty. Fields after the 19th are
// not read. The homeroom class is decoded through the screen's selection
// values (ctx), which are changed.
TeacherLine checkTeacherLine(WorkContext& ctx, const QStringList& fields);

// Adds the teacher of a checked line, or overwrites the one with its number field by field.
class TeacherWriter {
public:
    TeacherWriter();
    ~TeacherWriter();
    void store(const TeacherLine& line);

private:
    std::unique_ptr<Recordset> rs_;
};

// A teacher file checked record by record (a record is a line, or more where a quoted field holds
// line breaks): the lines that can be stored, and the text of the error file — each refused line
// with the label of its failure as a 20th field, ended by the input's line end. Blank lines and a
// heading line (its first field "教員番号") are passed over.
struct TeacherFile {
    std::vector<TeacherLine> valid;
    QString errorText;
    int refused = 0;
};
TeacherFile checkTeacherFile(WorkContext& ctx, const std::vector<CsvRecord>& records,
                             const QString& lineEnd, Progress* progress = nullptr);

// Stores the checked teachers; runs inside the caller's operation.
void storeTeachers(const std::vector<TeacherLine>& teachers, Progress* progress = nullptr);
