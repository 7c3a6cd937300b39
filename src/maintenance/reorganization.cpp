#include "maintenance/reorganization.h"

#include <functional>

#include <QDir>
#include <QFileInfo>

#include "common/names.h"
#include "common/progress.h"
#include "data/database_copy.h"
#include "data/recordset.h"
#include "ui/fields.h"
#include "ui/screen.h"

namespace {

const QString kHomeroom = QStringLiteral("HR");
const QString kFreeTextCode = QStringLiteral("000");

// Starts reading a table of the backup: the given fields of every record in key order. A table or
// field the backup lacks is named before anything is emptied.
void selectFromBackup(DatabaseCopy& backup, const QString& table, const QStringList& fields,
                      const QStringList& key) {
    const QStringList present = backup.fieldsOf(table);
    if (present.isEmpty())
        throw DbError(QStringLiteral("バックアップ「%1」に表「%2」がありません")
                          .arg(backup.fileName(), table));
    for (const QString& f : fields)
        if (!present.contains(f))
            throw DbError(QStringLiteral("バックアップ「%1」の表「%2」にフィールド「%3」が"
                                         "ありません（古い形式のデータベースです）")
                              .arg(backup.fileName(), table, f));
    backup.select(table, fields, key);
}

// The fields a reorganization fills in from the record as the backup has it (`row` holds the
// table's fields in their order). The columns are found once per table, not once per record.
// A short or display name the school typed is kept: only an empty one is derived from the full
// name, since a cut full name ("英語コミュ", "教員　1") no longer tells the entries apart.
using Derivation = std::function<void(std::vector<Value>& row)>;

void fillEmpty(Value& field, const QString& derived) {
    if (field.toText().trimmed().isEmpty()) field = Value(derived);
}

// A lesson record of the class timetable or of the lesson changes: "HR" becomes a lesson outside
// the registered subjects; one entered as free text ("学活") stays one, with its text as short
// name in full.
Derivation lessonDerivation(const TableMeta& t, const char* prefix, const char* homeroomField) {
    const auto col = [&](const char* suffix) {
        return t.column(QString::fromUtf8(prefix) + QString::fromUtf8(suffix));
    };
    const int registered = col("登録"), kamoku = col("科目"), subject = col("教科");
    const int name = col("教科名"), shortName = col("教科略称");
    const int teacher = col("教員名"), display = col("教員表示名");
    const int homeroom = t.column(QString::fromUtf8(homeroomField));
    return [=](std::vector<Value>& row) {
        const bool freeText = row[registered].toInt() == 1;
        if (!freeText) fillEmpty(row[shortName], leftText(row[name].toText(), 5));
        fillEmpty(row[display], displayNameOf(row[teacher].toText()));
        if (row[homeroom].toText() == kHomeroom) {
            row[registered] = Value(1);
            row[kamoku] = Value(kFreeTextCode);
            row[subject] = Value(kFreeTextCode);
        } else {
            row[registered] = Value(freeText ? 1 : 0);
        }
    };
}

// An empty field as derived from another one.
Derivation whenEmpty(const TableMeta& t, const char* to, const char* from,
                     std::function<QString(const QString&)> derive) {
    const int target = t.column(to), source = t.column(from);
    return [=](std::vector<Value>& row) { fillEmpty(row[target], derive(row[source].toText())); };
}

Derivation derivationFor(const TableMeta& t) {
    if (t.name == "教科")
        return whenEmpty(t, "教_略称", "教_名称", [](const QString& n) { return leftText(n, 5); });
    if (t.name == "教員")
        return whenEmpty(t, "員_表示名", "員_氏名",
                         [](const QString& n) { return displayNameOf(n); });
    if (t.name == "組時間割") return lessonDerivation(t, "組_", "組_科目名");
    if (t.name == "時限変更") return lessonDerivation(t, "変_", "変_教科名");
    return {};
}

QString primaryIndexOf(const QString& table) {
    const TableDef* def = findTableDef(table);
    for (const IndexDef& ix : def->indexes)
        if (QString::fromUtf8(ix.name).startsWith("Key_")) return QString::fromUtf8(ix.name);
    throw DbError(QStringLiteral("表「%1」に主キーがありません").arg(table));
}

void rebuildTable(DatabaseCopy& backup, const QString& table, Progress* progress) {
    const TableMeta& meta = db().table(table);
    QStringList key;
    for (int c : meta.index(primaryIndexOf(table)).columns) key << meta.columns[c];
    // The source is opened before the target is emptied: a table the backup lacks leaves this
    // one as it was (and the operation is rolled back as a whole anyway).
    selectFromBackup(backup, table, meta.columns, key);
    db().execute(QStringLiteral("DELETE * FROM %1 ;").arg(table));

    const Derivation derive = derivationFor(meta);
    const int fields = int(meta.columns.size());
    std::vector<Value> row(fields);
    Recordset rs(table);
    while (backup.next()) {
        for (int i = 0; i < fields; ++i) row[i] = backup.value(i, meta.types[i]);
        if (derive) derive(row);
        rs.addNew();
        for (int i = 0; i < fields; ++i) rs.set(meta.columns[i], row[i]);
        rs.update();
        if (progress) progress->keepAlive();
    }
}

}  // namespace

