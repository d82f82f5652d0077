// The demo city: the model, the database against the schema, the sheets against the general map,
// and the generator's determinism and scale.
#include "citykit/AdvertPdf.h"
#include "citykit/City.h"
#include "citykit/CityDatabase.h"
#include "citykit/Geometry.h"
#include "citykit/MapPainter.h"
#include "citykit/Pictures.h"
#include "citykit/SheetLayout.h"
#include "democity/DemoCity.h"
#include "democity/GeneratorCommandLine.h"
#include "democity/Names.h"
#include "transit/CityFrame.h"

#include <QtTest>

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QStringList Sheets{"A1", "A2", "A3", "A4", "A5", "B1", "B2", "B3", "B4", "B5", "C1", "C2", "C3",
                         "C4", "C5", "D1", "D2", "D3", "D4", "D5", "E1", "E2", "E3", "E4", "F5"};
constexpr int TestMapWidth = 400;

// Per cent of the general map from a sheet position, written out here on purpose rather than
// taken from the generator: the bottom-right sheet F5 starts at 71.70028 %.
QPointF generalPercent(const QString &code, double x, double y)
{
    const int column = QStringLiteral("ABCDEF").indexOf(code[0]);
    const int row = code[1].digitValue() - 1;
    const double left = code == QLatin1String("F5") ? 80 - 8.29972 : column * 20.0;
    return QPointF(left + x / 5, row * 20.0 + y / 5);
}

bool generate(const QString &folder, QStringList extra = {})
{
    GeneratorOptions options;
    QString error;
    if (!parseArguments(QStringList{folder, "--map-width", QString::number(TestMapWidth), "--quiet"} + extra,
                        &options, &error)) {
        qWarning() << error;
        return false;
    }
    try {
        Generator(options).run();
    } catch (const std::exception &e) {
        qWarning() << e.what();
        return false;
    }
    return true;
}

// Every row of every table as text, blobs as digests, in key order.
QByteArray dump(const QString &path)
{
    QByteArray out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "dump");
        db.setDatabaseName(path);
        if (!db.open())
            return {};
        QSqlQuery tables(db);
        tables.exec("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
        while (tables.next()) {
            QSqlQuery rows(db);
            rows.exec("SELECT * FROM " + tables.value(0).toString() + " ORDER BY 1, 2, 3");
            while (rows.next()) {
                for (int i = 0; i < rows.record().count(); ++i) {
                    const QVariant v = rows.value(i);
                    out += v.isNull() ? QByteArray("<null>")
                        : v.typeId() == QMetaType::QByteArray
                        ? QCryptographicHash::hash(v.toByteArray(), QCryptographicHash::Sha1).toHex()
                        : v.toString().toUtf8();
                    out += '|';
                }
                out += '\n';
            }
        }
    }
    QSqlDatabase::removeDatabase("dump");
    return out;
}

// The help's text layer, as a reader extracts it, holds the Georgian letters the page shows; Latin
// letters only in the sheet codes and the key name.
void helpReadsAsGeorgian(const QString &pdf)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("pdftotext is not installed (package poppler-utils)");
        qWarning("pdftotext is not installed (package poppler-utils); the help's text is not checked");
        return;
    }
    QProcess extract;
    extract.start(pdftotext, {"-enc", "UTF-8", pdf, "-"});
    QVERIFY(extract.waitForFinished(30000) && extract.exitCode() == 0);
    QString text = QString::fromUtf8(extract.readAllStandardOutput());
    QVERIFY2(text.startsWith(u"კვირზეტა - თბილისის საძიებო-საინფორმაციო სისტემა\n"), qPrintable(text.left(80)));
    QVERIFY(text.contains(u"დააჭირეთ ღილაკს \"ძიება\" ან კლავიშას Enter."));
    for (const char *latin : {"Enter", "A1", "E4", "F5"})
        text.remove(QLatin1String(latin));
    QVERIFY2(!text.contains(QRegularExpression("[A-Za-z]")), qPrintable(text));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The river and what is drawn on it (its banks, its name, a border along it) are blue; land is not.
bool isWater(QColor c)
{
    return c.blue() >= c.red() + 40 && c.blue() >= c.green();
}

// Water at a pixel or one of its neighbours: the general map is allowed a pixel's error.
bool waterNear(const QImage &image, QPoint p)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.rect().contains(p + QPoint(dx, dy)) && isWater(image.pixelColor(p + QPoint(dx, dy))))
                return true;
    return false;
}

} // namespace

class TestDemoCity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void modelHoldsTbilisi();
    void namesAreTransliterated();
    void databaseFollowsTheSchema();
    void referencesAreConsistent();
    void locatedRecordsLieOnTheirSheets();
    void sheetsAgreeWithTheGeneralMap();
    void rastersIconsAndDocumentsAreWritten();
    void generationIsDeterministic();
    void largeCityIsBuiltFromPooledPictures();
    void badArgumentsAreRefused();
    void sheetGridLocatesAndReturns();
    void geometryAndRandomness();
    void generatedNamesFollowTheirPatterns();
    void brokenModelIsReportedNotCrashedOn();
    void objectsLieBesideTheirStreets();
    void advertisingLeafletsAndLogoCopies();
    void regeneratingReplacesTheCity();

private:
    QSqlQuery query(const QString &sql);
    QTemporaryDir m_dir;
    QString m_city;
    QSqlDatabase m_db;
    Model m_model;
};

