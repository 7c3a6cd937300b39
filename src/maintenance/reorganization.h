#pragma once

#include <QString>
#include <QStringList>

#include "data/database.h"

class Progress;
class Screen;

// The tables a reorganization rebuilds, in its order (the work table WK時割変 is left alone).
const QStringList& reorganizedTables();

// Empties every table of the open database and refills it from the backup in primary-key order,
// deriving the short and display names from the full names and marking "HR" lessons as lessons
// outside the registered subjects. Runs inside the caller's operation: a missing table or field
// in the backup throws DbError naming it, and the caller's rollback leaves everything as it was.
void rebuildFromBackup(const QString& backupPath, Progress* progress = nullptr);

// DB再編成: the menu button's action. Asks whether the backup is ready, rebuilds from it and
// reports, under the title of the action. On a server it writes the backup itself, from the
// server's database, and rebuilds from it in the same operation.
void DB再編成(Screen& screen);
