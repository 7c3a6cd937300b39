#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "data/database.h"

class メニュ;

// The settings file of a workstation, in the working directory: a line "database=LOCATION"
// points it at the school's database on a server ('#' starts a comment line).
inline const QString kSettingsFile = QStringLiteral("時間割.ini");

// Where the school's database is: `--database LOCATION` among the program's arguments, else the
// settings file, else 時間割.mdb in the working directory. Throws DbError for an argument
// without its location.
QString databaseLocation(const QStringList& arguments);

// Opens the database (by default 時間割.mdb in the working directory) and builds the main menu
// (not yet shown). When it is missing or is not a database of this program, tells the user which
// one and how to create one, and returns nullptr: the program then ends with a non-zero exit
// code.
メニュ* startUp(const QDate& today, const QString& location = kDatabaseFile);
