#include "FixtureCity.h"
#include "common/Errors.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/DataSet.h"

#include "TestChecks.h"

#include <QtTest>

namespace {


QList<QVariant> column(DataSet &set, const QString &name)
{
    QList<QVariant> values;
    const int c = set.requireColumn(name);
    for (int row = 0; row < set.recordCount(); ++row)
        values.append(set.valueAt(row, c));
    return values;
}

QList<QVariant> ints(std::initializer_list<int> list)
{
    QList<QVariant> values;
    for (int v : list)
        values.append(v);
    return values;
}

QList<QVariant> asInts(const QList<QVariant> &values)
{
    QList<QVariant> result;
    for (const QVariant &v : values)
        result.append(v.toInt());
    return result;
}

} // namespace

class TestData : public QObject {
    Q_OBJECT

    FixtureCity *m_city = nullptr;

    // A fresh data module on the shared fixture city, with the connection string set.
    std::unique_ptr<DataModule> module()
    {
        auto dm = std::make_unique<DataModule>();
        dm->ADOConn.setConnectionString(m_city->connectionString());
        return dm;
    }

private Q_SLOTS:
    void initTestCase() { m_city = new FixtureCity; }
    void cleanupTestCase() { delete m_city; }

    void fixtureCityIsComplete()
    {
        const FixtureCity &city = *m_city;
        QCOMPARE(QImage(city.file(QStringLiteral("Raster/Tbilisi.bmp"))).size(),
                 QSize(Fixture::GeneralMapWidth, Fixture::GeneralMapHeight));
        for (const char *sheet : Fixture::Sheets)
            QCOMPARE(QImage(city.file(QStringLiteral("Raster/%1.jpg").arg(QLatin1String(sheet)))).size(),
                     QSize(Fixture::SheetWidth, Fixture::SheetHeight));
        const QImage activeStreet(city.file(QStringLiteral("pictures/icons/Active_ Street.bmp")));
        QCOMPARE(activeStreet.pixelColor(0, activeStreet.height() - 1), Fixture::IconBackground);
        QVERIFY(QFile::exists(city.file(QStringLiteral("Kvirzeta.pdf"))));

        const QImage logo = QImage::fromData(city.picture(Fixture::BankObject, QStringLiteral("tree_Logo")), "JPEG");
        QCOMPARE(logo.size(), QSize(48, 16));
        QVERIFY(city.picture(Fixture::NoLogoObject, QStringLiteral("tree_Logo")).isEmpty());
        QVERIFY(QImage::fromData(city.picture(Fixture::BrokenLogoObject, QStringLiteral("tree_Logo"))).isNull());

        auto dm = module();
        dm->obieqti_logo_Qr.open();
        QCOMPARE(dm->obieqti_logo_Qr.recordCount(), Fixture::ObjectListRows);
        dm->obieqtiQr.open();
        QCOMPARE(dm->obieqtiQr.recordCount(), Fixture::ObjectCount);
        dm->quCa_Qr.open();
        QCOMPARE(dm->quCa_Qr.recordCount(), Fixture::StreetCount);
        dm->kavS_transporti_gaCereba_Qr.open();
        QCOMPARE(dm->kavS_transporti_gaCereba_Qr.recordCount(), Fixture::RouteStopRows);
        dm->gaCereba_Qr.open();
        QCOMPARE(dm->gaCereba_Qr.recordCount(), Fixture::StopCount);
    }

    void parsesConnectionStrings()
    {
        const auto pairs = Connection::parse(QStringLiteral(
            "Provider=MSDASQL.1;Persist Security Info=False; User ID = admin ;"
            "Extended Properties=\"DBQ=C:\\city.mdb;DriverId=25;FIL=MS Access;\";Mode='Read; Only'"));
        QCOMPARE(pairs.value(QStringLiteral("provider")), QStringLiteral("MSDASQL.1"));
        QCOMPARE(pairs.value(QStringLiteral("user id")), QStringLiteral("admin"));
        QCOMPARE(pairs.value(QStringLiteral("extended properties")),
                 QStringLiteral("DBQ=C:\\city.mdb;DriverId=25;FIL=MS Access;"));
        QCOMPARE(pairs.value(QStringLiteral("mode")), QStringLiteral("Read; Only"));

        // Line breaks from the file and stray segments do not leak into keys or values.
        const auto lines = Connection::parse(QStringLiteral("Provider=SQLite;\r\nstray;Data Source=city.db\r\n"));
        QCOMPARE(lines.keys(), (QStringList{QStringLiteral("data source"), QStringLiteral("provider")}));
        QCOMPARE(lines.value(QStringLiteral("data source")), QStringLiteral("city.db"));

        // Inside quotes the value is kept as written; a doubled quote stands for one.
        const auto quoted = Connection::parse(QStringLiteral("Password=\" a\"\"b; \";Data Source=\"my city.db"));
        QCOMPARE(quoted.value(QStringLiteral("password")), QStringLiteral(" a\"b; "));
        QCOMPARE(quoted.value(QStringLiteral("data source")), QStringLiteral("my city.db"));

        QVERIFY(Connection::parse(QString()).isEmpty());
        QVERIFY(Connection::parse(QStringLiteral("no pairs at all")).isEmpty());
        QCOMPARE(Connection::parse(QStringLiteral("A=1;a=2")).value(QStringLiteral("a")), QStringLiteral("2"));

        // Thousands of segments without "=" before the one pair, as a hostile file may hold.
        const QString stray = QStringLiteral("a;").repeated(32000);
        QCOMPARE(Connection::parse(stray + QStringLiteral("x=y")),
                 (QMap<QString, QString>{{QStringLiteral("x"), QStringLiteral("y")}}));
        QVERIFY(Connection::parse(stray).isEmpty());
    }

