// The OpenStreetMap import: a hand-written extract of a few blocks (tests/fixtures/tbilisi.osm)
// imported into this run's backend and read back row by row, its records on both maps, the
// import's errors, and the demo city written as an extract and imported back.
#include "EmptyDatabase.h"
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "citykit/CityWriter.h"
#include "citykit/MapPainter.h"
#include "data/Connection.h"
#include "democity/GeneratorCommandLine.h"
#include "democity/GtfsExport.h"
#include "democity/OsmExport.h"
#include "map/SheetGrid.h"
#include "osmimport/ImportCommandLine.h"
#include "osmimport/TagMapping.h"
#include "osmimport/Transcription.h"
#include "transit/CityFrame.h"

#include <QtTest>

#include <QSqlQuery>
#include <QSqlRecord>

#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString Extract = QStringLiteral(KVIRZETA_FIXTURE_DIR "/tbilisi.osm");
const QString FixtureBox = QStringLiteral("44.76,41.69,44.80,41.71");
constexpr int MapWidth = 800;

// Imports into a folder; the error text, or empty on success. Stage lines go into `stages`, and
// to `onLine` as they come.
QString import(const QStringList &arguments, QStringList *stages = nullptr, QStringList *report = nullptr,
               const std::function<void(const QString &)> &onLine = {})
{
    ImportOptions options;
    QString error;
    if (!parseImportArguments(arguments + QStringList{QStringLiteral("--map-width"), QString::number(MapWidth)}, &options, &error))
        return error;
    try {
        Stages listener([&](const QString &line) {
            if (stages)
                stages->append(line);
            if (onLine)
                onLine(line);
        });
        Importer importer(options);
        importer.run(listener);
        if (report)
            *report = importer.report();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

// Every row of a query as "a|b|c" (NULL as "-"), sorted, so that backends compare alike.
QStringList rows(QSqlDatabase db, const QString &sql)
{
    QStringList result;
    QSqlQuery q(db);
    if (!q.exec(sql))
        qWarning() << sql << q.lastQuery();
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << (q.isNull(i) ? QStringLiteral("-") : q.value(i).toString());
        result << fields.join(QLatin1Char('|'));
    }
    result.sort();
    return result;
}

// A record's place on a general map of the given size at 100 %, through the program's transforms.
QPoint generalSpot(const QString &code, double x, double y, QSize map)
{
    return SheetGrid::Viewport{100, map.width(), map.height(), SheetGrid::generalMapName()}.generalPixel(code, x, y).value();
}

// The same record's place on its sheet, carried over to the general map through the rasters'
// own geometry: where the sheet's painter put that pixel of the city.
QPointF viaSheet(const MapFrame &frame, const QString &code, double x, double y, QSize sheet, QSize map)
{
    const QPointF onSheet = SheetGrid::Viewport{100, sheet.width(), sheet.height(), code}.sheetPixel(x, y);
    const QPointF metres = MapPainter::viewTransform(CityWriter::mapArea(frame, code), sheet).inverted().map(onSheet);
    return MapPainter::viewTransform(CityWriter::mapArea(frame, {}), map).map(metres);
}

// The park's green, the river's blue.
bool isPark(QColor c)
{
    return c.green() > c.red() + 20 && c.green() > c.blue() + 20;
}
bool isWater(QColor c)
{
    return c.blue() >= c.red() + 40 && c.blue() >= c.green();
}
bool isAvenue(QColor c)
{
    return c.red() > 220 && c.green() > 180 && c.blue() < 170;
}

// Every entry below `folder` with what it is ("name/" a folder, "name=<digest>" a file, "name->x"
// a link, "name|" anything else), sorted: two looks at a folder compare equal when nothing in it
// changed.
QStringList tree(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = path.mid(folder.size() + 1);
        QFile file(path);
        if (info.isSymLink())
            entries << name + QStringLiteral("->") + info.symLinkTarget();
        else if (info.isDir())
            entries << name + QLatin1Char('/');
        else if (info.isFile() && file.open(QIODevice::ReadOnly))
            entries << name + QLatin1Char('=') + QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex());
        else
            entries << name + QLatin1Char('|');
    }
    entries.sort();
    return entries;
}

// The hidden folders an import makes beside its folder.
QStringList hiddenBeside(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".*import*")}, QDir::AllEntries | QDir::Hidden);
}

void put(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

void copyTree(const QString &from, const QString &to)
{
    QVERIFY(QDir().mkpath(to));
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next(), copy = to + path.mid(from.size());
        QVERIFY(it.fileInfo().isDir() ? QDir().mkpath(copy) : QFile::copy(path, copy));
    }
}

} // namespace

class TestOsmImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<EmptyDatabase> m_database;
    QString m_city;
    QStringList m_stages;
    QStringList m_report;
    Connection m_connection{QStringLiteral("osmimport")};

