#pragma once

#include <QDate>

class メニュ;

// Opens 時間割.mdb in the working directory and builds the main menu (not yet shown). When the
// file is missing or is not a database of this program, tells the user which file and how to
// create one, and returns nullptr: the program then ends with a non-zero exit code.
メニュ* startUp(const QDate& today);
