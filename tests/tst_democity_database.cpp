// The demo-city generator writing its tables through a connection string, on the backend of this
// run: the same seed gives the same catalogue as in the folder's own SQLite file.
#include "EmptyDatabase.h"
#include "FixtureCity.h"
#include "common/Errors.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "democity/GeneratorCommandLine.h"

#include <QtTest>

namespace {

constexpr const char *Seed = "7";

// Generates a small city into a folder; the error text, or empty on success.
QString generate(const QString &folder, const QStringList &extra = {})
{
    GeneratorOptions options;
    QString error;
    if (!parseArguments(QStringList{folder, QStringLiteral("--seed"), QString::fromLatin1(Seed),
                                    QStringLiteral("--objects"), QStringLiteral("40"), QStringLiteral("--map-width"),
                                    QStringLiteral("400"), QStringLiteral("--quiet")} + extra,
                        &options, &error))
        return error;
    try {
        Generator(options).run();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDemoCityDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void writesTheSameCityThroughAConnection()
    {
        const EmptyDatabase database(m_dir.path());
        const QString &target = database.connection;
        const QString own = m_dir.filePath(QStringLiteral("own"));
        const QString through = m_dir.filePath(QStringLiteral("through"));
        QCOMPARE(generate(own), QString());
        QCOMPARE(generate(through, {QStringLiteral("--connection"), target}), QString());

        // Address.ini names the database written; the folder holds no SQLite file of its own.
        QCOMPARE(readAll(through + QStringLiteral("/Address.ini")), target.toUtf8() + "\r\n");
        QVERIFY(!QFileInfo::exists(through + QLatin1Char('/') + QLatin1String(CityWriter::DatabaseFile)));
        QCOMPARE(readAll(through + QStringLiteral("/Raster/B2.jpg")), readAll(own + QStringLiteral("/Raster/B2.jpg")));

        const QByteArray written = FixtureCity::contentDigest(database.exact);
        QCOMPARE(written, FixtureCity::contentDigest(QStringLiteral("Provider=SQLite;Data Source=%1/%2")
                                                         .arg(own, QLatin1String(CityWriter::DatabaseFile))));

        // The program opens it from the folder as it stands.
        {
            ScopedCurrentDir here(through);
            DataModule dm;
            dm.ADOConn.setConnectionString(Connection::readConnectionFile(QStringLiteral("Address.ini")));
            dm.obieqti_logo_Qr.open();
            QCOMPARE(dm.obieqti_logo_Qr.recordCount(), 40);
            QVERIFY(!dm.obieqti_logo_Qr.text(QStringLiteral("rek")).isEmpty());
            dm.kavS_transporti_gaCereba_Qr.open();
            QVERIFY(!dm.kavS_transporti_gaCereba_Qr.isEmpty());
        }

        // A database that already holds a catalogue is never overwritten, and the folder of the
        // city already made there is left as it was.
        const QString again = generate(through, {QStringLiteral("--connection"), target, QStringLiteral("--seed"),
                                                 QStringLiteral("8")});
        QVERIFY2(again.contains(QLatin1String("rubrika")), qPrintable(again));
        QCOMPARE(FixtureCity::contentDigest(database.exact), written);
        QCOMPARE(readAll(through + QStringLiteral("/Address.ini")), target.toUtf8() + "\r\n");
        QCOMPARE(readAll(through + QStringLiteral("/Raster/B2.jpg")), readAll(own + QStringLiteral("/Raster/B2.jpg")));
    }

    void badConnectionsAreReported()
    {
        GeneratorOptions options;
        QString error;
        QVERIFY(!parseArguments({QStringLiteral("folder"), QStringLiteral("--connection")}, &options, &error));
        QVERIFY(error.contains(QLatin1String("--connection")));
        QVERIFY(!parseArguments({QStringLiteral("folder"), QStringLiteral("--connection"), QStringLiteral(" ")}, &options, &error));

        const QString folder = m_dir.filePath(QStringLiteral("bad"));
        QVERIFY(generate(folder, {QStringLiteral("--connection"), QStringLiteral("Provider=Nowhere;Data Source=x")})
                    .contains(QLatin1String("Nowhere")));
        QVERIFY(!generate(folder, {QStringLiteral("--connection"),
                                   QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=x")})
                     .isEmpty());
        // The folder is not touched when the database cannot be written.
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(TestDemoCityDatabase)
#include "tst_democity_database.moc"
