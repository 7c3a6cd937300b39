#include "masters/teacher_import.h"

#include <QRegularExpression>

#include "common/csv.h"
#include "common/date_input.h"
#include "common/names.h"
#include "common/progress.h"
#include "common/selection_lists.h"
#include "data/dates.h"
#include "data/recordset.h"
#include "ui/fields.h"

using namespace teacher_field;

namespace {

// The longest texts the teacher registration screen takes, so that an imported teacher can be
// shown and saved there without being cut.
struct Length {
    int field;
    int max;
    const char* label;
};
constexpr Length kLengths[] = {{番号, 5, "教員番号桁数"},
                               {氏名, 10, "氏名桁数"},
                               {氏名カナ, 20, "氏名カナ桁数"},
                               {表示名, 4, "表示名桁数"}};
constexpr Length kFreeTexts[] = {{住所1, 25, "住所1桁数"},
                                 {住所2, 25, "住所2桁数"},
                                 {電話1, 20, "電話1桁数"},
                                 {電話2, 20, "電話2桁数"}};
constexpr Length kRemark = {備考, 25, "備考桁数"};

// Only the first failing check of a line is reported; later ones still rewrite their fields.
struct Checker {
    TeacherLine& line;
    void fail(const QString& label) {
        if (line.error.isEmpty()) line.error = label;
    }
    void fail(const char* label) { fail(QString::fromUtf8(label)); }
    QString& at(int field) { return line.fields[field]; }
    void length(const Length& l) {
        if (textLength(at(l.field)) > l.max) fail(l.label);
    }
    // A date when given, written back "yyyy/mm/dd".
    void date(int field, const char* label) {
        if (at(field).isEmpty()) return;
        if (const auto d = parseDateInput(at(field)))
            at(field) = dateText(*d);
        else
            fail(label);
    }
    // A postal code part when given: digits (full-width ones too), filled to its width.
    void postal(int field, int width, const char* label, const char* widthLabel) {
        QString& v = at(field);
        if (v.isEmpty()) return;
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        const QString half = toHalfWidth(v).trimmed();
        if (!digits.match(half).hasMatch()) return fail(label);
        if (half.size() > width) return fail(widthLabel);
        v = half.rightJustified(width, u'0');
    }
};

bool isHeading(const QStringList& fields) {
    return !fields.isEmpty() && fields[0] == QStringLiteral("教員番号");
}

bool isBlank(const QStringList& fields) {
    for (const QString& f : fields)
        if (!f.trimmed().isEmpty()) return false;
    return true;
}

}  // namespace

TeacherLine checkTeacherLine(WorkContext& ctx, const QStringList& fields) {
    TeacherLine line;
    line.fields = fields.mid(0, Count);
    while (line.fields.size() < Count) line.fields << QString();
    Checker c{line};
    // Without the sex, the last required field, the line was cut short or is not a teacher line
    // at all: saying which field is empty would send the user looking in the wrong place.
    if (fields.size() <= 性別)
        c.fail(QStringLiteral("項目数不足（%1項目中%2項目）").arg(int(Count)).arg(fields.size()));

    if (c.at(番号).isEmpty()) c.fail("教員番号未入力");
    c.length(kLengths[0]);
    if (c.at(氏名).isEmpty()) c.fail("氏名未入力");
    c.length(kLengths[1]);
    if (c.at(氏名カナ).isEmpty()) c.fail("氏名カナ未入力");
    c.length(kLengths[2]);
    c.length(kLengths[3]);

    const QString flag = toHalfWidth(c.at(担任F)).trimmed();
    if (flag == "1") {
        c.at(担任F) = flag;
        if (CMB学部(ctx, 学部::ByNameSilent, list_option::kPlain, c.at(担任学部)) == 0)
            line.departmentCode = ctx.departmentCode;
        else
            c.fail("担任学部");
        // The grade as the lists show it ("1年") or as its number.
        if (CMB学年(ctx, 学年::ByTextSilent, list_option::kPlain, c.at(担任学年)) == 0 ||
            CMB学年(ctx, 学年::ByNumberSilent, list_option::kPlain, toHalfWidth(c.at(担任学年))) ==
                0)
            line.grade = ctx.grade;
        else
            c.fail("担任学年");
        // The class by its name ("1") or as the lists show it ("1組"), within that department.
        if (!line.departmentCode.isEmpty() &&
            (CMB組(ctx, 組::ByName, list_option::kSilent, c.at(担任組)) == 0 ||
             CMB組(ctx, 組::ByShortName, list_option::kSilent, c.at(担任組)) == 0))
            line.classCode = ctx.classCode;
        else
            c.fail("担任組");
    } else if (flag == "0") {
        c.at(担任F) = flag;
        c.at(担任学部).clear();
        c.at(担任学年).clear();
        c.at(担任組).clear();
    } else {
        c.fail("担任F");
    }

    const QString sex = toHalfWidth(c.at(性別)).trimmed();
    if (sex == "1" || sex == "2")
        c.at(性別) = sex;
    else
        c.fail("性別");
    c.date(生年月日, "生年月日");
    c.postal(郵便1, 3, "郵便番号1", "郵便番号1桁数");
    c.postal(郵便2, 4, "郵便番号2", "郵便番号2桁数");
    for (const Length& l : kFreeTexts) c.length(l);
    c.date(休職FROM, "休職FROM");
    c.date(休職TO, "休職TO");
    if (!c.at(休職FROM).isEmpty() && !c.at(休職TO).isEmpty() && line.error.isEmpty() &&
        c.at(休職TO) < c.at(休職FROM))
        c.fail("休職From-To");
    c.length(kRemark);
    return line;
}

