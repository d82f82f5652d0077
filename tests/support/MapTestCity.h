#pragma once
// A tiny city for the map tests, made in a temporary directory that becomes the current
// directory: Raster/Tbilisi.bmp (2000 x 1500), Raster/B2.jpg and Raster/B3.jpg (1200 x 900),
// the marker icons in pictures/icons, and an SQLite database with a few objects, streets and
// stops that DM1 is connected to.
#include "data/DataModule.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

class MapTestCity {
public:
    MapTestCity();
    ~MapTestCity();

    bool isValid() const { return m_valid; }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // Writes a raster or an icon; icons are 16 x 16, filled with `colour` on a magenta ground
    // whose colour is the bottom-left pixel's.
    static QImage raster(int width, int height, const QColor &colour);
    void writeIcon(const QString &relative, const QColor &colour) const;

    // Runs SQL on the database through a writable side connection (DM1's is read-only).
    void exec(const QString &sql) const;

    DataModule dm;

    static const QColor iconGround;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    bool m_valid = false;
};
