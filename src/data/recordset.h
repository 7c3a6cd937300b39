#pragma once

#include <initializer_list>
#include <vector>

#include "data/database.h"

// A table opened as an indexed record set, the one way the program reads and writes records:
//
//   Recordset rs("組時間割");
//   rs.setIndex("Key_時間割");
//   for (rs.seekPrefix({year, dept, grade, course, klass}); rs.inPrefix(); rs.moveNext()) ...
//
// A seek takes a prefix of the index's key values; each value has the field's type (integers
// for years, grades, weekdays, periods, selection numbers and flags, texts for everything else).
// Texts order by their bytes: "10" comes before "2", and "1" and "001" are different keys.
//
// Writing during a scan: the scan continues after the key it stood on, so editing other fields of
// the current record or deleting it neither skips nor repeats a record. Records that the same
// operation adds, or whose key in this index it changes, after the seek are not visited by that
// scan; a copy that writes into the key range it reads therefore never runs after its own output.
enum class Seek { Equal, AtLeast };  // "=" and ">="

class Recordset {
public:
    explicit Recordset(const QString& table);
    explicit Recordset(const char* table);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void setIndex(const QString& name);
    void setIndex(const char* name);
    void seek(Seek op, std::initializer_list<Value> keys) { seek(op, std::vector<Value>(keys)); }
    void seek(Seek op, const std::vector<Value>& keys);

    // A scan of a key range: seeks ">=" the key values, and inPrefix() holds for every record
    // whose first `matching` key values (all of them by default) are those, read in index order.
    // After the last of them the record set stands on no record.
    void seekPrefix(std::initializer_list<Value> keys, int matching = -1) {
        seekPrefix(std::vector<Value>(keys), matching);
    }
    void seekPrefix(const std::vector<Value>& keys, int matching = -1);
    bool inPrefix() const;

    // After "=": no record has the given key values. After ">=": nothing at or after them.
    bool noMatch() const { return noMatch_; }
    // Moved past the last record of the index (also true when a seek found nothing).
    bool eof() const { return eof_; }
    bool hasCurrent() const { return hasCurrent_; }
    void moveNext();

    // Writing. addNew() starts a new record with the table's defaults (0 and ""), edit() starts
    // editing the current one; set() assigns fields; update() stores. After update() of a new
    // record the current record is the one that was current before addNew().
    void addNew();
    void edit();
    void set(const QString& field, const Value& v) { setColumn(meta_.column(field), v); }
    void set(const char* field, const Value& v) { setColumn(meta_.column(field), v); }
    void update();
    void cancelUpdate();
    void remove();  // deletes the current record; moveNext() goes on with the one after it

    // Fields by name; a name the table does not have is an engine error that names it.
    const Value& value(const QString& field) const { return columnValue(meta_.column(field)); }
    const Value& value(const char* field) const { return columnValue(meta_.column(field)); }
    QString text(const QString& field) const { return value(field).toText(); }
    QString text(const char* field) const { return value(field).toText(); }
    int integer(const QString& field) const { return static_cast<int>(value(field).toInt()); }
    int integer(const char* field) const { return static_cast<int>(value(field).toInt()); }

    const QString& tableName() const { return meta_.name; }
    const QStringList& fieldNames() const { return meta_.columns; }

    // Takes the current record fully out of the engine's statement, which is about to change
    // (the table is written or the operation rolled back).
    void detachFromEngine();

private:
    enum class Editing { None, Adding, Editing };

    const IndexMeta& index() const;
    const Value& columnValue(int c) const;  // the edit buffer while editing
    const Value& rowValue(int c) const;     // the record as stored
    void setColumn(int c, const Value& v);
    void useIndex(const IndexMeta& ix);
    void capturePosition();
    void startAfterPosition();
    bool fetch();  // next acceptable row of the live statement becomes the current record

    Database& db_;
    TableMeta& meta_;
    const IndexMeta* index_ = nullptr;

    Statement live_;
    std::uint64_t liveGeneration_ = 0;
    std::uint64_t scanSeq_ = 0;

    bool positioned_ = false;  // a key position exists to continue from
    bool equalOnly_ = false;   // the statement reads only the records an exact seek asked for
    bool prefixOnly_ = false;  // ... and the scan wants no more than those
    std::vector<Value> prefix_;
    bool noMatch_ = true;
    bool eof_ = true;
    bool hasCurrent_ = false;
    qint64 rowid_ = 0;
    // The current record; fields are read from the statement when first asked for.
    mutable std::vector<Value> row_;
    mutable std::uint64_t loaded_ = 0;
    std::vector<Value> position_;  // index values of the position, then the row id

    Editing editing_ = Editing::None;
    std::vector<Value> buffer_;
};
