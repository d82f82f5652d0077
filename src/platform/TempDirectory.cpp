#include "platform/TempDirectory.h"

#include "common/Errors.h"

#include <QDir>
#include <QFileInfo>

QString TempDirectory()
{
    const QString path = QDir::tempPath();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isWritable())
        throw Error(QStringLiteral("Could not find temporary path"));
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
