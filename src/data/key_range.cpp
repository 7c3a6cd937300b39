#include "data/key_range.h"

#include <QHash>

#include "data/database.h"

namespace {

QString quotedName(const QString& name) {
    return '"' + QString(name).replace('"', "\"\"") + '"';
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
                             const std::vector<const char*>* fields, bool server) {
    static QHash<QByteArray, QString> texts;
    QByteArray shape = fields ? "R" : "D";
    shape += server ? 'S' : 'F';
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
    // INDEXED BY holds the file's engine to the index the order comes from; the server has no
    // such clause, and its ORDER BY on the index's fields is served by the index.
    const QString indexedBy =
        server ? QString() : QStringLiteral(" INDEXED BY %1").arg(quotedName(ix.physical));
    QString sql;
    if (fields) {
        QStringList names, order;
        for (const char* f : *fields) names << quotedName(t.columns[t.column(f)]);
        for (int c : ix.columns) order << quotedName(t.columns[c]);
        sql = QStringLiteral("SELECT %1 FROM %2%3%4 ORDER BY %5, rowid")
                  .arg(names.join(", "), quotedName(t.name), indexedBy, whereClause(t, ix, range),
                       order.join(", "));
    } else {
        sql = QStringLiteral("DELETE FROM %1%2%3")
                  .arg(quotedName(t.name), indexedBy, whereClause(t, ix, range));
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

QByteArrayView KeyRow::utf8(int i) const {
    return s_.columnUtf8(i);
}

qint64 KeyRow::integer(int i) const {
    return s_.columnInt(i);
}

void readKeyRange(const KeyRange& range, const std::vector<const char*>& fields,
                  const std::function<void(const KeyRow&)>& row) {
    Database& db = Database::current();
    const TableMeta& t = db.table(range.table);
    const IndexMeta& ix = t.index(range.index);
    t.checkKeys(ix, range.from);
    t.checkKeys(ix, range.to);
    Statement s = db.prepare(statementText(t, ix, range, &fields, db.onServer()));
    bindRange(s, range);
    const KeyRow record(s);
    while (s.step()) row(record);
}

void readQuery(const QString& sql, const std::vector<Value>& values,
               const std::function<void(const KeyRow&)>& row, QueryPlan plan) {
    Database& db = Database::current();
    Statement s = plan == QueryPlan::Once ? db.prepare(sql) : db.prepareForValues(sql);
    int n = 0;
    for (const Value& v : values) s.bind(++n, v);
    const KeyRow record(s);
    while (s.step()) row(record);
}

int deleteKeyRange(const KeyRange& range) {
    Database& db = Database::current();
    db.requireOperation();
    TableMeta& t = db.table(range.table);
    const IndexMeta& ix = t.index(range.index);
    t.checkKeys(ix, range.from);
    t.checkKeys(ix, range.to);
    db.beforeFirstWrite();
    t.beforeWrite();
    Statement s = db.prepare(statementText(t, ix, range, nullptr, db.onServer()));
    bindRange(s, range);
    s.exec();
    const int deleted = int(s.changes());
    db.noteWrite(t, 0, 0);
    return deleted;
}
