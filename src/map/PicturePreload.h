#pragma once
// Decodes a picture file in a worker thread ahead of its use: the general map is read while the
// main window is still being built.
#include <QFuture>
#include <QImage>
#include <QString>

class PicturePreload {
public:
    PicturePreload() = default;
    ~PicturePreload();
    PicturePreload(const PicturePreload &) = delete;
    PicturePreload &operator=(const PicturePreload &) = delete;

    // Starts decoding the map raster at `path` (a program path, as for PictureCache::decode).
    void start(const QString &path);
    // The raster at `path`: the preloaded picture when it was started for the same path in the
    // same current directory, or else decoded now. Throws Error as PictureCache::decode does.
    QImage take(const QString &path);

private:
    struct Decoded {
        QImage image;
        QString error;
    };
    QString m_path;
    QString m_folder;
    QFuture<Decoded> m_decoding;
};
