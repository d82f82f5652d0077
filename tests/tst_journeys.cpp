// The journey planner on small networks with known answers, the map frame file it measures with,
// and the command line's --journey and --routes-at on the fixture city, run as a person runs them.
#include "FixtureCity.h"
#include "transit/CityFrame.h"
#include "transit/Endpoints.h"
#include "transit/Planner.h"
#include "transit/RoutesAtStop.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <functional>

namespace {

// A network written by hand: stops on sheet A1 of a 50 km map, where 1 % of the sheet is 100 m.
struct HandNetwork {
    NetworkTables tables;

    HandNetwork() { tables.types = {{1, QStringLiteral("avtobusi")}, {2, QStringLiteral("metro")}}; }
    HandNetwork &stop(int code, const QString &name, double x, double y, const QString &sheet = QStringLiteral("A1"))
    {
        tables.stops.append({code, name, sheet, x, y});
        return *this;
    }
    // Links numbered 1, 2, ... in the order given.
    HandNetwork &route(int code, const QString &name, int type, const QVector<int> &stops)
    {
        tables.routes.append({code, type, name});
        for (int i = 0; i < stops.size(); ++i)
            tables.links.append({code, stops[i], i + 1});
        return *this;
    }
    std::shared_ptr<const Network> build() const
    {
        CityFrame frame;
        frame.widthMetres = frame.heightMetres = 50000;
        return Network::build(tables, frame);
    }
};

// Stops a, b, c, d on a line 2 km apart.
HandNetwork line()
{
    return HandNetwork().stop(1, "a", 10, 50).stop(2, "b", 30, 50).stop(3, "c", 50, 50).stop(4, "d", 70, 50);
}

const QMap<QString, std::function<HandNetwork()>> &networks()
{
    static const QMap<QString, std::function<HandNetwork()>> all{
        {"line", [] { return line().route(1, "1", 1, {1, 2, 3, 4}); }},
        {"line, the city's interval", [] {
             HandNetwork n = line().route(1, "1", 1, {1, 2, 3, 4});
             n.tables.intervals = {{1, 4.0}};
             return n;
         }},
        {"change", [] {
             return line().stop(5, "e", 50, 70).stop(6, "f", 50, 90).route(1, "1", 1, {1, 2, 3}).route(2, "2", 1, {3, 5, 6});
         }},
        {"walking change", [] {
             return line().stop(7, "g", 32, 50).stop(8, "h", 60, 50).route(1, "1", 1, {1, 2}).route(2, "2", 1, {7, 8});
         }},
        {"isolated stop", [] { return line().stop(9, "z", 90, 90).route(1, "1", 1, {1, 2, 3}); }},
        {"no routes", [] { return line().stop(5, "n", 15, 50); }},
        {"one spot", [] { return line().stop(5, "b2", 30, 50).route(1, "1", 1, {1, 2}).route(2, "2", 1, {5, 3}); }},
        {"loop", [] { return line().stop(5, "e", 30, 70).route(1, "L", 1, {1, 2, 5, 1}); }},
        {"twice", [] { return line().stop(5, "e", 30, 70).route(1, "V", 1, {1, 2, 5, 2, 4}); }},
        {"out and back", [] { return line().route(1, "O", 1, {1, 2, 3, 2, 1}); }},
        // From s to t: a fast way by metro with a change and a walk, a slow bus without a change
        // after the same walk, and two buses without walking.
        {"alternatives", [] {
             return HandNetwork()
                 .stop(1, "s", 5, 50).stop(2, "t", 95, 50).stop(3, "m", 11, 50).stop(4, "x", 60, 50)
                 .stop(5, "w", 40, 50).stop(6, "y", 50, 95)
                 .route(1, "A", 1, {3, 6, 2}).route(2, "M1", 2, {3, 4}).route(3, "M2", 2, {4, 2})
                 .route(4, "B", 1, {1, 5}).route(5, "C", 1, {5, 2});
         }},
    };
    return all;
}

QString described(const Journey &journey)
{
    QStringList legs;
    for (const Leg &leg : journey.legs)
        legs << (leg.kind == Leg::Kind::Walk
                     ? QStringLiteral("walk %1 to %2").arg(qRound(leg.metres)).arg(leg.to().name)
                     : QStringLiteral("%1 %2>%3 %4").arg(leg.routeName, leg.from().name, leg.to().name).arg(leg.stopsMoved));
    return legs.join(QStringLiteral("; "));
}

struct Run {
    int status = -1;
    QString out, err;
};

// The program itself, in the fixture city's folder, as a script would run it.
Run kvirzeta(const FixtureCity &city, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(city.path());
    process.start(QStringLiteral(KVIRZETA_PROGRAM), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestJourneys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsTheJourneysOfSmallNetworks_data()
    {
        QTest::addColumn<QString>("network");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("journeys");
        QTest::addColumn<double>("minutes"); // of the first journey; 0: not checked

        // 6 km at 20 km/h, three stops of 20 s, and half of 15 minutes' wait.
        QTest::newRow("direct ride") << "line" << "a" << "d" << QStringList{"1 a>d 3"} << 26.5;
        QTest::newRow("the city's interval") << "line, the city's interval" << "a" << "d" << QStringList{"1 a>d 3"} << 21.0;
        QTest::newRow("one change") << "change" << "a" << "f" << QStringList{"1 a>c 2; 2 c>f 2"} << 0.0;
        QTest::newRow("walking change") << "walking change" << "a" << "h" << QStringList{"1 a>b 1; walk 260 to g; 2 g>h 1"}
                                        << 0.0;
        QTest::newRow("no path") << "isolated stop" << "a" << "z" << QStringList() << 0.0;
        QTest::newRow("a city without routes") << "no routes" << "a" << "b" << QStringList() << 0.0;
        QTest::newRow("near enough to walk") << "no routes" << "a" << "n" << QStringList{"walk 650 to n"} << 0.0;
        QTest::newRow("a change between two stops at one spot") << "one spot" << "a" << "c" << QStringList{"1 a>b 1; 2 b2>c 1"}
                                                            << 0.0;
        QTest::newRow("against the route's order") << "isolated stop" << "c" << "a" << QStringList() << 0.0;
        QTest::newRow("round a loop") << "loop" << "e" << "b" << QStringList{"L e>b 2"} << 0.0;
        QTest::newRow("the nearer of a stop's two visits") << "twice" << "b" << "d" << QStringList{"V b>d 1"} << 0.0;
        QTest::newRow("between the visits") << "twice" << "e" << "d" << QStringList{"V e>d 2"} << 0.0;
        QTest::newRow("out") << "out and back" << "a" << "c" << QStringList{"O a>c 2"} << 0.0;
        QTest::newRow("and back") << "out and back" << "c" << "a" << QStringList{"O c>a 2"} << 0.0;
        QTest::newRow("fastest, fewest changes, least walking")
            << "alternatives" << "s" << "t"
            << QStringList{"walk 780 to m; M1 m>x 1; M2 x>t 1", "walk 780 to m; A m>t 2", "B s>w 1; C w>t 1"} << 0.0;
    }

    void findsTheJourneysOfSmallNetworks()
    {
        QFETCH(QString, network);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, journeys);
        QFETCH(double, minutes);
        const std::shared_ptr<const Network> net = networks().value(network)().build();
        Planner planner(net);
        const Planner::Result result = planner.plan(Endpoints::atStopsNamed(*net, from), Endpoints::atStopsNamed(*net, to));
        QStringList found;
        for (const Journey &j : result.journeys)
            found << described(j);
        QCOMPARE(found, journeys);
        QCOMPARE(result.outcome, journeys.isEmpty() ? Planner::Result::Outcome::NoJourney : Planner::Result::Outcome::Found);
        if (minutes > 0)
            QVERIFY2(qAbs(result.journeys.first().minutes - minutes) < 0.01, qPrintable(QString::number(result.journeys.first().minutes)));
    }

    // Tables as a database made by hand may hold them: what cannot be used is left out and
    // counted, and what can still carries journeys.
    void survivesUntidyTables()
    {
        HandNetwork n = line();
        n.stop(1, "a twice", 12, 50)                     // a code given twice
            .stop(5, "nowhere", 40, 40, "Z9")            // an unknown sheet
            .stop(6, "no position", NetworkTables::Null, NetworkTables::Null)
            .stop(7, "lone", 70, 90);
        n.tables.routes = {{1, 1, "1"}, {1, 1, "1 again"}, {2, 1, "one stop"}, {3, 1, "empty"}};
        n.tables.links = {{1, 1, 1}, {1, 5, 3}, {1, 3, 7}, {1, 3, 7}, // numbers missing, one repeated
                          {1, 99, 2}, {1, 2, std::nullopt}, {2, 7, 1}, {std::nullopt, 1, 1}};
        n.tables.intervals = {{1, -5.0}, {77, 10.0}, {1, NetworkTables::Null}};
        const std::shared_ptr<const Network> net = n.build();
        const NetworkNotes &notes = net->notes();
        QCOMPARE(notes.unplacedStops, 2);
        QCOMPARE(notes.unplacedExamples, (QStringList{"nowhere", "no position"}));
        QCOMPARE(notes.repeatedStopCodes, 1);
        QCOMPARE(notes.repeatedRouteCodes, 1);
        QCOMPARE(notes.unusableLinks, 3);
        QCOMPARE(notes.unusableIntervals, 3);
        QCOMPARE(notes.describe(net->frame()).size(), 5);

        // The stop without a position is ridden through: the 4 km from a to c take their time.
        Planner planner(net);
        Planner::Result r = planner.plan(Endpoints::atStopsNamed(*net, "a"), Endpoints::atStopsNamed(*net, "c"));
        QCOMPARE(described(r.journeys.value(0)), QStringLiteral("1 a>c 2"));
        QVERIFY(qAbs(r.journeys[0].minutes - (12.0 + 2.0 / 3.0 + 7.5)) < 0.01);
        // It can start a journey on its own routes, and says it has no position.
        const JourneyEnd nowhere = Endpoints::atStop(*net, net->stopIndex(5));
        QVERIFY(!nowhere.note.isEmpty());
        r = planner.plan(nowhere, Endpoints::atStopsNamed(*net, "c"));
        QCOMPARE(described(r.journeys.value(0)), QStringLiteral("1 nowhere>c 1"));
        // The same stop at both ends, and two ends at one spot, need no journey.
        QCOMPARE(planner.plan(nowhere, nowhere).outcome, Planner::Result::Outcome::SamePlace);
        QCOMPARE(planner.plan(Endpoints::atPoint(*net, {2, 10}), Endpoints::atStopsNamed(*net, "a")).outcome,
                 Planner::Result::Outcome::SamePlace);

        // Routes at a stop, with the stop each goes on to; a route's last stop has none.
        auto routesAt = [&](int code) {
            QStringList routes;
            for (const RouteAtStop &r : routesAtStop(*net, net->stopIndex(code)))
                routes << r.routeName + QLatin1Char('>') + (r.nextStop >= 0 ? net->stops()[r.nextStop].name : QString());
            return routes;
        };
        QCOMPARE(routesAt(5), QStringList{"1>c"});
        QCOMPARE(routesAt(7), QStringList{"one stop>"});
        QCOMPARE(routesAt(4), QStringList());
        const std::shared_ptr<const Network> loop = networks().value("out and back")().build();
        QStringList outAndBack;
        for (const RouteAtStop &r : routesAtStop(*loop, loop->stopIndex(2)))
            outAndBack << loop->stops()[r.nextStop].name;
        QCOMPARE(outAndBack, (QStringList{"a", "c"}));
    }

    void readsTheFrameFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Raster"));
        const QString path = dir.filePath("Raster/Tbilisi.frame");
        auto write = [&](const QByteArray &text) {
            QFile file(dir.filePath("Raster/tbilisi.FRAME")); // found without regard to letter case
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        };

        CityFrame made;
        made.widthMetres = 12000;
        made.heightMetres = 9000;
        made.hasCorners = true;
        made.west = 44.7;
        made.south = 41.6;
        made.east = 44.85;
        made.north = 41.68;
        write(made.fileText());
        CityFrame read = CityFrame::read(path);
        QVERIFY2(!read.rough, qPrintable(read.problem));
        QCOMPARE(read.widthMetres, 12000.0);
        QCOMPARE(read.heightMetres, 9000.0);
        QVERIFY(read.hasCorners && read.west == 44.7 && read.north == 41.68);

        write("widthmetres = 800\nHEIGHTMETRES=600\nWest=44\n");
        read = CityFrame::read(path);
        QVERIFY(!read.rough && read.widthMetres == 800 && !read.hasCorners); // three corners are none

        // Anything unusable gives the default frame, rough, and says why; nothing throws.
        for (const QByteArray &broken : {QByteArray("WidthMetres=abc\nHeightMetres=600\n"),
                                         QByteArray("WidthMetres=1e308\nHeightMetres=1e308\n"),
                                         QByteArray("WidthMetres=nan\nHeightMetres=600\n"), QByteArray("\xff\xfe\0", 3),
                                         QByteArray(CityFrame::MaxFileBytes + 1, '#')}) {
            write(broken);
            read = CityFrame::read(path);
            QVERIFY(read.rough && !read.problem.isEmpty());
            QCOMPARE(read.widthMetres, CityFrame::tbilisi().widthMetres);
        }
        QVERIFY(QFile::remove(dir.filePath("Raster/tbilisi.FRAME")));
        QVERIFY(CityFrame::read(path).rough);
        QVERIFY(QDir(dir.path()).mkpath("Raster/Tbilisi.frame"));
        QVERIFY(CityFrame::read(path).problem.contains("not a regular file"));
    }