void TestDemoCity::initTestCase()
{
    QStringList errors;
    m_model = Model::builtIn(&errors);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    QVERIFY(m_dir.isValid());
    m_city = m_dir.filePath("city");
    QVERIFY(generate(m_city));
    m_db = QSqlDatabase::addDatabase("QSQLITE", "city");
    m_db.setDatabaseName(m_city + "/" + CityWriter::DatabaseFile);
    QVERIFY(m_db.open());
}

void TestDemoCity::cleanupTestCase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase("city");
}

QSqlQuery TestDemoCity::query(const QString &sql)
{
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        qWarning() << sql << q.lastError().text();
    return q;
}

void TestDemoCity::modelHoldsTbilisi()
{
    QStringList districts;
    for (const District &d : m_model.districts)
        districts << d.name;
    QCOMPARE(districts, (QStringList{"gldani", "naZaladevi", "didube", "CuRureTi", "saburtalo", "vake",
                                     "mTawminda", "krwanisi", "isani", "samgori"}));
    QVERIFY(m_model.streets.size() >= 150);
    for (const char *street : {"rusTavelis gamziri", "Tavisuflebis moedani", "WavWavaZis gamziri", "aRmaSeneblis gamziri"})
        QVERIFY2(m_model.streetIndex(street) >= 0, street);

    // The two metro lines with their stations in order, meeting at the station square.
    QCOMPARE(m_model.routes[0].stops.size(), 16);
    QCOMPARE(m_model.routes[0].stops.first(), QString("metro axmetelis Teatri"));
    QCOMPARE(m_model.routes[0].stops.last(), QString("metro varkeTili"));
    QCOMPARE(m_model.routes[1].stops.first(), QString("metro sadguris moedani"));
    QVERIFY(m_model.routes[0].stops.contains("metro sadguris moedani"));
    int surface = 0;
    QMap<QString, int> routesPerStop;
    for (const RouteDef &r : m_model.routes) {
        if (r.type == 2 || r.type == 3)
            ++surface;
        for (const QString &s : r.stops)
            ++routesPerStop[s];
    }
    QVERIFY(surface >= 10);
    QVERIFY(std::count_if(routesPerStop.begin(), routesPerStop.end(), [](int n) { return n > 1; }) > 10);

    // The river runs from north-west to south-east, and every district lies on the map.
    const QPolygonF &river = m_model.river.line;
    QVERIFY(river.first().x() < river.last().x() && river.first().y() < river.last().y());
    for (const District &d : m_model.districts)
        QVERIFY2(QRectF(0, 0, m_model.frame.width, m_model.frame.height).contains(d.outline.boundingRect()),
                 qPrintable(d.name));

    // The genitive that street and firm names are built with.
    QCOMPARE(names::genitive("beriZe"), QString("beriZis"));
    QCOMPARE(names::genitive("kostava"), QString("kostavas"));
    QCOMPARE(names::genitive("rusTaveli"), QString("rusTavelis"));
    QCOMPARE(names::domain("kafe d'artaniani #2"), QString("kafedartaniani2"));
    QCOMPARE(names::attributive("levani"), QString("levan"));
    QCOMPARE(names::attributive("giorgi"), QString("giorgi"));
    QCOMPARE(names::attributive("nino"), QString("nino"));
}

void TestDemoCity::namesAreTransliterated()
{
    // Lower-case letters and the seven upper-case letters of the transliteration; I for the
    // Roman numerals of lanes.
    static const QRegularExpression allowed(R"(^[a-zTJRSCZWI0-9 '#.,\-]+$)");
    QStringList bad;
    auto check = [&](const QString &table, const QString &column) {
        QSqlQuery q = query(QString("SELECT %1 FROM %2").arg(column, table));
        while (q.next())
            if (!q.value(0).isNull() && !allowed.match(q.value(0).toString()).hasMatch())
                bad << table + ": " + q.value(0).toString();
    };
    check("rubrika", "saxeli");
    check("qve_rubrika", "saxeli");
    check("raioni", "saxeli");
    check("quCa", "saxeli");
    check("quCis_tipi", "aRwera");
    check("gaCereba", "saxeli");
    check("transporti", "aRwera");
    check("transporti_tipi", "saxeli");
    check("obieqti", "saxeli");
    check("obieqti", "misamarTi");
    check("obieqti", "saqmianoba");
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    QCOMPARE(query("SELECT count(*) FROM obieqti WHERE saxeli LIKE '%''%'").next(), true);
}

