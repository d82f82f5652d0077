#include "Generator.h"

#include "CityDatabase.h"
#include "HelpDocument.h"
#include "MapPainter.h"
#include "Pictures.h"
#include "SheetLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QMutex>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QUuid>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

bool number(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

QString usage()
{
    return QStringLiteral(
        "usage: kvirzeta-democity FOLDER [options]\n"
        "Writes a demo city of Tbilisi into FOLDER: Address.ini, the database, Raster/, pictures/icons/ and\n"
        "Kvirzeta.pdf.\n"
        "  --seed S          random seed (default 1); the same seed gives the same city\n"
        "  --objects N       number of objects (default 450)\n"
        "  --streets N       number of streets (default: the model's)\n"
        "  --stops N         number of stops, at least the model's (default: the model's)\n"
        "  --routes N        number of routes, at least the model's (default: as the stops need)\n"
        "  --ad-percent P    per cent of objects with an advertising file (default 30)\n"
        "  --ad-kb K         size of each advertising file in kilobytes (default: as small as it comes)\n"
        "  --ad-icons-all    every object gets an advertising icon, not only those with a file\n"
        "  --map-width W     width of the general map in pixels (default 2500, at least 400)\n"
        "  --bench           a large city for benchmarks: 100000 objects, 20000 streets, 5000 stops on\n"
        "                    300 routes, 5 % of objects with a 50 KB advertising file, icons for all\n"
        "  --quiet           print nothing but errors\n"
        "  --connection TEXT write the tables through this connection string into an empty database\n"
        "                    instead of the folder's SQLite file, and name it in Address.ini, e.g.\n"
        "                    \"Provider=PostgreSQL;Host=localhost;Port=5432;Database=kvirzeta;User ID=me;Password=secret\"\n");
}

bool parseArguments(const QStringList &arguments, GeneratorOptions *options, QString *error)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        auto value = [&](qint64 low, qint64 high, qint64 *out) {
            if (i + 1 >= arguments.size() || !number(arguments[i + 1], low, high, out)) {
                *error = QStringLiteral("%1 needs a whole number from %2 to %3").arg(a).arg(low).arg(high);
                return false;
            }
            ++i;
            return true;
        };
        qint64 v = 0;
        if (a == QLatin1String("--seed")) {
            if (!value(0, std::numeric_limits<qint64>::max(), &v))
                return false;
            options->seed = quint64(v);
        } else if (a == QLatin1String("--objects")) {
            if (!value(0, 1000000, &v))
                return false;
            options->size.objects = int(v);
        } else if (a == QLatin1String("--streets")) {
            if (!value(1, 200000, &v))
                return false;
            options->size.streets = int(v);
        } else if (a == QLatin1String("--stops")) {
            if (!value(1, 32000, &v))
                return false;
            options->size.stops = int(v);
        } else if (a == QLatin1String("--routes")) {
            if (!value(1, 5000, &v))
                return false;
            options->size.routes = int(v);
        } else if (a == QLatin1String("--ad-percent")) {
            if (!value(0, 100, &v))
                return false;
            options->size.advertShare = v / 100.0;
        } else if (a == QLatin1String("--ad-kb")) {
            if (!value(0, 10000, &v))
                return false;
            options->size.advertKilobytes = int(v);
        } else if (a == QLatin1String("--ad-icons-all")) {
            options->size.advertIconForAll = true;
        } else if (a == QLatin1String("--map-width")) {
            if (!value(400, 12000, &v))
                return false;
            options->mapWidth = int(v);
        } else if (a == QLatin1String("--bench")) {
            options->size.objects = 100000;
            options->size.streets = 20000;
            options->size.stops = 5000;
            options->size.routes = 300;
            options->size.advertShare = 0.05;
            options->size.advertKilobytes = 50;
            options->size.advertIconForAll = true;
        } else if (a == QLatin1String("--quiet")) {
            options->quiet = true;
        } else if (a == QLatin1String("--connection")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].trimmed().isEmpty()) {
                *error = QStringLiteral("--connection needs a connection string");
                return false;
            }
            options->connection = arguments[++i];
        } else if (a.startsWith(QLatin1String("--")) || !options->folder.isEmpty()) {
            *error = QStringLiteral("unknown argument: %1").arg(a);
            return false;
        } else {
            options->folder = a;
        }
    }
    if (options->folder.isEmpty()) {
        *error = QStringLiteral("no folder given");
        return false;
    }
    return true;
}

Generator::Generator(GeneratorOptions options) : m_options(std::move(options)) {}

QString Generator::fontFamily()
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