private Q_SLOTS:
    void initTestCase()
    {
        m_database = std::make_unique<EmptyDatabase>(m_dir.path());
        m_city = m_dir.filePath(QStringLiteral("blocks"));
        QCOMPARE(import({Extract, m_city, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--connection"), m_database->connection},
                        &m_stages, &m_report),
                 QString());
        m_connection.setConnectionString(m_database->exact);
    }

    void importsTheBlocksRowByRow()
    {
        QSqlDatabase db = m_connection.database();
        QCOMPARE(rows(db, QStringLiteral("SELECT saxeli FROM raioni")), (QStringList{"mTawmindis raioni", "vakis raioni"}));
        // A street is listed in each district it runs through for long enough (the avenue), and
        // once when it barely crosses (pekinis quCa); its type comes from its name's last word,
        // from an English type word, or from the road's kind (a trunk road: gzatkecili).
        QCOMPARE(rows(db, QStringLiteral("SELECT quCa.saxeli, g_quCis_tipi, raioni.saxeli FROM quCa, raioni "
                                         "WHERE quCa.g_raioni_kodi=raioni.raioni_kodi")),
                 (QStringList{"Tavisuflebis moedani|3|mTawmindis raioni", "WavWavaZis gamziri|2|mTawmindis raioni",
                              "WavWavaZis gamziri|2|vakis raioni", "beTlemi|9|vakis raioni", "mSrali xidi|10|mTawmindis raioni",
                              "pekinis quCa|1|vakis raioni", "vaJa-pSavela gamziri|2|vakis raioni"}));
        // A platform and its stop position are one stop; an unnamed stop is named after its street,
        // or its district; metro stations are named "metro ...".
        QCOMPARE(rows(db, QStringLiteral("SELECT gaCereba.saxeli, raioni.saxeli FROM gaCereba, raioni "
                                         "WHERE gaCereba.g_raioni_kodi=raioni.raioni_kodi")),
                 (QStringList{"WavWavaZis gamziri|vakis raioni", "filarmonia|mTawmindis raioni",
                              "mTawmindis raioni|mTawmindis raioni", "metro Tavisuflebis moedani|mTawmindis raioni",
                              "metro rusTaveli|mTawmindis raioni", "pekinis quCa|vakis raioni", "vakis parki|vakis raioni"}));
        // Bus 61's two directions make one route that comes back to its first stop; each stop is
        // listed once per position, the stop position beside a platform not at all.
        QStringList routes;
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT transporti.transporti_kodi, transporti_tipi.saxeli, transporti.saxeli, "
                                      "transporti.aRwera FROM transporti, transporti_tipi "
                                      "WHERE transporti.g_transporti_tipi=transporti_tipi.transporti_tipi")));
        while (q.next()) {
            const QStringList stops = rows(db, QStringLiteral("SELECT gaCerebis_rigiTi_n, saxeli FROM kavS_transporti_gaCereba, gaCereba "
                                                              "WHERE g_gaCereba_kodi=gaCereba_kodi AND g_transporti_kodi=%1")
                                                   .arg(q.value(0).toInt()));
            routes << QStringList{q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), stops.join(QLatin1Char(','))}
                          .join(QLatin1Char('|'));
        }
        routes.sort();
        QCOMPARE(routes, (QStringList{"avtobusi|61|vakis parki - filarmonia|1|vakis parki,2|WavWavaZis gamziri,3|filarmonia,"
                                      "4|pekinis quCa,5|vakis parki",
                                      "metro|1|axmetelis Teatri - varkeTili|1|metro rusTaveli,2|metro Tavisuflebis moedani",
                                      "mikroavtobusi|301|filarmonia - vakis parki|1|filarmonia,2|WavWavaZis gamziri,3|vakis parki"}));
        // Georgian, Latin and Cyrillic names; the table's sub-rubrics, "sxva" (1302) for what it
        // does not map; the bank's node and building are one place; the parking is left out, the
        // cafe outside the box too; a web address too long for its column is dropped, not cut;
        // the boutique right of sheet F5 keeps no sheet.
        QStringList objects = rows(db, QStringLiteral("SELECT obieqti.saxeli, g_qve_rubrika_kodi, raioni.saxeli, misamarTi, "
                                                      "telefoni, faqsi, el_fosta, veb_gverdi, SeniSvna, ruka_kodi "
                                                      "FROM obieqti, raioni WHERE obieqti.g_raioni_kodi=raioni.raioni_kodi"));
        objects.replaceInStrings(QRegularExpression(QStringLiteral("\\|[A-F][1-5]$")), QStringLiteral("|on a sheet"));
        QCOMPARE(objects,
                 (QStringList{"51-e sajaro skola|602|vakis raioni|-|-|-|-|-|-|on a sheet",
                              "Tibisi banki|301|vakis raioni|-|-|-|-|-|-|on a sheet",
                              "apteka aveniu|201|vakis raioni|-|-|-|-|-|-|on a sheet",
                              "butiki|802|mTawmindis raioni|-|-|-|-|-|-|-",
                              "denta|204|mTawmindis raioni|-|-|-|-|-|-|on a sheet",
                              "jorjian teqnolojis|1302|vakis raioni|-|-|-|-|-|-|on a sheet",
                              "kafe litera|102|vakis raioni|WavWavaZis gamziri 12a|+995 32 222 22 22, +995 599 11 11 11|-|"
                              "info@litera.ge|https://litera.ge|samuSao saaTebi: Mo-Su 10:00-22:00|on a sheet",
                              "kafe muler|101|mTawmindis raioni|-|-|+995 32 200 00 00|-|-|-|on a sheet",
                              "karefur|801|mTawmindis raioni|-|-|-|-|-|-|on a sheet",
                              "nariyala|1302|mTawmindis raioni|-|-|-|-|-|-|on a sheet",
                              "rusTavelis Teatri|502|mTawmindis raioni|-|-|-|-|-|-|on a sheet",
                              "vakis parki|1004|vakis raioni|-|-|-|-|-|-|on a sheet"}));
        // Every object is listed once, with its logo; only the rubrics in use are written.
        QCOMPARE(rows(db, QStringLiteral("SELECT count(*) FROM obieqti WHERE (SELECT count(*) FROM obieqtis_logo "
                                         "WHERE g_obieqti_kodi=obieqtis_kodi AND tree_Logo IS NOT NULL) <> 1")),
                 QStringList{"0"});
        QCOMPARE(rows(db, QStringLiteral("SELECT saxeli FROM qve_rubrika WHERE g_rubrika_kodi NOT IN (SELECT rubrika_kodi FROM rubrika)")),
                 QStringList());
        QCOMPARE(rows(db, QStringLiteral("SELECT count(*) FROM qve_rubrika")), QStringList{"11"});
        QCOMPARE(rows(db, QStringLiteral("SELECT count(*) FROM quCis_tipi")), QStringList{"10"});

        // The report says what was done; a line for each stage as it begins and ends.
        const QString report = m_report.join(QLatin1Char('\n'));
        for (const char *said : {"12 places, 7 streets, 7 stops, 3 routes", "the 2 boundaries of admin_level 10",
                                 "office=company 1, tourism=attraction 1", "1 places are left out", "right of sheet F5"})
            QVERIFY2(report.contains(QLatin1String(said)), qPrintable(report));
        for (const char *stage : {"reading tbilisi.osm", "catalogue", "rasters", "icons and help", "database"}) {
            QVERIFY(m_stages.contains(QLatin1String(stage) + QStringLiteral(" ...")));
            QVERIFY(m_stages.indexOf(QRegularExpression(QStringLiteral("^%1: [0-9.]+ s$").arg(QLatin1String(stage)))) >= 0);
        }
        QCOMPARE(QFile(m_city + QStringLiteral("/Address.ini")).size(), qint64(m_database->connection.toUtf8().size() + 2));
    }

    void recordsLieOnTheSameSpotOfBothMaps()
    {
        const QSize map = CityWriter::generalMapSize(MapWidth), sheet = CityWriter::sheetSize(MapWidth);
        const QImage general(m_city + QStringLiteral("/Raster/Tbilisi.bmp"));
        QCOMPARE(general.size(), map);
        const MapFrame frame = MapFrame::around({44.76, 41.69, 44.80, 41.71});
        const CityFrame written = CityFrame::read(m_city + QStringLiteral("/Raster/Tbilisi.frame"));
        QVERIFY(!written.rough && qAbs(written.widthMetres - frame.width) < 0.1);
        QVERIFY(written.west < 44.7601 && written.east > 44.7999 && written.south < 41.6901 && written.north > 41.7099);
        auto projected = [&](double lon, double lat) {
            const QPointF p = frame.percent(frame.project(lon, lat));
            return QPointF(p.x() * map.width() / 100, p.y() * map.height() / 100);
        };
        // Each located record: its general-map spot, its sheet spot carried over, and where the
        // extract puts it, agree within a pixel.
        QSqlDatabase db = m_connection.database();
        const QMap<QString, QPointF> truth{{"obieqti kafe litera", projected(44.7700, 41.7010)},
                                           {"gaCereba vakis parki", projected(44.7660, 41.6995)},
                                           {"quCa pekinis quCa", projected(44.7765, 41.705)},
                                           {"quCa Tavisuflebis moedani", projected(44.795, 41.693)},
                                           {"gaCereba metro rusTaveli", projected(44.7930, 41.7020)}};
        int compared = 0, checkedTruth = 0;
        for (const char *table : {"obieqti", "quCa", "gaCereba"}) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT saxeli, ruka_kodi, x, y FROM %1 WHERE ruka_kodi IS NOT NULL").arg(QLatin1String(table))));
            while (q.next()) {
                const QString name = QLatin1String(table) + QLatin1Char(' ') + q.value(0).toString(), code = q.value(1).toString();
                const double x = q.value(2).toDouble(), y = q.value(3).toDouble();
                const QPoint spot = generalSpot(code, x, y, map);
                QVERIFY2(QLineF(spot, viaSheet(frame, code, x, y, sheet, map)).length() <= 1, qPrintable(name));
                if (truth.contains(name)) {
                    QVERIFY2(QLineF(spot, truth.value(name)).length() <= 1, qPrintable(name));
                    ++checkedTruth;
                }
                ++compared;
            }
        }
        QCOMPARE(compared, 11 + 7 + 7);
        QVERIFY(checkedTruth >= 5);

        // The maps show the city there: the park is green on both, but not in its pond; the river
        // is water; the avenue is drawn.
        const QPointF park = projected(44.763, 41.6935), pond = projected(44.76675, 41.69125), river = projected(44.7975, 41.700);
        QVERIFY(isPark(general.pixelColor(park.toPoint())));
        QVERIFY(!isPark(general.pixelColor(pond.toPoint())));
        QVERIFY(isWater(general.pixelColor(river.toPoint())));
        FakePrompts prompts;
        const QImage a5(m_city + QStringLiteral("/Raster/A5.jpg"));
        const QPointF parkOnSheet = MapPainter::viewTransform(CityWriter::mapArea(frame, QStringLiteral("A5")), sheet)
                                        .map(frame.project(44.763, 41.6910));
        QVERIFY(isPark(a5.pixelColor(parkOnSheet.toPoint())));
        // A street running straight east, on the general map and on a sheet it crosses end to end.
        QVERIFY(isAvenue(general.pixelColor(projected(44.782, 41.700).toPoint())));
        const QPointF avenueOnSheet = MapPainter::viewTransform(CityWriter::mapArea(frame, QStringLiteral("B3")), sheet)
                                          .map(frame.project(44.774, 41.700));
        QVERIFY(isAvenue(QImage(m_city + QStringLiteral("/Raster/B3.jpg")).pixelColor(avenueOnSheet.toPoint())));
    }

    void badInputIsReportedAndLeavesNothingBehind()
    {
        const QString folder = m_dir.filePath(QStringLiteral("bad"));
        const QString missing = import({m_dir.filePath(QStringLiteral("nowhere.osm.pbf")), folder});
        QVERIFY2(missing.contains(QLatin1String("no such file")), qPrintable(missing));
        QFile junk(m_dir.filePath(QStringLiteral("junk.osm")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("<osm><node id=") > 0);
        junk.close();
        QVERIFY(import({junk.fileName(), folder}).contains(QLatin1String("as OpenStreetMap data")));
        QVERIFY(import({m_dir.filePath(QStringLiteral("Address.ini")), folder}).contains(QLatin1String("no such file")));
        QVERIFY(import({Extract, folder, QStringLiteral("--bbox"), QStringLiteral("45.5,42.0,45.6,42.1")})
                    .contains(QLatin1String("has nothing in the box 45.5000,42.0000,45.6000,42.1000")));
        QVERIFY(import({Extract, folder, QStringLiteral("--bbox"), QStringLiteral("44.789,41.7075,44.791,41.7085")})
                    .contains(QLatin1String("holds no named places")));
        QString error;
        ImportOptions options;
        QVERIFY(!parseImportArguments({Extract, folder, QStringLiteral("--bbox"), QStringLiteral("44.8,41.69,44.76,41.71")},
                                      &options, &error));
        QVERIFY(error.contains(QLatin1String("--bbox")));
        QVERIFY(!QFileInfo::exists(folder));

        // A folder with someone's own files is not written into; a city made before is replaced.
        const QString own = m_dir.filePath(QStringLiteral("own"));
        QVERIFY(QDir().mkpath(own));
        QFile letter(own + QStringLiteral("/letter.txt"));
        QVERIFY(letter.open(QIODevice::WriteOnly) && letter.write("mine") == 4);
        letter.close();
        QVERIFY(import({Extract, own, QStringLiteral("--bbox"), FixtureBox}).contains(QLatin1String("no .kvirzeta-city")));
        QCOMPARE(QDir(own).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"letter.txt"});
        const QString again = m_dir.filePath(QStringLiteral("again"));
        QCOMPARE(import({Extract, again, QStringLiteral("--bbox"), FixtureBox}), QString());
        QCOMPARE(import({Extract, again + QLatin1Char('/'), QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--seed"),
                         QStringLiteral("3")}),
                 QString());
        QVERIFY(QFileInfo::exists(again + QStringLiteral("/Raster/F5.jpg")));
        // An empty folder name, and a disk that takes no more (here: a file size limit), are told
        // with the folder and the reason.
        QVERIFY(import({Extract, QString()}).contains(QLatin1String("name of the folder is empty")));
        const QString full = m_dir.filePath(QStringLiteral("full"));
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit unlimited = limit;
        limit.rlim_cur = 64 * 1024;
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const QString tooLarge = import({Extract, full, QStringLiteral("--bbox"), FixtureBox});
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        QVERIFY2(tooLarge.contains(full) && tooLarge.contains(QLatin1String("File too large")), qPrintable(tooLarge));
        QVERIFY(!QFileInfo::exists(full));
        // No half-made city is left beside the folders.
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral(".*import*")}, QDir::AllEntries | QDir::Hidden), QStringList());
    }

    // Only a folder that is empty, or holds a city made before (its list and nothing the list
    // does not name, in the whole tree), is replaced; anything else is refused, naming the first
    // thing in the way, and stays as it was. A link stands for the folder it points to.
    void replacesOnlyWhatACityToolMade_data()
    {
        // "city": a copy of a city made before; "path": a file, "path=text" one with that text;
        // "path/": a folder; "path|": a FIFO; "-path": removed; "absent": no folder at all. A
        // file ending in ".osm" is the extract imported.
        QTest::addColumn<QStringList>("holds");
        QTest::addColumn<bool>("link");     // the folder is given by a link to it
        QTest::addColumn<QString>("refusal"); // part of the message; empty: the city is replaced
        QTest::newRow("empty") << QStringList() << false << QString();
        QTest::newRow("a city made before") << QStringList{"city"} << false << QString();
        QTest::newRow("a link to a city made before") << QStringList{"city"} << true << QString();
        QTest::newRow("an Address.ini beside photos")
            << QStringList{"Address.ini", "pictures/holiday/", "pictures/wedding.jpg"} << false << "beginning with Address.ini";
        QTest::newRow("a help document of one's own") << QStringList{"Kvirzeta.pdf"} << false << "no .kvirzeta-city";
        QTest::newRow("a city of an earlier version") << QStringList{"city", "-.kvirzeta-city"} << false << "no .kvirzeta-city";
        QTest::newRow("photos among the pictures")
            << QStringList{"city", "pictures/holiday/", "pictures/wedding.jpg"} << false << "holds pictures/holiday,";
        QTest::newRow("a scan among the rasters") << QStringList{"city", "Raster/my_scan.tif"} << false << "holds Raster/my_scan.tif,";
        QTest::newRow("the extract inside the city")
            << QStringList{"city", "Raster/georgia-latest.osm"} << false << "holds Raster/georgia-latest.osm,";
        QTest::newRow("a link to one's own folder") << QStringList{"notes.txt"} << true << "beginning with notes.txt";
        QTest::newRow("a link to nowhere") << QStringList{"absent"} << true << "does not exist";
        QTest::newRow("a list naming a file outside")
            << QStringList{"city", ".kvirzeta-city=Address.ini\n../letter.txt\n"} << false << "cannot be used";
        QTest::newRow("a FIFO for a list") << QStringList{"city", "-.kvirzeta-city", ".kvirzeta-city|"} << false
                                           << "not a regular file";
    }

    void replacesOnlyWhatACityToolMade()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the folders do not depend on the database backend: checked on the SQLite run");
        QFETCH(QStringList, holds);
        QFETCH(bool, link);
        QFETCH(QString, refusal);
        static int made = 0;
        const QDir here(m_dir.filePath(QStringLiteral("folders/%1").arg(++made)));
        const QString real = here.filePath(QStringLiteral("city")), given = link ? here.filePath(QStringLiteral("link")) : real;
        QVERIFY(QDir().mkpath(holds.contains(QStringLiteral("absent")) ? here.path() : real));
        if (link)
            QVERIFY(QFile::link(real, given));
        QString input = Extract;
        for (const QString &entry : holds) {
            const QString path = real + QLatin1Char('/') + entry.section(QLatin1Char('='), 0, 0);
            if (entry == QLatin1String("absent"))
                continue;
            if (entry == QLatin1String("city"))
                copyTree(m_city, real);
            else if (entry.startsWith(QLatin1Char('-')))
                QVERIFY(QFile::remove(real + QLatin1Char('/') + entry.mid(1)));
            else if (entry.endsWith(QLatin1Char('/')))
                QVERIFY(QDir().mkpath(path));
            else if (entry.endsWith(QLatin1Char('|')))
                QCOMPARE(::mkfifo(QFile::encodeName(path.chopped(1)).constData(), 0600), 0);
            else if (entry.endsWith(QLatin1String(".osm")))
                QVERIFY(QFile::copy(Extract, input = path));
            else
                put(path, entry.contains(QLatin1Char('=')) ? entry.section(QLatin1Char('='), 1).toUtf8() : QByteArray("precious"));
        }
        const QStringList before = tree(real);

        const QString error = import({input, given, QStringLiteral("--bbox"), FixtureBox});
        if (refusal.isEmpty()) {
            QCOMPARE(error, QString());
            QVERIFY(QFileInfo(real + QStringLiteral("/Raster/F5.jpg")).isFile());
            QVERIFY(QFileInfo(real + QStringLiteral("/.kvirzeta-city")).isFile());
            QCOMPARE(QFileInfo(given).isSymLink(), link);
        } else {
            QVERIFY2(error.contains(refusal), qPrintable(error));
            QCOMPARE(tree(real), before);
        }
        QCOMPARE(hiddenBeside(here.path()), QStringList());
    }

    // What a stopped import left beside the folder is removed by the next import into it: its
    // hidden folder when no running import holds the mark, a city moved aside; nothing else of a
    // similar name.
    void anImportRemovesWhatAStoppedOneLeft()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the folders do not depend on the database backend: checked on the SQLite run");
        const QDir here(m_dir.filePath(QStringLiteral("stopped")));
        QVERIFY(QDir().mkpath(here.path()));
        const QString stale = here.filePath(QStringLiteral(".city.import-AbC123")), old = stale + QStringLiteral("-old");
        put(stale + QStringLiteral("/.kvirzeta-work"), QByteArray());
        put(stale + QStringLiteral("/Raster/A1.jpg"), "half");
        copyTree(m_city, old);
        const QString running = here.filePath(QStringLiteral(".city.import-Run123"));
        put(running + QStringLiteral("/.kvirzeta-work"), QByteArray());
        QFile mark(running + QStringLiteral("/.kvirzeta-work"));
        QVERIFY(mark.open(QIODevice::ReadOnly) && ::flock(mark.handle(), LOCK_EX | LOCK_NB) == 0);
        const QStringList kept{QStringLiteral(".city.import-Mine12/letter.txt"), QStringLiteral(".other.import-AbC123/.kvirzeta-work"),
                               QStringLiteral(".city.import-AbC1234/.kvirzeta-work")};
        for (const QString &file : kept)
            put(here.filePath(file), "precious");

        QStringList report;
        QCOMPARE(import({Extract, here.filePath(QStringLiteral("city")), QStringLiteral("--bbox"), FixtureBox}, nullptr, &report),
                 QString());
        QCOMPARE(hiddenBeside(here.path()), (QStringList{".city.import-AbC1234", ".city.import-Mine12", ".city.import-Run123",
                                                         ".other.import-AbC123"}));
        QCOMPARE(report.filter(QStringLiteral("left by an earlier run")).size(), 2);
    }

    // The folder is looked at again just before the swap: a file put there during the import
    // stays and the import is refused. When the new city cannot be moved in, the old one is put
    // back whole.
    void theSwapKeepsTheOldCityWhole()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the folders do not depend on the database backend: checked on the SQLite run");
        const QDir here(m_dir.filePath(QStringLiteral("swap")));
        const QString city = here.filePath(QStringLiteral("city"));
        copyTree(m_city, city);
        const QStringList before = tree(city);
        const QStringList arguments{Extract, city, QStringLiteral("--bbox"), FixtureBox};

        QString error = import(arguments, nullptr, nullptr, [&](const QString &line) {
            if (line == QLatin1String("database ..."))
                put(city + QStringLiteral("/notes.txt"), "written during the import");
        });
        QVERIFY2(error.contains(QLatin1String("holds notes.txt,")), qPrintable(error));
        QVERIFY(QFile::remove(city + QStringLiteral("/notes.txt")));
        QCOMPARE(tree(city), before);

        error = import(arguments, nullptr, nullptr, [&](const QString &line) {
            if (line == QLatin1String("moving into place ..."))
                for (const QString &hidden : hiddenBeside(here.path()))
                    QVERIFY(QDir(here.filePath(hidden)).removeRecursively());
        });
        QVERIFY2(error.contains(QLatin1String("Cannot move the new city into")), qPrintable(error));
        QCOMPARE(tree(city), before);
        QCOMPARE(hiddenBeside(here.path()), QStringList());
    }

    // A stopped import (Ctrl+C, a kill, the terminal closed) leaves the folder as it was and
    // nothing beside it.
    void aStoppedImportLeavesNothingBehind()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the folders do not depend on the database backend: checked on the SQLite run");
        const QDir here(m_dir.filePath(QStringLiteral("signalled")));
        const QString city = here.filePath(QStringLiteral("city"));
        copyTree(m_city, city);
        const QStringList before = tree(city);
        QProcess tool;
        connect(&tool, &QProcess::readyReadStandardOutput, this, [&tool] {
            while (tool.canReadLine())
                if (tool.readLine().startsWith("catalogue ..."))
                    ::kill(pid_t(tool.processId()), SIGTERM);
        });
        tool.start(QStringLiteral(KVIRZETA_IMPORT_TOOL),
                   {Extract, city, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--map-width"), QString::number(MapWidth)});
        QVERIFY2(tool.waitForFinished(120000), qPrintable(tool.errorString()));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 128 + SIGTERM);
        QVERIFY(tool.readAllStandardError().contains("the folder is as it was"));
        QCOMPARE(tree(city), before);
        QCOMPARE(hiddenBeside(here.path()), QStringList());
    }

    // A relative SQLite file of --connection is taken from the current folder, as the other
    // paths are, and Address.ini names it so that the program finds it from the city's folder.
    // One inside the folder the city replaces is refused.
    void aRelativeDatabaseFileIsFoundFromTheCity()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("an SQLite file of its own: checked on the SQLite run");
        const QDir here(m_dir.filePath(QStringLiteral("relative")));
        QVERIFY(QDir().mkpath(here.path()));
        {
            ScopedCurrentDir inHere(here.path());
            QCOMPARE(import({Extract, QStringLiteral("city"), QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--connection"),
                             QStringLiteral("Provider=SQLite;Data Source=own.sqlite")}),
                     QString());
            const QString inside = import({Extract, QStringLiteral("city"), QStringLiteral("--bbox"), FixtureBox,
                                           QStringLiteral("--connection"), QStringLiteral("Provider=SQLite;Data Source=city/x.sqlite")});
            QVERIFY2(inside.contains(QLatin1String("which the new city replaces")), qPrintable(inside));
        }
        QVERIFY(QFileInfo(here.filePath(QStringLiteral("own.sqlite"))).isFile());
        ScopedCurrentDir inTheCity(here.filePath(QStringLiteral("city")));
        Connection connection(QStringLiteral("relative"));
        connection.setConnectionString(Connection::readConnectionFile(QStringLiteral("Address.ini")));
        QCOMPARE(rows(connection.database(), QStringLiteral("SELECT count(*) FROM obieqti")), QStringList{"12"});
    }

    // A NUL byte in a string of a PBF file (two nodes of three have one in a tag): those are read
    // without their tags, counted and told, and the rest is imported.
    void aNulInAPbfStringIsToldNotCrashedOn()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the extract does not depend on the database backend: checked on the SQLite run");
        const QString city = m_dir.filePath(QStringLiteral("nul"));
        QStringList report;
        QCOMPARE(import({QStringLiteral(KVIRZETA_FIXTURE_DIR "/nul-in-tags.osm.pbf"), city}, nullptr, &report), QString());
        QVERIFY2(report.join(QLatin1Char('\n')).contains(QLatin1String("2 nodes, 0 ways and 0 relations have a NUL character")),
                 qPrintable(report.join(QLatin1Char('\n'))));
        QCOMPARE(rowsOf(city, QStringLiteral("SELECT saxeli FROM obieqti")), QStringList{"kafe"});
    }

    void namesAreTranscribedForTheDisplayFont()
    {
        using Transcription::transcribe;
        QCOMPARE(transcribe(u"ჭავჭავაძის  გამზირი"), QStringLiteral("WavWavaZis gamziri"));
        QCOMPARE(transcribe(u"ᲗᲑᲘᲚᲘᲡᲘ"), QStringLiteral("Tbilisi")); // capitals read as the letters
        QCOMPARE(transcribe(u"Shota's Coffee & Pizza"), QStringLiteral("Sota's kofi & pica"));
        QCOMPARE(transcribe(u"K'art'uli Sakhli"), QStringLiteral("kartuli saxli"));
        QCOMPARE(transcribe(u"Чайхана №5"), QStringLiteral("Caixana №5"));
        QCOMPARE(transcribe(u"ვეკუას II შესახვევი"), QStringLiteral("vekuas II Sesaxvevi"));
        for (const char *name : {"erekle II-is moedani", "metro 300 aragveli", "d'artaniani", "gldanis VIII m/r"})
            QCOMPARE(transcribe(Transcription::toGeorgian(QString::fromUtf8(name))), QString::fromUtf8(name));
    }

    // Without a box of one's own the city's boundary is the box, and the city names the maps: the
    // fixture's city, not its town of more people; a title (in Georgian letters: transcribed) and a
    // box of one's own stand.
    void theCityGivesTheBoxAndTheName()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the box and the name do not depend on the database backend: checked on the SQLite run");
        const QString whole = m_dir.filePath(QStringLiteral("whole"));
        QStringList report;
        QCOMPARE(import({Extract, whole}, nullptr, &report), QString());
        QVERIFY2(report.join(QLatin1Char('\n')).contains(QLatin1String("the box is the administrative boundary of Tbilisi: "
                                                                       "44.7300,41.6700,44.8300,41.7300")),
                 qPrintable(report.join(QLatin1Char('\n'))));
        const CityFrame frame = CityFrame::read(whole + QStringLiteral("/Raster/Tbilisi.frame"));
        QCOMPARE(frame.city, QStringLiteral("Tbilisi"));
        QVERIFY(frame.west < 44.7301 && frame.east > 44.8299 && frame.south < 41.6701 && frame.north > 41.7299 && frame.east < 44.85);

        const QString named = m_dir.filePath(QStringLiteral("named"));
        QCOMPARE(import({Extract, named, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--title"), QStringLiteral("რუსთავი")},
                        nullptr, &report),
                 QString());
        QVERIFY(!report.join(QLatin1Char('\n')).contains(QLatin1String("boundary of")));
        QCOMPARE(CityFrame::read(named + QStringLiteral("/Raster/Tbilisi.frame")).city, QStringLiteral("rusTavi"));
    }

    void demoCityComesBackFromItsExtract()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the round trip does not depend on the database backend: checked on the SQLite run");
        const QString demo = m_dir.filePath(QStringLiteral("demo")), extract = m_dir.filePath(QStringLiteral("demo.osm.pbf"));
        GeneratorOptions options;
        QString error;
        GeneratorOptions refused;
        QVERIFY(!parseArguments({demo, QStringLiteral("--osm")}, &refused, &error) && error.contains(QLatin1String("--osm")));
        QVERIFY(parseArguments({demo, QStringLiteral("--map-width"), QString::number(MapWidth), QStringLiteral("--quiet"),
                                QStringLiteral("--osm"), extract},
                               &options, &error));
        Generator generator(options);
        generator.run();
        const City &city = generator.city();
        OsmExport::write(city, TagMapping::builtIn(*city.model), options.osmFile);
        const QString imported = m_dir.filePath(QStringLiteral("imported"));
        // The demo city's own frame, to the millimetre: the default box is Tbilisi's whole network.
        const GeoBox box = city.model->frame.box();
        const QString exactBox = QStringLiteral("%1,%2,%3,%4").arg(box.west, 0, 'f', 9).arg(box.south, 0, 'f', 9).arg(box.east, 0, 'f', 9).arg(box.north, 0, 'f', 9);
        QCOMPARE(import({extract, imported, QStringLiteral("--bbox"), exactBox}), QString());

        // Every located record comes back under its name (and sub-rubric or street type), on the
        // same spot of a full-size general map within a pixel; a street is listed once more in
        // each other district it runs through for long enough; the demo city's named parks come
        // as places of their own.
        QCOMPARE(cameBack(demo, imported, QStringLiteral("SELECT saxeli || ' ' || g_qve_rubrika_kodi, ruka_kodi, x, y FROM obieqti")),
                 city.objects.size() - int(std::count_if(city.objects.cbegin(), city.objects.cend(), [](const ObjectRecord &o) { return !o.located; }))
                     + int(std::count_if(city.model->areas.cbegin(), city.model->areas.cend(), [](const Area &a) { return a.kind == Area::Park; })));
        QCOMPARE(cameBack(demo, imported, QStringLiteral("SELECT saxeli FROM gaCereba")), city.stops.size());
        const int streetRows = cameBack(demo, imported, QStringLiteral("SELECT saxeli || ' ' || g_quCis_tipi, ruka_kodi, x, y FROM quCa"));
        QVERIFY(streetRows >= city.streets.size() && streetRows < city.streets.size() * 5 / 4);
        QCOMPARE(rowsOf(imported, QStringLiteral("SELECT DISTINCT saxeli FROM quCa")), rowsOf(demo, QStringLiteral("SELECT DISTINCT saxeli FROM quCa")));
        const QString routes = QStringLiteral("SELECT g_transporti_tipi, transporti.saxeli, transporti.aRwera, gaCerebis_rigiTi_n, "
                                              "gaCereba.saxeli FROM transporti, kavS_transporti_gaCereba, gaCereba "
                                              "WHERE transporti_kodi=g_transporti_kodi AND g_gaCereba_kodi=gaCereba_kodi");
        QCOMPARE(rowsOf(imported, routes), rowsOf(demo, routes));

        // Its transit written as a GTFS feed comes back the same: every route's stops in order, the
        // feed's stops one with the extract's.
        const QString feed = m_dir.filePath(QStringLiteral("demo-feed")), fromFeed = m_dir.filePath(QStringLiteral("from-feed"));
        GtfsExport::write(city, TagMapping::builtIn(*city.model), feed);
        QCOMPARE(import({extract, fromFeed, QStringLiteral("--bbox"), exactBox, QStringLiteral("--gtfs"), feed}), QString());
        const QString stopsInOrder = QStringLiteral("SELECT transporti.saxeli, gaCerebis_rigiTi_n, gaCereba.saxeli FROM transporti, "
                                                    "kavS_transporti_gaCereba, gaCereba WHERE transporti_kodi=g_transporti_kodi "
                                                    "AND g_gaCereba_kodi=gaCereba_kodi");
        QCOMPARE(rowsOf(fromFeed, stopsInOrder), rowsOf(demo, stopsInOrder));
        QCOMPARE(rowsOf(fromFeed, QStringLiteral("SELECT saxeli, x, y FROM gaCereba")), rowsOf(imported, QStringLiteral("SELECT saxeli, x, y FROM gaCereba")));
    }

