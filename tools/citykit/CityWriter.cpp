#include "citykit/CityWriter.h"

#include "citykit/CityDatabase.h"
#include "citykit/CityList.h"
#include "citykit/HelpDocument.h"
#include "citykit/Interruption.h"
#include "citykit/MapPainter.h"
#include "citykit/Pictures.h"
#include "citykit/SheetLayout.h"
#include "transit/CityFrame.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImageWriter>
#include <QMutex>
#include <QSqlDatabase>
#include <QUuid>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>

namespace CityWriter {

namespace {

// The general map for an empty code, else the sheet's, as a path in the city.
QString rasterFile(const QString &sheetCode)
{
    return QStringLiteral("Raster/") + (sheetCode.isEmpty() ? QStringLiteral("Tbilisi.bmp") : sheetCode + QStringLiteral(".jpg"));
}

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

[[noreturn]] void failWriting(const CityOutput &output, const QString &file, const QString &reason)
{
    fail(QStringLiteral("Cannot write %1 of the city for %2: %3").arg(file, QDir::toNativeSeparators(output.shownFolder), reason));
}

// Writes the file `relative` of the city through `fill`; the system's reason when it cannot (a
// full disk, say), empty when it is written. Safe to call from several threads at once.
QString writeFile(const CityOutput &output, const QString &relative, const std::function<bool(QIODevice &)> &fill)
{
    QFile file(QDir(output.folder).filePath(relative));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const bool filled = fill(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return filled ? QString() : QStringLiteral("its content could not be made");
}

QString writeImage(const CityOutput &output, const QString &relative, const QImage &image, const char *format, int quality = -1)
{
    return writeFile(output, relative, [&](QIODevice &device) {
        QImageWriter writer(&device, format);
        writer.setQuality(quality);
        return writer.write(image);
    });
}

// The general map and the sheets, shared among a few threads; gives the general map back.
QImage writeRasters(const City &city, const MapScene &scene, const CityOutput &output)
{
    const MapFrame &frame = city.model->frame;
    const MapPainter painter(scene, fontFamily());
    // Job 0 is the general map, then one job per sheet.
    const QStringList &codes = SheetLayout::codes();
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    QString failure, failureReason;
    QImage generalMap;
    QMutex failureLock;
    auto worker = [&] {
        for (int job = next++; job <= codes.size() && !failed && !Interruption::requested(); job = next++) {
            const bool general = job == 0;
            const QString code = general ? QString() : codes[job - 1];
            const QImage image = painter.paint(mapArea(frame, code),
                                               general ? generalMapSize(output.mapWidth) : sheetSize(output.mapWidth),
                                               !general, general ? city.title : code);
            const QString file = rasterFile(code);
            const QString reason = general ? writeImage(output, file, image, "BMP") : writeImage(output, file, image, "JPG", 85);
            if (general)
                generalMap = image;
            if (!reason.isEmpty()) {
                QMutexLocker lock(&failureLock);
                failure = file;
                failureReason = reason;
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
    Interruption::check();
    if (failed)
        failWriting(output, failure, failureReason);
    return generalMap;
}

// The general map's size in metres and its corners, which the journey planner measures with.
void writeFrame(const MapFrame &mapFrame, const QString &title, const CityOutput &output, const QString &relative)
{
    CityFrame frame;
    frame.city = title;
    frame.widthMetres = mapFrame.width;
    frame.heightMetres = mapFrame.height;
    const QPointF northWest = mapFrame.lonLat(QPointF(0, 0));
    const QPointF southEast = mapFrame.lonLat(QPointF(mapFrame.width, mapFrame.height));
    frame.hasCorners = true;
    frame.west = northWest.x();
    frame.north = northWest.y();
    frame.east = southEast.x();
    frame.south = southEast.y();
    if (const QString reason = writeFile(output, relative, [&](QIODevice &device) { return device.write(frame.fileText()) >= 0; });
        !reason.isEmpty())
        failWriting(output, relative, reason);
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
        } catch (const std::exception &e) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection);
            if (!output.connection.isEmpty() || dynamic_cast<const Interruption::Interrupted *>(&e))
                throw;
            failWriting(output, QLatin1String(DatabaseFile), QString::fromUtf8(e.what()));
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
    for (const QString &folder : {QStringLiteral("Raster"), QStringLiteral("pictures/icons")})
        if (!dir.mkpath(folder))
            failWriting(output, folder, QString::fromLocal8Bit(std::strerror(errno)));
    const QString frameFile = QStringLiteral("Raster/Tbilisi.frame");
    QStringList written{QStringLiteral("Raster"), rasterFile(QString()), frameFile};
    for (const QString &code : SheetLayout::codes())
        written.append(rasterFile(code));
    written << QStringLiteral("pictures") << QStringLiteral("pictures/icons");

    QImage generalMap;
    stages.run(QStringLiteral("rasters"), [&] {
        generalMap = writeRasters(city, scene, output);
        writeFrame(city.model->frame, city.title, output, frameFile);
    });
    stages.run(QStringLiteral("icons and help"), [&] {
        const auto icons = MarkerIcons::all();
        for (auto it = icons.cbegin(); it != icons.cend(); ++it) {
            const QString file = QStringLiteral("pictures/icons/") + it.key();
            if (const QString reason = writeImage(output, file, it.value(), "BMP"); !reason.isEmpty())
                failWriting(output, file, reason);
            written.append(file);
        }
        const QImage small = generalMap.scaledToWidth(1200, Qt::SmoothTransformation);
        const QString help = QStringLiteral("Kvirzeta.pdf");
        const QString reason =
            writeFile(output, help, [&](QIODevice &device) { return HelpDocument::write(device, small, CityFrame::genitive(city.title)); });
        if (!reason.isEmpty())
            failWriting(output, help, reason);
        written.append(help);
    });
    stages.run(QStringLiteral("database"), [&] { writeDatabase(city, output); });
    if (output.connection.isEmpty())
        written.append(QLatin1String(DatabaseFile));

    const QByteArray address = output.connection.isEmpty()
                                   ? QByteArrayLiteral("Provider=SQLite;Data Source=") + DatabaseFile
                                   : output.connection.toUtf8();
    const QString ini = QStringLiteral("Address.ini");
    if (const QString reason = writeFile(output, ini, [&](QIODevice &device) { return device.write(address + "\r\n") >= 0; });
        !reason.isEmpty())
        failWriting(output, ini, reason);
    written.append(ini);
    CityList::write(output.folder, written, output.shownFolder);
}

} // namespace CityWriter
