#include "FakePrompts.h"
#include "MapTestCity.h"
#include "common/CommandRunner.h"
#include "common/Errors.h"
#include "common/MainState.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MapShow.h"
#include "map/MapSwitcher.h"
#include "map/SheetGrid.h"
#include "platform/TempDirectory.h"
#include "widgets/ZoomSpinBox.h"

#include <QtTest>
#include <limits>

using namespace SheetGrid;

namespace {
const Viewport general2000{100, 2000, 1500, QStringLiteral("Tbilisi")};
}

class TestSheetGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyCodeHasItsCell()
    {
        const QString columns = QStringLiteral("ABCDE");
        for (int column = 0; column < 5; ++column) {
            for (int row = 0; row < 5; ++row) {
                const QString code = column == 4 && row == 4 ? QStringLiteral("F5")
                                                             : columns[column] + QString::number(row + 1);
                QCOMPARE(SheetColumn(code), column);
                QCOMPARE(SheetRow(code), row);
            }
        }
        // Only the first two characters count.
        QCOMPARE(SheetColumn(QStringLiteral("A1xyz")), 0);
        QCOMPARE(SheetRow(QStringLiteral("D3 ")), 2);
    }

    void unknownCodesHaveNoPlace()
    {
        for (const QString &code : {QStringLiteral("E5"), QStringLiteral("a1"), QStringLiteral("A"), QString(),
                                    QStringLiteral("F4"), QStringLiteral(" A1")}) {
            QCOMPARE(SheetColumn(code), -1);
            QCOMPARE(SheetRow(code), -1);
            QVERIFY(!general2000.generalPixel(code, 50, 50));
            QVERIFY(!generalPercent({code, 50, 50}));
        }
        // The indexes of an unknown code enter the transforms unchanged, left of and above the map
        // (gx = -20 + 50 / 5 = -10, gy likewise).
        QCOMPARE(GeneralPixelX(-1, -1, 100, 50, 2000), -200);
        QCOMPARE(GeneralPixelY(-1, 100, 1500, 50), -150);
    }

    void sheetTransformsRoundHalvesToEven()
    {
        QCOMPARE(SheetPixelX(100, 1200, 37.5), 450);
        QCOMPARE(SheetPixelX(75, 1200, 37.5), 338);  // from 337.5
        QCOMPARE(SheetPixelX(125, 1200, 37.5), 562); // from 562.5
        QCOMPARE(SheetPixelY(75, 1200, 37.5), 338);
        QCOMPARE(SheetPixelY(125, 900, 50), 562);
        QCOMPARE(SheetPixelX(200, 1200, 100), 2400);
        QCOMPARE(SheetPixelX(25, 1200, 0), 0);
        QCOMPARE((Viewport{125, 1200, 900, QStringLiteral("B2")}.sheetPixel(37.5, 50)), QPoint(562, 562));
    }

    void generalTransformsOfTheWorkedExamples()
    {
        // "B3": column 1, row 2 on a 2000 x 1500 general map.
        QCOMPARE(GeneralPixelX(1, 2, 100, 50, 2000), 600);
        QCOMPARE(GeneralPixelY(2, 100, 1500, 25), 675);
        QCOMPARE(GeneralPixelX(1, 2, 150, 50, 2000), 900);
        QCOMPARE(GeneralPixelY(2, 150, 1500, 25), 1012); // from 1012.5
        // "F5" is shifted left; its vertical placement is that of row 4.
        QCOMPARE(GeneralPixelX(4, 4, 100, 50, 2000), 1634); // from 1634.0056
        QCOMPARE(GeneralPixelY(4, 100, 1500, 50), 1350);
        QCOMPARE(GeneralPixelX(4, 4, 100, 0, 1000), 717);
        QCOMPARE(GeneralPixelX(4, 3, 100, 0, 1000), 800);
        // The corners of the grid.
        QCOMPARE(general2000.generalPixel(QStringLiteral("A1"), 0, 0), QPoint(0, 0));
        QCOMPARE(general2000.generalPixel(QStringLiteral("D5"), 100, 100), QPoint(1600, 1500));
        QCOMPARE((Viewport{150, 2000, 1500, QStringLiteral("Tbilisi")}.generalPixel(QStringLiteral("B3"), 50, 25)),
                 QPoint(900, 1012));
    }

    void placesOnTheMapShown()
    {
        // The general map places every sheet's records; a sheet only its own, by the whole code.
        const Place b2{QStringLiteral("B2"), 50, 50};
        QCOMPARE(general2000.pixelOnShownMap(b2), general2000.generalPixel(QStringLiteral("B2"), 50, 50));
        const Viewport sheet{100, 1200, 900, QStringLiteral("B2")};
        QCOMPARE(sheet.pixelOnShownMap(b2), QPoint(600, 450));
        QVERIFY(!sheet.pixelOnShownMap({QStringLiteral("B3"), 50, 50}));
        QVERIFY(!sheet.pixelOnShownMap({QStringLiteral("B2 "), 50, 50}));
        // In the sheet's frame the neighbours lie beyond its edges: B3 below, A2 to the left.
        QCOMPARE(sheet.pixelInFrame(b2), QPoint(600, 450));
        QCOMPARE(sheet.pixelInFrame({QStringLiteral("B3"), 50, 0}), QPoint(600, 900));
        QCOMPARE(sheet.pixelInFrame({QStringLiteral("A2"), 50, 50}), QPoint(-600, 450));
        // F5 starts 8.29972 % of the map (41.4986 % of a sheet) left of the grid.
        const Viewport f5{100, 1000, 1000, QStringLiteral("F5")};
        QCOMPARE(f5.pixelInFrame({QStringLiteral("E4"), 0, 100}), QPoint(415, 0));
        QVERIFY(!f5.pixelInFrame({QStringLiteral("Z9"), 0, 0}));
        QCOMPARE(general2000.pixelInFrame({QStringLiteral("F5"), 50, 50}), QPoint(1634, 1350));
    }

    void brokenNumbersGiveUsablePositions()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QCOMPARE(SheetPixelX(100, 1200, nan), 0);
        QCOMPARE(GeneralPixelY(1, 100, 1500, inf), 0);
        QVERIFY(SheetPixelX(200, 2000000000, 1e300) > 0);
        const QPoint far = Viewport{200, 2000000000, 2000000000, QStringLiteral("B2")}.sheetPixel(1e300, -1e300);
        QCOMPARE(far, QPoint(1 << 30, -(1 << 30)));
    }

    void checkMapCodeMessages()
    {
        MapTestCity city;
        FakePrompts prompts;
        CommandRunner runner(prompts);
        MainState state;
        MapArea area;
        ZoomSpinBox zoom;
        MapEngine map(state, city.dm, runner, area, zoom);
        MapShow show(map, state, prompts);
        QVERIFY(show.CheckMapCode(QStringLiteral("B2"), 172));
        QVERIFY(show.CheckMapCode(QStringLiteral("Z"), 5));
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(!show.CheckMapCode(QString(), 172));
        QVERIFY(!show.CheckMapCode(QString(), 5));
        QCOMPARE(prompts.messages,
                 QStringList({QStringLiteral("cxeli xazis obieqti rukaze datanili ar aris"),
                              QStringLiteral("rukis rekviziti arakoreqtulia, obieqtis Cveneba rukaze SeuZlebelia")}));
    }

    void temporaryDirectory()
    {
        const QByteArray saved = qgetenv("TMPDIR");
        QTemporaryDir dir;
        qputenv("TMPDIR", dir.path().toLocal8Bit());
        QCOMPARE(TempDirectory(), dir.path() + QLatin1Char('/'));
        qputenv("TMPDIR", (dir.path() + QStringLiteral("/missing")).toLocal8Bit());
        try {
            TempDirectory();
            QFAIL("a missing temporary directory was accepted");
        } catch (const Error &e) {
            QCOMPARE(e.text(), QStringLiteral("Could not find temporary path"));
        }
        qputenv("TMPDIR", saved);
    }

    void switchingMaps()
    {
        MapTestCity city;
        MainState state;
        MapArea area;
        ZoomSpinBox zoom;
        MapSwitcher switcher(state, area, zoom);
        QCOMPARE(state.CurrentMapName, QString());

        switcher.LoadGeneralMap();
        QCOMPARE(state.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(2000, 1500));

        switcher.SwitchToSheet(QStringLiteral("B2"));
        QCOMPARE(state.CurrentMapName, QStringLiteral("B2"));
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(1200, 900));

        // The sheet shown is not loaded again: its file may even be gone.
        QVERIFY(QFile::remove(city.city.file(QStringLiteral("Raster/B2.jpg"))));
        switcher.SwitchToSheet(QStringLiteral("B2"));
        QCOMPARE(state.WLb, 1200);

        // A zoomed image keeps its size and the base size is that size.
        area.setImageSize(QSize(1500, 1125));
        zoom.setValue(125);
        switcher.SwitchToGeneralMap(false, false);
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(1500, 1125));
        QCOMPARE(area.rasterSize(), QSize(2000, 1500));
        QCOMPARE(zoom.value(), 125);
        // Already shown: nothing happens, not even the switches.
        switcher.SwitchToGeneralMap(true, true);
        QVERIFY(!area.autoSize());
        QCOMPARE(zoom.value(), 125);

        switcher.SwitchToSheet(QStringLiteral("B3"));
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(1500, 1125));
        switcher.SwitchToGeneralMap(true, true);
        QVERIFY(area.autoSize());
        QCOMPARE(zoom.value(), 100);
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(2000, 1500));
    }

    void missingRasterKeepsTheOldMap()
    {
        MapTestCity city;
        MainState state;
        MapArea area;
        ZoomSpinBox zoom;
        MapSwitcher switcher(state, area, zoom);
        switcher.LoadGeneralMap();
        switcher.SwitchToSheet(QStringLiteral("B3"));

        // The map shown keeps its name, so a second try fails (and is reported) again instead of
        // leaving markers on a map that is not the one asked for.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QVERIFY_THROWS_EXCEPTION(Error, switcher.SwitchToSheet(QStringLiteral("C4")));
            QCOMPARE(state.CurrentMapName, QStringLiteral("B3"));
            QCOMPARE(QSize(state.WLb, state.HLb), QSize(1200, 900));
            QCOMPARE(area.imageSize(), QSize(1200, 900));
        }
        // Another map loads normally.
        switcher.SwitchToGeneralMap(false, false);
        QCOMPARE(QSize(state.WLb, state.HLb), QSize(2000, 1500));
        // The whole field names the file, and an empty code fails the same way.
        QVERIFY_THROWS_EXCEPTION(Error, switcher.SwitchToSheet(QStringLiteral("B3 ")));
        QVERIFY_THROWS_EXCEPTION(Error, switcher.SwitchToSheet(QString()));
        QCOMPARE(state.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(state.WLb, 2000);

        // A file that is not a picture fails like a missing one.
        switcher.SwitchToSheet(QStringLiteral("B3"));
        QFile broken(city.city.file(QStringLiteral("Raster/Tbilisi.bmp")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a bitmap");
        broken.close();
        QVERIFY_THROWS_EXCEPTION(Error, switcher.SwitchToGeneralMap(true, true));
        QCOMPARE(state.CurrentMapName, QStringLiteral("B3"));
        QCOMPARE(state.WLb, 1200);
    }
};

QTEST_MAIN(TestSheetGrid)
#include "tst_sheetgrid.moc"
