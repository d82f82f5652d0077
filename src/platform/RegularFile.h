#pragma once
// Reading the files the program is given (Address.ini, the rasters, the icons, the help
// document): only regular files, or links to them, are opened. A FIFO, a device, a socket or a
// folder under such a name is refused at once with a message, since opening or reading it could
// wait for ever.
#include <QFile>
#include <QString>

namespace RegularFile {

// Opens `file` (its fileName()) for reading. Throws Error("\"<shownName>\" is not a regular
// file") for anything but a regular file; returns false with `reason` set to the system's words
// when there is no file to open or it may not be read.
bool open(QFile &file, const QString &shownName, QString *reason = nullptr);

// Throws the same Error when something other than a regular file stands at `path` (a link is
// followed); a missing path passes.
void require(const QString &path, const QString &shownName);

} // namespace RegularFile
