#include "BenchCity.h"

#include "Generator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <stdexcept>

namespace BenchCity {

namespace {

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

QString ensure(const QString &folder)
{
    const QDir dir(folder);
    if (dir.exists(QStringLiteral("Address.ini")) && dir.exists(QLatin1String(CityWriter::DatabaseFile))
        && dir.exists(QStringLiteral("Raster/Tbilisi.bmp")))
        return dir.absolutePath();
    std::fprintf(stderr, "Generating the bench city in %s (about 15 s) ...\n", qPrintable(dir.absolutePath()));
    GeneratorOptions options;
    QString error;
    if (!parseArguments({folder, QStringLiteral("--bench"), QStringLiteral("--quiet")}, &options, &error))
        fail(error);
    Generator(options).run();
    return dir.absolutePath();
}

QString ensureLargeRasters(const QString &city)
{
    const QDir cityDir(city);
    const QString folder = cityDir.filePath(QStringLiteral("large-rasters"));
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
    QFile ini(dir.filePath(QStringLiteral("Address.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || ini.write(QStringLiteral("Provider=SQLite;Data Source=%1\r\n")
                         .arg(cityDir.absoluteFilePath(QLatin1String(CityWriter::DatabaseFile)))
                         .toUtf8())
               < 0)
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
