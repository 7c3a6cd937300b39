#include "data/school_move.h"

#include <QFileInfo>

#include "data/database_copy.h"
#include "data/new_database.h"
#include "data/recordset.h"

std::vector<std::pair<QString, qint64>> moveSchoolToServer(const QString& file,
                                                           const QString& location) {
    if (!QFileInfo(file).isFile())
        throw DbError(QStringLiteral("データベース「%1」がありません").arg(file));
    DatabaseCopy source(file);
    if (source.fieldsOf(QStringLiteral("項目名")).isEmpty())
        throw DbError(
            QStringLiteral("「%1」は時間割のデータベースではありません").arg(source.fileName()));
    // The tables and the records in one transaction: a failure leaves the server as it was.
    NewDatabase made(location, false);
    std::vector<std::pair<QString, qint64>> counts;
    for (const TableDef& def : schemaTables()) {
        if (def.perConnection) continue;
        const QString table = QString::fromUtf8(def.name);
        const QStringList present = source.fieldsOf(table);
        if (present.isEmpty()) {  // a file from before the table
            counts.emplace_back(table, 0);
            continue;
        }
        TableMeta& meta = db().table(table);
        QStringList fields;
        std::vector<int> columns;
        for (int c = 0; c < meta.columns.size(); ++c)
            if (present.contains(meta.columns[c])) {
                fields << meta.columns[c];
                columns.push_back(c);
            }
        source.select(table, fields, {});
        qint64 copied = 0;
        std::vector<Value> row(meta.columns.size());
        while (source.next()) {
            for (int c = 0; c < meta.columns.size(); ++c)
                row[c] = meta.types[c] == FieldType::Integer ? Value(0) : Value(QString());
            for (size_t i = 0; i < columns.size(); ++i)
                row[columns[i]] = source.value(int(i), meta.types[columns[i]]);
            Statement ins = db().prepare(meta.insertId);
            for (int c = 0; c < meta.columns.size(); ++c) ins.bind(c + 1, row[c]);
            ins.exec();
            ++copied;
        }
        db().noteWrite(meta, 0, 0);
        Statement count = db().prepare(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
        count.step();
        if (count.columnInt(0) != copied)
            throw DbError(QStringLiteral("表「%1」の件数が合いません（%2 件のうち %3 件）")
                              .arg(table)
                              .arg(copied)
                              .arg(count.columnInt(0)));
        counts.emplace_back(table, copied);
    }
    made.commit();
    return counts;
}