void TestDemoCity::databaseFollowsTheSchema()
{
    // The generated tables have exactly the columns of the project's schema.
    {
        QSqlDatabase reference = QSqlDatabase::addDatabase("QSQLITE", "reference");
        reference.setDatabaseName(":memory:");
        QVERIFY(reference.open());
        QFile schema(QStringLiteral(KVIRZETA_SOURCE_DIR) + "/sql/schema.sql");
        QVERIFY(schema.open(QIODevice::ReadOnly));
        for (const QString &statement : CityDatabase::schemaStatements())
            QVERIFY(QSqlQuery(reference).exec(statement));
        QSqlQuery tables(reference);
        tables.exec("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
        int count = 0;
        while (tables.next()) {
            ++count;
            const QString table = tables.value(0).toString();
            auto columns = [&](QSqlDatabase db) {
                QStringList list;
                QSqlQuery q(db);
                q.exec("PRAGMA table_xinfo(" + table + ")");
                while (q.next())
                    list << q.value(1).toString() + " " + q.value(2).toString();
                return list;
            };
            QCOMPARE(columns(m_db), columns(reference));
        }
        QCOMPARE(count, 12); // the catalogue's eleven and the routes' intervals
        // The built-in schema is the project's own file.
        QCOMPARE(CityDatabase::schemaStatements().size(), QString::fromUtf8(schema.readAll()).count("CREATE "));
    }
    QSqlDatabase::removeDatabase("reference");

    // The stored summary column is filled from the object's fields.
    QSqlQuery q = query("SELECT misamarTi, telefoni, faqsi, saqmianoba, rek FROM obieqti WHERE faqsi IS NOT NULL LIMIT 1");
    QVERIFY(q.next());
    QCOMPARE(q.value(4).toString(), QStringList({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                                 q.value(3).toString()}).join(", "));
    QCOMPARE(query("SELECT max(length(rek)) <= 255 FROM obieqti").next(), true);
    QVERIFY(query("SELECT max(length(rek)) FROM obieqti").next());
}

void TestDemoCity::referencesAreConsistent()
{
    auto none = [&](const QString &sql) {
        QSqlQuery q = query(sql);
        QVERIFY2(q.next(), qPrintable(sql));
        QVERIFY2(q.value(0).toInt() == 0, qPrintable(sql + " -> " + q.value(0).toString()));
    };
    none("SELECT count(*) FROM qve_rubrika WHERE g_rubrika_kodi NOT IN (SELECT rubrika_kodi FROM rubrika)");
    // A sub-rubric without objects would only ever find nothing.
    none("SELECT count(*) FROM qve_rubrika WHERE qve_rubrika_kodi NOT IN (SELECT g_qve_rubrika_kodi FROM obieqti)");
    none("SELECT count(*) FROM obieqti WHERE g_qve_rubrika_kodi NOT IN (SELECT qve_rubrika_kodi FROM qve_rubrika)");
    none("SELECT count(*) FROM obieqti WHERE g_raioni_kodi NOT IN (SELECT raioni_kodi FROM raioni)");
    none("SELECT count(*) FROM quCa WHERE g_raioni_kodi NOT IN (SELECT raioni_kodi FROM raioni)");
    none("SELECT count(*) FROM quCa WHERE g_quCis_tipi NOT IN (SELECT quCis_tipi_kodi FROM quCis_tipi)");
    none("SELECT count(*) FROM gaCereba WHERE g_raioni_kodi NOT IN (SELECT raioni_kodi FROM raioni)");
    none("SELECT count(*) FROM transporti WHERE g_transporti_tipi NOT IN (SELECT transporti_tipi FROM transporti_tipi)");
    none("SELECT count(*) FROM kavS_transporti_gaCereba WHERE g_transporti_kodi NOT IN (SELECT transporti_kodi FROM transporti)"
         " OR g_gaCereba_kodi NOT IN (SELECT gaCereba_kodi FROM gaCereba)");
    // One logo row per object, so that every object is listed exactly once.
    none("SELECT count(*) FROM obieqti WHERE (SELECT count(*) FROM obieqtis_logo WHERE g_obieqti_kodi=obieqtis_kodi) <> 1");
    none("SELECT count(*) FROM obieqtis_logo WHERE g_obieqti_kodi NOT IN (SELECT obieqtis_kodi FROM obieqti)");
    // Stops are numbered 1..n along each route; every stop is on a route; names are unique.
    none("SELECT count(*) FROM (SELECT g_transporti_kodi, count(*) AS n, max(gaCerebis_rigiTi_n) AS m, "
         "min(gaCerebis_rigiTi_n) AS f FROM kavS_transporti_gaCereba GROUP BY 1) WHERE n <> m OR f <> 1");
    none("SELECT count(*) FROM gaCereba WHERE gaCereba_kodi NOT IN (SELECT g_gaCereba_kodi FROM kavS_transporti_gaCereba)");
    none("SELECT count(*) FROM (SELECT saxeli FROM gaCereba GROUP BY saxeli HAVING count(*) > 1)");
    none("SELECT count(*) FROM (SELECT saxeli FROM quCa GROUP BY saxeli HAVING count(*) > 1)");
    // Every route runs every few minutes, by its own interval.
    none("SELECT count(*) FROM transporti WHERE transporti_kodi NOT IN "
         "(SELECT g_transporti_kodi FROM transporti_intervali WHERE wuTebi BETWEEN 3 AND 20)");
    // Only the hot lines are off the map; an advertising file always has its name.
    none("SELECT count(*) FROM obieqti WHERE (ruka_kodi IS NULL) <> (g_qve_rubrika_kodi = 172)");
    none("SELECT count(*) FROM obieqtis_logo WHERE (sareklamo_faili IS NULL) <> (sareklamo_faili_saxeli IS NULL)");

    // What a first look at the city should meet.
    QSqlQuery q = query("SELECT (SELECT count(*) FROM obieqti WHERE g_qve_rubrika_kodi=172), "
                        "(SELECT count(*) FROM obieqtis_logo WHERE map_Logo IS NULL), "
                        "(SELECT count(*) FROM obieqtis_logo WHERE sareklamo_faili IS NOT NULL), "
                        "(SELECT count(*) FROM (SELECT sareklamo_faili_saxeli FROM obieqtis_logo "
                        "  WHERE sareklamo_faili_saxeli IS NOT NULL GROUP BY 1 HAVING count(*) > 1)), "
                        "(SELECT count(*) FROM (SELECT saxeli FROM obieqti GROUP BY 1 HAVING count(*) > 1)), "
                        "(SELECT count(*) FROM obieqti), (SELECT count(*) FROM quCa), "
                        "(SELECT count(DISTINCT g_qve_rubrika_kodi) FROM obieqti), "
                        "(SELECT count(*) FROM (SELECT g_gaCereba_kodi FROM kavS_transporti_gaCereba GROUP BY 1 "
                        "  HAVING count(*) > 1))");
    QVERIFY(q.next());
    QVERIFY(q.value(0).toInt() >= 5);   // hot lines
    QVERIFY(q.value(1).toInt() > 0);    // without a map logo
    QVERIFY(q.value(2).toInt() > 0 && q.value(2).toInt() < q.value(5).toInt()); // with and without advertising
    QVERIFY(q.value(3).toInt() > 0);    // advertising files sharing a name
    QVERIFY(q.value(4).toInt() > 0);    // chains
    QVERIFY(q.value(5).toInt() >= 400);
    QVERIFY(q.value(6).toInt() >= 150);
    QVERIFY(q.value(7).toInt() >= 30);
    QVERIFY(q.value(8).toInt() > 0);    // stops shared by routes
}

void TestDemoCity::locatedRecordsLieOnTheirSheets()
{
    int checked = 0;
    for (const char *table : {"obieqti", "quCa", "gaCereba"}) {
        QSqlQuery q = query(QString("SELECT ruka_kodi, x, y FROM %1 WHERE ruka_kodi IS NOT NULL").arg(table));
        while (q.next()) {
            const QString code = q.value(0).toString();
            QVERIFY2(Sheets.contains(code), qPrintable(QString("%1: %2").arg(table, code)));
            const double x = q.value(1).toDouble(), y = q.value(2).toDouble();
            QVERIFY(!q.value(1).isNull() && !q.value(2).isNull());
            QVERIFY2(x >= 0 && x <= 100 && y >= 0 && y <= 100, qPrintable(QString("%1 %2 %3").arg(code).arg(x).arg(y)));
            ++checked;
        }
    }
    QVERIFY(checked > 500);

    // Every model stop lies on the sheet that covers it; in the bottom row everything from F5's
    // left edge on is F5's, measured from that edge (the airport is there).
    int onF5 = 0;
    for (const StopDef &stop : m_model.stops) {
        QSqlQuery q(m_db);
        q.prepare("SELECT ruka_kodi, x, y FROM gaCereba WHERE saxeli = ?");
        q.addBindValue(stop.name);
        QVERIFY(q.exec() && q.next());
        const QString code = q.value(0).toString();
        const QPointF g = generalPercent(code, q.value(1).toDouble(), q.value(2).toDouble());
        QVERIFY2(QLineF(m_model.frame.metres(g), stop.position).length() < 1, qPrintable(stop.name));
        const QPointF expected = m_model.frame.percent(stop.position);
        if (expected.y() >= 80 && expected.x() >= 80 - 8.29972) {
            QCOMPARE(code, QString("F5"));
            ++onF5;
        } else {
            const QString columns = "ABCDE";
            QCOMPARE(code, QString(columns[int(expected.x() / 20)]) + QString::number(int(expected.y() / 20) + 1));
        }
    }
    QVERIFY(onF5 > 0);
}

void TestDemoCity::sheetsAgreeWithTheGeneralMap()
{
    const QSize general = CityWriter::generalMapSize(TestMapWidth), sheet = CityWriter::sheetSize(TestMapWidth);
    const QTransform toGeneral = MapPainter::viewTransform(CityWriter::mapArea(m_model.frame, {}), general);
    const double metresPerPixel = m_model.frame.width / general.width();

    // Each record, drawn on its sheet and on the general map, lands on the same spot of the city.
    int compared = 0;
    for (const char *table : {"obieqti", "quCa", "gaCereba"}) {
        QSqlQuery q = query(QString("SELECT ruka_kodi, x, y FROM %1 WHERE ruka_kodi IS NOT NULL").arg(table));
        while (q.next()) {
            const QString code = q.value(0).toString();
            const double x = q.value(1).toDouble(), y = q.value(2).toDouble();
            const QPointF onSheet(x / 100 * sheet.width(), y / 100 * sheet.height());
            const QPointF fromSheet =
                MapPainter::viewTransform(CityWriter::mapArea(m_model.frame, code), sheet).inverted().map(onSheet);
            const QPointF g = generalPercent(code, x, y);
            const QPointF fromGeneral = toGeneral.inverted().map(QPointF(g.x() / 100 * general.width(),
                                                                         g.y() / 100 * general.height()));
            QVERIFY2(QLineF(fromSheet, fromGeneral).length() < metresPerPixel,
                     qPrintable(QString("%1 %2 %3").arg(code).arg(x).arg(y)));
            ++compared;
        }
    }
    QVERIFY(compared > 500);

    // The rasters show the same city: the river is water on the general map and on each sheet
    // it crosses, F5 included, at the same places.
    const QImage generalImage(m_city + "/Raster/Tbilisi.bmp");
    QCOMPARE(generalImage.size(), general);
    int samples = 0, generalWater = 0, sheetWater = 0;
    QSet<QString> sheetsSeen;
    const QPolygonF &river = m_model.river.line;
    const double length = geo::length(river);
    for (double at = 0; at < length; at += 150) {
        const QPointF p = geo::pointAt(river, at);
        bool nearIsland = false;
        for (const Island &island : m_model.river.islands)
            nearIsland = nearIsland || QLineF(p, geo::centroid(island.outline)).length() < 400;
        const SheetLayout::Place place = SheetLayout::locate(m_model.frame.percent(p));
        if (nearIsland || !place.isValid())
            continue;
        const QImage sheetImage(m_city + "/Raster/" + place.code + ".jpg");
        QCOMPARE(sheetImage.size(), sheet);
        const QPointF gpf = toGeneral.map(p);
        const QPoint gp(int(gpf.x()), int(gpf.y()));
        const QPoint sp(int(place.x / 100 * sheet.width()), int(place.y / 100 * sheet.height()));
        if (!generalImage.rect().contains(gp) || !sheetImage.rect().contains(sp))
            continue;
        ++samples;
        sheetsSeen.insert(place.code);
        generalWater += waterNear(generalImage, gp);
        sheetWater += waterNear(sheetImage, sp);
    }
    QVERIFY(sheetsSeen.contains("F5"));
    QVERIFY2(generalWater >= samples * 8 / 10 && sheetWater >= samples * 8 / 10,
             qPrintable(QString("%1 and %2 of %3").arg(generalWater).arg(sheetWater).arg(samples)));
}

void TestDemoCity::rastersIconsAndDocumentsAreWritten()
{
    for (const QString &code : Sheets)
        QVERIFY2(QFile::exists(m_city + "/Raster/" + code + ".jpg"), qPrintable(code));
    QVERIFY(!QFile::exists(m_city + "/Raster/E5.jpg"));
    QCOMPARE(fileBytes(m_city + "/Address.ini").trimmed(), QByteArray("Provider=SQLite;Data Source=Kvirzeta.sqlite"));
    // The frame the journey planner measures with: the model's, its corners around Tbilisi.
    const CityFrame frame = CityFrame::read(m_city + "/Raster/Tbilisi.frame");
    QVERIFY2(!frame.rough, qPrintable(frame.problem));
    QCOMPARE(frame.widthMetres, m_model.frame.width);
    QCOMPARE(frame.heightMetres, m_model.frame.height);
    QVERIFY(frame.hasCorners && frame.west < 44.79 && frame.east > 44.81 && frame.south < 41.69 && frame.north > 41.73);

    // Icons: their bottom-left pixel holds a colour used nowhere else in them.
    for (const char *name : {"yellow.bmp", "Street.bmp", "Active_ Street.bmp", "Stop.bmp", "Active_Stop.bmp"}) {
        const QImage icon(m_city + "/pictures/icons/" + name);
        QVERIFY2(!icon.isNull(), name);
        const QRgb key = icon.pixel(0, icon.height() - 1);
        int keyed = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                keyed += icon.pixel(x, y) == key;
        QVERIFY2(keyed > 0 && keyed < icon.width() * icon.height() * 3 / 4, name);
        QCOMPARE(icon.pixel(icon.width() / 2, icon.height() / 2) == key, false);
    }
    QVERIFY(fileBytes(m_city + "/Kvirzeta.pdf").startsWith("%PDF"));
    helpReadsAsGeorgian(m_city + "/Kvirzeta.pdf");

    // Logos decode as JPEGs of their sizes; advertising files are whole PDFs.
    QSqlQuery q = query("SELECT tree_Logo, map_Logo, sareklamo_failis_logo, sareklamo_faili FROM obieqtis_logo "
                        "WHERE sareklamo_faili IS NOT NULL AND map_Logo IS NOT NULL LIMIT 5");
    int rows = 0;
    while (q.next()) {
        ++rows;
        QCOMPARE(QImage::fromData(q.value(0).toByteArray(), "JPG").width(), 150);
        QCOMPARE(QImage::fromData(q.value(1).toByteArray(), "JPG").width(), 32);
        QCOMPARE(QImage::fromData(q.value(2).toByteArray(), "JPG").width(), 20);
        const QByteArray pdf = q.value(3).toByteArray();
        QVERIFY(pdf.startsWith("%PDF-1.4") && pdf.endsWith("%%EOF\n"));
        const int startxref = pdf.lastIndexOf("startxref\n");
        const int xref = pdf.mid(startxref + 10).split('\n').value(0).toInt();
        QVERIFY(pdf.mid(xref).startsWith("xref"));
    }
    QCOMPARE(rows, 5);
}

void TestDemoCity::generationIsDeterministic()
{
    const QString again = m_dir.filePath("again"), other = m_dir.filePath("other");
    QVERIFY(generate(again));
    QVERIFY(generate(other, {"--seed", "7"}));
    const QByteArray first = dump(m_city + "/" + CityWriter::DatabaseFile);
    QVERIFY(!first.isEmpty());
    QCOMPARE(dump(again + "/" + CityWriter::DatabaseFile), first);
    QVERIFY(dump(other + "/" + CityWriter::DatabaseFile) != first);
    for (const QString &raster : QStringList{"Tbilisi.bmp", "B3.jpg", "F5.jpg"})
        QVERIFY2(fileBytes(again + "/Raster/" + raster) == fileBytes(m_city + "/Raster/" + raster), qPrintable(raster));
}

void TestDemoCity::largeCityIsBuiltFromPooledPictures()
{
    const QString large = m_dir.filePath("large");
    QVERIFY(generate(large, {"--objects", "3000", "--streets", "800", "--stops", "600", "--routes", "60",
                             "--ad-percent", "5", "--ad-kb", "20", "--ad-icons-all"}));
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "large");
    db.setDatabaseName(large + "/" + CityWriter::DatabaseFile);
    QVERIFY(db.open());
    {
        QSqlQuery q(db);
        QVERIFY(q.exec("SELECT (SELECT count(*) FROM obieqti), (SELECT count(*) FROM quCa), "
                       "(SELECT count(*) FROM gaCereba), (SELECT count(*) FROM transporti), "
                       "(SELECT count(DISTINCT saxeli) FROM gaCereba), "
                       "(SELECT count(*) FROM gaCereba WHERE gaCereba_kodi NOT IN "
                       "  (SELECT g_gaCereba_kodi FROM kavS_transporti_gaCereba)), "
                       "(SELECT count(*) FROM obieqtis_logo WHERE sareklamo_failis_logo IS NULL), "
                       "(SELECT min(length(sareklamo_faili)) FROM obieqtis_logo), "
                       "(SELECT count(DISTINCT tree_Logo) FROM obieqtis_logo)"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 3000);
        QCOMPARE(q.value(1).toInt(), 800);
        QCOMPARE(q.value(2).toInt(), 600);
        QCOMPARE(q.value(3).toInt(), 60);
        QCOMPARE(q.value(4).toInt(), 600);
        QCOMPARE(q.value(5).toInt(), 0);
        QCOMPARE(q.value(6).toInt(), 0);
        QVERIFY(q.value(7).toInt() >= 20 * 1024);
        // Pooled logos still differ byte for byte and still decode.
        QCOMPARE(q.value(8).toInt(), 3000);
        QVERIFY(q.exec("SELECT tree_Logo FROM obieqtis_logo WHERE g_obieqti_kodi=2999"));
        QVERIFY(q.next());
        QCOMPARE(QImage::fromData(q.value(0).toByteArray(), "JPG").size(), QSize(150, 48));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("large");
}

void TestDemoCity::badArgumentsAreRefused()
{
    GeneratorOptions options;
    QString error;
    QVERIFY(parseArguments({"city"}, &options, &error));
    QCOMPARE(options.folder, QString("city"));
    QCOMPARE(options.size.objects, 450);
    GeneratorOptions bench;
    QVERIFY(parseArguments({"city", "--bench"}, &bench, &error));
    QCOMPARE(bench.size.objects, 100000);
    QCOMPARE(bench.size.routes, 300);
    for (const QStringList &bad : QList<QStringList>{{},
                                                     {"--objects", "10"},
                                                     {"city", "--objects"},
                                                     {"city", "--objects", "ten"},
                                                     {"city", "--objects", "-1"},
                                                     {"city", "--stops", "40000"},
                                                     {"city", "--map-width", "100"},
                                                     {"city", "--colour"},
                                                     {"city", "other"}}) {
        GeneratorOptions o;
        error.clear();
        QVERIFY2(!parseArguments(bad, &o, &error), qPrintable(bad.join(' ')));
        QVERIFY(!error.isEmpty());
    }
    // A folder that cannot be made is reported, not crashed on.
    QFile blocker(m_dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!generate(m_dir.filePath("blocker")));
    // Nor is a folder of someone's own written into: a help document of theirs stays as it is.
    const QString own = m_dir.filePath("own");
    QVERIFY(QDir().mkpath(own));
    QFile help(own + "/Kvirzeta.pdf");
    QVERIFY(help.open(QIODevice::WriteOnly) && help.write("mine") == 4);
    help.close();
    QVERIFY(!generate(own));
    QCOMPARE(QDir(own).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"Kvirzeta.pdf"});
    QCOMPARE(fileBytes(own + "/Kvirzeta.pdf"), QByteArray("mine"));
}

void TestDemoCity::sheetGridLocatesAndReturns()
{
    using SheetLayout::locate;
    QCOMPARE(SheetLayout::codes(), Sheets);
    // Corners and edges of the grid.
    QCOMPARE(locate({0, 0}).code, QString("A1"));
    QCOMPARE(locate({19.99, 19.99}).code, QString("A1"));
    QCOMPARE(locate({20, 20}).code, QString("B2"));
    QCOMPARE(locate({100, 0}).code, QString("E1"));
    QCOMPARE(locate({100, 79.9}).code, QString("E4"));
    QCOMPARE(locate({79.9, 100}).code, QString("F5")); // F5's stretch of the bottom row
    QCOMPARE(locate({71.6, 90}).code, QString("D5"));
    QCOMPARE(locate({71.71, 90}).code, QString("F5"));
    const SheetLayout::Place f5 = locate({81.70028, 90});
    QCOMPARE(f5.code, QString("F5"));
    QVERIFY(qAbs(f5.x - 50) < 1e-9 && qAbs(f5.y - 50) < 1e-9);
    // Right of F5 and outside the map lie on no sheet.
    QVERIFY(!locate({95, 90}).isValid());
    QVERIFY(!locate({-1, 10}).isValid());
    QVERIFY(!locate({10, 100.5}).isValid());
    QVERIFY(!locate({qQNaN(), 10}).isValid());
    QVERIFY(SheetLayout::sheetArea("E5").isEmpty());
    QVERIFY(SheetLayout::sheetArea("a1").isEmpty());
    // There and back again, on every sheet.
    for (const QString &code : Sheets) {
        const QRectF area = SheetLayout::sheetArea(code);
        // D5's right part is F5's, so the points keep left of 71.7 % there.
        for (const QPointF &inside : {QPointF(0.1, 0.1), QPointF(0.4, 0.5), QPointF(0.3, 0.9)}) {
            const QPointF p(area.left() + inside.x() * 20, area.top() + inside.y() * 20);
            const SheetLayout::Place place = locate(p);
            QCOMPARE(place.code, code);
            QVERIFY(QLineF(SheetLayout::generalPercent(place), p).length() < 1e-9);
            QVERIFY(QLineF(generalPercent(code, place.x, place.y), p).length() < 1e-9);
        }
    }
    // The painter's transform puts a sheet's corners on its image's corners.
    const QRectF area = CityWriter::mapArea(m_model.frame, "F5");
    const QTransform t = MapPainter::viewTransform(area, QSize(800, 600));
    QVERIFY(QLineF(t.map(area.topLeft()), QPointF(0, 0)).length() < 1e-6);
    QVERIFY(QLineF(t.map(area.bottomRight()), QPointF(800, 600)).length() < 1e-6);
    QVERIFY(qAbs(area.left() / m_model.frame.width * 100 - SheetLayout::F5Left) < 1e-9);
}

void TestDemoCity::geometryAndRandomness()
{
    const QPolygonF line{{0, 0}, {100, 0}, {100, 50}};
    QCOMPARE(geo::length(line), 150.0);
    QPointF direction;
    QCOMPARE(geo::pointAt(line, 120, &direction), QPointF(100, 20));
    QCOMPARE(direction, QPointF(0, 1));
    QCOMPARE(geo::pointAt(line, -5), QPointF(0, 0));
    QCOMPARE(geo::pointAt(line, 1000), QPointF(100, 50));
    QCOMPARE(geo::pointAt(QPolygonF{{3, 4}}, 10), QPointF(3, 4));
    QCOMPARE(geo::pointAt(QPolygonF(), 10), QPointF());
    QCOMPARE(geo::distanceToLine({50, 10}, line), 10.0);
    QCOMPARE(geo::distanceToSegment({-3, 4}, {0, 0}, {10, 0}), 5.0);
    QVERIFY(geo::segmentsCross({0, 0}, {10, 10}, {0, 10}, {10, 0}));
    QVERIFY(!geo::segmentsCross({0, 0}, {10, 0}, {0, 1}, {10, 1}));
    const QPolygonF square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    QVERIFY(QLineF(geo::centroid(square), QPointF(5, 5)).length() < 1e-9);
    const QPolygonF e = geo::ellipse({0, 0}, 100, 50, 90);
    QVERIFY(e.boundingRect().width() < 101 && e.boundingRect().height() > 199);

    // The same seed gives the same numbers; a forked stream differs from its parent.
    Rng a(42), b(42);
    QList<quint64> first, second, forked;
    Rng f = a.fork("x");
    for (int i = 0; i < 5; ++i) {
        first << a.next();
        second << b.next();
        forked << f.next();
    }
    QCOMPARE(first, second);
    QVERIFY(first != forked);
    Rng r(7);
    for (int i = 0; i < 1000; ++i) {
        const int v = r.below(6);
        QVERIFY(v >= 0 && v < 6);
        const double u = r.uniform();
        QVERIFY(u >= 0 && u < 1);
    }
    QCOMPARE(r.below(0), 0);
    // The hash is the same in every run (Qt's own is not).
    QCOMPARE(stableHash("Tbilisi"), stableHash(QString("Tbi") + "lisi"));
    QCOMPARE(stableHash(""), quint64(1469598103934665603ull));
}

void TestDemoCity::generatedNamesFollowTheirPatterns()
{
    Rng rng(3);
    const QStringList &surnames = m_model.words.value("surname");
    for (int i = 0; i < 50; ++i) {
        const QString name = names::fromPattern(m_model, "{surname:gen} saxinkle", rng);
        QVERIFY(name.endsWith(" saxinkle"));
        const QString word = name.chopped(9);
        QVERIFY2(std::any_of(surnames.begin(), surnames.end(),
                             [&](const QString &s) { return names::genitive(s) == word; }),
                 qPrintable(name));
    }
    QCOMPARE(names::fromPattern(m_model, "aversi", rng), QString("aversi"));
    const QString numbered = names::fromPattern(m_model, "sajaro skola #{n}", rng);
    QVERIFY(numbered.startsWith("sajaro skola #") && numbered.mid(14).toInt() > 0);
    QCOMPARE(names::fromPattern(m_model, "{nothing} kafe", rng), QString(" kafe"));
    // A street's name ends with the word of its type.
    for (int i = 0; i < 200; ++i) {
        int type = 0;
        const QString name = names::street(m_model, rng, &type);
        const auto t = std::find_if(m_model.streetTypes.begin(), m_model.streetTypes.end(),
                                    [&](const StreetType &st) { return st.code == type; });
        QVERIFY(t != m_model.streetTypes.end());
        QVERIFY2(name.endsWith(" " + t->keyword), qPrintable(name));
    }
    QCOMPARE(LogoMaker::initials("Tbilisis opera da baletis Teatri"), QString("To"));
    QCOMPARE(LogoMaker::initials("300 aragveli"), QString("3a"));
    QCOMPARE(LogoMaker::initials("  "), QString("?"));
}

void TestDemoCity::brokenModelIsReportedNotCrashedOn()
{
    QTemporaryDir broken;
    QVERIFY(broken.isValid());
    // Copy the built-in model, then spoil some of it.
    for (const QString &file : QDir(":/citykit/model").entryList(QDir::Files))
        QVERIFY(QFile::copy(":/citykit/model/" + file, broken.filePath(file)));
    auto append = [&](const QString &file, const QByteArray &text) {
        QFile f(broken.filePath(file));
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(f.open(QIODevice::Append));
        f.write(text);
    };
    append("streets.txt", "quCa | axali quCa | atlantida\nbulvari | meore quCa | vake\nquCa | rusTavelis gamziri | vake\n"
                          "quCa | mesame quCa | vake | 44.8,abc\n");
    append("transport.txt", "route | 2 | 12345678901 | grZeli | metro rusTaveli; metro isani\n"
                            "route | 9 | 999 | ucnobi | metro rusTaveli; aranairi gaCereba\nstop | naxevari\n");
    append("objects.txt", "101 | kafe | aranairi quCa | 1 | 1 | \n172 | cxeli xazi | rusTavelis gamziri | 1 | 1 | \n"
                          "abc | ucnauri | - | - | 1 | \n");
    append("areas.txt", "lava | vulkani | ellipse 44.8,41.7 10 10 0\npark | mrudi | ellipse 44.8,41.7 10\n");
    QVERIFY(QFile::remove(broken.filePath("names.txt")));
    QStringList errors;
    Model::load(broken.path(), &errors);
    const QString all = errors.join('\n');
    for (const char *expected : {"names.txt:0: cannot be read", "unknown street type or district",
                                 "street named twice: rusTavelis gamziri", "not a lon,lat pair", "longer than 10",
                                 "unknown type", "unknown stop: aranairi gaCereba", "expected 3 fields",
                                 "unknown street: aranairi quCa", "only hot lines are off the map",
                                 "not a number: abc", "unknown kind of area: lava", "not a shape"})
        QVERIFY2(all.contains(expected), qPrintable(QString("%1 missing from:\n%2").arg(expected, all)));
    // An empty or missing folder gives errors, not a crash.
    errors.clear();
    const Model empty = Model::load(broken.filePath("nowhere"), &errors);
    QVERIFY(errors.size() >= 8);
    QVERIFY(empty.districts.isEmpty());
}

void TestDemoCity::objectsLieBesideTheirStreets()
{
    CitySize size;
    size.objects = 600;
    size.streets = 100; // fewer than the model has: the first ones are kept
    const City city = buildDemoCity(m_model, 5, size);
    QCOMPARE(city.streets.size(), 100);
    QCOMPARE(city.streets.first().name, m_model.streets.first().name);
    QCOMPARE(city.objects.size(), 600);
    QMap<QString, const StreetRecord *> streets;
    for (const StreetRecord &s : city.streets)
        streets.insert(s.name, &s);
    int checked = 0;
    for (const ObjectRecord &o : city.objects) {
        if (!o.located)
            continue;
        const QString street = o.address.section(' ', 0, -2);
        if (!streets.contains(street))
            continue; // a known place on a street the table left out
        const double d = geo::distanceToLine(o.position, streets.value(street)->line);
        QVERIFY2(d < 80, qPrintable(QString("%1 at %2: %3 m").arg(o.name, o.address).arg(d)));
        ++checked;
    }
    QVERIFY(checked > 400);
    // A street's marker is on the street.
    for (const StreetRecord &s : city.streets)
        QVERIFY2(geo::distanceToLine(s.marker, s.line) < 1e-6, qPrintable(s.name));
    // No objects at all is a city too.
    size.objects = 0;
    QVERIFY(buildDemoCity(m_model, 5, size).objects.isEmpty());
}

void TestDemoCity::advertisingLeafletsAndLogoCopies()
{
    ObjectRecord o;
    o.code = 9;
    o.name = "kafe (axali) \\ d'artaniani";
    o.address = "rusTavelis gamziri 1";
    const QByteArray small = AdvertPdf::leaflet(o, "kafeebi", 0);
    QVERIFY(small.contains("(kafe \\(axali\\) \\\\ d'artaniani) Tj"));
    for (int kilobytes : {0, 3, 50}) {
        const QByteArray pdf = AdvertPdf::leaflet(o, "kafeebi", kilobytes * 1024);
        QVERIFY(pdf.size() >= kilobytes * 1024);
        QVERIFY(kilobytes == 0 || pdf.size() < kilobytes * 1024 + 200);
        // Every cross-reference points at its object.
        const int xref = pdf.indexOf("\nxref\n") + 1;
        const QList<QByteArray> lines = pdf.mid(xref).split('\n');
        for (int i = 1; i <= 6; ++i)
            QVERIFY(pdf.mid(lines[2 + i].left(10).toInt()).startsWith(QByteArray(QByteArray::number(i) + " 0 obj")));
        const int length = pdf.mid(pdf.indexOf("/Length ") + 8).split(' ').value(0).toInt();
        const int stream = pdf.indexOf("stream\n") + 7;
        QCOMPARE(pdf.mid(stream + length, 9), QByteArray("endstream"));
    }

    // A logo copy differs by its comment and still decodes to the same picture.
    LogoMaker pooled(CityWriter::fontFamily(), true);
    ObjectRecord other = o;
    other.code = 10;
    const QByteArray a = pooled.treeLogo(o), b = pooled.treeLogo(other);
    QVERIFY(a != b);
    QCOMPARE(QImage::fromData(a, "JPG"), QImage::fromData(b, "JPG"));
    QVERIFY(a.contains("Kvirzeta object 9"));
    QCOMPARE(LogoMaker::withComment("not a jpeg", "x"), QByteArray("not a jpeg"));
    // Own logos: branches of a chain share one.
    LogoMaker own(CityWriter::fontFamily(), false);
    QCOMPARE(own.mapLogo(o), own.mapLogo(other));
}

void TestDemoCity::regeneratingReplacesTheCity()
{
    const QString folder = m_dir.filePath("twice");
    QVERIFY(generate(folder, {"--objects", "50"}));
    QVERIFY(generate(folder, {"--objects", "60"}));
    const QByteArray content = dump(folder + "/" + CityWriter::DatabaseFile);
    QCOMPARE(content.count("\n") > 0, true);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "twice");
    db.setDatabaseName(folder + "/" + CityWriter::DatabaseFile);
    QVERIFY(db.open());
    {
        QSqlQuery q(db);
        QVERIFY(q.exec("SELECT count(*) FROM obieqti"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 60);
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("twice");
    QVERIFY(QFile::exists(folder + "/Address.ini"));
}

QTEST_MAIN(TestDemoCity)
#include "tst_democity.moc"