    void readsTheConnectionFileWhole()
    {
        FixtureCity city;
        ScopedCurrentDir here(city.path());
        // The file is found whatever the case of its name, and its trailing line break survives.
        const QString text = Connection::readConnectionFile(QStringLiteral(".\\ADDRESS.ini"));
        QCOMPARE(text, city.addressIni() + QStringLiteral("\r\n"));

        // The text as read opens the database named relative to the current directory.
        Connection connection(QStringLiteral("ADOConn"));
        connection.setConnectionString(text);
        connection.open();
        QVERIFY(connection.isOpen());
        connection.close();

        city.write(QStringLiteral("Address.ini"), "  Provider=SQLite;\nData Source=city.db\r\n\rx \r\n");
        QCOMPARE(Connection::readConnectionFile(QStringLiteral("Address.ini")),
                 QStringLiteral("  Provider=SQLite;\r\nData Source=city.db\r\n\r\nx \r\n"));

        // A file longer than any connection string is refused before it is parsed.
        city.write(QStringLiteral("Address.ini"), QByteArray(Connection::MaxConnectionFileBytes, ' '));
        QCOMPARE(Connection::readConnectionFile(QStringLiteral("Address.ini")).size(), Connection::MaxConnectionFileBytes);
        city.write(QStringLiteral("Address.ini"), QByteArray(Connection::MaxConnectionFileBytes + 1, ' '));
        QVERIFY(errorOf([] { Connection::readConnectionFile(QStringLiteral("Address.ini")); })
                    .contains(QLatin1String("larger than 64 KB")));

        city.remove(QStringLiteral("Address.ini"));
        QVERIFY(errorOf([] { Connection::readConnectionFile(QStringLiteral("Address.ini")); })
                    .contains(QLatin1String("Address.ini")));
        QVERIFY(!errorOf([] { Connection::readConnectionFile(QStringLiteral("Raster")); }).isEmpty());
    }

