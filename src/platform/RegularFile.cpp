#include "platform/RegularFile.h"

#include "common/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

[[noreturn]] void refuse(const QString &shownName)
{
    throw Error(QStringLiteral("\"%1\" is not a regular file").arg(shownName));
}

} // namespace

bool open(QFile &file, const QString &shownName, QString *reason)
{
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait until one comes. Once the
    // descriptor is known to be a regular file, reads block as usual again.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        refuse(shownName);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

void require(const QString &path, const QString &shownName)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        refuse(shownName);
}

} // namespace RegularFile
