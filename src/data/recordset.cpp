#include "data/recordset.h"

#include <sqlite3.h>

Recordset::Recordset(const QString& table) : db_(Database::current()), meta_(db_.table(table)) {}

const IndexMeta& Recordset::index() const {
    if (!index_)
        throw DbError(QStringLiteral("表「%1」でインデックスが選ばれていません").arg(meta_.name));
    return *index_;
}

void Recordset::setIndex(const QString& name) {
    index_ = &meta_.index(name);
    live_.release();
    positioned_ = hasCurrent_ = false;
    noMatch_ = eof_ = true;
}

void Recordset::seek(Seek op, const std::vector<Value>& keys) {
    const IndexMeta& ix = index();
    if (keys.size() > ix.columns.size())
        throw DbError(QStringLiteral("インデックス「%1」のキーは %2 項目です")
                          .arg(ix.name)
                          .arg(ix.columns.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        const int c = ix.columns[i];
        if (keys[i].isInt() != (meta_.types[c] == FieldType::Integer))
            throw DbError(QStringLiteral("インデックス「%1」の「%2」に型の違う値 %3 が渡されました")
                              .arg(ix.name, meta_.columns[c], keys[i].describe()));
    }
    cancelUpdate();
    live_ = db_.prepare(ix.fromIds[keys.size()]);
    for (size_t i = 0; i < keys.size(); ++i) live_.bind(int(i) + 1, keys[i]);
    liveGeneration_ = meta_.generation;
    scanSeq_ = db_.writeSequence();

    positioned_ = false;
    const bool found = fetch();
    eof_ = !found;
    noMatch_ = !found;
    if (found && op == Seek::Equal) {
        for (size_t i = 0; i < keys.size(); ++i)
            if (row_[ix.columns[i]] != keys[i]) {
                noMatch_ = true;
                break;
            }
        // An exact look-up that missed leaves no current record.
        if (noMatch_) hasCurrent_ = false;
    }
}

void Recordset::startAfterPosition() {
    live_ = db_.prepare(index().afterId);
    for (size_t i = 0; i < position_.size(); ++i) live_.bind(int(i) + 1, position_[i]);
    liveGeneration_ = meta_.generation;
}

bool Recordset::fetch() {
    const IndexMeta& ix = index();
    while (live_.step()) {
        const qint64 rowid = live_.columnInt(0);
        if (Database::addedOrMovedSince(meta_, rowid, scanSeq_, ix.mask)) continue;
        rowid_ = rowid;
        loadRow();
        return true;
    }
    live_.release();
    hasCurrent_ = false;
    return false;
}

void Recordset::loadRow() {
    const int n = meta_.columns.size();
    row_.resize(n);
    for (int i = 0; i < n; ++i) row_[i] = live_.column(i + 1, meta_.types[i]);
    const IndexMeta& ix = index();
    position_.resize(ix.columns.size() + 1);
    for (size_t i = 0; i < ix.columns.size(); ++i) position_[i] = row_[ix.columns[i]];
    position_.back() = Value(rowid_);
    hasCurrent_ = positioned_ = true;
}

void Recordset::moveNext() {
    if (!positioned_ || (noMatch_ && !hasCurrent_))
        throw DbError(QStringLiteral("表「%1」に現在のレコードがありません").arg(meta_.name));
    if (eof_) return;
    cancelUpdate();
    // Any write to the table since the statement started may have changed what follows the
    // position, so the statement restarts from the position instead of running on.
    if (!live_ || liveGeneration_ != meta_.generation) startAfterPosition();
    if (!fetch()) eof_ = true;
}

void Recordset::addNew() {
    db_.requireOperation();
    buffer_.assign(meta_.columns.size(), Value());
    for (int i = 0; i < meta_.columns.size(); ++i)
        buffer_[i] = meta_.types[i] == FieldType::Integer ? Value(0) : Value(QString());
    editing_ = Editing::Adding;
}

void Recordset::edit() {
    db_.requireOperation();
    if (!hasCurrent_)
        throw DbError(QStringLiteral("表「%1」に編集するレコードがありません").arg(meta_.name));
    buffer_ = row_;
    editing_ = Editing::Editing;
}

void Recordset::setColumn(int c, const Value& v) {
    const QString& field = meta_.columns[c];
    if (editing_ == Editing::None)
        throw DbError(QStringLiteral("表「%1」のレコードが編集中ではありません").arg(meta_.name));
    if (meta_.types[c] == FieldType::Integer) {
        if (v.isText()) {
            bool ok = false;
            const qint64 n = v.toText().trimmed().toLongLong(&ok);
            if (!ok && !v.toText().trimmed().isEmpty())
                throw DbError(QStringLiteral("「%1」には数値を入れてください（%2）")
                                  .arg(field, v.describe()));
            buffer_[c] = Value(n);
            return;
        }
        buffer_[c] = v;
    } else {
        buffer_[c] = Value(v.toText());
    }
}

void Recordset::update() {
    if (editing_ == Editing::None)
        throw DbError(QStringLiteral("表「%1」のレコードが編集中ではありません").arg(meta_.name));
    db_.requireOperation();
    const int n = meta_.columns.size();
    if (editing_ == Editing::Adding) {
        Statement ins = db_.prepare(meta_.insertId);
        for (int i = 0; i < n; ++i) ins.bind(i + 1, buffer_[i]);
        ins.exec();
        db_.noteWrite(meta_, sqlite3_last_insert_rowid(db_.handle()), ~std::uint64_t(0));
    } else {
        std::uint64_t changed = 0;
        for (int i = 0; i < n; ++i)
            if (buffer_[i] != row_[i]) changed |= std::uint64_t(1) << i;
        Statement up = db_.prepare(meta_.updateId);
        for (int i = 0; i < n; ++i) up.bind(i + 1, buffer_[i]);
        up.bind(n + 1, Value(rowid_));
        up.exec();
        // Only a changed key field moves the record; other edits leave it where the scans
        // expect it.
        db_.noteWrite(meta_, rowid_, changed & meta_.keyMask);
        row_ = buffer_;
    }
    editing_ = Editing::None;
    buffer_.clear();
}

void Recordset::cancelUpdate() {
    editing_ = Editing::None;
    buffer_.clear();
}

void Recordset::remove() {
    db_.requireOperation();
    if (!hasCurrent_)
        throw DbError(QStringLiteral("表「%1」に削除するレコードがありません").arg(meta_.name));
    cancelUpdate();
    Statement del = db_.prepare(meta_.deleteId);
    del.bind(1, Value(rowid_));
    del.exec();
    db_.noteWrite(meta_, rowid_, 0);
    hasCurrent_ = false;
}

const Value& Recordset::columnValue(int c) const {
    if (editing_ != Editing::None) return buffer_[c];
    if (!hasCurrent_)
        throw DbError(QStringLiteral("表「%1」に現在のレコードがありません（「%2」を読めません）")
                          .arg(meta_.name, meta_.columns[c]));
    return row_[c];
}
