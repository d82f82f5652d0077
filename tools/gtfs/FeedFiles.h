#pragma once
// The files of a GTFS feed, from a folder or a .zip (read through libzip, entry by entry, never
// unpacked to disk). A zip is refused whole when an entry's name leaves the feed ("../x", "/x")
// or an entry inflates beyond reason (a zip bomb): more than MaxEntryBytes, or over
// SuspiciousBytes at more than MaxRatio times its packed size. A feed packed inside one folder of
// the zip is found there.
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

class FeedFiles {
public:
    static constexpr qint64 MaxEntryBytes = qint64(2) * 1024 * 1024 * 1024;
    static constexpr qint64 SuspiciousBytes = 16 * 1024 * 1024;
    static constexpr qint64 MaxRatio = 100;

    // Throws std::runtime_error with a message for the user when the feed cannot be opened.
    explicit FeedFiles(const QString &path);
    ~FeedFiles();
    FeedFiles(const FeedFiles &) = delete;
    FeedFiles &operator=(const FeedFiles &) = delete;

    bool has(const QString &name) const;
    // The file opened for reading; nothing when the feed has no such file. Throws when it cannot
    // be opened.
    std::unique_ptr<QIODevice> open(const QString &name) const;
    // The feed as messages name it.
    const QString &path() const { return m_path; }

private:
    struct Zip;
    QString m_path;
    QString m_folder;          // a folder feed
    std::unique_ptr<Zip> m_zip; // or a zip
};
