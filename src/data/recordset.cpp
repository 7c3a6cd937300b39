#include "data/recordset.h"

Recordset::Recordset(const QString& table) : db_(Database::current()), meta_(db_.table(table)) {
    meta_.cursors.push_back(this);
    row_.resize(meta_.columns.size());
}

Recordset::Recordset(const char* table) : db_(Database::current()), meta_(db_.table(table)) {
    meta_.cursors.push_back(this);
    row_.resize(meta_.columns.size());
}

Recordset::~Recordset() {
    std::erase(meta_.cursors, this);
}

const IndexMeta& Recordset::index() const {
    if (!index_)
        throw DbError(QStringLiteral("表「%1」でインデックスが選ばれていません").arg(meta_.name));
    return *index_;
}

void Recordset::setIndex(const QString& name) {
    useIndex(meta_.index(name));
}
void Recordset::setIndex(const char* name) {
    useIndex(meta_.index(name));
}

void Recordset::useIndex(const IndexMeta& ix) {
    index_ = &ix;
    live_.release();
    positioned_ = hasCurrent_ = false;
    noMatch_ = eof_ = true;
}

void Recordset::seek(Seek op, const std::vector<Value>& keys) {
    const IndexMeta& ix = index();
    meta_.checkKeys(ix, keys);
    cancelUpdate();
    // An exact look-up reads only the matching records; a move past them goes on from the
    // position in index order, as after any seek.
    equalOnly_ = op == Seek::Equal;
    prefixOnly_ = false;
    prefix_.clear();
    live_ = db_.prepare(equalOnly_ ? ix.equalIds[keys.size()] : ix.fromIds[keys.size()]);
    for (size_t i = 0; i < keys.size(); ++i) live_.bind(int(i) + 1, keys[i]);
    liveGeneration_ = meta_.generation;
    scanSeq_ = db_.writeSequence();

    positioned_ = false;
    const bool found = fetch();
    eof_ = !found && op == Seek::AtLeast;
    noMatch_ = !found;
}

void Recordset::seekPrefix(const std::vector<Value>& keys, int matching) {
    const size_t n = matching < 0 ? keys.size() : size_t(matching);
    // The whole key given: the engine reads just the matching records.
    seek(n == keys.size() ? Seek::Equal : Seek::AtLeast, keys);
    prefix_.assign(keys.begin(), keys.begin() + std::min(n, keys.size()));
    prefixOnly_ = equalOnly_;
}

bool Recordset::inPrefix() const {
    if (!hasCurrent_ || eof_) return false;
    for (size_t i = 0; i < prefix_.size(); ++i)
        if (rowValue(index_->columns[i]) != prefix_[i]) return false;
    return true;
}

void Recordset::startAfterPosition() {
    live_ = db_.prepare(index().afterId);
    for (size_t i = 0; i < position_.size(); ++i) live_.bind(int(i) + 1, position_[i]);
    liveGeneration_ = meta_.generation;
}

bool Recordset::fetch() {
    const IndexMeta& ix = index();
    for (;;) {
        while (live_.step()) {
            const qint64 rowid = live_.columnInt(0);
            if (Database::addedOrMovedSince(meta_, rowid, scanSeq_, ix.mask)) continue;
            rowid_ = rowid;
            loaded_ = 0;
            hasCurrent_ = positioned_ = true;
            return true;
        }
        if (!live_.pagedOut()) break;
        // The page is read through: the next one starts after its last record.
        position_.resize(ix.columns.size() + 1);
        for (size_t i = 0; i < ix.columns.size(); ++i)
            position_[i] = live_.column(ix.columns[i] + 1, meta_.types[ix.columns[i]]);
        position_.back() = Value(live_.columnInt(0));
        equalOnly_ = false;
        startAfterPosition();
    }
    live_.release();
    hasCurrent_ = false;
    return false;
}

void Recordset::capturePosition() {
    const IndexMeta& ix = index();
    position_.resize(ix.columns.size() + 1);
    for (size_t i = 0; i < ix.columns.size(); ++i) position_[i] = rowValue(ix.columns[i]);
    position_.back() = Value(rowid_);
}

