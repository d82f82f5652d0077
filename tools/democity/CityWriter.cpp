#include "CityWriter.h"

#include "CityDatabase.h"
#include "HelpDocument.h"
#include "MapPainter.h"
#include "Pictures.h"
#include "SheetLayout.h"
#include "transit/CityFrame.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QMutex>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QUuid>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace CityWriter {

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

// The general map and the sheets, shared among a few threads; gives the general map back.
QImage writeRasters(const City &city, const MapScene &scene, const CityOutput &output)
{
    const MapFrame &frame = city.model->frame;
    const MapPainter painter(scene, fontFamily());
    const QString rasterDir = QDir(output.folder).filePath(QStringLiteral("Raster"));
    // Job 0 is the general map, then one job per sheet.
    const QStringList &codes = SheetLayout::codes();
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    QString failure;
    QImage generalMap;
    QMutex failureLock;
    auto worker = [&] {
        for (int job = next++; job <= codes.size() && !failed; job = next++) {
            const bool general = job == 0;
            const QString code = general ? QString() : codes[job - 1];
            const QImage image = painter.paint(mapArea(frame, code),
                                               general ? generalMapSize(output.mapWidth) : sheetSize(output.mapWidth),
                                               !general, general ? QStringLiteral("Tbilisi") : code);
            const QString file = rasterDir + QLatin1Char('/') + (general ? QStringLiteral("Tbilisi.bmp") : code + QStringLiteral(".jpg"));
            const bool ok = general ? image.save(file, "BMP") : image.save(file, "JPG", 85);
            if (general)
                generalMap = image;
            if (!ok) {
                QMutexLocker lock(&failureLock);
                failure = file;
                failed = true;
            }
        }
    };
    // Only fresh threads paint: their font caches hold nothing that earlier text output of this
    // thread (the help document, the logos) left behind, so the same city gives the same rasters.
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::thread> pool;
    for (int i = 0; i < threads; ++i)
        pool.emplace_back(worker);
    for (std::thread &t : pool)
        t.join();
    if (failed)
        fail(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(failure)));
    return generalMap;
}

// The general map's size in metres and its corners, which the journey planner measures with.
void writeFrame(const MapFrame &mapFrame, const QString &path)
{
    CityFrame frame;
    frame.widthMetres = mapFrame.width;
    frame.heightMetres = mapFrame.height;
    const QPointF northWest = mapFrame.lonLat(QPointF(0, 0));
    const QPointF southEast = mapFrame.lonLat(QPointF(mapFrame.width, mapFrame.height));
    frame.hasCorners = true;
    frame.west = northWest.x();
    frame.north = northWest.y();
    frame.east = southEast.x();
    frame.south = southEast.y();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(frame.fileText()) < 0 || !file.commit())
        fail(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(path)));
}

void writeDatabase(const City &city, const CityOutput &output)
{
    const QString connection = QStringLiteral("citywriter-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = output.connection.isEmpty()
                              ? CityDatabase::openSqlite(QDir(output.folder).filePath(QLatin1String(DatabaseFile)), connection)
                              : CityDatabase::openEmpty(output.connection, connection);
        LogoMaker logos(fontFamily(), city.objects.size() > 2000, output.pictureSeed);
        try {
            CityDatabase::write(db, city, logos);
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

QString fontFamily()
{
    static const QString family = [] {
        QString name;
        for (const char *file : {":/Kolhety.ttf", ":/Kolhety-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            if (id >= 0 && name.isEmpty())
                name = QFontDatabase::applicationFontFamilies(id).value(0);
        }
        return name.isEmpty() ? QStringLiteral("DejaVu Sans") : name;
    }();
    return family;
}

QRectF mapArea(const MapFrame &frame, const QString &sheetCode)
{
    if (sheetCode.isEmpty())
        return QRectF(0, 0, frame.width, frame.height);
    const QRectF p = SheetLayout::sheetArea(sheetCode);
    return QRectF(frame.metres(p.topLeft()), frame.metres(p.bottomRight()));
}

void write(const City &city, const MapScene &scene, const CityOutput &output, Stages &stages)
{
    const QDir dir(output.folder);
    if (!dir.mkpath(QStringLiteral("Raster")) || !dir.mkpath(QStringLiteral("pictures/icons")))
        fail(QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(dir.absolutePath())));

    QImage generalMap;
    stages.run(QStringLiteral("rasters"), [&] {
        generalMap = writeRasters(city, scene, output);
        writeFrame(city.model->frame, dir.filePath(QStringLiteral("Raster/Tbilisi.frame")));
    });
    stages.run(QStringLiteral("icons and help"), [&] {
        const auto icons = MarkerIcons::all();
        for (auto it = icons.cbegin(); it != icons.cend(); ++it)
            if (!it.value().save(dir.filePath(QStringLiteral("pictures/icons/") + it.key()), "BMP"))
                fail(QStringLiteral("Cannot write the icon %1").arg(it.key()));
        const QImage small = generalMap.scaledToWidth(1200, Qt::SmoothTransformation);
        if (!HelpDocument::write(dir.filePath(QStringLiteral("Kvirzeta.pdf")), fontFamily(), small))
            fail(QStringLiteral("Cannot write the help document"));
    });
    stages.run(QStringLiteral("database"), [&] { writeDatabase(city, output); });

    const QByteArray address = output.connection.isEmpty()
                                   ? QByteArrayLiteral("Provider=SQLite;Data Source=") + DatabaseFile
                                   : output.connection.toUtf8();
    QSaveFile ini(dir.filePath(QStringLiteral("Address.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(address + "\r\n") < 0 || !ini.commit())
        fail(QStringLiteral("Cannot write Address.ini"));
}

} // namespace CityWriter