    void connectionFailuresAreReported()
    {
        FixtureCity city;
        ScopedCurrentDir here(city.path());
        Connection connection(QStringLiteral("ADOConn"));
        const auto failure = [&](const QString &text) {
            connection.setConnectionString(text);
            const QString error = errorOf([&] { connection.open(); });
            if (connection.isOpen())
                return QStringLiteral("opened");
            return error;
        };

        // A missing database is an error and is never created.
        QVERIFY(failure(QStringLiteral("Provider=SQLite;Data Source=missing.db")).contains(QLatin1String("missing.db")));
        QVERIFY(!QFile::exists(city.file(QStringLiteral("missing.db"))));
        QVERIFY(!failure(QStringLiteral("Provider=SQLite;Data Source=Raster")).isEmpty());

        // A file that is not a database opens without complaint at first; it must still fail.
        QVERIFY(!failure(QStringLiteral("Provider=SQLite;Data Source=Kvirzeta.pdf")).isEmpty());
        QVERIFY(!failure(QStringLiteral("Provider=SQLite;Data Source=Address.ini")).isEmpty());

        QVERIFY(failure(QStringLiteral("Provider=Jet.OLEDB;Data Source=city.db")).contains(QLatin1String("Jet.OLEDB")));
        QVERIFY(!failure(QString()).isEmpty());
        QVERIFY(!failure(QStringLiteral("Provider=SQLite")).isEmpty());
        QVERIFY(!failure(QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False")).isEmpty());

        // The same connection opens once it is given a good string, and the file's name is
        // matched without regard to case.
        QCOMPARE(failure(QStringLiteral("Provider=sqlite;Data Source=.\\CITY.DB")), QStringLiteral("opened"));
    }

    void dataSetOpenFailsWhenTheConnectionDoes()
    {
        DataModule dm;
        dm.ADOConn.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=/nonexistent/city.db"));
        QVERIFY(!errorOf([&] { dm.RaioniQr.open(); }).isEmpty());
        QVERIFY(!dm.RaioniQr.isOpen());
        QVERIFY(!QFile::exists(QStringLiteral("/nonexistent/city.db")));
        // A later open tries again with the string the connection then holds.
        dm.ADOConn.setConnectionString(m_city->connectionString());
        dm.RaioniQr.open();
        QCOMPARE(dm.RaioniQr.recordCount(), Fixture::DistrictCount);
    }

    void connectionIsReadOnly()
    {
        FixtureCity city;
        const QString db = city.file(QStringLiteral("city.db"));
        const QByteArray before = fileHash(db);
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        QSqlQuery query(dm.ADOConn.database());
        const QStringList writes = {
            QStringLiteral("INSERT INTO raioni VALUES (9, 'axali')"),
            QStringLiteral("UPDATE quCa SET saxeli='x'"),
            QStringLiteral("DELETE FROM obieqti"),
            QStringLiteral("CREATE TABLE extra (a INTEGER)"),
            QStringLiteral("DROP TABLE quCa"),
            QStringLiteral("PRAGMA user_version=7"),
            QStringLiteral("ATTACH DATABASE '%1' AS other").arg(city.file(QStringLiteral("other.db"))),
        };
        for (const QString &sql : writes)
            QVERIFY2(!query.exec(sql), qPrintable(sql));
        QVERIFY(!QFile::exists(city.file(QStringLiteral("other.db"))));

        // A data set refuses a modifying statement the same way and stays closed.
        dm.Qr.close();
        dm.Qr.setSql(QStringLiteral("DELETE FROM quCa"));
        QVERIFY(!errorOf([&] { dm.Qr.open(); }).isEmpty());
        QVERIFY(!dm.Qr.isOpen());
        query = QSqlQuery();
        dm.ADOConn.close();
        QCOMPARE(fileHash(db), before);
    }

    void likeDistinguishesCase()
    {
        auto dm = module();
        const auto count = [&](const QString &pattern) {
            DataModule::requery(dm->quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%1'").arg(pattern));
            return dm->quCa_Qr.recordCount();
        };
        QCOMPARE(count(QStringLiteral("%WavWava%")), 1);
        QCOMPARE(count(QStringLiteral("%wavwava%")), 0);
        QCOMPARE(count(QStringLiteral("%gamziri")), 3);
        QCOMPARE(count(QStringLiteral("%")), Fixture::StreetCount);
        // An apostrophe left unescaped makes the statement fail with the database's message.
        QVERIFY(errorOf([&] { count(QStringLiteral("%d'art%")); }).contains(QLatin1String("art")));
        QVERIFY(!dm->quCa_Qr.isOpen());
    }

    void dataSetIsASnapshot()
    {
        FixtureCity city;
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        DataSet &streets = dm.quCa_Qr;
        QSignalSpy resets(&streets, &DataSet::reset);
        QSignalSpy moves(&streets, &DataSet::currentRowChanged);
        streets.open();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(streets.currentRow(), 0);
        streets.setCurrentRow(3);
        QCOMPARE(moves.count(), 2);
        QCOMPARE(moves.last().first().toInt(), 3);

        // Rows written by someone else stay unseen until the next opening.
        city.execSql(QStringLiteral("DELETE FROM quCa WHERE g_raioni_kodi=1"));
        QCOMPARE(streets.recordCount(), Fixture::StreetCount);
        QCOMPARE(streets.text(QStringLiteral("saxeli")), QStringLiteral("kosta xetagurovis quCa"));

        // Opening an open data set keeps its rows and its current record and signals nothing.
        streets.open();
        QCOMPARE(streets.recordCount(), Fixture::StreetCount);
        QCOMPARE(streets.currentRow(), 3);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(moves.count(), 2);

        // Another SQL text closes an open data set instead of leaving the old rows under it.
        streets.setSql(streets.sql());
        QVERIFY(streets.isOpen());
        streets.setSql(QStringLiteral("SELECT * FROM quCa WHERE quCa_kodi=1"));
        QVERIFY(!streets.isOpen());
        streets.open();
        QCOMPARE(streets.recordCount(), 0);
        DataModule::requery(streets, QStringLiteral("SELECT * FROM quCa"));
        QCOMPARE(resets.count(), 5);

        streets.close();
        QVERIFY(!streets.isOpen());
        QVERIFY(streets.isEmpty());
        QCOMPARE(streets.currentRow(), -1);
        QCOMPARE(resets.count(), 6);
        streets.open();
        QCOMPARE(streets.recordCount(), Fixture::StreetCount - 4);
    }

    void navigatesRecords()
    {
        auto dm = module();
        DataSet &stops = dm->gaCereba_Qr;
        stops.open();
        int visited = 0;
        for (stops.first(); !stops.eof(); stops.next())
            ++visited;
        QCOMPARE(visited, Fixture::StopCount);
        QCOMPARE(stops.currentRow(), Fixture::StopCount - 1);
        stops.first();
        QVERIFY(!stops.eof());
        QCOMPARE(stops.currentRow(), 0);

        DataModule::requery(stops, QStringLiteral("SELECT * FROM gaCereba WHERE gaCereba_kodi=-1"));
        QVERIFY(stops.isOpen());
        QVERIFY(stops.isEmpty());
        QVERIFY(stops.eof());
        QCOMPARE(stops.currentRow(), -1);
        stops.first();
        stops.next();
        QVERIFY(stops.eof());
        QVERIFY(!errorOf([&] { stops.text(QStringLiteral("saxeli")); }).isEmpty());
    }

    void locatesWholeValuesOnly()
    {
        auto dm = module();
        DataSet &streets = dm->quCa_Qr;
        QVERIFY(!errorOf([&] { streets.locate(QStringLiteral("saxeli"), QStringLiteral("x")); }).isEmpty());
        streets.open();
        streets.setCurrentRow(2);
        QSignalSpy moves(&streets, &DataSet::currentRowChanged);

        // Part of a value, another case or another number finds nothing and moves nothing.
        QVERIFY(!streets.locate(QStringLiteral("saxeli"), QStringLiteral("gorgasalis")));
        QVERIFY(!streets.locate(QStringLiteral("saxeli"), QStringLiteral("Gorgasalis quCa")));
        QVERIFY(!streets.locate(QStringLiteral("quCa_kodi"), 99));
        QVERIFY(!streets.locate(QStringLiteral("ruka_kodi"), QVariant()));
        QVERIFY(!streets.locate(QStringLiteral("quCa_kodi"), QString()));
        QCOMPARE(streets.currentRow(), 2);
        QCOMPARE(moves.count(), 0);

        // The first of two equal names wins.
        QVERIFY(streets.locate(QStringLiteral("saxeli"), QStringLiteral("gorgasalis quCa")));
        QCOMPARE(streets.integer(QStringLiteral("quCa_kodi")), Fixture::SameNameStreetA);
        QCOMPARE(moves.count(), 1);
        // Numbers match across integer, floating-point and text forms.
        QVERIFY(streets.locate(QStringLiteral("QUCA_KODI"), 7));
        QCOMPARE(streets.text(QStringLiteral("saxeli")), QStringLiteral("sionis Sesaxvevi"));
        QVERIFY(streets.locate(QStringLiteral("quCa_kodi"), QStringLiteral("5")));
        QCOMPARE(streets.integer(QStringLiteral("quCa_kodi")), 5);
        QVERIFY(streets.locate(QStringLiteral("x"), 75.0));
        QCOMPARE(streets.integer(QStringLiteral("quCa_kodi")), Fixture::SameNameStreetA);
        QVERIFY(streets.locate(QStringLiteral("ruka_kodi"), QString()));
        QCOMPARE(streets.integer(QStringLiteral("quCa_kodi")), Fixture::NoSheetStreet);
        QVERIFY(!errorOf([&] { streets.locate(QStringLiteral("nope"), 1); }).isEmpty());

        dm->obieqtiQr.open();
        QVERIFY(dm->obieqtiQr.locate(QStringLiteral("saxeli"), QStringLiteral("d'artaniani")));
        QCOMPARE(dm->obieqtiQr.integer(QStringLiteral("obieqtis_kodi")), Fixture::ApostropheObject);
        QVERIFY(dm->obieqtiQr.locate(QStringLiteral("x"), 62.5));
        QCOMPARE(dm->obieqtiQr.integer(QStringLiteral("obieqtis_kodi")), Fixture::NoAdvertObject);
        // A null value finds a null cell, not an empty text.
        QVERIFY(dm->obieqtiQr.locate(QStringLiteral("ruka_kodi"), QVariant()));
        QCOMPARE(dm->obieqtiQr.integer(QStringLiteral("obieqtis_kodi")), Fixture::HotLineNullSheetObject);
    }

    void columnsAreBoundByName()
    {
        auto dm = module();
        // Column names match without regard to case: one SQL text writes map_logo.
        DataSet &list = dm->obieqti_logo_Qr;
        list.open();
        QCOMPARE(list.columns(), list.declaredFields());
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
        QCOMPARE(list.bytes(QStringLiteral("map_logo")), list.bytes(QStringLiteral("map_Logo")));
        QCOMPARE(list.bytes(QStringLiteral("MAP_LOGO")), m_city->picture(Fixture::BankObject, QStringLiteral("map_Logo")));
        QCOMPARE(list.text(QStringLiteral("rek")), QStringLiteral("WavWavaZis 1, 22 33 44, 22 33 45, sabanko momsaxureba"));
        QCOMPARE(list.integer(QStringLiteral("rubrika_kodi")), Fixture::BankRubric);
        QCOMPARE(list.integer(QStringLiteral("qve_rubrika_kodi")), Fixture::BankSubRubric);

        // Without a field list every result column is exposed under its own name.
        DataModule::requery(dm->Qr, QStringLiteral("SELECT * FROM quCa"));
        QStringList streetColumns{QStringLiteral("quCa_kodi"), QStringLiteral("g_raioni_kodi"), QStringLiteral("saxeli"),
                                  QStringLiteral("g_quCis_tipi"), QStringLiteral("ruka_kodi"), QStringLiteral("x"),
                                  QStringLiteral("y")};
        // The names are the database's own: PostgreSQL folds unquoted names to lower case.
        if (FixtureCity::backend() == FixtureCity::Backend::PostgreSQL)
            for (QString &name : streetColumns)
                name = name.toLower();
        QCOMPARE(dm->Qr.columns(), streetColumns);
        DataModule::requery(dm->Qr, QStringLiteral("SELECT obieqtis_logo.map_logo, obieqti.* FROM obieqtis_logo, obieqti "
                                                   "WHERE obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi"));
        QVERIFY(dm->Qr.columnIndex(QStringLiteral("map_Logo")) == 0);

        // A declared column missing from the result makes the opening fail; nothing is bound.
        dm->quCa_Qr.setSql(QStringLiteral("SELECT quCa_kodi, saxeli FROM quCa"));
        const QString error = errorOf([&] { dm->quCa_Qr.open(); });
        QVERIFY2(error.contains(QLatin1String("g_raioni_kodi")), qPrintable(error));
        QVERIFY(!dm->quCa_Qr.isOpen());
        // Further columns in the result are ignored.
        dm->RaioniQr.setSql(QStringLiteral("SELECT raioni_kodi, saxeli, 1 as extra FROM raioni"));
        dm->RaioniQr.open();
        QCOMPARE(dm->RaioniQr.columns(), (QStringList{QStringLiteral("raioni_kodi"), QStringLiteral("saxeli")}));
    }

    void readsNullsAndTypes()
    {
        auto dm = module();
        DataSet &objects = dm->obieqtiQr;
        QVERIFY(!errorOf([&] { objects.text(QStringLiteral("saxeli")); }).isEmpty());
        objects.open();

        QVERIFY(objects.locate(QStringLiteral("obieqtis_kodi"), Fixture::NoLogoObject));
        QVERIFY(objects.isNull(QStringLiteral("telefoni")));
        QCOMPARE(objects.text(QStringLiteral("telefoni")), QString());
        QVERIFY(!objects.isNull(QStringLiteral("el_fosta")));
        QCOMPARE(objects.real(QStringLiteral("x")), 10.25);
        QCOMPARE(objects.text(QStringLiteral("y")), QStringLiteral("80.75"));
        QCOMPARE(objects.integer(QStringLiteral("g_raioni_kodi")), 1);

        QVERIFY(objects.locate(QStringLiteral("obieqtis_kodi"), Fixture::NoPositionObject));
        QVERIFY(objects.isNull(QStringLiteral("x")));
        QVERIFY(!errorOf([&] { objects.real(QStringLiteral("x")); }).isEmpty());
        QVERIFY(!errorOf([&] { objects.integer(QStringLiteral("y")); }).isEmpty());
        QVERIFY(!errorOf([&] { objects.integer(QStringLiteral("saxeli")); }).isEmpty());
        QVERIFY(!errorOf([&] { objects.text(QStringLiteral("nope")); }).isEmpty());

        QVERIFY(objects.locate(QStringLiteral("obieqtis_kodi"), Fixture::HotLineNullSheetObject));
        QVERIFY(objects.isNull(QStringLiteral("ruka_kodi")));
        QCOMPARE(objects.text(QStringLiteral("ruka_kodi")), QString());
    }

    void savesBlobsToFiles()
    {
        auto dm = module();
        DataSet &list = dm->obieqti_logo_Qr;
        list.open();
        QTemporaryDir out;
        const QString target = out.filePath(QStringLiteral("tbank.pdf"));
        // An existing longer file is replaced, not overwritten in part.
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
        old.close();
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
        list.saveBlobToFile(QStringLiteral("sareklamo_faili"), target);
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("%PDF-1.4 Tbilisi banki offer"));

        const QString logo = out.filePath(QStringLiteral("ForMap.jpg"));
        list.saveBlobToFile(QStringLiteral("map_logo"), logo);
        QCOMPARE(QImage(logo).size(), QSize(24, 24));

        QVERIFY(!errorOf([&] { list.saveBlobToFile(QStringLiteral("tree_Logo"), out.filePath(QStringLiteral("no/dir/x.jpg"))); })
                     .isEmpty());
    }

    void readsBlobsBackOnDemand()
    {
        FixtureCity city; // its own: rows are added and removed
        // A second logo row of the bank with the same keys and another advertising file.
        city.execSql(QStringLiteral("INSERT INTO obieqtis_logo VALUES (%1, 1, NULL, NULL, NULL, "
                                    "CAST('second offer' AS BLOB), 'tbank.pdf')").arg(Fixture::BankObject));
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        DataSet &list = dm.obieqti_logo_Qr;
        list.open();
        const int key = list.requireColumn(QStringLiteral("g_obieqti_kodi"));
        const int tree = list.requireColumn(QStringLiteral("tree_Logo"));
        const int advert = list.requireColumn(QStringLiteral("sareklamo_faili"));
        QSet<QByteArray> bankOffers;
        int karfuriMapLogos = 0;
        for (int row = 0; row < list.recordCount(); ++row) {
            const int object = list.valueAt(row, key).toInt();
            if (object == Fixture::BankObject)
                bankOffers.insert(list.blobAt(row, advert));
            else if (object != Fixture::TwoLogoRowsObject && !list.valueAt(row, tree).isNull())
                QCOMPARE(list.blobAt(row, tree), city.picture(object, QStringLiteral("tree_Logo")));
            if (object == Fixture::TwoLogoRowsObject) {
                list.setCurrentRow(row);
                karfuriMapLogos += !list.isNull(QStringLiteral("map_Logo"));
                QCOMPARE(list.bytes(QStringLiteral("map_Logo")).isEmpty(), list.isNull(QStringLiteral("map_Logo")));
            }
        }
        QCOMPARE(bankOffers, (QSet<QByteArray>{"%PDF-1.4 Tbilisi banki offer", "second offer"}));
        QCOMPARE(karfuriMapLogos, 1);

        // A row removed from the database since the list was read: a clear error, not stale bytes.
        city.execSql(QStringLiteral("DELETE FROM obieqtis_logo WHERE g_obieqti_kodi=%1").arg(Fixture::NoAdvertObject));
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::NoAdvertObject));
        QVERIFY(!list.isNull(QStringLiteral("tree_Logo")));
        QVERIFY(errorOf([&] { list.bytes(QStringLiteral("tree_Logo")); }).contains(QLatin1String("no longer in the database")));
    }

