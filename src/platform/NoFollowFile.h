#pragma once
// Writing a file without following a symbolic link planted under its name: such a link, or
// anything else that is not a regular file, is refused instead of written through.
#include <QByteArray>
#include <QString>

namespace NoFollowFile {
// Replaces the content of the file at `path` with `bytes`, creating it readable by its owner
// alone when it does not exist. Throws Error naming the file when it cannot be written.
void write(const QString &path, const QByteArray &bytes);
} // namespace NoFollowFile
