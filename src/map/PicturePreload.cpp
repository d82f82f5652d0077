#include "map/PicturePreload.h"

#include "common/Errors.h"
#include "map/PictureCache.h"

#include <QDir>
#include <QtConcurrent/QtConcurrentRun>

PicturePreload::~PicturePreload()
{
    if (m_decoding.isValid())
        m_decoding.waitForFinished();
}

void PicturePreload::start(const QString &path)
{
    if (m_decoding.isValid())
        m_decoding.waitForFinished();
    m_path = path;
    m_folder = QDir::currentPath();
    m_decoding = QtConcurrent::run([path]() -> Decoded {
        try {
            return {PictureCache::decode(path, false), QString()};
        } catch (const Error &e) {
            return {QImage(), e.text()};
        }
    });
}

QImage PicturePreload::take(const QString &path)
{
    if (m_decoding.isValid()) {
        const bool same = path == m_path && QDir::currentPath() == m_folder;
        Decoded decoded = m_decoding.takeResult();
        m_decoding = {};
        if (same) {
            if (!decoded.error.isEmpty())
                throw Error(decoded.error);
            return decoded.image;
        }
    }
    return PictureCache::decode(path, false);
}