void Recordset::detachFromEngine() {
    if (!hasCurrent_ || !live_) return;
    for (int i = 0; i < meta_.columns.size(); ++i) rowValue(i);
    capturePosition();
    // The statement is done with; the next move starts afresh from the position.
    live_.release();
}

void Recordset::moveNext() {
    if (!positioned_ || (noMatch_ && !hasCurrent_))
        throw DbError(QStringLiteral("表「%1」に現在のレコードがありません").arg(meta_.name));
    if (eof_) return;
    cancelUpdate();
    // A prefix scan read through the records of its prefix has nothing more to give.
    if (prefixOnly_ && live_ && liveGeneration_ == meta_.generation) {
        if (!fetch()) {
            eof_ = true;
            prefixOnly_ = false;
        }
        return;
    }
    prefixOnly_ = false;
    // Any write to the table since the statement started may have changed what follows the
    // position, so the statement restarts from the position instead of running on (the write
    // detached this record set first, which left the position behind).
    if (!live_ || liveGeneration_ != meta_.generation || equalOnly_) {
        if (live_ && hasCurrent_) capturePosition();
        equalOnly_ = false;
        startAfterPosition();
    }
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
    for (int i = 0; i < meta_.columns.size(); ++i) rowValue(i);
    buffer_ = row_;
    editing_ = Editing::Editing;
}

void Recordset::setColumn(int c, const Value& v) {
    const QString& field = meta_.columns[c];
    if (editing_ == Editing::None)
        throw DbError(QStringLiteral("表「%1」のレコードが編集中ではありません").arg(meta_.name));
    if (meta_.types[c] == FieldType::Integer) {
        if (v.isText()) {
            // Only a text with nothing in it stands for the default 0; blanks are something the
            // user typed, and storing them as 0 would hide it.
            bool ok = false;
            const qint64 n = v.toText().trimmed().toLongLong(&ok);
            if (!ok && !v.toText().isEmpty())
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
    db_.beforeFirstWrite();
    meta_.beforeWrite();
    const int n = meta_.columns.size();
    if (editing_ == Editing::Adding) {
        Statement ins = db_.prepare(meta_.insertId);
        for (int i = 0; i < n; ++i) ins.bind(i + 1, buffer_[i]);
        ins.step();
        const qint64 rowid = db_.insertedRowid(ins);
        db_.noteWrite(meta_, rowid, ~std::uint64_t(0));
    } else {
        std::uint64_t changed = 0;
        for (int i = 0; i < n; ++i)
            if (buffer_[i] != row_[i]) changed |= std::uint64_t(1) << i;
        Statement up = db_.prepare(meta_.updateId);
        for (int i = 0; i < n; ++i) up.bind(i + 1, buffer_[i]);
        up.bind(n + 1, Value(rowid_));
        for (int i = 0; i < n; ++i) up.bind(n + 2 + i, row_[i]);
        up.exec();
        if (up.changes() == 0) throw DbError(kChangedText, DbError::Kind::Changed);
        // Only a changed key field moves the record; other edits leave it where the scans
        // expect it.
        db_.noteWrite(meta_, rowid_, changed & meta_.keyMask);
        row_ = buffer_;
        loaded_ = ~std::uint64_t(0);
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
    db_.beforeFirstWrite();
    // The record goes: of its fields only its place in the index is kept, to go on from, so a
    // scan that deletes as it goes reads no more than the keys of what it deletes.
    if (live_ && index_) {
        for (int c : index_->columns) rowValue(c);
        capturePosition();
        live_.release();
    }
    meta_.beforeWrite();
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
    return rowValue(c);
}

const Value& Recordset::rowValue(int c) const {
    const std::uint64_t bit = std::uint64_t(1) << c;
    if (!(loaded_ & bit)) {
        row_[c] = live_.column(c + 1, meta_.types[c]);
        loaded_ |= bit;
    }
    return row_[c];
}
