// GTFS feeds: the CSV reader on its own, a hand-written feed (tests/fixtures/feed) imported with
// the fixture extract and read back, the planner on its intervals, and feeds that cannot be read.
#include "EmptyDatabase.h"
#include "data/Connection.h"
#include "gtfs/CsvReader.h"
#include "osmimport/ImportCommandLine.h"
#include "osmimport/OsmTransport.h"
#include "transit/Endpoints.h"
#include "transit/NetworkLoader.h"
#include "transit/Planner.h"

#include <QtTest>

#include <QBuffer>
#include <QSqlQuery>

#include <zip.h>

#include <stdexcept>

namespace {

const QString Extract = QStringLiteral(KVIRZETA_FIXTURE_DIR "/tbilisi.osm");
const QString Feed = QStringLiteral(KVIRZETA_FIXTURE_DIR "/feed");
const QString FixtureBox = QStringLiteral("44.76,41.69,44.80,41.71");

// Every record of `data`, fields joined by '|', records by "//"; or the reader's error.
QString records(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer, QStringLiteral("x.txt"));
    QStringList all;
    try {
        while (reader.next()) {
            QStringList fields;
            for (const QByteArray &f : reader.fields())
                fields << QString::fromUtf8(f);
            all << QStringLiteral("%1:%2").arg(reader.line()).arg(fields.join(QLatin1Char('|')));
        }
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return all.join(QStringLiteral("//"));
}

QString import(const QStringList &arguments, QStringList *report = nullptr)
{
    ImportOptions options;
    QString error;
    if (!parseImportArguments(arguments + QStringList{QStringLiteral("--map-width"), QStringLiteral("800"), QStringLiteral("--quiet")},
                              &options, &error))
        return error;
    try {
        Stages quiet([](const QString &) {});
        Importer importer(options);
        importer.run(quiet);
        if (report)
            *report = importer.report();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

// A zip of the fixture feed's files, with `extra` entries (name, bytes) beside them.
void writeZip(const QString &path, const QList<QPair<QByteArray, QByteArray>> &extra)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    QList<QPair<QByteArray, QByteArray>> entries = extra;
    for (const QString &name : QDir(Feed).entryList(QDir::Files)) {
        QFile file(Feed + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        entries.append({QByteArray("feed/") + name.toUtf8(), file.readAll()});
    }
    QList<QByteArray> kept; // libzip reads the buffers when it closes the archive
    for (const auto &[name, bytes] : entries) {
        kept.append(bytes);
        zip_source_t *source = zip_source_buffer(archive, kept.last().constData(), zip_uint64_t(kept.last().size()), 0);
        QVERIFY(zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE) >= 0);
    }
    QCOMPARE(zip_close(archive), 0);
}

QStringList column(QSqlDatabase db, const QString &sql)
{
    QStringList values;
    QSqlQuery q(db);
    if (!q.exec(sql))
        qWarning() << sql;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

} // namespace

class TestGtfs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void csvReaderReadsWhatRfc4180Allows()
    {
        // A byte-order mark, CRLF, quotes holding commas, line breaks and doubled quotes, ragged
        // rows, an empty line, and a last record without its line break.
        QCOMPARE(records("\xEF\xBB\xBF" "a,b\r\n\"x, y\",\"say \"\"hi\"\"\"\r\n\r\n\"two\r\nlines\",,3\nlast"),
                 QStringLiteral("1:a|b//2:x, y|say \"hi\"//4:two\r\nlines||3//6:last"));
        QCOMPARE(records("one\rtwo\n\n"), QStringLiteral("1:one//2:two"));
        QCOMPARE(records(""), QString());
        // A quoted field across the reader's blocks.
        const QByteArray longField(300 * 1024, 'z');
        QCOMPARE(records("id,text\n1,\"" + longField + "\"\n2,b"), QStringLiteral("1:id|text//2:1|") + QString::fromLatin1(longField)
                                                                    + QStringLiteral("//3:2|b"));
        // A quote never closed is told with the line its record began on.
        QCOMPARE(records("a\nb\n\"open,\nmore\n"), QStringLiteral("x.txt:3: a quoted field is not closed"));
    }

    void metroNamesGetOnePrefix()
    {
        for (const char *name : {"rusTaveli", "m/s rusTaveli", "M/S rusTaveli", "metro rusTaveli", "sadguri rusTaveli",
                                 "metro sadguri rusTaveli", "m.s. rusTaveli"})
            QCOMPARE(OsmTransport::metroName(QString::fromUtf8(name)), QStringLiteral("metro rusTaveli"));
        QCOMPARE(OsmTransport::metroName(QStringLiteral("metrologia")), QStringLiteral("metro metrologia"));
        QCOMPARE(OsmTransport::metroName(QStringLiteral("metro")), QStringLiteral("metro"));
    }

    // The feed's stops join the extract's; routes list their directions in order (the metro's
    // trips do not say theirs); intervals come from frequencies or the morning's departures on the
    // busiest service; the planner waits half.
    void aFeedIsImportedWithTheExtract()
    {
        QTemporaryDir dir;
        EmptyDatabase database(dir.path());
        const QString city = dir.filePath(QStringLiteral("city"));
        QStringList report;
        QCOMPARE(import({Extract, city, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--gtfs"), Feed, QStringLiteral("--connection"),
                         database.connection},
                        &report),
                 QString());
        const QString said = report.join(QLatin1Char('\n'));
        QVERIFY2(said.contains(QLatin1String("routes.txt:4: 42")) && said.contains(QLatin1String("trips.txt:9"))
                     && said.contains(QLatin1String("1 stops of the feed lie outside the maps' frame")),
                 qPrintable(said));

        Connection connection(QStringLiteral("gtfs"));
        connection.setConnectionString(database.exact);
        QSqlDatabase db = connection.database();
        // The extract's stops stay; the feed's join them by name within 60 m (a station with its
        // platforms is one), a new one is added, one south of the frame has no position, and one
        // no trip serves is left out.
        QCOMPARE(column(db, QStringLiteral("SELECT saxeli FROM gaCereba WHERE x IS NULL ORDER BY saxeli")),
                 (QStringList{"krwanisi"}));
        QCOMPARE(column(db, QStringLiteral("SELECT count(*) FROM gaCereba")), QStringList{"9"});
        auto stopsOf = [&](const QString &route) {
            return column(db, QStringLiteral("SELECT g.saxeli FROM kavS_transporti_gaCereba k, gaCereba g, transporti t "
                                             "WHERE k.g_gaCereba_kodi=g.gaCereba_kodi AND k.g_transporti_kodi=t.transporti_kodi "
                                             "AND t.saxeli='%1' ORDER BY k.gaCerebis_rigiTi_n")
                                  .arg(route))
                .join(QLatin1Char(','));
        };
        QCOMPARE(stopsOf(QStringLiteral("61")), QStringLiteral("vakis parki,WavWavaZis gamziri,axali gaCereba, zemoT,krwanisi,"
                                                               "axali gaCereba, zemoT,WavWavaZis gamziri,vakis parki"));
        QCOMPARE(stopsOf(QStringLiteral("axmetelis")), QStringLiteral("metro rusTaveli,metro Tavisuflebis moedani,metro rusTaveli"));
        QStringList intervals;
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT t.saxeli, t.g_transporti_tipi, i.wuTebi FROM transporti t, transporti_intervali i "
                                      "WHERE t.transporti_kodi=i.g_transporti_kodi ORDER BY t.saxeli")));
        while (q.next())
            intervals << QStringLiteral("%1 %2 %3").arg(q.value(0).toString()).arg(q.value(1).toInt()).arg(q.value(2).toDouble());
        QCOMPARE(intervals, (QStringList{"61 2 90", "axmetelis 1 4"}));

        // Boarding waits half the route's interval.
        const QString here = QDir::currentPath();
        QVERIFY(QDir::setCurrent(city));
        const auto network = NetworkLoader::load(db);
        QDir::setCurrent(here);
        Planner planner(network);
        const Planner::Result metro = planner.plan(Endpoints::atStopsNamed(*network, QStringLiteral("metro rusTaveli")),
                                                   Endpoints::atStopsNamed(*network, QStringLiteral("metro Tavisuflebis moedani")));
        QCOMPARE(metro.outcome, Planner::Result::Outcome::Found);
        double waited = -1;
        for (const Leg &leg : metro.journeys.first().legs)
            if (leg.kind == Leg::Kind::Ride)
                waited = leg.waitMinutes;
        QCOMPARE(waited, 2.0);
    }

    // Every feed that cannot be read is told by its file (and line), and no city is made.
    void badFeedsAreToldAndLeaveNothing()
    {
        QTemporaryDir dir;
        const QString city = dir.filePath(QStringLiteral("city"));
        auto copyFeed = [&](const QString &name, const QString &leaveOut, const QByteArray &replace = {}) {
            const QString folder = dir.filePath(name);
            QDir().mkpath(folder);
            for (const QString &file : QDir(Feed).entryList(QDir::Files))
                if (file != leaveOut)
                    QFile::copy(Feed + QLatin1Char('/') + file, folder + QLatin1Char('/') + file);
            if (!replace.isEmpty()) {
                QFile f(folder + QLatin1Char('/') + leaveOut);
                f.open(QIODevice::WriteOnly);
                f.write(replace);
            }
            return folder;
        };
        auto refused = [&](const QString &feed, const char *expected) {
            const QString error = import({Extract, city, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--gtfs"), feed});
            QVERIFY2(error.contains(QLatin1String(expected)), qPrintable(error));
            QVERIFY(!QFileInfo::exists(city));
        };
        refused(dir.filePath(QStringLiteral("nothing")), "no such file or folder");
        refused(copyFeed(QStringLiteral("no-times"), QStringLiteral("stop_times.txt")), "has no stop_times.txt");
        refused(copyFeed(QStringLiteral("no-id"), QStringLiteral("stops.txt"), "stop_name,stop_lat\nx,1\n"),
                "stops.txt:1: the header lacks the column stop_id");
        refused(copyFeed(QStringLiteral("open-quote"), QStringLiteral("trips.txt"), "route_id,service_id,trip_id\nR61,WD,T1\n\"R61,WD\n"),
                "trips.txt:3: a quoted field is not closed");

        const QString escaping = dir.filePath(QStringLiteral("escaping.zip"));
        writeZip(escaping, {{"../../x", "boo"}});
        refused(escaping, "outside the feed: refused");
        const QString bomb = dir.filePath(QStringLiteral("bomb.zip"));
        writeZip(bomb, {{"feed/shapes.txt", QByteArray(64 * 1024 * 1024, '0')}});
        refused(bomb, "zip bomb");
        // The same feed zipped in a folder of its own is read.
        const QString zipped = dir.filePath(QStringLiteral("feed.zip"));
        writeZip(zipped, {});
        QCOMPARE(import({Extract, city, QStringLiteral("--bbox"), FixtureBox, QStringLiteral("--gtfs"), zipped}), QString());
    }
};

QTEST_MAIN(TestGtfs)
#include "tst_gtfs.moc"
