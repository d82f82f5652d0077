#include "gtfs/FeedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <zip.h>

#include <algorithm>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString zipError(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// A name that stays within the feed: relative, without ".." steps.
bool staysInside(const QString &name)
{
    const QString slashed = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (slashed.startsWith(QLatin1Char('/')) || (slashed.size() > 1 && slashed.at(1) == QLatin1Char(':')))
        return false;
    const QStringList steps = slashed.split(QLatin1Char('/'));
    return !steps.contains(QStringLiteral(".."));
}

// One entry of a zip read as a stream, counting what it inflates to.
class ZipEntry : public QIODevice {
public:
    ZipEntry(zip_file_t *file, qint64 limit) : m_file(file), m_limit(limit)
    {
        setOpenMode(QIODevice::ReadOnly);
    }
    ~ZipEntry() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(size));
        if (got < 0) {
            setErrorString(QString::fromLocal8Bit(zip_file_strerror(m_file)));
            return -1;
        }
        m_read += got;
        if (m_read > m_limit) {
            setErrorString(QStringLiteral("it inflates to more than its entry says (%1 bytes): refused").arg(m_limit));
            return -1;
        }
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *m_file;
    qint64 m_limit;
    qint64 m_read = 0;
};

} // namespace

struct FeedFiles::Zip {
    zip_t *archive = nullptr;
    QHash<QString, zip_uint64_t> entries; // by name within the feed
    QHash<QString, qint64> sizes;
    ~Zip()
    {
        if (archive)
            zip_discard(archive);
    }
};

FeedFiles::FeedFiles(const QString &path) : m_path(QDir::toNativeSeparators(path))
{
    const QFileInfo info(path);
    if (!info.exists())
        fail(QStringLiteral("Cannot read the feed %1: there is no such file or folder").arg(m_path));
    if (info.isDir()) {
        m_folder = info.absoluteFilePath();
        return;
    }
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        fail(QStringLiteral("Cannot read the feed %1 as a folder or a .zip: %2").arg(m_path, zipError(code)));
    m_zip = std::make_unique<Zip>();
    m_zip->archive = archive;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QHash<QString, zip_uint64_t> all;
    QHash<QString, qint64> sizes;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 || !stat.name)
            fail(QStringLiteral("Cannot read the feed %1: %2").arg(m_path, QString::fromLocal8Bit(zip_strerror(archive))));
        const QString name = QString::fromUtf8(stat.name);
        if (!staysInside(name))
            fail(QStringLiteral("The feed %1 holds the entry %2, outside the feed: refused").arg(m_path, name));
        // An entry of unknown size may inflate up to the limit, and no further.
        const bool known = (stat.valid & ZIP_STAT_SIZE) && (stat.valid & ZIP_STAT_COMP_SIZE);
        const qint64 size = known ? qint64(std::min<zip_uint64_t>(stat.size, zip_uint64_t(MaxEntryBytes) + 1)) : MaxEntryBytes;
        const qint64 packed = known ? qint64(stat.comp_size) : 0;
        if (known && (size > MaxEntryBytes || (size > SuspiciousBytes && size / MaxRatio > packed)))
            fail(QStringLiteral("The feed %1 holds the entry %2, which inflates from %3 to %4 bytes: refused as a zip bomb")
                     .arg(m_path, name)
                     .arg(packed)
                     .arg(size));
        all.insert(name, zip_uint64_t(i));
        sizes.insert(name, size);
    }
    // The feed's files at the top, or in the one folder that holds stops.txt.
    QString prefix;
    if (!all.contains(QStringLiteral("stops.txt")))
        for (auto it = all.cbegin(); it != all.cend(); ++it)
            if (it.key().endsWith(QLatin1String("/stops.txt")) && it.key().count(QLatin1Char('/')) == 1)
                prefix = it.key().chopped(int(qstrlen("stops.txt")));
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        if (it.key().startsWith(prefix) && !it.key().mid(prefix.size()).contains(QLatin1Char('/'))) {
            m_zip->entries.insert(it.key().mid(prefix.size()), it.value());
            m_zip->sizes.insert(it.key().mid(prefix.size()), sizes.value(it.key()));
        }
}

FeedFiles::~FeedFiles() = default;

bool FeedFiles::has(const QString &name) const
{
    if (m_zip)
        return m_zip->entries.contains(name);
    return QFileInfo(QDir(m_folder).filePath(name)).isFile();
}

std::unique_ptr<QIODevice> FeedFiles::open(const QString &name) const
{
    if (!has(name))
        return nullptr;
    if (!m_zip) {
        auto file = std::make_unique<QFile>(QDir(m_folder).filePath(name));
        if (!file->open(QIODevice::ReadOnly))
            fail(QStringLiteral("Cannot read %1 of the feed %2: %3").arg(name, m_path, file->errorString()));
        return file;
    }
    zip_file_t *file = zip_fopen_index(m_zip->archive, m_zip->entries.value(name), 0);
    if (!file)
        fail(QStringLiteral("Cannot read %1 of the feed %2: %3").arg(name, m_path, QString::fromLocal8Bit(zip_strerror(m_zip->archive))));
    return std::make_unique<ZipEntry>(file, m_zip->sizes.value(name));
}
