#pragma once
// Decoded marker pictures (icons, map logos) by file. Many markers share a handful of icon
// files, so each file is decoded once and its image shared; an entry is decoded again when the
// file's size or modification time changes.
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

class PictureCache {
public:
    // The picture in `path` (a program path such as ".\pictures\icons\Stop.bmp", found without
    // regard to letter case). A bitmap is drawn transparently: the colour of its bottom-left
    // pixel is not drawn. Throws Error when the file cannot be read as a picture.
    QImage load(const QString &path);

    // Reads a picture file without caching; the map rasters use it too.
    static QImage decode(const QString &path, bool transparentBitmap);
    // Decodes a picture file's content held in memory as load() decodes the file; `name` is the
    // file's name for the error.
    static QImage decodeContent(const QByteArray &content, const QString &name);

private:
    struct Entry {
        QString file; // the absolute path the lookup found
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    QHash<QString, Entry> m_entries;
};
