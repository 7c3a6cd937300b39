#include "data/key_range.h"

#include <sqlite3.h>

#include <QHash>

#include "data/database.h"

namespace {

QString quotedName(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// Key values of the field's type only, as a seek takes them.
void checkKeys(const TableMeta& t, const IndexMeta& ix, const std::vector<Value>& keys) {
    if (keys.size() > ix.columns.size())
        throw DbError(QStringLiteral("インデックス「%1」のキーは %2 項目です")
                          .arg(ix.name)
                          .arg(ix.columns.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        const int c = ix.columns[i];
        if (keys[i].isInt() != (t.types[c] == FieldType::Integer))
            throw DbError(QStringLiteral("インデックス「%1」の「%2」に型の違う値 %3 が渡されました")
                              .arg(ix.name, t.columns[c], keys[i].describe()));
    }
}

// The WHERE clause of the range on the index's fields.
QString whereClause(const TableMeta& t, const IndexMeta& ix, const KeyRange& range) {
    const auto bound = [&](size_t n, const char* op) {
        QStringList names, marks;
        for (size_t i = 0; i < n; ++i) {
            names << quotedName(t.columns[ix.columns[i]]);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("(%1) %2 (%3)")
            .arg(names.join(", "), QString::fromUtf8(op), marks.join(", "));
    };
    QStringList parts;
    if (!range.from.empty()) parts << bound(range.from.size(), ">=");
    if (!range.to.empty()) parts << bound(range.to.size(), "<=");
    return parts.isEmpty() ? QString() : " WHERE " + parts.join(" AND ");
}

// The statement text of a range read or delete, made once per shape: a week's drawing reads
// several small ranges, and composing the text each time cost as much as the reading.
const QString& statementText(const TableMeta& t, const IndexMeta& ix, const KeyRange& range,
                             const std::vector<const char*>* fields) {
    static QHash<QByteArray, QString> texts;
    QByteArray shape = fields ? "R" : "D";
    shape += range.table;
    shape += '\x1f';
    shape += range.index;
    shape += '\x1f';
    shape += char('0' + range.from.size());
    shape += char('0' + range.to.size());
    if (fields)
        for (const char* f : *fields) {
            shape += '\x1f';
            shape += f;
        }
    auto it = texts.find(shape);
    if (it != texts.end()) return *it;
    QString sql;
    if (fields) {
        QStringList names, order;
        for (const char* f : *fields) names << quotedName(t.columns[t.column(f)]);
        for (int c : ix.columns) order << quotedName(t.columns[c]);
        sql = QStringLiteral("SELECT %1 FROM %2 INDEXED BY %3%4 ORDER BY %5, rowid")
                  .arg(names.join(", "), quotedName(t.name), quotedName(ix.physical),
                       whereClause(t, ix, range), order.join(", "));
    } else {
        sql = QStringLiteral("DELETE FROM %1 INDEXED BY %2%3")
                  .arg(quotedName(t.name), quotedName(ix.physical), whereClause(t, ix, range));
    }
    return *texts.insert(shape, sql);
}

void bindRange(Statement& s, const KeyRange& range) {
    int n = 0;
    for (const Value& v : range.from) s.bind(++n, v);
    for (const Value& v : range.to) s.bind(++n, v);
}

}  // namespace

QString KeyRow::text(int i) const {
    return s_.columnText(i);
}

qint64 KeyRow::integer(int i) const {
    return s_.columnInt(i);
}

void readKeyRange(const KeyRange& range, const std::vector<const char*>& fields,
                  const std::function<void(const KeyRow&)>& row) {
    Database& db = Database::current();
    const TableMeta& t = db.table(range.table);
    const IndexMeta& ix = t.index(range.index);
    checkKeys(t, ix, range.from);
    checkKeys(t, ix, range.to);
    Statement s = db.prepare(statementText(t, ix, range, &fields));
    bindRange(s, range);
    const KeyRow record(s);
    while (s.step()) row(record);
}

int deleteKeyRange(const KeyRange& range) {
    Database& db = Database::current();
    db.requireOperation();
    TableMeta& t = db.table(range.table);
    const IndexMeta& ix = t.index(range.index);
    checkKeys(t, ix, range.from);
    checkKeys(t, ix, range.to);
    t.beforeWrite();
    Statement s = db.prepare(statementText(t, ix, range, nullptr));
    bindRange(s, range);
    s.exec();
    const int deleted = sqlite3_changes(db.handle());
    db.noteWrite(t, 0, 0);
    return deleted;
}
