#include "citykit/CityWriter.h"

#include "citykit/CityDatabase.h"
#include "citykit/HelpDocument.h"
#include "citykit/MapPainter.h"
#include "citykit/Pictures.h"
#include "citykit/SheetLayout.h"

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
    stages.run(QStringLiteral("rasters"), [&] { generalMap = writeRasters(city, scene, output); });
    stages.run(QStringLiteral("icons and help"), [&] {
        const auto icons = MarkerIcons::all();
        for (auto it = icons.cbegin(); it != icons.cend(); ++it)
            if (!it.value().save(dir.filePath(QStringLiteral("pictures/icons/") + it.key()), "BMP"))
                fail(QStringLiteral("Cannot write the icon %1").arg(it.key()));
        const QImage small = generalMap.scaledToWidth(1200, Qt::SmoothTransformation);
        if (!HelpDocument::write(dir.filePath(QStringLiteral("Kvirzeta.pdf")), small))
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