private:
    static QStringList rowsOf(const QString &folder, const QString &sql)
    {
        Connection connection(QStringLiteral("roundtrip"));
        connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1/%2").arg(folder, QLatin1String(CityWriter::DatabaseFile)));
        return rows(connection.database(), sql);
    }

    // Checks that each located record of `before` is in `after` under the same key, on the same
    // spot; gives the number of records of `after`. The query gives key, sheet, x and y, or the
    // key alone when the spots are not compared.
    static int cameBack(const QString &before, const QString &after, const QString &sql)
    {
        const QStringList was = rowsOf(before, sql), is = rowsOf(after, sql);
        QMultiHash<QString, QPoint> spots;
        auto spotOf = [](const QStringList &fields) {
            return fields.size() < 4 ? QPoint() : generalSpot(fields[1], fields[2].toDouble(), fields[3].toDouble(), QSize(2500, 1875));
        };
        for (const QString &row : is) {
            const QStringList fields = row.split(QLatin1Char('|'));
            spots.insert(fields[0], spotOf(fields));
        }
        for (const QString &row : was) {
            const QStringList fields = row.split(QLatin1Char('|'));
            if (fields.value(1) == QLatin1String("-"))
                continue; // a hot line, on no map and so in no extract
            const QList<QPoint> found = spots.values(fields[0]);
            const bool there = std::any_of(found.cbegin(), found.cend(), [&](QPoint p) { return QLineF(p, spotOf(fields)).length() <= 1; });
            if (!there)
                qWarning() << "not back:" << row;
            if (!there)
                return -1;
        }
        return int(is.size());
    }
};

QTEST_MAIN(TestOsmImport)
#include "tst_osmimport.moc"
