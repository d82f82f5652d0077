#include "citykit/CityReplacement.h"

#include "citykit/CityList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file in the hidden folder while a run writes it, locked by that run: a hidden folder whose
// mark nobody holds was left by a run that ended before it was done.
constexpr const char *MarkFile = ".kvirzeta-work";

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

bool lstatOf(const QString &path, struct stat *info)
{
    return ::lstat(encoded(path).constData(), info) == 0;
}

// True when the mark in `folder` is there and no running program holds it.
bool markIsFree(const QString &folder)
{
    const int fd = ::open(encoded(QDir(folder).filePath(QLatin1String(MarkFile))).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool free = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

CityReplacement::CityReplacement(const QString &folder)
{
    if (folder.trimmed().isEmpty())
        fail(QStringLiteral("The name of the folder is empty (\"%1\"): give the folder to write the city into").arg(folder));
    m_given = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QFileInfo info(m_given);
    if (info.isSymLink() && !info.exists())
        fail(QStringLiteral("%1 is a link to %2, which does not exist").arg(shown(m_given), shown(info.symLinkTarget())));
    // Where a link points, by its real path: the hidden folder is made beside that, on the same
    // file system, and the link is left as it is.
    m_folder = info.exists() ? info.canonicalFilePath() : m_given;
    if (QFileInfo(m_folder).fileName().isEmpty())
        fail(QStringLiteral("%1 cannot be replaced by a city: give a folder inside it").arg(shown(m_folder)));
    check();
}

CityReplacement::~CityReplacement()
{
    if (!m_work.isEmpty() && !m_committed)
        QDir(m_work).removeRecursively();
    if (m_mark >= 0)
        ::close(m_mark);
}

QString CityReplacement::shownFolder() const
{
    return m_given == m_folder ? shown(m_given) : QStringLiteral("%1 (%2)").arg(shown(m_given), shown(m_folder));
}

void CityReplacement::check() const
{
    struct stat info {};
    if (!lstatOf(m_folder, &info))
        return;
    if (!S_ISDIR(info.st_mode))
        fail(QStringLiteral("%1 is a file, not a folder").arg(shownFolder()));
    const QString why = CityList::whyNotReplaceable(m_folder, shownFolder());
    if (!why.isEmpty())
        fail(why);
}

void CityReplacement::removeLeftovers(QStringList *cleaned) const
{
    const QFileInfo target(m_folder);
    const QRegularExpression leftover(QStringLiteral("^\\.%1\\.import-[A-Za-z0-9]{6}(-old)?$")
                                          .arg(QRegularExpression::escape(target.fileName())));
    const QDir parent = target.dir();
    const QStringList names = parent.entryList({QStringLiteral(".*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = leftover.match(name);
        const QString path = parent.filePath(name);
        struct stat info {};
        if (!match.hasMatch() || !lstatOf(path, &info) || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        bool removed = false;
        if (match.capturedLength(1) == 0 && markIsFree(path))
            removed = QDir(path).removeRecursively(); // a run's own hidden folder, all of it its own
        else if (CityList::isWholeCity(path))
            removed = CityList::removeListed(path).isEmpty(); // a city moved aside, or never moved in
        if (removed && cleaned)
            cleaned->append(shown(path));
    }
}

QString CityReplacement::begin(QStringList *cleaned)
{
    const QFileInfo target(m_folder);
    if (!QDir().mkpath(target.absolutePath()))
        fail(QStringLiteral("Cannot create the folder %1: %2").arg(shown(target.absolutePath()), systemReason()));
    removeLeftovers(cleaned);
    QTemporaryDir made(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".import-XXXXXX"));
    if (!made.isValid())
        fail(QStringLiteral("Cannot write into %1: %2").arg(shown(target.absolutePath()), made.errorString()));
    made.setAutoRemove(false);
    m_work = made.path();
    m_mark = ::open(encoded(QDir(m_work).filePath(QLatin1String(MarkFile))).constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_mark < 0 || ::flock(m_mark, LOCK_EX | LOCK_NB) != 0)
        fail(QStringLiteral("Cannot write into %1: %2").arg(shown(m_work), systemReason()));
    // The new city's folder is open to others as a new folder is (the old one's way, when there
    // is one): the hidden folder was made for its owner alone.
    struct stat old {};
    mode_t mode = 0;
    if (lstatOf(m_folder, &old)) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0777 & ~mask;
    }
    ::chmod(encoded(m_work).constData(), mode);
    return m_work;
}

void CityReplacement::commit()
{
    check();
    ::unlink(encoded(QDir(m_work).filePath(QLatin1String(MarkFile))).constData());
    const QString old = m_work + QStringLiteral("-old");
    struct stat info {};
    const bool replacing = lstatOf(m_folder, &info);
    if (replacing && ::rename(encoded(m_folder).constData(), encoded(old).constData()) != 0)
        fail(QStringLiteral("Cannot move the city in %1 aside: %2").arg(shownFolder(), systemReason()));
    if (::rename(encoded(m_work).constData(), encoded(m_folder).constData()) != 0) {
        const QString reason = systemReason();
        if (replacing && ::rename(encoded(old).constData(), encoded(m_folder).constData()) != 0)
            fail(QStringLiteral("Cannot move the new city into %1 (%2), nor the old one back: it is in %3")
                     .arg(shownFolder(), reason, shown(old)));
        fail(QStringLiteral("Cannot move the new city into %1: %2. The folder is as it was.").arg(shownFolder(), reason));
    }
    m_committed = true;
    if (!replacing)
        return;
    const QString left = CityList::removeListed(old);
    if (!left.isEmpty())
        fail(QStringLiteral("The new city is in %1, but the old one could not be removed: %2 is left in %3. Look into "
                            "that folder and remove it yourself.")
                 .arg(shownFolder(), left, shown(old)));
}
