#include "platform/NoFollowFile.h"

#include "common/Errors.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NoFollowFile {

namespace {

[[noreturn]] void fail(const QString &path, int error)
{
    const QString why = error == ELOOP ? QStringLiteral("It is a symbolic link, which is not followed.")
                                       : QString::fromLocal8Bit(std::strerror(error));
    throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, why));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

void write(const QString &path, const QByteArray &bytes)
{
    // O_NOFOLLOW refuses a link under the name; O_NONBLOCK keeps a FIFO there from holding up the
    // open. The file is not emptied first but overwritten and then cut to length: a file emptied
    // and rewritten is flushed to disk when it is closed (ext4 does so), and a rubric's thousands
    // of map logos would each wait for the disk.
    const Descriptor file(::open(QFile::encodeName(path).constData(),
                                 O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (file.get() < 0)
        fail(path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail(path, errno);
    if (!S_ISREG(info.st_mode))
        throw Error(QStringLiteral("Cannot write file \"%1\". It is not a regular file.").arg(path));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(file.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(path, written < 0 ? errno : EIO);
        done += written;
    }
    if (::ftruncate(file.get(), off_t(bytes.size())) != 0)
        fail(path, errno);
}

} // namespace NoFollowFile
