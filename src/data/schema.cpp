#include "data/schema.h"

namespace {

constexpr FieldType I = FieldType::Integer;
constexpr FieldType T = FieldType::Text;

std::vector<TableDef> buildSchema() {
    return {
        {"マスタ",
         {{"マ_番号", T},
          {"マ_連番", T},
          {"マ_名称", T},
          {"マ_略称", T},
          {"マ_学部", T},
          {"マ_教科", T},
          {"マ_備考", T}},
         {{"Key_マスタ", {"マ_番号", "マ_連番"}, true},
          {"Idx_マ名称", {"マ_番号", "マ_名称"}, false}}},
        {"業務年度",
         {{"業_区分", I}, {"業_年度", I}, {"業_開始日", T}, {"業_終了日", T}},
         {{"Key_業務", {"業_区分"}, true}}},
        {"項目名",
         {{"MSG_番号", T}, {"MSG_項目", T}, {"MSG_メッセージ", T}},
         {{"Key_メッセジ", {"MSG_番号"}, true}}},
        {"科目",
         {{"科_年度", I},
          {"科_学部", T},
          {"科_学年", I},
          {"科_コース", T},
          {"科_番号", T},
          {"科_表示順", I},
          {"科_名称", T},
          {"科_略称", T},
          {"科_主要F", I},
          {"科_選択F", I},
          {"科_時間数", I},
          {"科_備考", T}},
         {{"Key_科目", {"科_年度", "科_学部", "科_学年", "科_コース", "科_番号"}, true},
          {"Idx_名称", {"科_年度", "科_学部", "科_学年", "科_コース", "科_名称"}, false},
          {"Idx_略称", {"科_年度", "科_学部", "科_学年", "科_コース", "科_略称"}, false}}},
        {"教科",
         {{"教_年度", I},
          {"教_学部", T},
          {"教_学年", I},
          {"教_コース", T},
          {"教_科目番号", T},
          {"教_教科番号", T},
          {"教_表示順", I},
          {"教_名称", T},
          {"教_略称", T},
          {"教_展開F", I},
          {"教_選択F", I},
          {"教_時間数", I},
          {"教_教室番号", T},
          {"教_教室名", T},
          {"教_備考", T}},
         {{"Key_教科",
           {"教_年度", "教_学部", "教_学年", "教_コース", "教_科目番号", "教_教科番号"},
           true},
          {"Idx_名称",
           {"教_年度", "教_学部", "教_学年", "教_コース", "教_科目番号", "教_名称"},
           false},
          {"Idx_略称", {"教_年度", "教_学部", "教_学年", "教_コース", "教_略称"}, false},
          // Year, grade and display order lead, so one seek with (year, grade, 0, "") walks all
          // subjects of a grade in display order; the course subject, department and course
          // follow so that equal display orders still come in a stable order.
          {"Idx_表示",
           {"教_年度", "教_学年", "教_表示順", "教_科目番号", "教_学部", "教_コース",
            "教_教科番号"},
           false}}},
        {"教員",
         {{"員_番号", T},  {"員_氏名", T},     {"員_氏名カナ", T}, {"員_表示名", T},
          {"員_担任F", I}, {"員_区分", T},     {"員_学部", T},     {"員_学年", I},
          {"員_組", T},    {"員_性別", I},     {"員_生年月日", T}, {"員_郵便1", T},
          {"員_郵便2", T}, {"員_住所1", T},    {"員_住所2", T},    {"員_電話1", T},
          {"員_電話2", T}, {"員_休職FROM", T}, {"員_休職TO", T},   {"員_備考", T}},
         {{"Key_教員", {"員_番号"}, true},
          {"Idx_教員名", {"員_氏名"}, false},
          {"Idx_表示名", {"員_表示名"}, false},
          {"Idx_カナ", {"員_氏名カナ"}, false},
          {"Idx_担任", {"員_学部", "員_学年", "員_組"}, false}}},
        {"担当",
         {{"担_年度", I},
          {"担_教員番号", T},
          {"担_学部", T},
          {"担_学年", I},
          {"担_コース", T},
          {"担_科目番号", T},
          {"担_教科番号", T},
          {"担_氏名", T},
          {"担_備考", T}},
         {{"Key_担当",
           {"担_年度", "担_教員番号", "担_学部", "担_学年", "担_コース", "担_科目番号",
            "担_教科番号"},
           true},
          // The seventh value is the teacher number, so the teachers of one subject come in
          // number order and a seek with "" as seventh value starts at the first of them.
          {"Idx_教科",
           {"担_年度", "担_学部", "担_学年", "担_コース", "担_科目番号", "担_教科番号",
            "担_教員番号"},
           false}}},
        {"組時間割",
         {{"組_年度", I},
          {"組_学部", T},
          {"組_学年", I},
          {"組_コース", T},
          {"組_組", T},
          {"組_選択番号", I},
          {"組_曜日", I},
          {"組_時限", I},
          {"組_教員", T},
          {"組_科目", T},
          {"組_科目名", T},
          {"組_教科", T},
          {"組_教科名", T},
          {"組_教科略称", T},
          {"組_教員名", T},
          {"組_教員表示名", T},
          {"組_登録", I},
          {"組_備考", T}},
         {{"Key_時間割",
           {"組_年度", "組_学部", "組_学年", "組_コース", "組_組", "組_選択番号", "組_曜日",
            "組_時限", "組_教員"},
           true},
          {"Idx_教員コマ", {"組_年度", "組_教員", "組_曜日", "組_時限"}, false},
          {"Idx_教員", {"組_年度", "組_曜日", "組_時限", "組_教員"}, false},
          {"Idx_コマ",
           {"組_年度", "組_曜日", "組_時限", "組_学部", "組_学年", "組_コース", "組_組"},
           false}}},
        {"時限変更",
         {{"変_年度", I},
          {"変_日付", T},
          {"変_学部", T},
          {"変_学年", I},
          {"変_コース", T},
          {"変_組", T},
          {"変_選択番号", I},
          {"変_時限", I},
          {"変_科目", T},
          {"変_教科", T},
          {"変_教科名", T},
          {"変_教科略称", T},
          {"変_教員", T},
          {"変_教員名", T},
          {"変_教員表示名", T},
          {"変_備考", T},
          {"変_登録", I}},
         {{"Key_変更",
           {"変_年度", "変_日付", "変_学部", "変_学年", "変_コース", "変_組", "変_選択番号",
            "変_時限"},
           true},
          {"Idx_教員コマ", {"変_年度", "変_教員", "変_日付", "変_時限"}, false},
          {"Idx_教員", {"変_年度", "変_日付", "変_時限", "変_教員"}, false},
          {"Idx_時限",
           {"変_年度", "変_日付", "変_時限", "変_学部", "変_学年", "変_コース", "変_組",
            "変_選択番号"},
           false}}},
        {"期間",
         {{"期_年度", I},
          {"期_学部", T},
          {"期_学年", I},
          {"期_開始日", T},
          {"期_終了日", T},
          {"期_授業F", I},
          {"期_学期F", I},
          {"期_学期", T},
          {"期_名称", T},
          {"期_略称", T},
          {"期_備考", T}},
         {{"Key_期間",
           {"期_年度", "期_学部", "期_学年", "期_開始日", "期_終了日", "期_授業F"},
           true},
          // The period list reads a year in calendar order.
          {"Idx_一覧", {"期_年度", "期_開始日", "期_終了日"}, false}}},
        {"予定",
         {{"予_年度", I},
          {"予_学部", T},
          {"予_学年", I},
          {"予_コース", T},
          {"予_日付", T},
          {"予_連番", I},
          {"予_時限From", I},
          {"予_時限To", I},
          {"予_組", T},
          {"予_終了日", T},
          {"予_授業F", I},
          {"予_予定番号", T},
          {"予_名称", T},
          {"予_略称", T},
          {"予_備考", T}},
         {{"Key_予定",
           {"予_年度", "予_学部", "予_学年", "予_コース", "予_日付", "予_連番", "予_時限From",
            "予_時限To"},
           true},
          // A seek with (year, date) lands on the first event that has not ended by that date.
          {"Idx_終了日",
           {"予_年度", "予_終了日", "予_日付", "予_学部", "予_学年", "予_コース", "予_連番"},
           false}}},
        {"WK時割変",
         {{"W_日付", T},     {"W_時限", I},   {"W_学部", T},         {"W_学年", I},
          {"W_組", T},       {"W_科目", T},   {"W_教科", T},         {"W_教科名", T},
          {"W_教科略称", T}, {"W_コース", T}, {"W_選択番号", I},     {"W_教員コード", T},
          {"W_表示名", T},   {"W_教員名", T}, {"W_旧教員コード", T}, {"W_旧表示名", T},
          {"W_旧教員名", T}, {"W_旧科目", T}, {"W_旧教科", T},       {"W_備考", T}},
         {{"Idx_変更先",
           {"W_教員コード", "W_学部", "W_学年", "W_コース", "W_組", "W_選択番号", "W_日付",
            "W_時限"},
           false}},
         false,
         true},
        // The bell schedule: when each period starts and ends, for all departments ("000") or
        // one; 時_曜日区分 0 for Monday to Friday, 1 for Saturday. Times are "hh:mm".
        {"時程",
         {{"時_学部", T}, {"時_曜日区分", I}, {"時_時限", I}, {"時_開始", T}, {"時_終了", T}},
         {{"Key_時程", {"時_学部", "時_曜日区分", "時_時限"}, true}},
         true},
        // What the timetable generator places: per class, a subject's weekly lessons and their
        // teachers. 作_教員 holds one or more teacher numbers joined by ","; 作_連続 0 = on
        // different days, 1 = two may stand side by side on one day, n >= 2 = in runs of n
        // periods of one day; 作_選択 > 0 ties lines (of any classes of the year) that are taught
        // at the same times, an elective block; 作_分散 weighs "on different days" (100 = must);
        // 作_後続, when not 0, is the 作_行 of a line of the same class taught directly after;
        // 作_間隔 is the fewest days between two of the line's lessons when they are spread
        // (0 or 1 = on different days, 2 = a day between, …).
        {"作成時数",
         {{"作_年度", I},
          {"作_学部", T},
          {"作_学年", I},
          {"作_コース", T},
          {"作_組", T},
          {"作_行", I},
          {"作_科目", T},
          {"作_教科", T},
          {"作_教員", T},
          {"作_時間数", I},
          {"作_連続", I},
          {"作_選択", I},
          {"作_分散", I},
          {"作_後続", I},
          {"作_備考", T},
          {"作_間隔", I, true}},
         {{"Key_作成時数", {"作_年度", "作_学部", "作_学年", "作_コース", "作_組", "作_行"}, true},
          {"Idx_作成選択", {"作_年度", "作_選択"}, false}},
         true},
        // Slots the generator must leave free: 不_種別 1 for a teacher (不_教員), 2 for a grade
        // (不_学部, 不_学年; 不_組 "" for the whole grade, or one class), 3 for everyone (a break).
        // 不_時限 0 stands for the whole day (a teacher's 研修日).
        {"作成不可",
         {{"不_年度", I},
          {"不_種別", I},
          {"不_教員", T},
          {"不_学部", T},
          {"不_学年", I},
          {"不_組", T},
          {"不_曜日", I},
          {"不_時限", I}},
         {{"Key_作成不可",
           {"不_年度", "不_種別", "不_教員", "不_学部", "不_学年", "不_組", "不_曜日", "不_時限"},
           true}},
         true},
        // Slots of 組時間割 the generator keeps as they are (HR, 道徳, or any the user marks).
        {"作成固定",
         {{"固_年度", I},
          {"固_学部", T},
          {"固_学年", I},
          {"固_コース", T},
          {"固_組", T},
          {"固_曜日", I},
          {"固_時限", I}},
         {{"Key_作成固定",
           {"固_年度", "固_学部", "固_学年", "固_コース", "固_組", "固_曜日", "固_時限"},
           true}},
         true},
        // The generator's settings per year: the week's size ("曜日数", "時限数") and the weights
        // of the wishes; see src/generation/problem.h for the items.
        {"作成設定",
         {{"設_年度", I}, {"設_項目", T}, {"設_値", I}},
         {{"Key_作成設定", {"設_年度", "設_項目"}, true}},
         true},
    };
}

QString quoted(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

}  // namespace

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> tables = buildSchema();
    return tables;
}