    void opensInTheBackground()
    {
        auto dm = module();
        DataSet &list = dm->obieqti_logo_Qr;
        QSignalSpy resets(&list, &DataSet::reset);
        QSignalSpy failures(&list, &DataSet::openFailed);
        // Connection closed: opened there and then, so that a failure to connect is the caller's.
        list.openInBackground();
        QVERIFY(list.isOpen() && !list.isLoading());
        list.close();

        list.openInBackground();
        QVERIFY(list.isLoading() && !list.isOpen());
        QTRY_VERIFY(list.isOpen());
        QCOMPARE(list.recordCount(), Fixture::ObjectListRows);
        QVERIFY(!list.isLoading());
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
        QCOMPARE(list.bytes(QStringLiteral("sareklamo_faili")), QByteArray("%PDF-1.4 Tbilisi banki offer"));

        // open() waits for a read under way; close() and another text abandon it.
        list.close();
        list.openInBackground();
        list.open();
        QCOMPARE(list.recordCount(), Fixture::ObjectListRows);
        list.close();
        list.openInBackground();
        list.close();
        resets.clear();
        QTest::qWait(100);
        QVERIFY(!list.isOpen() && !list.isLoading() && resets.isEmpty());
        list.openInBackground();
        list.setSql(DataModule::objectListSelect + QStringLiteral("obieqti.saxeli LIKE 'kafe%' AND "
                                                                  "(obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND "
                                                                  "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi)"));
        QVERIFY(!list.isLoading());
        list.open();
        QCOMPARE(list.recordCount(), 2);

        // A failing read is told once, and the data set stays closed; open() gives the error.
        list.close();
        list.setSql(QStringLiteral("SELECT * FROM no_such_table"));
        list.openInBackground();
        QTRY_COMPARE(failures.size(), 1);
        QVERIFY(failures.first().first().toString().contains(QLatin1String("no_such_table")));
        QVERIFY(!list.isOpen() && !list.isLoading());
        QVERIFY(errorOf([&] { list.open(); }).contains(QLatin1String("no_such_table")));
        QCOMPARE(failures.size(), 1);
    }

