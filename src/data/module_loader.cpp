#include "data/module_loader.h"

#include <map>
#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

struct Loaded {
    QFunctionPointer entry = nullptr;
    QString error;
};

std::mutex g_mutex;

std::map<QString, Loaded>& modules() {
    static std::map<QString, Loaded> m;
    return m;
}

// Where a module may be: beside the program, then the package's private folder, found from the
// program's own folder (so that an installation under any prefix works) and at the path it was
// built for.
QStringList moduleFolders() {
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QDir program(QCoreApplication::applicationDirPath());
        folders << program.path() << QDir::cleanPath(program.filePath(JIKANWARI_MODULE_SUBDIR));
    }
    folders << QStringLiteral(JIKANWARI_MODULE_DIR);
    folders.removeDuplicates();
    return folders;
}

Loaded load(const QString& module, const char* symbol) {
    Loaded result;
    const QStringList folders = moduleFolders();
    for (const QString& folder : folders) {
        const QString file = QDir(folder).filePath(module + QStringLiteral(JIKANWARI_MODULE_SUFFIX));
        if (!QFileInfo::exists(file)) continue;
        // Kept loaded: the QLibrary object going out of scope does not unload it.
        QLibrary library(file);
        if (library.load()) result.entry = library.resolve(symbol);
        if (!result.entry)
            result.error = QStringLiteral("部品「%1」を読み込めません（%2）")
                               .arg(QDir::toNativeSeparators(file), library.errorString());
        return result;
    }
    result.error = QStringLiteral("部品「%1」が見つかりません（探した場所: %2）")
                       .arg(module + QStringLiteral(JIKANWARI_MODULE_SUFFIX),
                            QDir::toNativeSeparators(folders.join(QStringLiteral("、"))));
    return result;
}

}  // namespace

QFunctionPointer moduleEntry(const QString& module, const char* symbol, QString* error) {
    std::lock_guard lock(g_mutex);
    auto it = modules().find(module);
    if (it == modules().end()) it = modules().emplace(module, load(module, symbol)).first;
    if (!it->second.entry && error) *error = it->second.error;
    return it->second.entry;
}

bool linkModuleEntry(const QString& module, QFunctionPointer entry) {
    std::lock_guard lock(g_mutex);
    modules()[module] = Loaded{entry, {}};
    return true;
}
