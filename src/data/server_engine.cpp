// The way to the server engine's module: programs and machines that only ever use the file never
// load libpq and the security libraries it brings.

#include "data/database.h"
#include "data/engine.h"
#include "data/module_loader.h"

namespace {

const ServerEngineEntry& serverEngine() {
    QString error;
    const auto entry = reinterpret_cast<const ServerEngineEntry* (*)()>(
        moduleEntry(kServerEngineModule, "jikanwariServerEngine", &error));
    if (!entry)
        throw DbError(QStringLiteral("この端末にはデータベースサーバーにつなぐ部品が"
                                     "入っていないため、サーバーのデータベースは使えません。\n%1")
                          .arg(error));
    return *entry();
}

}  // namespace

std::unique_ptr<Engine> openServerEngine(const QString& location) {
    return std::unique_ptr<Engine>(serverEngine().open(location));
}

void createServerDatabase(const QString& location) {
    serverEngine().create(location);
}
