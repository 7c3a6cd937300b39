#pragma once

#include <QLibrary>
#include <QString>

// Parts of the program that only some users need (the database server's client library, the
// second search engine of the generator) live in modules of their own, loaded on first use: the
// dynamic loader would otherwise map them, and everything they bring, on every start.
//
// A module is looked for beside the program (the build folder, Windows) and in the program's
// private library folder of the installed package.

// The entry `symbol` of `module` ("jikanwari-postgres"), loaded once and kept for the life of the
// process; null when it cannot be loaded, `error` then saying why in the user's words.
QFunctionPointer moduleEntry(const QString& module, const char* symbol, QString* error);

// A program that links a module's code in (the tests do) names the entry here, and moduleEntry
// then returns it without loading anything.
bool linkModuleEntry(const QString& module, QFunctionPointer entry);
