#include "ui/file_save.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include "data/database.h"

namespace {

qint64 g_diskSpace = -1;

// A buffered write fails only when the buffer reaches the disk, and the device's own text ("No
// space left on device") is the system's: look at the disk itself to name a full one.
QString whyNot(const QSaveFile& file, const QString& path, qint64 needed, bool injectedFull) {
    if (injectedFull) return kDiskFullText;
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() < needed) return kDiskFullText;
    return file.errorString();
}

}  // namespace

void setDiskSpaceForTests(qint64 bytes) {
    g_diskSpace = bytes;
}

bool saveFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const auto fail = [&](bool injectedFull) {
        if (error) *error = whyNot(file, path, bytes.size(), injectedFull);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) return fail(false);
    const bool fits = g_diskSpace < 0 || bytes.size() <= g_diskSpace;
    const QByteArray written = fits ? bytes : bytes.left(g_diskSpace);
    if (file.write(written) != written.size() || !file.flush()) return fail(false);
    if (!fits) return fail(true);
    if (!file.commit()) {
        if (error) *error = whyNot(file, path, bytes.size(), false);
        return false;
    }
    return true;
}
