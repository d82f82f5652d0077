#include "platform/MimeHandlers.h"

#include "common/Errors.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace MimeHandlers {
namespace {

// True when a line "key=...;mimeType;..." or "mimeType=app.desktop;" of the file names the type.
bool fileListsType(const QString &path, const QString &mimeType, bool keyIsType)
{
    QFile file(path);
    try {
        if (!RegularFile::open(file, path))
            return false;
    } catch (const Error &) {
        return false; // a FIFO or a device in the desktop's folders lists nothing
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (keyIsType) {
            if (key == mimeType && !value.isEmpty())
                return true;
        } else if (key == QLatin1String("MimeType")) {
            if (value.split(QLatin1Char(';'), Qt::SkipEmptyParts).contains(mimeType))
                return true;
        }
    }
    return false;
}

} // namespace

bool hasApplicationFor(const QString &mimeType)
{
    const QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString &dir : dirs) {
        const QDir applications(dir);
        if (fileListsType(applications.filePath(QStringLiteral("mimeinfo.cache")), mimeType, true)
            || fileListsType(applications.filePath(QStringLiteral("mimeapps.list")), mimeType, true))
            return true;
        const QStringList entries = applications.entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString &entry : entries)
            if (fileListsType(applications.filePath(entry), mimeType, false))
                return true;
    }
    return false;
}

} // namespace MimeHandlers
