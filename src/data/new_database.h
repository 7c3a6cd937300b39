#pragma once

#include <vector>

#include <QString>

// A new database in the making, a file or a database on a server: created with every table and
// index and opened as the process connection, with one operation running that holds everything
// written until commit(). Without commit() (an error on the way) nothing is left: the server
// database is as it was, since its tables belong to the same transaction, and a new file is
// removed. Refuses an existing file or a server database that has the tables (DbError, nothing
// touched).
class NewDatabase {
public:
    // `itemLabels`: whether the standard item labels are stored (a school moved from its file
    // brings its own).
    explicit NewDatabase(const QString& path, bool itemLabels = true);
    ~NewDatabase();
    NewDatabase(const NewDatabase&) = delete;
    NewDatabase& operator=(const NewDatabase&) = delete;
    void commit();

private:
    void abandon() noexcept;
    bool removeFile_;
    QString path_;
    bool done_ = false;
};

// Creates a new database with the standard item labels and opens it as the process connection.
void createNewDatabase(const QString& path);

// The item labels a new database starts with: item number, label, and the message the item
// names a missing or wrong input with (the item name screen requires one for every item).
struct ItemLabel {
    const char* number;
    const char* label;
    const char* message;
};
const std::vector<ItemLabel>& standardItemLabels();
