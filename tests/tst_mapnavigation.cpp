#include "FakePrompts.h"
#include "MapTestCity.h"
#include "common/CommandRunner.h"
#include "common/Errors.h"
#include "common/MainState.h"
#include "map/JourneyLayer.h"
#include "map/MapArea.h"
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "widgets/ZoomSpinBox.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QToolTip>
#include <QtTest>

namespace {

MarkerSpec recipe(MarkerKind kind, int key, QPoint pos = {100, 100})
{
    MarkerSpec s;
    s.kind = kind;
    s.key = key;
    s.name = QStringLiteral("record %1").arg(key);
    s.pos = pos;
    s.iconPath = kind == MarkerKind::Stop     ? QStringLiteral(".\\pictures\\icons\\Stop.bmp")
                 : kind == MarkerKind::Street ? QStringLiteral(".\\pictures\\icons\\Street.bmp")
                                              : QStringLiteral(".\\pictures\\icons\\yellow.bmp");
    s.labelColour = MarkerLayer::Cream;
    return s;
}

// The whole map engine on the test city, in a 400 x 300 map area on the general map.
struct Rig {
    MapTestCity city;
    FakePrompts prompts;
    CommandRunner runner{prompts};
    MainState state;
    MapArea area;
    ZoomSpinBox zoom;
    MapSwitcher switcher{state, area, zoom};
    MarkerLayer markers{city.dm, area};
    JourneyLayer journey{area};
    MapNavigation nav{state, city.dm, area, markers, journey, zoom, runner};

    Rig()
    {
        area.resize(400, 300);
        area.show();
        switcher.LoadGeneralMap();
    }
    // Makes `key` the focused object of the object list.
    void focus(int key)
    {
        city.dm.obieqti_logo_Qr.open();
        QVERIFY(city.dm.obieqti_logo_Qr.locate(QStringLiteral("obieqtis_kodi"), key));
    }
    QPoint scroll() const { return {area.horizontalPosition(), area.verticalPosition()}; }
    QWidget *view() { return area.viewport(); }
};

} // namespace

