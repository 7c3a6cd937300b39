#include "bench/large_school.h"

#include <QDir>
#include <QTemporaryDir>

#include "data/database.h"
#include "data/new_database.h"
#include "newdb/sample_school.h"

void openLargeSchool() {
    static QTemporaryDir dir;
    static bool ready = false;
    if (ready) return;
    QDir::setCurrent(dir.path());
    createNewDatabase(kDatabaseFile);
    fillLargeSchool(kYear);
    ready = true;
}