    void defaultSqlTextsAndFields()
    {
        DataModule dm;
        QVERIFY(!dm.ADOConn.isOpen());
        for (DataSet *set : dm.findChildren<DataSet *>())
            QVERIFY2(!set->isOpen(), qPrintable(set->name()));

        const QString crlf = QStringLiteral("\r\n");
        QCOMPARE(dm.rubrikaQr.sql(), QStringLiteral("SELECT * FROM rubrika\r\norder by saxeli\r\n"));
        QCOMPARE(dm.qve_rubrika_Qr.sql(), QStringLiteral("SELECT * FROM qve_rubrika \r\norder by saxeli\r\n"));
        QCOMPARE(dm.Search_qve_rubrika_Qr.sql(), dm.qve_rubrika_Qr.sql());
        QCOMPARE(dm.obieqtiQr.sql(), QStringLiteral("SELECT * FROM obieqti"));
        QCOMPARE(dm.RaioniQr.sql(), QStringLiteral("SELECT * FROM raioni\r\norder by saxeli\r\n"));
        QCOMPARE(dm.quCisTipi_Qr.sql(), QStringLiteral("SELECT * FROM quCis_tipi"));
        QCOMPARE(dm.transportisTipi_Qr.sql(), QStringLiteral("SELECT * FROM transporti_tipi order by transporti_tipi"));
        QCOMPARE(dm.gaCereba_Qr.sql(), QStringLiteral("SELECT * FROM gaCereba"));
        QCOMPARE(dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa"));
        const QString logoFrom = QStringLiteral(
            "FROM obieqtis_logo, obieqti, qve_rubrika \r\n"
            "WHERE (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) \r\n"
            "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi\r\n");
        QCOMPARE(dm.obieqti_logo_Qr.sql(),
                 QStringLiteral("SELECT obieqtis_logo.*, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                                "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi \r\n") + logoFrom);
        QCOMPARE(dm.Qr.sql(),
                 QStringLiteral("SELECT obieqtis_logo.*, obieqti.*, (obieqti.misamarTi+', '+obieqti.telefoni+', '+"
                                "obieqti.faqsi+', '+obieqti.saqmianoba) as rek,  qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                                "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi \r\n") + logoFrom);
        QCOMPARE(dm.kavS_transporti_gaCereba_Qr.sql(),
                 QStringLiteral("SELECT gaCereba.*, transporti.saxeli  as saxeoba, transporti.g_transporti_tipi as tipi,  "
                                "kavS_transporti_gaCereba.gaCerebis_rigiTi_n as n\r\n"
                                "FROM gaCereba, transporti, kavS_transporti_gaCereba WHERE "
                                "kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi AND "
                                "kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi") + crlf);

        QCOMPARE(dm.obieqti_logo_Qr.declaredFields().join(QLatin1Char(',')),
                 QStringLiteral("g_obieqti_kodi,g_reklamis_tipi_kodi,tree_Logo,map_Logo,sareklamo_failis_logo,"
                                "sareklamo_faili,sareklamo_faili_saxeli,obieqtis_kodi,saxeli,misamarTi,"
                                "g_qve_rubrika_kodi,g_raioni_kodi,telefoni,faqsi,veb_gverdi,el_fosta,saqmianoba,"
                                "SeniSvna,ruka_kodi,x,y,rek,rubrika_kodi,qve_rubrika_kodi"));
        QCOMPARE(dm.kavS_transporti_gaCereba_Qr.declaredFields().join(QLatin1Char(',')),
                 QStringLiteral("gaCereba_kodi,g_raioni_kodi,saxeli,ruka_kodi,x,y,aRwera,saxeoba,tipi,n"));
        QCOMPARE(dm.obieqtiQr.declaredFields().join(QLatin1Char(',')),
                 QStringLiteral("obieqtis_kodi,saxeli,misamarTi,g_qve_rubrika_kodi,g_raioni_kodi,telefoni,faqsi,"
                                "el_fosta,veb_gverdi,saqmianoba,SeniSvna,ruka_kodi,x,y"));
        QVERIFY(dm.Qr.declaredFields().isEmpty());

        // Every default text runs on the city, apart from Qr's, which is never run as it stands.
        dm.ADOConn.setConnectionString(m_city->connectionString());
        for (DataSet *set : dm.findChildren<DataSet *>())
            if (set != &dm.Qr)
                set->open();
        QCOMPARE(dm.obieqti_logo_Qr.recordCount(), Fixture::ObjectListRows);
        QCOMPARE(dm.kavS_transporti_gaCereba_Qr.recordCount(), Fixture::RouteStopRows);
        QCOMPARE(asInts(column(dm.transportisTipi_Qr, QStringLiteral("transporti_tipi"))), ints({1, 2, 3}));
        QCOMPARE(asInts(column(dm.RaioniQr, QStringLiteral("raioni_kodi"))), ints({3, 4, 2, 1}));
    }

    void reloadObjectListDropsTheNameOrder()
    {
        auto dm = module();
        dm->rubrikaQr.open();
        dm->qve_rubrika_Qr.open();
        QCOMPARE(asInts(column(dm->rubrikaQr, QStringLiteral("rubrika_kodi"))), ints({2, 4, 3, 1}));
        QCOMPARE(asInts(column(dm->qve_rubrika_Qr, QStringLiteral("qve_rubrika_kodi"))),
                 ints({172, 111, 101, 102, 110, 120, 121}));

        DataModule::requery(dm->obieqti_logo_Qr, DataModule::objectListSelect +
                                                     QStringLiteral(" obieqti.saxeli LIKE '%kafe%' AND ") +
                                                     QStringLiteral(" (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND "
                                                                    "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) "
                                                                    "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
        QCOMPARE(dm->obieqti_logo_Qr.recordCount(), 2);

        dm->ReloadObjectList();
        QCOMPARE(dm->rubrikaQr.sql(), QStringLiteral("SELECT * FROM rubrika"));
        QCOMPARE(dm->qve_rubrika_Qr.sql(), QStringLiteral("SELECT * FROM qve_rubrika"));
        QCOMPARE(dm->obieqti_logo_Qr.sql(),
                 QStringLiteral("SELECT obieqtis_logo.*, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                                "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi FROM obieqtis_logo, obieqti, qve_rubrika "
                                "WHERE (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND "
                                "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
        QCOMPARE(asInts(column(dm->rubrikaQr, QStringLiteral("rubrika_kodi"))), ints({1, 2, 3, 4}));
        QCOMPARE(asInts(column(dm->qve_rubrika_Qr, QStringLiteral("qve_rubrika_kodi"))),
                 ints({101, 102, 110, 111, 120, 121, 172}));

        // The list: ordered by rubric, then sub-rubric; objects without a logo row or with an
        // unknown sub-rubric are absent, one with two logo rows is there twice.
        DataSet &list = dm->obieqti_logo_Qr;
        QCOMPARE(list.recordCount(), Fixture::ObjectListRows);
        const QList<QVariant> rubrics = asInts(column(list, QStringLiteral("rubrika_kodi")));
        QVERIFY(std::is_sorted(rubrics.begin(), rubrics.end(),
                               [](const QVariant &a, const QVariant &b) { return a.toInt() < b.toInt(); }));
        const QList<QVariant> keys = asInts(column(list, QStringLiteral("g_obieqti_kodi")));
        QCOMPARE(keys.count(QVariant(Fixture::TwoLogoRowsObject)), 2);
        QVERIFY(!keys.contains(QVariant(Fixture::NoLogoRowObject)));
        QVERIFY(!keys.contains(QVariant(Fixture::LostSubRubricObject)));
    }

    void reloadStreetAndRouteStopLists()
    {
        auto dm = module();
        DataModule::requery(dm->quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE g_quCis_tipi=2"));
        QCOMPARE(dm->quCa_Qr.recordCount(), 3);
        dm->ReloadStreetList();
        QCOMPARE(dm->quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa"));
        QCOMPARE(dm->quCa_Qr.recordCount(), Fixture::StreetCount);

        // A failed search leaves the list closed; the reload brings it back.
        dm->kavS_transporti_gaCereba_Qr.setSql(QStringLiteral("SELECT broken"));
        QVERIFY(!errorOf([&] { dm->kavS_transporti_gaCereba_Qr.open(); }).isEmpty());
        dm->ReloadRouteStopList();
        DataSet &routes = dm->kavS_transporti_gaCereba_Qr;
        QCOMPARE(routes.sql(),
                 QStringLiteral("SELECT gaCereba.*, transporti.saxeli  as saxeoba, transporti.g_transporti_tipi as tipi,  "
                                "kavS_transporti_gaCereba.gaCerebis_rigiTi_n as n FROM gaCereba, transporti, "
                                "kavS_transporti_gaCereba WHERE kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi "
                                "AND kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi"));
        QCOMPARE(routes.recordCount(), Fixture::RouteStopRows);

        // A shared stop is listed under each of its routes with its own number; a loop lists a
        // stop twice.
        QMultiMap<QString, int> shared;
        QList<int> loop;
        for (routes.first(); !routes.eof(); routes.next()) {
            if (routes.integer(QStringLiteral("gaCereba_kodi")) == Fixture::SharedStop)
                shared.insert(routes.text(QStringLiteral("saxeoba")), routes.integer(QStringLiteral("n")));
            if (routes.integer(QStringLiteral("gaCereba_kodi")) == Fixture::LoopStop)
                loop.append(routes.integer(QStringLiteral("n")));
        }
        QCOMPARE(shared.value(QStringLiteral("1")), 3);
        QCOMPARE(shared.value(QStringLiteral("10")), 2);
        QCOMPARE(shared.size(), 2);
        std::sort(loop.begin(), loop.end());
        QCOMPARE(loop, (QList<int>{1, 4}));

        // Route names compare whole: "1" does not find "10".
        DataModule::requery(routes, DataModule::routeStopListSql + QStringLiteral("  AND transporti.saxeli LIKE '1'"));
        QCOMPARE(routes.recordCount(), 6);
    }
};

QTEST_MAIN(TestData)
#include "tst_data.moc"