const TableDef* findTableDef(const QString& table) {
    for (const TableDef& t : schemaTables())
        if (table == QString::fromUtf8(t.name)) return &t;
    return nullptr;
}

QString physicalIndexName(const QString& table, const QString& index) {
    return table + '.' + index;
}

QStringList schemaStatements(Dialect dialect) {
    QStringList out;
    for (const TableDef& t : schemaTables()) out << tableStatements(t, dialect);
    return out;
}

namespace {
QString columnDefinition(const FieldDef& f, Dialect dialect) {
    const QString name = quoted(QString::fromUtf8(f.name));
    // Texts order by their bytes on both engines, whatever the server's locale.
    return f.type == FieldType::Integer ? name + " INTEGER NOT NULL DEFAULT 0"
           : dialect == Dialect::Server ? name + " TEXT COLLATE \"C\" NOT NULL DEFAULT ''"
                                        : name + " TEXT NOT NULL DEFAULT ''";
}
}  // namespace

QString addFieldStatement(const TableDef& t, const FieldDef& field, Dialect dialect) {
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
        .arg(quoted(QString::fromUtf8(t.name)), columnDefinition(field, dialect));
}

QStringList tableStatements(const TableDef& t, Dialect dialect) {
    const bool server = dialect == Dialect::Server;
    QStringList out;
    {
        const QString table = QString::fromUtf8(t.name);
        QStringList cols;
        // The embedded file numbers its rows itself; on the server the row id is a field the
        // cursor reads and orders by in the same way.
        if (server) cols << "rowid BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
        for (const FieldDef& f : t.fields) cols << columnDefinition(f, dialect);
        out << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table), cols.join(", "));
        for (const IndexDef& ix : t.indexes) {
            QStringList fields;
            for (const char* f : ix.fields) fields << quoted(QString::fromUtf8(f));
            // A scan orders equal keys by row id: on the server the index carries it, so the
            // order comes from the index instead of a sort.
            if (server && !ix.unique) fields << "rowid";
            out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                       .arg(ix.unique ? "UNIQUE " : "",
                            quoted(physicalIndexName(table, QString::fromUtf8(ix.name))),
                            quoted(table), fields.join(", "));
        }
    }
    return out;
}