TeacherWriter::TeacherWriter() : rs_(std::make_unique<Recordset>("教員")) {
    rs_->setIndex("Key_教員");
}

TeacherWriter::~TeacherWriter() = default;

void TeacherWriter::store(const TeacherLine& line) {
    const QStringList& f = line.fields;
    Recordset& rs = *rs_;
    rs.seek(Seek::Equal, {f[番号]});
    if (rs.noMatch()) {
        rs.addNew();
        rs.set("員_番号", f[番号]);
    } else {
        rs.edit();
    }
    const bool homeroom = f[担任F] == "1";
    rs.set("員_氏名", f[氏名]);
    rs.set("員_氏名カナ", f[氏名カナ]);
    // As the teacher registration does: without a display name of its own a teacher is shown in
    // the timetables by the start of the name, not by nothing.
    rs.set("員_表示名", f[表示名].isEmpty() ? displayNameOf(f[氏名]) : f[表示名]);
    rs.set("員_担任F", homeroom ? 1 : 0);
    rs.set("員_区分", QString());
    rs.set("員_学部", homeroom ? line.departmentCode : QString());
    rs.set("員_学年", homeroom ? line.grade : 0);
    rs.set("員_組", homeroom ? line.classCode : QString());
    rs.set("員_性別", f[性別].toInt());
    rs.set("員_生年月日", f[生年月日]);
    rs.set("員_郵便1", f[郵便1]);
    rs.set("員_郵便2", f[郵便2]);
    rs.set("員_住所1", f[住所1]);
    rs.set("員_住所2", f[住所2]);
    rs.set("員_電話1", f[電話1]);
    rs.set("員_電話2", f[電話2]);
    rs.set("員_休職FROM", f[休職FROM]);
    rs.set("員_休職TO", f[休職TO]);
    rs.set("員_備考", f[備考]);
    rs.update();
}

TeacherFile checkTeacherFile(WorkContext& ctx, const std::vector<CsvRecord>& records,
                             const QString& lineEnd, Progress* progress) {
    TeacherFile file;
    bool first = true;
    for (const CsvRecord& record : records) {
        if (progress) progress->advance();
        const QStringList& fields = record.fields;
        if (isBlank(fields)) continue;
        const bool heading = first && isHeading(fields);
        first = false;
        if (heading) continue;
        TeacherLine line = checkTeacherLine(ctx, fields);
        // A quote left open swallowed the rest of the file into one field: never store that.
        if (record.unclosedQuote)
            line.error = QStringLiteral("引用符が閉じていません（ファイルの終わりまで）");
        if (line.error.isEmpty()) {
            file.valid.push_back(std::move(line));
        } else {
            file.errorText += csvRecord(line.fields + QStringList{line.error}) + lineEnd;
            ++file.refused;
        }
    }
    return file;
}

void storeTeachers(const std::vector<TeacherLine>& teachers, Progress* progress) {
    TeacherWriter writer;
    for (const TeacherLine& line : teachers) {
        writer.store(line);
        if (progress) progress->advance();
    }
}
