#include "FixtureCity.h"
#include "common/Errors.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/DataSet.h"

#include <QtTest>

class TestData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixtureCityIsComplete()
    {
        FixtureCity city;
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

        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        dm.obieqti_logo_Qr.open();
        QCOMPARE(dm.obieqti_logo_Qr.recordCount(), Fixture::ObjectListRows);
        dm.obieqtiQr.open();
        QCOMPARE(dm.obieqtiQr.recordCount(), Fixture::ObjectCount);
        dm.quCa_Qr.open();
        QCOMPARE(dm.quCa_Qr.recordCount(), Fixture::StreetCount);
        dm.kavS_transporti_gaCereba_Qr.open();
        QCOMPARE(dm.kavS_transporti_gaCereba_Qr.recordCount(), Fixture::RouteStopRows);
        dm.gaCereba_Qr.open();
        QCOMPARE(dm.gaCereba_Qr.recordCount(), Fixture::StopCount);
    }
};

QTEST_MAIN(TestData)
#include "tst_data.moc"
