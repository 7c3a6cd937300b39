// The layout of a new database file. Stored files and every screen depend on these names, their
// order and their types, so the expectation is written out here rather than taken from the code.

#include <QStringList>

#include "support/database_fixture.h"

namespace {

class SchemaTest : public DatabaseTest {};

// "name:I" for an integer field, "name:T" for a text field, in stored order.
const std::map<QString, QString> kFields = {
    {"マスタ", "マ_番号:T マ_連番:T マ_名称:T マ_略称:T マ_学部:T マ_教科:T マ_備考:T"},
    {"業務年度", "業_区分:I 業_年度:I 業_開始日:T 業_終了日:T"},
    {"項目名", "MSG_番号:T MSG_項目:T MSG_メッセージ:T"},
    {"科目",
     "科_年度:I 科_学部:T 科_学年:I 科_コース:T 科_番号:T 科_表示順:I 科_名称:T 科_略称:T "
     "科_主要F:I 科_選択F:I 科_時間数:I 科_備考:T"},
    {"教科",
     "教_年度:I 教_学部:T 教_学年:I 教_コース:T 教_科目番号:T 教_教科番号:T 教_表示順:I "
     "教_名称:T 教_略称:T 教_展開F:I 教_選択F:I 教_時間数:I 教_教室番号:T 教_教室名:T "
     "教_備考:T"},
    {"教員",
     "員_番号:T 員_氏名:T 員_氏名カナ:T 員_表示名:T 員_担任F:I 員_区分:T 員_学部:T "
     "員_学年:I 員_組:T 員_性別:I 員_生年月日:T 員_郵便1:T 員_郵便2:T 員_住所1:T "
     "員_住所2:T 員_電話1:T 員_電話2:T 員_休職FROM:T 員_休職TO:T 員_備考:T"},
    {"担当",
     "担_年度:I 担_教員番号:T 担_学部:T 担_学年:I 担_コース:T 担_科目番号:T "
     "担_教科番号:T 担_氏名:T 担_備考:T"},
    {"組時間割",
     "組_年度:I 組_学部:T 組_学年:I 組_コース:T 組_組:T 組_選択番号:I 組_曜日:I "
     "組_時限:I 組_教員:T 組_科目:T 組_科目名:T 組_教科:T 組_教科名:T 組_教科略称:T "
     "組_教員名:T 組_教員表示名:T 組_登録:I 組_備考:T"},
    {"時限変更",
     "変_年度:I 変_日付:T 変_学部:T 変_学年:I 変_コース:T 変_組:T 変_選択番号:I "
     "変_時限:I 変_科目:T 変_教科:T 変_教科名:T 変_教科略称:T 変_教員:T 変_教員名:T "
     "変_教員表示名:T 変_備考:T 変_登録:I"},
    {"期間",
     "期_年度:I 期_学部:T 期_学年:I 期_開始日:T 期_終了日:T 期_授業F:I 期_学期F:I "
     "期_学期:T 期_名称:T 期_略称:T 期_備考:T"},
    {"予定",
     "予_年度:I 予_学部:T 予_学年:I 予_コース:T 予_日付:T 予_連番:I 予_時限From:I "
     "予_時限To:I 予_組:T 予_終了日:T 予_授業F:I 予_予定番号:T 予_名称:T 予_略称:T "
     "予_備考:T"},
    {"WK時割変",
     "W_日付:T W_時限:I W_学部:T W_学年:I W_組:T W_科目:T W_教科:T W_教科名:T "
     "W_教科略称:T W_コース:T W_選択番号:I W_教員コード:T W_表示名:T W_教員名:T "
     "W_旧教員コード:T W_旧表示名:T W_旧教員名:T W_旧科目:T W_旧教科:T W_備考:T"},
};

// Table, index name, "U" for unique, leading key fields.
struct IndexExpectation {
    const char* table;
    const char* index;
    bool unique;
    const char* fields;
};

const IndexExpectation kIndexes[] = {
    {"マスタ", "Key_マスタ", true, "マ_番号 マ_連番"},
    {"マスタ", "Idx_マ名称", false, "マ_番号 マ_名称"},
    {"業務年度", "Key_業務", true, "業_区分"},
    {"項目名", "Key_メッセジ", true, "MSG_番号"},
    {"科目", "Key_科目", true, "科_年度 科_学部 科_学年 科_コース 科_番号"},
    {"科目", "Idx_名称", false, "科_年度 科_学部 科_学年 科_コース 科_名称"},
    {"科目", "Idx_略称", false, "科_年度 科_学部 科_学年 科_コース 科_略称"},
    {"教科", "Key_教科", true, "教_年度 教_学部 教_学年 教_コース 教_科目番号 教_教科番号"},
    {"教科", "Idx_名称", false, "教_年度 教_学部 教_学年 教_コース 教_科目番号 教_名称"},
    {"教科", "Idx_略称", false, "教_年度 教_学部 教_学年 教_コース 教_略称"},
    {"教科", "Idx_表示", false, "教_年度 教_学年 教_表示順"},
    {"教員", "Key_教員", true, "員_番号"},
    {"教員", "Idx_教員名", false, "員_氏名"},
    {"教員", "Idx_表示名", false, "員_表示名"},
    {"教員", "Idx_カナ", false, "員_氏名カナ"},
    {"教員", "Idx_担任", false, "員_学部 員_学年 員_組"},
    {"担当", "Key_担当", true,
     "担_年度 担_教員番号 担_学部 担_学年 担_コース 担_科目番号 担_教科番号"},
    {"担当", "Idx_教科", false, "担_年度 担_学部 担_学年 担_コース 担_科目番号 担_教科番号"},
    {"組時間割", "Key_時間割", true,
     "組_年度 組_学部 組_学年 組_コース 組_組 組_選択番号 組_曜日 組_時限 組_教員"},
    {"組時間割", "Idx_教員コマ", false, "組_年度 組_教員 組_曜日 組_時限"},
    {"組時間割", "Idx_教員", false, "組_年度 組_曜日 組_時限 組_教員"},
    {"組時間割", "Idx_コマ", false, "組_年度 組_曜日 組_時限 組_学部 組_学年 組_コース 組_組"},
    {"時限変更", "Key_変更", true,
     "変_年度 変_日付 変_学部 変_学年 変_コース 変_組 変_選択番号 変_時限"},
    {"時限変更", "Idx_教員コマ", false, "変_年度 変_教員 変_日付 変_時限"},
    {"時限変更", "Idx_教員", false, "変_年度 変_日付 変_時限 変_教員"},
    {"時限変更", "Idx_時限", false,
     "変_年度 変_日付 変_時限 変_学部 変_学年 変_コース 変_組 変_選択番号"},
    {"期間", "Key_期間", true, "期_年度 期_学部 期_学年 期_開始日 期_終了日 期_授業F"},
    {"期間", "Idx_一覧", false, "期_年度"},
    {"予定", "Key_予定", true,
     "予_年度 予_学部 予_学年 予_コース 予_日付 予_連番 予_時限From 予_時限To"},
    {"予定", "Idx_終了日", false, "予_年度 予_終了日"},
    {"WK時割変", "Idx_変更先", false,
     "W_教員コード W_学部 W_学年 W_コース W_組 W_選択番号 W_日付 W_時限"},
    {"時程", "Key_時程", true, "時_学部 時_曜日区分 時_時限"},
};

TEST_F(SchemaTest, EveryTableHasItsFieldsInStoredOrderWithTheirTypes) {
    for (const auto& [table, expected] : kFields) {
        const TableMeta& meta = db().table(table);
        QStringList actual;
        for (int i = 0; i < meta.columns.size(); ++i)
            actual << meta.columns[i] + (meta.types[i] == FieldType::Integer ? ":I" : ":T");
        EXPECT_EQ(actual.join(' '), expected) << table.toStdString();
    }
}

TEST_F(SchemaTest, EveryIndexHasItsNameKeyFieldsAndUniqueness) {
    for (const IndexExpectation& e : kIndexes) {
        const TableMeta& meta = db().table(e.table);
        const IndexMeta& ix = meta.index(e.index);
        QStringList fields;
        for (int c : ix.columns) fields << meta.columns[c];
        const QStringList leading = QString::fromUtf8(e.fields).split(' ');
        EXPECT_EQ(fields.mid(0, leading.size()), leading) << e.table << " " << e.index;
        EXPECT_EQ(ix.unique, e.unique) << e.table << " " << e.index;
    }
    // The open compositions: the period list runs in date order, the events by end date.
    const TableMeta& kikan = db().table("期間");
    EXPECT_EQ(kikan.index("Idx_一覧").columns.size(), 3u);
    EXPECT_EQ(kikan.types[kikan.index("Idx_一覧").columns[1]], FieldType::Text);
    EXPECT_EQ(kikan.types[kikan.index("Idx_一覧").columns[2]], FieldType::Text);
}

TEST_F(SchemaTest, NewRecordsKeepTheDefaultsAndKeyIndexesRefuseDuplicates) {
    insert("組時間割", {{"組_年度", 2007}});
    const auto rows = records("組時間割");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("組_学年"), Value(0));
    EXPECT_EQ(rows[0].at("組_教員"), Value(""));

    insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", "001"}, {"マ_名称", "中学部"}});
    EXPECT_THROW(insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", "001"}, {"マ_名称", "高等部"}}),
                 DbError);
    // Text keys are compared as they are typed.
    insert("マスタ", {{"マ_番号", "002"}, {"マ_連番", "1"}, {"マ_名称", "高等部"}});
    EXPECT_EQ(records("マスタ").size(), 2u);
}

TEST_F(SchemaTest, ANewDatabaseCarriesTheItemLabelsTheChecksName) {
    std::map<QString, QString> labels;
    for (const Record& r : records("項目名"))
        labels[r.at("MSG_番号").toText()] = r.at("MSG_項目").toText();
    for (const char* item :
         {"001", "002", "004", "005", "006", "007", "008", "009", "010", "011", "012",
          "015", "016", "017", "018", "019", "020", "028", "029", "032", "036"})
        EXPECT_FALSE(labels[item].isEmpty()) << item;
    EXPECT_EQ(labels["015"], "開始日");
    EXPECT_EQ(labels["028"], "年度");
}

}  // namespace
