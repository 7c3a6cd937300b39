#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// Writes a whole file, or nothing: the bytes go to a temporary file beside `path`, which replaces
// the old file only once every byte has been written and flushed. On failure the old file is as
// it was and `error` (when given) says why in the user's words, a full disk as such.
bool saveFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// For tests: how many bytes the disk still takes (a negative value: no limit). A write beyond it
// fails as on a full disk.
void setDiskSpaceForTests(qint64 bytes);