class TestMapNavigation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zoomStepsAndLimits()
    {
        Rig rig;
        rig.focus(12);
        const QList<int> outs = {75, 50, 25, 25};
        for (int expected : outs) {
            rig.nav.Semcireba1Click();
            QCOMPARE(rig.zoom.value(), expected);
            QVERIFY(!rig.area.autoSize());
            QCOMPARE(rig.area.imageSize(), QSize(20 * expected, 15 * expected));
        }
        const QList<int> ins = {50, 75, 100, 125, 150, 175, 200, 200};
        for (int expected : ins) {
            rig.nav.gazrda1Click();
            QCOMPARE(rig.zoom.value(), expected);
            QCOMPARE(rig.area.autoSize(), expected == 100);
            QCOMPARE(rig.area.imageSize(), QSize(20 * expected, 15 * expected));
        }
        // Apply takes the value as the user left it.
        rig.zoom.setValue(150);
        rig.nav.specialuri1Click();
        QCOMPARE(rig.area.imageSize(), QSize(3000, 2250));
        QVERIFY(rig.prompts.errors.isEmpty());
    }

    void zoomScrollsToTheFocusedObject()
    {
        Rig rig;
        rig.switcher.SwitchToSheet(QStringLiteral("B2"));
        rig.focus(12); // x 37.5, y 50 on B2 (1200 x 900)
        rig.nav.gazrda1Click();
        QCOMPARE(rig.zoom.value(), 125);
        QCOMPARE(rig.area.imageSize(), QSize(1500, 1125));
        QCOMPARE(rig.scroll(), QPoint(312, 312)); // from 312.5
        rig.nav.ResetMapView();
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        QVERIFY(rig.area.autoSize());
        QCOMPARE(rig.zoom.value(), 100);
        rig.nav.Semcireba1Click();
        QCOMPARE(rig.area.imageSize(), QSize(900, 675));
        QCOMPARE(rig.scroll(), QPoint(112, 112)); // from 112.5
        rig.nav.specialuri1Click();
        QCOMPARE(rig.scroll(), QPoint(112, 112));
    }

    void zoomAtTheLimitStillPlacesEverything()
    {
        Rig rig;
        rig.switcher.SwitchToSheet(QStringLiteral("B2"));
        rig.focus(12);
        const Marker *marker = rig.markers.addMarker(recipe(MarkerKind::Object, 12));
        for (int i = 0; i < 4; ++i)
            rig.nav.gazrda1Click();
        QCOMPARE(rig.zoom.value(), 200);
        marker->picture->move(QPoint(0, 0));
        rig.area.scrollTo(0, 0);
        rig.nav.gazrda1Click();
        QCOMPARE(rig.zoom.value(), 200);
        QCOMPARE(marker->picture->pos(), QPoint(900, 900));
        QCOMPARE(marker->label->pos(), QPoint(900, 890));
        QCOMPARE(rig.scroll(), QPoint(500, 500)); // (450 - 200) x 2
    }

    void markersFollowTheZoomButNotTheLogo()
    {
        Rig rig;
        rig.focus(14);
        const Marker *object = rig.markers.addMarker(recipe(MarkerKind::Object, 14));
        const Marker *street = rig.markers.addMarker(recipe(MarkerKind::Street, 107));
        const Marker *stop = rig.markers.addMarker(recipe(MarkerKind::Stop, 21));
        MarkerSpec logo = recipe(MarkerKind::Logo, 13, {40, 40});
        logo.iconPath = QStringLiteral(".\\pictures\\icons\\yellow.bmp");
        QVERIFY(rig.markers.showLogoMarker(logo, 13));
        rig.nav.Semcireba1Click();
        const auto general = [&](const QString &code, double x, double y) {
            return SheetGrid::Viewport{75, 2000, 1500, SheetGrid::generalMapName()}.generalPixel(code, x, y);
        };
        QCOMPARE(object->picture->pos(), general(QStringLiteral("F5"), 50, 50));
        QCOMPARE(street->picture->pos(), general(QStringLiteral("B2"), 20, 30));
        QCOMPARE(stop->picture->pos(), general(QStringLiteral("B3"), 5, 5));
        QCOMPARE(stop->label->pos(), stop->picture->pos() - QPoint(0, 10));
        QCOMPARE(rig.markers.LogoMarker().marker.picture->pos(), QPoint(40, 40));
        QCOMPARE(rig.city.dm.Qr.sql(), QStringLiteral("SELECT * FROM gaCereba"));
    }

    void zoomWithoutAFocusedObjectKeepsTheCentre()
    {
        Rig rig;
        // The object list is closed, then empty, then its object has no x.
        for (int round = 0; round < 3; ++round) {
            if (round == 1)
                DataModule::requery(rig.city.dm.obieqti_logo_Qr, DataModule::objectListSql.left(
                                        DataModule::objectListSql.indexOf(QStringLiteral(" ORDER BY")))
                                        + QStringLiteral(" AND 1=0"));
            if (round == 2) {
                rig.city.dm.ReloadObjectList();
                rig.focus(15);
            }
            rig.nav.ResetMapView();
            rig.area.scrollTo(500, 400);
            const QRect before = rig.area.visibleContent();
            const QPointF centre = QPointF(before.center()) - QPointF(1, 1);
            rig.nav.gazrda1Click();
            QCOMPARE(rig.zoom.value(), 125);
            const QRect after = rig.area.visibleContent();
            // The same map point is at the centre, within rounding.
            const QPointF moved = (QPointF(after.center()) - QPointF(1, 1)) / 1.25;
            QVERIFY2(qAbs(moved.x() - centre.x()) <= 1 && qAbs(moved.y() - centre.y()) <= 1,
                     qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(moved.x()).arg(moved.y()).arg(centre.x()).arg(centre.y())));
        }
        QVERIFY(rig.prompts.errors.isEmpty());
    }

    void resetMapView()
    {
        Rig rig;
        rig.focus(12);
        rig.nav.gazrda1Click();
        rig.area.scrollTo(100, 100);
        rig.nav.ResetMapView();
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        QVERIFY(rig.area.autoSize());
        QCOMPARE(rig.zoom.value(), 100);
        QCOMPARE(rig.area.imageSize(), QSize(2000, 1500));
        // Auto size already on (a general-map switch after a zoom): the zoom value stays.
        rig.zoom.setValue(150);
        rig.nav.ResetMapView();
        QCOMPARE(rig.zoom.value(), 150);
    }

    void panningWithAnyButton()
    {
        Rig rig;
        rig.area.scrollTo(500, 400);
        QTest::mousePress(rig.view(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(rig.view(), QPoint(200, 200));
        QCOMPARE(rig.scroll(), QPoint(500, 400)); // nothing moves while the button is held
        QTest::mouseRelease(rig.view(), Qt::LeftButton, {}, QPoint(140, 100));
        QCOMPARE(rig.scroll(), QPoint(460, 400));
        QTest::mousePress(rig.view(), Qt::RightButton, {}, QPoint(100, 100));
        QTest::mouseRelease(rig.view(), Qt::RightButton, {}, QPoint(90, 130));
        QCOMPARE(rig.scroll(), QPoint(470, 370));
        QCOMPARE(rig.nav.dragCursor() - rig.nav.dragOrigin(), QPoint(-10, 30));
        // Positions are clamped.
        QTest::mousePress(rig.view(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(rig.view(), Qt::LeftButton, {}, QPoint(390, 290));
        QCOMPARE(rig.scroll(), QPoint(90, 90));
        QTest::mousePress(rig.view(), Qt::LeftButton, {}, QPoint(390, 290));
        QTest::mouseRelease(rig.view(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(rig.scroll(), QPoint(470, 370));

        // A press on a marker does not pan; its double click runs the marker's handler.
        int clicks = 0;
        MarkerSpec object = recipe(MarkerKind::Object, 12, {600, 500});
        object.onDoubleClick = [&] { ++clicks; };
        QVERIFY(rig.markers.addMarker(object));
        QTest::mousePress(rig.view(), Qt::LeftButton, {}, QPoint(135, 135));
        QTest::mouseRelease(rig.view(), Qt::LeftButton, {}, QPoint(175, 135));
        QCOMPARE(rig.scroll(), QPoint(470, 370));
        QTest::mouseDClick(rig.view(), Qt::LeftButton, {}, QPoint(135, 135));
        QCOMPARE(clicks, 1);
        QCOMPARE(rig.scroll(), QPoint(470, 370));
    }

    void jumpsFromTheFreeSpace()
    {
        Rig rig;
        rig.nav.Semcireba1Click();
        rig.nav.Semcireba1Click();
        rig.nav.Semcireba1Click();
        QCOMPARE(rig.area.imageSize(), QSize(500, 375));
        // A far street marker extends the content beyond the zoomed-out image.
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, 107, {1500, 1200})));
        QCOMPARE(rig.area.horizontalRange(), 1512); // the 12 x 12 street icon's right edge
        QCOMPARE(rig.area.verticalRange(), 1212);

        // A plain left click in the strip above the image scrolls to the origin.
        rig.area.scrollTo(300, 0);
        QTest::mouseClick(rig.view(), Qt::LeftButton, {}, QPoint(100, 0));
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        // So does one beyond the image.
        rig.area.scrollTo(300, 100);
        QTest::mouseClick(rig.view(), Qt::LeftButton, {}, QPoint(210, 50));
        QCOMPARE(rig.scroll(), QPoint(0, 0));

        // A release that is not a left click measures from the last origin, here a press on
        // the image at (195, 50) in the view, scrolled to (300, 0).
        rig.area.scrollTo(300, 0);
        QTest::mouseClick(rig.view(), Qt::LeftButton, {}, QPoint(195, 50));
        QCOMPARE(rig.scroll(), QPoint(300, 0));
        QTest::mousePress(rig.view(), Qt::RightButton, {}, QPoint(210, 50));
        QTest::mouseRelease(rig.view(), Qt::RightButton, {}, QPoint(212, 60));
        QCOMPARE(rig.scroll(), QPoint(257, 121)); // 1512 x 0.01 x 17, 1212 x 0.01 x 10
        // A left press there released outside the area is no click either.
        rig.area.scrollTo(300, 0);
        QTest::mousePress(rig.view(), Qt::LeftButton, {}, QPoint(210, 50));
        QTest::mouseRelease(rig.view(), Qt::LeftButton, {}, QPoint(-5, 40));
        QCOMPARE(rig.scroll(), QPoint(0, 0)); // negative targets clamp to 0
    }

    void zoomKeys()
    {
        Rig rig;
        rig.focus(12);
        QTest::keyClick(&rig.area, Qt::Key_Equal);
        QCOMPARE(rig.zoom.value(), 125);
        QTest::keyClick(&rig.area, Qt::Key_Plus, Qt::ShiftModifier);
        QCOMPARE(rig.zoom.value(), 150);
        QTest::keyClick(&rig.area, Qt::Key_Minus);
        QCOMPARE(rig.zoom.value(), 125);
        QTest::keyClick(&rig.area, Qt::Key_Underscore, Qt::ShiftModifier);
        QCOMPARE(rig.zoom.value(), 100);
        // The keypad's keys do nothing, nor do arrows scroll.
        QTest::keyClick(&rig.area, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(&rig.area, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(rig.zoom.value(), 100);
        rig.area.scrollTo(200, 150);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Home})
            QTest::keyClick(&rig.area, key);
        QCOMPARE(rig.scroll(), QPoint(200, 150));
        QCOMPARE(rig.zoom.value(), 100);
    }

    void errorsInEventsGoToTheReport()
    {
        Rig rig;
        rig.city.dm.ADOConn.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=missing.sqlite"));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, 12)));
        QTest::keyClick(&rig.area, Qt::Key_Equal);
        QCOMPARE(rig.prompts.errors.size(), 1);
        QCOMPARE(rig.area.imageSize(), QSize(2500, 1875)); // resized before the markers failed

        MarkerSpec object = recipe(MarkerKind::Object, 13, {50, 50});
        object.onDoubleClick = [] { throw Error(QStringLiteral("Double click failed")); };
        QVERIFY(rig.markers.addMarker(object));
        rig.area.scrollTo(0, 0);
        QTest::mouseDClick(rig.view(), Qt::LeftButton, {}, QPoint(55, 55));
        QCOMPARE(rig.prompts.errors.last(), QStringLiteral("Double click failed."));
    }

    void clearingTheMap()
    {
        Rig rig;
        rig.focus(12);
        rig.nav.gazrda1Click();
        rig.area.scrollTo(100, 120);
        for (int key : {12, 13})
            QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, key)));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, 107)));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Stop, 21)));
        QVERIFY(rig.markers.showLogoMarker(recipe(MarkerKind::Logo, 14), 14));
        for (int round = 0; round < 2; ++round) {
            rig.nav.ClearMapAcExecute();
            QCOMPARE(rig.area.itemCount(), 0);
            QVERIFY(rig.markers.ObjectMarkers().isEmpty() && rig.markers.StreetMarkers().isEmpty()
                    && rig.markers.StopMarkers().isEmpty());
            QCOMPARE(rig.markers.LogoMarker().shown, 0);
            QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
            QCOMPARE(rig.zoom.value(), 125);
            QCOMPARE(rig.scroll(), QPoint(100, 120));
        }
    }

    void zoomEditor()
    {
        Rig rig;
        ZoomSpinBox &zoom = rig.zoom;
        QCOMPARE(zoom.value(), 100);
        zoom.setValue(50);
        zoom.stepDown();
        QCOMPARE(zoom.value(), 50);
        zoom.setValue(25); // the commands may set 25
        QCOMPARE(zoom.value(), 25);
        zoom.stepDown();
        QCOMPARE(zoom.value(), 25);
        zoom.stepUp();
        QCOMPARE(zoom.value(), 50);
        zoom.setValue(200);
        zoom.stepUp();
        QCOMPARE(zoom.value(), 200);
        zoom.setValue(100);
        QTest::keyClick(&zoom, Qt::Key_PageUp);
        QCOMPARE(zoom.value(), 150);
        QTest::keyClick(&zoom, Qt::Key_PageDown);
        QTest::keyClick(&zoom, Qt::Key_PageDown);
        QCOMPARE(zoom.value(), 50);

        // Typing stays within 50..200 and changes nothing on the map until a click.
        auto *edit = zoom.findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("75"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(zoom.value(), 75);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("25"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(zoom.value(), 75);
        QCOMPARE(rig.area.imageSize(), QSize(2000, 1500));
        // A click reports itself; the main window routes it to the apply command.
        QSignalSpy clicks(&zoom, &ZoomSpinBox::clicked);
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        rig.nav.specialuri1Click();
        QCOMPARE(rig.area.imageSize(), QSize(1500, 1125));
    }

    void tooltipsAndMenus()
    {
        Rig rig;
        QMenu areaMenu;
        rig.area.setContextMenu(&areaMenu);
        const Marker *object = rig.markers.addMarker(recipe(MarkerKind::Object, 12, {50, 60}));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Stop, 21, {150, 60})));
        QHelpEvent help(QEvent::ToolTip, QPoint(55, 65), rig.view()->mapToGlobal(QPoint(55, 65)));
        QApplication::sendEvent(rig.view(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("record 12"));

        // A marker's own menu, else the map area's (stops have none of their own).
        QMenu own;
        object->picture->setContextMenu(&own);
        const auto rightClick = [&](QPoint at, QMenu &expected) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, rig.view()->mapToGlobal(at));
            QApplication::sendEvent(rig.view(), &event);
            QTRY_VERIFY(expected.isVisible());
            expected.hide();
        };
        rightClick(QPoint(55, 65), own);
        rightClick(QPoint(155, 65), areaMenu);
        rightClick(QPoint(300, 200), areaMenu);
    }

    void manyMarkersStayFast()
    {
        Rig rig;
        QStringList rows;
        for (int key = 20000; key < 30000; ++key)
            rows << QStringLiteral("(%1, 'obieqti %1', 5, '%2', %3, %4)")
                        .arg(key)
                        .arg(QStringLiteral("ABCDE")[key % 5] + QString::number(key % 4 + 1))
                        .arg(key % 97)
                        .arg(key % 89);
        rig.city.city.execSql(QStringLiteral("INSERT INTO obieqti (obieqtis_kodi, saxeli, g_qve_rubrika_kodi, ruka_kodi, x, y) VALUES ")
                      + rows.join(QLatin1Char(',')));
        rig.focus(12);
        rig.city.dm.obieqtiQr.open(); // as the object tab opens it at start-up

        QElapsedTimer timer;
        timer.start();
        for (int key = 20000; key < 22000; ++key)
            QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, key, {key % 1900, key % 1400})));
        QCoreApplication::processEvents();
        const qint64 show = timer.elapsed();
        for (int key = 22000; key < 30000; ++key)
            rig.markers.addMarker(recipe(MarkerKind::Object, key, {key % 1900, key % 1400}));
        QCOMPARE(rig.markers.ObjectMarkers().count(), 10000);
        timer.restart();
        rig.nav.gazrda1Click();
        QCoreApplication::processEvents();
        const qint64 zoom = timer.elapsed();
        timer.restart();
        rig.nav.ClearMapAcExecute();
        const qint64 clear = timer.elapsed();
        qInfo("2000 markers shown in %lld ms; zoom with 10000 markers %lld ms; clear %lld ms", show, zoom, clear);
        // Generous bounds that still catch work growing with the square of the markers.
        QVERIFY(show < 1500);
        QVERIFY(zoom < 1500);
        QVERIFY(clear < 500);
    }

    void drawsTheVisiblePartAtEveryZoom()
    {
        Rig rig;
        rig.area.resize(500, 400);
        rig.switcher.SwitchToSheet(QStringLiteral("B2"));
        rig.focus(12);
        rig.city.city.execSql(QStringLiteral("INSERT INTO gaCereba (gaCereba_kodi, saxeli, ruka_kodi, x, y) VALUES (31, 'gaCereba 31', 'B2', 40, 60)"));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, 12, SheetGrid::Viewport{100, 1200, 900, QStringLiteral("B2")}.sheetPixel(37.5, 50))));
        MarkerSpec stop = recipe(MarkerKind::Stop, 31, SheetGrid::Viewport{100, 1200, 900, QStringLiteral("B2")}.sheetPixel(40, 60));
        stop.labelColour = MarkerLayer::SkyBlue;
        QVERIFY(rig.markers.addMarker(stop));
        const QByteArray shots = qgetenv("KVIRZETA_MAP_SHOTS");
        for (int round = 0; round < 2; ++round) {
            if (round == 0) {
                rig.nav.Semcireba1Click();
                rig.nav.Semcireba1Click();
                QCOMPARE(rig.zoom.value(), 50);
            } else {
                for (int i = 0; i < 6; ++i)
                    rig.nav.gazrda1Click();
                QCOMPARE(rig.zoom.value(), 200);
            }
            const Marker &object = rig.markers.ObjectMarkers()[0];
            const Marker &stopMarker = rig.markers.StopMarkers()[0];
            rig.area.scrollTo(object.picture->left() - 50, object.picture->top() - 50);
            const QImage shot = rig.area.grab().toImage();
            if (!shots.isEmpty())
                shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/map-%1.png").arg(rig.zoom.value()));
            const QPoint offset = rig.area.viewport()->pos() - QPoint(rig.area.horizontalPosition(), rig.area.verticalPosition());
            QCOMPARE(shot.pixelColor(object.picture->pos() + offset + QPoint(8, 8)), QColor(255, 220, 0));
            QCOMPARE(shot.pixelColor(stopMarker.picture->pos() + offset + QPoint(5, 5)), QColor(0, 150, 0));
            QCOMPARE(shot.pixelColor(stopMarker.label->pos() + offset + QPoint(0, 1)), QColor(166, 202, 240));
            // The transparent corner of the icon shows the sheet beneath (light blue JPEG).
            const QColor corner = shot.pixelColor(object.picture->pos() + offset + QPoint(1, 14));
            QVERIFY2(corner.blue() > 200 && corner.red() > 150, qPrintable(corner.name()));
        }
    }
};

QTEST_MAIN(TestMapNavigation)
#include "tst_mapnavigation.moc"
