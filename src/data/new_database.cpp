#include "data/new_database.h"

#include <QFile>
#include <QFileInfo>

#include "data/recordset.h"

const std::vector<ItemLabel>& standardItemLabels() {
    // The words a school office uses for these fields; the checks build their messages from them
    // ("開始日に正しく(YYYY/MM/DD)入力してください"), and the site may reword them.
    static const std::vector<ItemLabel> labels = {
        {"001", "年度", "年度に正しく入力してください"},
        {"002", "日付", "日付に正しく(YYYY/MM/DD)入力してください"},
        {"004", "番号", "番号に入力してください"},
        {"005", "名称", "名称に入力してください"},
        {"006", "略称", "略称に入力してください"},
        {"007", "項目番号", "項目番号に入力してください"},
        {"008", "項目名", "項目名に入力してください"},
        {"009", "メッセージ", "メッセージに入力してください"},
        {"010", "番号", "番号に入力してください"},
        {"011", "名称", "名称に入力してください"},
        {"012", "略称", "略称に入力してください"},
        {"015", "開始日", "開始日に正しく(YYYY/MM/DD)入力してください"},
        {"016", "終了日", "終了日に正しく(YYYY/MM/DD)入力してください"},
        {"017", "氏名", "氏名に入力してください"},
        {"018", "氏名カナ", "氏名カナに入力してください"},
        {"019", "教員番号", "教員番号に入力してください"},
        {"020", "学期", "学期に入力してください"},
        {"028", "年度", "年度に入力してください"},
        {"029", "新年度", "新年度に入力してください"},
        {"032", "時限", "時限に正しく入力してください"},
        {"036", "郵便番号", "郵便番号に正しく入力してください"},
    };
    return labels;
}

NewDatabase::NewDatabase(const QString& path, bool itemLabels)
    // An existing file is refused as it is; only a file made here is removed again.
    : removeFile_(!isServerLocation(path) && !QFileInfo::exists(path)), path_(path) {
    try {
        Database::openNew(path);
        if (!itemLabels) return;
        Recordset rs("項目名");
        for (const ItemLabel& item : standardItemLabels()) {
            rs.addNew();
            rs.set("MSG_番号", item.number);
            rs.set("MSG_項目", item.label);
            rs.set("MSG_メッセージ", item.message);
            rs.update();
        }
    } catch (...) {
        abandon();
        throw;
    }
}

NewDatabase::~NewDatabase() {
    if (!done_) abandon();
}

void NewDatabase::commit() {
    // A failed commit is rolled back by the engine; the new file goes with it.
    try {
        db().commit();
    } catch (...) {
        abandon();
        throw;
    }
    done_ = true;
}

void NewDatabase::abandon() noexcept {
    done_ = true;
    Database::close();  // rolls back what is not committed
    if (removeFile_) QFile::remove(path_);
}

void createNewDatabase(const QString& path) {
    NewDatabase(path).commit();
}
