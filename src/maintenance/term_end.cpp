#include "maintenance/term_end.h"

#include "common/progress.h"
#include "data/dates.h"
#include "data/key_range.h"
#include "data/recordset.h"

namespace {

// The same month and day in another year; a 29 February becomes the 28th where there is none.
QString dayIn(int year, const QDate& monthDay) {
    const QDate first(year, monthDay.month(), 1);
    return dateText(QDate(year, monthDay.month(), std::min(monthDay.day(), first.daysInMonth())));
}

// A stored date one year later. A text that is no date (an event without an end) stays as it is.
Value yearLater(const Value& v) {
    const QDate d = dateFrom(v.toText());
    return d.isValid() ? Value(dateText(d.addYears(1))) : v;
}

}  // namespace

const std::vector<YearTable>& yearTables() {
    static const std::vector<YearTable> tables = {
        {"科目", "Key_科目", "科_年度", "科目", {}},
        {"教科", "Key_教科", "教_年度", "教科", {}},
        {"担当", "Key_担当", "担_年度", "担当教科", {}},
        {"組時間割", "Key_時間割", "組_年度", "時間割", {}},
        {"期間", "Key_期間", "期_年度", "期間", {"期_開始日", "期_終了日"}},
        {"予定", "Key_予定", "予_年度", "行事", {"予_日付", "予_終了日"}},
        {"時限変更", "Key_変更", "変_年度", "時間割変更", {}},
    };
    return tables;
}

int carryOver(const YearTable& t, int fromYear, Progress* progress) {
    const TableMeta& meta = db().table(t.table);
    const int fields = int(meta.columns.size());
    const int yearColumn = meta.column(t.yearField);

    // The old year is read whole before anything is written, so the copy never meets its own
    // records.
    std::vector<std::vector<Value>> rows;
    {
        Recordset src(t.table);
        src.setIndex(t.key);
        src.seek(Seek::AtLeast, {fromYear});
        for (; !src.eof() && src.integer(t.yearField) == fromYear; src.moveNext()) {
            std::vector<Value> row(fields);
            for (int i = 0; i < fields; ++i) row[i] = src.value(meta.columns[i]);
            rows.push_back(std::move(row));
            if (progress) progress->keepAlive();
        }
    }

    std::vector<int> moved;
    for (const char* f : t.datesMoved) moved.push_back(meta.column(f));
    const std::vector<int>& keyColumns = meta.index(t.key).columns;
    Recordset dst(t.table);
    dst.setIndex(t.key);
    // A new year that has nothing yet (the usual first run) needs no look-up per record, unless
    // moved dates can bring two records onto one key (29 February and 28 February of a term).
    dst.seek(Seek::AtLeast, {fromYear + 1});
    const bool targetEmpty =
        moved.empty() && (dst.eof() || dst.integer(t.yearField) != fromYear + 1);
    std::vector<Value> key(keyColumns.size());
    for (std::vector<Value>& row : rows) {
        row[yearColumn] = Value(fromYear + 1);
        for (int c : moved) row[c] = yearLater(row[c]);
        bool found = false;
        if (!targetEmpty) {
            for (size_t i = 0; i < keyColumns.size(); ++i) key[i] = row[keyColumns[i]];
            dst.seek(Seek::Equal, key);
            found = !dst.noMatch();
        }
        if (found)
            dst.edit();
        else
            dst.addNew();
        for (int i = 0; i < fields; ++i) dst.set(meta.columns[i], row[i]);
        dst.update();
        if (progress) progress->keepAlive();
    }
    return int(rows.size());
}

// One statement for the whole range: the record set's delete takes each record's key and starts
// its scan again after it, which made deleting old years cost twice the engine's own work.
int deleteBefore(const YearTable& t, int limitYear, Progress* progress) {
    const int deleted = deleteKeyRange({t.table, t.key, {}, {limitYear - 1}});
    if (progress) progress->keepAlive();
    return deleted;
}

void rollBusinessYear(int oldYear, const QDate& start, const QDate& end) {
    Recordset rs("業務年度");
    rs.setIndex("Key_業務");
    for (int k = 1; k <= 2; ++k) {
        rs.seek(Seek::Equal, {k});
        if (rs.noMatch()) {
            rs.addNew();
            rs.set("業_区分", k);
        } else {
            rs.edit();
        }
        rs.set("業_年度", oldYear + k);
        rs.set("業_開始日", dayIn(oldYear + k, start));
        rs.set("業_終了日", dayIn(oldYear + k + 1, end));
        rs.update();
    }
}

std::optional<QString> retentionEntry() {
    Recordset rs("マスタ");
    rs.setIndex("Key_マスタ");
    rs.seek(Seek::AtLeast, {"010"});
    if (rs.eof() || rs.text("マ_番号") != "010") return std::nullopt;
    return rs.text("マ_名称");
}

void runTermEnd(const TermEndRun& run, Progress* progress) {
    // Nobody else writes into the school while its years move.
    db().lockSchoolExclusively();
    rollBusinessYear(run.oldYear, run.start, run.end);
    if (progress) progress->advance();
    const auto& tables = yearTables();
    for (int i = 0; i < kCarriedTables; ++i) {
        if (!run.carry[i]) continue;
        if (progress)
            progress->setLabel(
                QStringLiteral("%1を移行しています…").arg(QString::fromUtf8(tables[i].caption)));
        carryOver(tables[i], run.oldYear, progress);
        if (progress) progress->advance();
    }
    const int limit = run.oldYear - run.retention;
    for (int i = 0; i < kDeletedTables; ++i) {
        if (!run.remove[i]) continue;
        if (progress)
            progress->setLabel(
                QStringLiteral("%1を削除しています…").arg(QString::fromUtf8(tables[i].caption)));
        deleteBefore(tables[i], limit, progress);
        if (progress) progress->advance();
    }
}
