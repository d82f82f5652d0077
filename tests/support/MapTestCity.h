#pragma once
// The fixture city with rasters of the sizes the map's worked examples use, made the current
// directory, with DM1 connected to it:
//   Raster/Tbilisi.bmp 2000 x 1500; Raster/B2.jpg and Raster/B3.jpg 1200 x 900 (light blue and
//   light green under a black grid every 100 pixels); the other sheets as the fixture has them.
// Records added for the map tests (beside the fixture's own):
//   objects 12 "obieqti 12" B2 (37.5, 50), 13 B3 (10, 20), 14 F5 (50, 50), 15 B2 (x, y null),
//           16 on the unknown sheet "Z9" (50, 50), all listed in the object list;
//   streets 107 "quCa 107" B2 (20, 30), 108 B3 (40, 40);
//   stops   12 "gaCereba 12" B2 (40, 60), 13 B2 (x null, y 10), 21 B3 (5, 5).
#include "FixtureCity.h"
#include "data/DataModule.h"

#include <QColor>
#include <QBuffer>
#include <QImage>

class MapTestCity {
public:
    MapTestCity()
    {
        city.write(QStringLiteral("Raster/Tbilisi.bmp"), encode(raster(2000, 1500, QColor(230, 230, 200)), "BMP"));
        city.write(QStringLiteral("Raster/B2.jpg"), encode(raster(1200, 900, SheetColour), "JPEG"));
        city.write(QStringLiteral("Raster/B3.jpg"), encode(raster(1200, 900, QColor(190, 250, 190)), "JPEG"));
        city.execSql(QStringLiteral(
            "INSERT INTO obieqti (obieqtis_kodi, saxeli, g_qve_rubrika_kodi, ruka_kodi, x, y) VALUES"
            " (12, 'obieqti 12', 101, 'B2', 37.5, 50), (13, 'obieqti 13', 101, 'B3', 10, 20),"
            " (14, 'obieqti 14', 101, 'F5', 50, 50), (15, 'obieqti 15', 101, 'B2', NULL, NULL),"
            " (16, 'obieqti 16', 101, 'Z9', 50, 50)"));
        city.execSql(QStringLiteral("INSERT INTO obieqtis_logo (g_obieqti_kodi) VALUES (12), (13), (14), (15), (16)"));
        city.execSql(QStringLiteral("INSERT INTO quCa (quCa_kodi, saxeli, ruka_kodi, x, y) VALUES"
                                    " (107, 'quCa 107', 'B2', 20, 30), (108, 'quCa 108', 'B3', 40, 40)"));
        city.execSql(QStringLiteral("INSERT INTO gaCereba (gaCereba_kodi, saxeli, ruka_kodi, x, y) VALUES"
                                    " (12, 'gaCereba 12', 'B2', 40, 60), (13, 'gaCereba 13', 'B2', NULL, 10),"
                                    " (21, 'gaCereba 21', 'B3', 5, 5)"));
        dm.ADOConn.setConnectionString(city.connectionString());
    }

    static constexpr QColor SheetColour{190, 210, 250};

    FixtureCity city;
    ScopedCurrentDir here{city.path()};
    DataModule dm;

private:
    static QImage raster(int width, int height, const QColor &colour)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x % 100 == 0 || y % 100 == 0)
                    image.setPixel(x, y, qRgb(0, 0, 0));
        return image;
    }
    static QByteArray encode(const QImage &image, const char *format)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
};
