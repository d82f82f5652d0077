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
#include "democity/OsmExport.h"
#include "map/SheetGrid.h"
#include "osmimport/ImportCommandLine.h"
#include "osmimport/TagMapping.h"
#include "osmimport/Transcription.h"

#include <QtTest>

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString Extract = QStringLiteral(KVIRZETA_FIXTURE_DIR "/tbilisi.osm");
const QString FixtureBox = QStringLiteral("44.76,41.69,44.80,41.71");
constexpr int MapWidth = 800;

// Imports into a folder; the error text, or empty on success. Stage lines go into `stages`.
QString import(const QStringList &arguments, QStringList *stages = nullptr, QStringList *report = nullptr)
{
    ImportOptions options;
    QString error;
    if (!parseImportArguments(arguments + QStringList{QStringLiteral("--map-width"), QString::number(MapWidth)}, &options, &error))
        return error;
    try {
        Stages listener([&](const QString &line) {
            if (stages)
                stages->append(line);
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
    FakePrompts prompts;
    return SheetGrid::generalPixel(code, 100, x, y, map.width(), map.height(), prompts);
}

// The same record's place on its sheet, carried over to the general map through the rasters'
// own geometry: where the sheet's painter put that pixel of the city.
QPointF viaSheet(const MapFrame &frame, const QString &code, double x, double y, QSize sheet, QSize map)
{
    const QPointF onSheet = SheetGrid::sheetPixel(100, sheet.width(), sheet.height(), x, y);
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
        QVERIFY(import({Extract, own, QStringLiteral("--bbox"), FixtureBox}).contains(QLatin1String("not a Kvirzeta city")));
        QCOMPARE(QDir(own).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"letter.txt"});
        const QString again = m_dir.filePath(QStringLiteral("again"));
        QCOMPARE(import({Extract, again, QStringLiteral("--bbox"), FixtureBox}), QString());
        QCOMPARE(import({Extract, again + QLatin1Char('/'), QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--seed"),
                         QStringLiteral("3")}),
                 QString());
        QVERIFY(QFileInfo::exists(again + QStringLiteral("/Raster/F5.jpg")));
        // No half-made city is left beside the folders.
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral(".*import*")}, QDir::AllEntries | QDir::Hidden), QStringList());
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
        QCOMPARE(import({extract, imported}), QString());

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
