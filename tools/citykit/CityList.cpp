#include "citykit/CityList.h"

#include "common/Errors.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <functional>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace CityList {

namespace {

const QByteArray Heading = "# The files and folders a Kvirzeta city tool wrote here; a new city replaces these and nothing else.\n";
constexpr qint64 MaxListBytes = 1024 * 1024;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A path the list may hold: relative, clean, and inside the folder.
bool isInside(const QString &entry)
{
    return !entry.isEmpty() && !entry.startsWith(QLatin1Char('/')) && QDir::cleanPath(entry) == entry
           && entry != QLatin1String("..") && !entry.startsWith(QLatin1String("../")) && entry != QLatin1String(".");
}

struct List {
    bool present = false;
    QString problem; // why the list cannot be used, when it cannot
    QSet<QString> entries;
};

List read(const QString &folder)
{
    List list;
    const QString path = QDir(folder).filePath(QLatin1String(FileName));
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return list;
    list.present = true;
    QFile file(path);
    try {
        if (S_ISLNK(info.st_mode) || !RegularFile::open(file, QLatin1String(FileName), &list.problem)) {
            if (list.problem.isEmpty())
                list.problem = QStringLiteral("it is a link");
            return list;
        }
    } catch (const Error &e) {
        list.problem = e.text();
        return list;
    }
    const QByteArray bytes = file.read(MaxListBytes + 1);
    if (bytes.size() > MaxListBytes) {
        list.problem = QStringLiteral("it is far larger than a list of a city's files");
        return list;
    }
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QString entry = QString::fromUtf8(line);
        if (!isInside(entry)) {
            list.problem = QStringLiteral("it names %1, which is no file of the city").arg(entry);
            list.entries.clear();
            return list;
        }
        list.entries.insert(entry);
    }
    return list;
}

// The first entry of the tree below `folder` (depth first, in name order) that `keep` does not
// accept, as a path relative to the folder; `unreadable` is set when a folder of the tree cannot
// be looked into (that folder is then the answer).
QString firstRefused(const QString &folder, const QString &relative, const std::function<bool(const QString &)> &keep,
                     bool *unreadable)
{
    const QString path = relative.isEmpty() ? folder : folder + QLatin1Char('/') + relative;
    if (::access(QFile::encodeName(path).constData(), R_OK | X_OK) != 0) {
        *unreadable = true;
        return relative;
    }
    const QStringList names = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                   QDir::Name);
    for (const QString &name : names) {
        const QString entry = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if (!keep(entry))
            return entry;
        struct stat info {};
        const QString full = folder + QLatin1Char('/') + entry;
        if (::lstat(QFile::encodeName(full).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
            const QString inner = firstRefused(folder, entry, keep, unreadable);
            if (!inner.isEmpty())
                return inner;
        }
    }
    return QString();
}

} // namespace

void write(const QString &folder, const QStringList &entries, const QString &shownFolder)
{
    QByteArray text = Heading;
    for (const QString &entry : entries)
        text += entry.toUtf8() + '\n';
    QSaveFile file(QDir(folder).filePath(QLatin1String(FileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw std::runtime_error(QStringLiteral("Cannot write the list of the city's files for %1: %2")
                                     .arg(shown(shownFolder), file.errorString())
                                     .toStdString());
}

QString whyNotReplaceable(const QString &folder, const QString &shownFolder)
{
    const List list = read(folder);
    if (!list.problem.isEmpty())
        return QStringLiteral("%1 holds a list of a city's files (%2) that cannot be used: %3. Nothing in the folder is "
                              "replaced; empty it, or choose another folder.")
            .arg(shown(shownFolder), QLatin1String(FileName), list.problem);
    bool unreadable = false;
    const QString first = firstRefused(
        folder, QString(),
        [&](const QString &entry) { return entry == QLatin1String(FileName) || list.entries.contains(entry); },
        &unreadable);
    if (unreadable)
        return QStringLiteral("%1 cannot be looked into, so nothing in %2 is replaced. Choose another folder.")
            .arg(shown(first.isEmpty() ? shownFolder : shownFolder + QLatin1Char('/') + first), shown(shownFolder));
    if (first.isEmpty())
        return QString();
    if (!list.present)
        return QStringLiteral("%1 is not empty and is no city made by a Kvirzeta city tool (it has no %2): nothing in it "
                              "is replaced, beginning with %3. Move what it holds elsewhere (a city made by an earlier "
                              "version too), or choose another folder.")
            .arg(shown(shownFolder), QLatin1String(FileName), shown(first));
    return QStringLiteral("%1 holds %2, which is not part of the city made there: nothing in the folder is replaced. Move "
                          "%2 out of it, or choose another folder.")
        .arg(shown(shownFolder), shown(first));
}

bool isWholeCity(const QString &folder)
{
    return read(folder).present && whyNotReplaceable(folder, folder).isEmpty();
}

QString removeListed(const QString &folder)
{
    const List list = read(folder);
    // The deepest first, so that a folder is emptied of what it holds before it is removed.
    QStringList entries(list.entries.cbegin(), list.entries.cend());
    std::sort(entries.begin(), entries.end(), [](const QString &a, const QString &b) {
        const qsizetype da = a.count(QLatin1Char('/')), db = b.count(QLatin1Char('/'));
        return da != db ? da > db : a < b;
    });
    for (const QString &entry : entries) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + entry);
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            continue;
        // A folder that still holds something stays; a link is removed, never what it points to.
        if (S_ISDIR(info.st_mode))
            ::rmdir(path.constData());
        else
            ::unlink(path.constData());
    }
    if (list.problem.isEmpty())
        ::unlink(QFile::encodeName(QDir(folder).filePath(QLatin1String(FileName))).constData());
    if (::rmdir(QFile::encodeName(folder).constData()) == 0 || errno == ENOENT)
        return QString();
    const int error = errno;
    bool unreadable = false;
    const QString left = firstRefused(folder, QString(), [](const QString &) { return false; }, &unreadable);
    return left.isEmpty() ? QString::fromLocal8Bit(std::strerror(error)) : left;
}

} // namespace CityList