    void printsJourneysAndRoutes()
    {
        FixtureCity city;
        // Route M1 runs every 4 minutes by the city's own table, so a ride on it waits 2.
        city.execSql("INSERT INTO transporti_intervali VALUES (3, 4)");
        Run run = kvirzeta(city, {"--journey", "stop:5", "stop:8", "--json"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.contains("times are rough"), qPrintable(run.err)); // the fixture city has no frame file
        const QJsonArray journeys = QJsonDocument::fromJson(run.out.toUtf8()).object().value("journeys").toArray();
        QCOMPARE(journeys.size(), 1);
        const QJsonObject journey = journeys[0].toObject();
        QCOMPARE(journey.value("transfers").toInt(), 0);
        QCOMPARE(journey.value("walk_metres").toInt(), 0);
        QCOMPARE(journey.value("legs").toArray().size(), 1);
        const QJsonObject ride = journey.value("legs").toArray()[0].toObject();
        QCOMPARE(ride.value("kind").toString(), "ride");
        QCOMPARE(ride.value("route").toString(), "M1");
        QCOMPARE(ride.value("type").toString(), "metro");
        QCOMPARE(ride.value("from").toString(), "didube");
        QCOMPARE(ride.value("to").toString(), "avlabari");
        QCOMPARE(ride.value("stops").toInt(), 3);
        QCOMPARE(ride.value("wait_minutes").toInt(), 2);
        QVERIFY(journey.value("minutes").toInt() >= ride.value("minutes").toInt() + 2);

        // By name, in words; from a place, walking to its stop first.
        run = kvirzeta(city, {"--journey", "vakis parki", "liberTis moedani"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("avtobusi 1 from vakis parki to liberTis moedani, 5 stops"), qPrintable(run.out));
        run = kvirzeta(city, {"--journey", QString("place:%1").arg(Fixture::BankObject), "liberTis moedani", "--json"});
        QCOMPARE(run.status, 0);
        const QJsonObject first = QJsonDocument::fromJson(run.out.toUtf8())["journeys"][0]["legs"][0].toObject();
        QCOMPARE(first.value("kind").toString(), "walk");

        run = kvirzeta(city, {"--routes-at", QString("stop:%1").arg(Fixture::SharedStop), "--json"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QString("{\"routes\":[{\"route\":\"1\",\"type\":\"avtobusi\",\"next\":\"bankTan\"},"
                                  "{\"route\":\"10\",\"type\":\"avtobusi\",\"next\":\"avlabari\"}]}\n"));
    }

    void exitStatusSaysWhatHappened()
    {
        FixtureCity city;
        city.execSql("DROP TABLE transporti_intervali"); // a city may have none
        const QString unlinked = QString("stop:%1").arg(Fixture::UnlinkedStop);
        const QList<std::pair<QStringList, int>> runs{
            {{"--journey", "stop:999", "stop:1"}, 2},                      // no such stop
            {{"--journey", "", "stop:1"}, 2},                              // an empty name
            {{"--journey", "no such name", "stop:1"}, 2},
            {{"--journey", "point:50", "stop:1"}, 2},                      // a point of one number
            {{"--journey", "point:150,20", "stop:1"}, 2},                  // off the map
            {{"--journey", QString("place:%1").arg(Fixture::NoSheetObject), "stop:1"}, 2}, // no position
            {{"--journey", "stop:1"}, 2},
            {{"--routes-at", "stop:x"}, 2},
            {{"--routes-at", "avlabari"}, 2},
            {{"--routes-at", unlinked}, 1},                                // on no route
            {{"--journey", unlinked, "stop:3"}, 1},                        // too far to walk to any stop
            {{"--journey", "stop:1", "rusTavelis moedani"}, 1},            // the same place
            {{"--journey", "point:50,50", "point:51,50"}, 0},              // near enough to walk
        };
        for (const auto &[arguments, status] : runs) {
            const Run run = kvirzeta(city, arguments);
            QVERIFY2(run.status == status, qPrintable(arguments.join(' ') + " -> " + QString::number(run.status) + ": " + run.err));
            QVERIFY2(status == 0 || (run.out.isEmpty() && !run.err.isEmpty()), qPrintable(arguments.join(' ')));
        }
    }
};

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
