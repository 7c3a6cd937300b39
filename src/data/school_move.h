#pragma once

#include <utility>
#include <vector>

#include <QString>

// Moves a school from its database file to a new database on a server in one step: every table
// and index, then every record of every table, in one transaction. The record counts of each
// table are compared before it commits, so the server holds either the whole school or nothing. Returns the tables and their record counts. Throws
// DbError (a server database that already has the tables is left as it was).
std::vector<std::pair<QString, qint64>> moveSchoolToServer(const QString& file,
                                                           const QString& location);