const QStringList& reorganizedTables() {
    static const QStringList tables = {"マスタ", "業務年度", "項目名",   "科目", "教科", "教員",
                                       "担当",   "組時間割", "時限変更", "期間", "予定"};
    return tables;
}

void rebuildFromBackup(const QString& backupPath, Progress* progress) {
    DatabaseCopy backup(backupPath);
    // Nobody else writes into the school while its tables are rebuilt.
    db().lockSchoolExclusively();
    for (const QString& table : reorganizedTables()) {
        if (progress) progress->setLabel(QStringLiteral("%1を再編成しています…").arg(table));
        rebuildTable(backup, table, progress);
        if (progress) progress->advance();
    }
}

void DB再編成(Screen& screen) {
    WorkContext& ctx = screen.ctx();
    const QString callerTitle = ctx.title;
    ctx.title = QStringLiteral("DB再編成");
    struct RestoreTitle {
        WorkContext& ctx;
        QString title;
        ~RestoreTitle() { ctx.title = title; }
    } restore{ctx, callerTitle};

    // The backup lies beside the database file; a school on a server keeps it in the working
    // folder.
    const QFileInfo home(db().path());
    const QDir folder = home.isFile() ? home.absoluteDir() : QDir::current();
    const QString backup = folder.filePath(kBackupFile);
    // Nobody can copy a server's database as a file: there the program writes the backup itself,
    // from what the server holds, and the clerk is told where it goes.
    const bool fromServer = db().onServer();
    const QString question =
        fromServer
            ? QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成を行います。サーバーのデータベースをバックアップ"
                             "ファイル「%1」に書き出してから再編成します。%2よろしいですか？")
                  .arg(QDir::toNativeSeparators(backup),
                       QFileInfo::exists(backup) ? QStringLiteral("今あるファイルは置き換えます。")
                                                 : QString())
            : QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成を行います。ﾊﾞｯｸ･ｱｯﾌﾟの準備は完了していますか？");
    if (!screen.ask(question)) return;
    if (!fromServer && !QFileInfo(backup).isFile()) {
        screen.showMessage(QStringLiteral("バックアップファイル「%1」がありません。\n"
                                          "データベースの写しをこの名前で「%2」に用意してから、"
                                          "もう一度実行してください。\n"
                                          "データベースは変更していません。")
                               .arg(kBackupFile, QDir::toNativeSeparators(folder.path())));
        return;
    }
    {
        Progress progress(&screen, QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽを再編成しています…"),
                          int(reorganizedTables().size()) + (fromServer ? 1 : 0));
        if (fromServer) {
            // Under the school's lock from the copy on, so that nothing written elsewhere in
            // between is lost when the tables are rebuilt from it.
            db().lockSchoolExclusively();
            progress.setLabel(QStringLiteral("バックアップを作成しています…"));
            writeDatabaseFile(backup);
            progress.advance();
        }
        rebuildFromBackup(backup, &progress);
    }
    screen.showMessage(QStringLiteral("ﾃﾞｰﾀ･ﾍﾞｽの再編成は完了しました。"));
}
