#include "platform/FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace FileLookup {

QString find(const QString &path)
{
    QString normalised = path;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo::exists(normalised))
        return normalised;

    const bool absolute = normalised.startsWith(QLatin1Char('/'));
    const QStringList parts = normalised.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const QDir dir(resolved.isEmpty() ? QStringLiteral(".") : resolved);
        QString match;
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            match = part;
        } else if (QFileInfo::exists(dir.filePath(part))) {
            match = part;
        } else {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
        }
        if (match.isEmpty())
            return normalised;
        if (!resolved.isEmpty() && !resolved.endsWith(QLatin1Char('/')))
            resolved += QLatin1Char('/');
        resolved += match;
    }
    return resolved.isEmpty() ? normalised : resolved;
}

} // namespace FileLookup
