#pragma once
// The general map's frame: its width and height in metres, and its corners in degrees when
// known. Positions on the maps are per cent of a sheet; the frame turns them into metres.
//
// The city tools write it beside the rasters as Raster/Tbilisi.frame, lines of Key=Value
// ("#" begins a comment; keys without regard to case):
//
//   WidthMetres=30000
//   HeightMetres=22500
//   West=44.6594        } the corners in degrees, optional: all four or none
//   South=41.6354       }
//   East=45.0206        }
//   North=41.8376       }
//   City=Tbilisi        the city's name, transcribed; optional, Tbilisi when missing
//
// A city without the file, or with one that cannot be used, has the frame of the default
// Tbilisi box (the one above) and `rough` set: its distances, and so its times, are rough.
#include <QByteArray>
#include <QString>

struct CityFrame {
    double widthMetres = 0;
    double heightMetres = 0;
    bool hasCorners = false;
    double west = 0, south = 0, east = 0, north = 0;
    QString city = QStringLiteral("Tbilisi"); // the name the program's titles give the city
    // The default frame stands in for a missing or broken file; `problem` says why.
    bool rough = false;
    QString problem;

    // The default Tbilisi box: 30 km by 22.5 km around 44.84 E, 41.7365 N.
    static CityFrame tbilisi();

    // Reads the frame file; never throws. The file is found without regard to letter case;
    // anything but a regular file under MaxFileBytes, or content without a sound width and
    // height, gives the default frame with `problem` set.
    static CityFrame read(const QString &path = QStringLiteral(".\\Raster\\Tbilisi.frame"));
    // The file's text for a frame.
    QByteArray fileText() const;
    // The city's name as the titles take it, "of Tbilisi": Tbilisis, Batumis, Gorisa -> Goris.
    static QString genitive(const QString &city);

    static constexpr int MaxCityLength = 40;

    static constexpr qint64 MaxFileBytes = 16 * 1024;
};
