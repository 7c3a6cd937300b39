#include "data/new_database.h"

#include "data/recordset.h"

const std::vector<ItemLabel>& standardItemLabels() {
    // The words a school office uses for these fields; the checks build their messages from them
    // ("開始日に正しく(YYYY/MM/DD)入力してください"), and the site may reword them.
    static const std::vector<ItemLabel> labels = {
        {"001", "年度"},   {"002", "日付"},     {"004", "番号"},     {"005", "名称"},
        {"006", "略称"},   {"007", "項目番号"}, {"008", "項目名"},   {"009", "メッセージ"},
        {"010", "番号"},   {"011", "名称"},     {"012", "略称"},     {"015", "開始日"},
        {"016", "終了日"}, {"017", "氏名"},     {"018", "氏名カナ"}, {"028", "年度"},
        {"029", "新年度"}, {"032", "時限"},     {"036", "郵便番号"},
    };
    return labels;
}

void createNewDatabase(const QString& path) {
    Database::create(path);
    Database::open(path);
    Operation op;
    Recordset rs("項目名");
    for (const ItemLabel& item : standardItemLabels()) {
        rs.addNew();
        rs.set("MSG_番号", item.number);
        rs.set("MSG_項目", item.label);
        rs.update();
    }
    op.commit();
}
