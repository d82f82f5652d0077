#include "BenchCity.h"

#include "democity/GeneratorCommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <stdexcept>

namespace BenchCity {

namespace {

// The bench's rasters larger than the city's own, in a folder of the city.
constexpr const char *LargeRasters = "large-rasters";

// Raised whenever the generator's database changes in a way the figures depend on.
const QByteArray CityVersion = "4";

[[noreturn]] void fail(const QString &text)
{
    throw std::runtime_error(text.toStdString());
}

bool hasImage(const QString &path, const QSize &size)
{
    return QImageReader(path).size() == size;
}

// Writes `source` stretched to `size` into `target`.
void enlarge(const QString &source, const QString &target, const QSize &size, int quality = -1)
{
    QImage image(source);
    if (image.isNull())
        fail(QStringLiteral("cannot read %1").arg(source));
    if (!image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
             .convertToFormat(QImage::Format_RGB888)
             .save(target, nullptr, quality))
        fail(QStringLiteral("cannot write %1").arg(target));
}

} // namespace

QString ensure(const QString &folder, const QString &connection)
{
    const QDir dir(folder);
    // A city made by an older generator (without the planner's statistics, say), or for another
    // database, is made anew.
    QFile stamp(dir.filePath(QStringLiteral("bench-city-version")));
    const bool current = stamp.open(QIODevice::ReadOnly) && stamp.readAll().trimmed() == CityVersion;
    stamp.close();
    QFile ini(dir.filePath(QStringLiteral("Address.ini")));
    const QString address = ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()).trimmed() : QString();
    const bool sameDatabase = connection.isEmpty()
                                  ? address.startsWith(QLatin1String("Provider=SQLite;"))
                                        && dir.exists(QLatin1String(CityWriter::DatabaseFile))
                                  : address == connection;
    if (current && sameDatabase && dir.exists(QStringLiteral("Raster/Tbilisi.bmp")))
        return dir.absolutePath();
    std::fprintf(stderr, "Generating the bench city in %s (about 15 s) ...\n", qPrintable(dir.absolutePath()));
    GeneratorOptions options;
    QString error;
    QStringList arguments = {folder, QStringLiteral("--bench"), QStringLiteral("--quiet")};
    if (!connection.isEmpty())
        arguments << QStringLiteral("--connection") << connection;
    if (!parseArguments(arguments, &options, &error))
        fail(error);
    // The generator replaces only a city it listed, with nothing else in it. A folder with the
    // bench's stamp is the bench's own: it goes whole, whichever generator made it.
    if (stamp.exists() && !QDir(folder).removeRecursively())
        fail(QStringLiteral("cannot remove the old bench city in %1").arg(dir.absolutePath()));
    Generator(options).run();
    if (!stamp.open(QIODevice::WriteOnly | QIODevice::Truncate) || stamp.write(CityVersion) < 0)
        fail(QStringLiteral("cannot write %1").arg(stamp.fileName()));
    return dir.absolutePath();
}

QString ensureLargeRasters(const QString &city)
{
    const QDir cityDir(city);
    const QString folder = cityDir.filePath(QLatin1String(LargeRasters));
    const QDir dir(folder);
    const QString map = dir.filePath(QStringLiteral("Raster/Tbilisi.bmp"));
    const QString sheet = dir.filePath(QStringLiteral("Raster/%1.jpg").arg(QLatin1String(LargeSheet)));
    const QSize mapSize(LargeMapWidth, LargeMapHeight);
    const QSize sheetSize(LargeSheetWidth, LargeSheetHeight);
    if (hasImage(map, mapSize) && hasImage(sheet, sheetSize))
        return folder;

    std::fprintf(stderr, "Writing the large rasters into %s ...\n", qPrintable(folder));
    if (!dir.mkpath(QStringLiteral("Raster")))
        fail(QStringLiteral("cannot make %1").arg(folder));
    // The city's own connection string, with an SQLite file named by its absolute path.
    QFile cityIni(cityDir.filePath(QStringLiteral("Address.ini")));
    if (!cityIni.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(cityIni.fileName()));
    QByteArray address = cityIni.readAll();
    const QByteArray relative = QByteArray("Data Source=") + CityWriter::DatabaseFile;
    const QByteArray absolute =
        QByteArray("Data Source=") + cityDir.absoluteFilePath(QLatin1String(CityWriter::DatabaseFile)).toUtf8();
    address.replace(relative, absolute);
    QFile ini(dir.filePath(QStringLiteral("Address.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(address) < 0)
        fail(QStringLiteral("cannot write %1").arg(ini.fileName()));
    ini.close();
    // The marker icons are the city's own.
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    if (!QFileInfo::exists(pictures) && !QFile::link(cityDir.absoluteFilePath(QStringLiteral("pictures")), pictures))
        fail(QStringLiteral("cannot link %1").arg(pictures));
    enlarge(cityDir.filePath(QStringLiteral("Raster/Tbilisi.bmp")), map, mapSize);
    enlarge(cityDir.filePath(QStringLiteral("Raster/%1.jpg").arg(QLatin1String(LargeSheet))), sheet, sheetSize, 90);
    return folder;
}

} // namespace BenchCity