void Generator::step(const QString &what, const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    m_report.append(QStringLiteral("%1: %2 s").arg(what).arg(timer.elapsed() / 1000.0, 0, 'f', 2));
}

void Generator::run()
{
    QStringList errors;
    const Model model = Model::builtIn(&errors);
    if (!errors.isEmpty())
        fail(QStringLiteral("The city model has mistakes:\n") + errors.join(QLatin1Char('\n')));

    // A database named by a connection string must be reachable and empty before anything is
    // written into the folder.
    if (!m_options.connection.isEmpty())
        CityDatabase::requireEmpty(m_options.connection);

    QDir dir(m_options.folder);
    if (!dir.mkpath(QStringLiteral("Raster")) || !dir.mkpath(QStringLiteral("pictures/icons")))
        fail(QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(dir.absolutePath())));
    // A half-written city must not look finished: Address.ini is written last.
    QFile::remove(dir.filePath(QStringLiteral("Address.ini")));

    City city;
    step(QStringLiteral("city"), [&] { city = City::build(model, m_options.seed, m_options.size); });
    step(QStringLiteral("rasters"), [&] { writeRasters(city); });
    step(QStringLiteral("database"), [&] {
        const QString connection = QStringLiteral("democity-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = m_options.connection.isEmpty()
                                  ? CityDatabase::openSqlite(dir.filePath(QLatin1String(DatabaseFile)), connection)
                                  : CityDatabase::openEmpty(m_options.connection, connection);
            LogoMaker logos(fontFamily(), city.objects.size() > 2000);
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
    });
    step(QStringLiteral("icons and help"), [&] {
        const auto icons = MarkerIcons::all();
        for (auto it = icons.cbegin(); it != icons.cend(); ++it)
            if (!it.value().save(dir.filePath(QStringLiteral("pictures/icons/") + it.key()), "BMP"))
                fail(QStringLiteral("Cannot write the icon %1").arg(it.key()));
        const QImage small = m_generalMap.scaledToWidth(1200, Qt::SmoothTransformation);
        if (!HelpDocument::write(dir.filePath(QStringLiteral("Kvirzeta.pdf")), fontFamily(), small))
            fail(QStringLiteral("Cannot write the help document"));
    });

    const QByteArray address = m_options.connection.isEmpty()
                                   ? QByteArrayLiteral("Provider=SQLite;Data Source=") + DatabaseFile
                                   : m_options.connection.toUtf8();
    QSaveFile ini(dir.filePath(QStringLiteral("Address.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(address + "\r\n") < 0 || !ini.commit())
        fail(QStringLiteral("Cannot write Address.ini"));
    m_report.prepend(QStringLiteral("%1 objects, %2 streets, %3 stops, %4 routes in %5")
                         .arg(city.objects.size())
                         .arg(city.streets.size())
                         .arg(city.stops.size())
                         .arg(city.routes.size())
                         .arg(QDir::toNativeSeparators(dir.absolutePath())));
}

QRectF Generator::mapArea(const MapFrame &frame, const QString &sheetCode)
{
    if (sheetCode.isEmpty())
        return QRectF(0, 0, frame.width, frame.height);
    const QRectF p = SheetLayout::sheetArea(sheetCode);
    return QRectF(frame.metres(p.topLeft()), frame.metres(p.bottomRight()));
}

void Generator::writeRasters(const City &city)
{
    const MapFrame &frame = city.model->frame;
    const MapPainter painter(city, fontFamily());
    const QString rasterDir = QDir(m_options.folder).filePath(QStringLiteral("Raster"));
    // Job 0 is the general map, then one job per sheet, shared among a few threads.
    const QStringList &codes = SheetLayout::codes();
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    QString failure;
    QMutex failureLock;
    auto worker = [&] {
        for (int job = next++; job <= codes.size() && !failed; job = next++) {
            const bool general = job == 0;
            const QString code = general ? QString() : codes[job - 1];
            const QRectF area = mapArea(frame, code);
            const QImage image = painter.paint(area, general ? generalMapSize(m_options.mapWidth) : sheetSize(m_options.mapWidth),
                                               !general, general ? QStringLiteral("Tbilisi") : code);
            const QString file = rasterDir + QLatin1Char('/') + (general ? QStringLiteral("Tbilisi.bmp") : code + QStringLiteral(".jpg"));
            const bool ok = general ? image.save(file, "BMP") : image.save(file, "JPG", 85);
            if (general)
                m_generalMap = image;
            if (!ok) {
                QMutexLocker lock(&failureLock);
                failure = file;
                failed = true;
            }
        }
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i)
        pool.emplace_back(worker);
    worker();
    for (std::thread &t : pool)
        t.join();
    if (failed)
        fail(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(failure)));
}
