#include "data/key_range.h"

#include <sqlite3.h>

#include "data/database.h"

namespace {

QString quotedName(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

// The WHERE clause of the range on the index's fields, with its values in binding order.
QString whereClause(const TableMeta& t, const IndexMeta& ix, const KeyRange& range,
                    std::vector<Value>& values) {
    const auto bound = [&](const std::vector<Value>& keys, const char* op) {
        if (keys.size() > ix.columns.size())
            throw DbError(QStringLiteral("インデックス「%1」のキーは %2 項目です")
                              .arg(ix.name)
                              .arg(ix.columns.size()));
        QStringList names, marks;
        for (size_t i = 0; i < keys.size(); ++i) {
            const int c = ix.columns[i];
            if (keys[i].isInt() != (t.types[c] == FieldType::Integer))
                throw DbError(
                    QStringLiteral("インデックス「%1」の「%2」に型の違う値 %3 が渡されました")
                        .arg(ix.name, t.columns[c], keys[i].describe()));
            names << quotedName(t.columns[c]);
            marks << QStringLiteral("?");
            values.push_back(keys[i]);
        }
        return QStringLiteral("(%1) %2 (%3)")
            .arg(names.join(", "), QString::fromUtf8(op), marks.join(", "));
    };
    QStringList parts;
    if (!range.from.empty()) parts << bound(range.from, ">=");
    if (!range.to.empty()) parts << bound(range.to, "<=");
    return parts.isEmpty() ? QString() : " WHERE " + parts.join(" AND ");
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
    QStringList names, order;
    for (const char* f : fields) names << quotedName(t.columns[t.column(f)]);
    for (int c : ix.columns) order << quotedName(t.columns[c]);
    std::vector<Value> values;
    const QString where = whereClause(t, ix, range, values);
    Statement s = db.prepare(QStringLiteral("SELECT %1 FROM %2 INDEXED BY %3%4 ORDER BY %5, rowid")
                                 .arg(names.join(", "), quotedName(t.name), quotedName(ix.physical),
                                      where, order.join(", ")));
    for (size_t i = 0; i < values.size(); ++i) s.bind(int(i) + 1, values[i]);
    const KeyRow record(s);
    while (s.step()) row(record);
}

int deleteKeyRange(const KeyRange& range) {
    Database& db = Database::current();
    db.requireOperation();
    TableMeta& t = db.table(range.table);
    const IndexMeta& ix = t.index(range.index);
    std::vector<Value> values;
    const QString where = whereClause(t, ix, range, values);
    t.beforeWrite();
    Statement s = db.prepare(QStringLiteral("DELETE FROM %1 INDEXED BY %2%3")
                                 .arg(quotedName(t.name), quotedName(ix.physical), where));
    for (size_t i = 0; i < values.size(); ++i) s.bind(int(i) + 1, values[i]);
    s.exec();
    const int deleted = sqlite3_changes(db.handle());
    db.noteWrite(t, 0, 0);
    return deleted;
}
