#include "CommandRig.h"
#include "PersonInput.h"
#include "ProgramRig.h"
#include "app/MainActions.h"
#include "app/MainStatusBar.h"
#include "catalogue/ObjectTab.h"
#include "data/GroupedListModel.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MapShow.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "transport/TransportMapCommands.h"
#include "transport/TransportTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

namespace {

// Extra stops for the failure tests, all on route "X" (bus): empty sheet code, unknown code,
// empty position, a sheet without raster.
constexpr int NoSheetStop = 20;
constexpr int UnknownSheetStop = 21;
constexpr int NoPositionStop = 22;
constexpr int NoRasterStop = 23;

void addBrokenStops(FixtureCity &city)
{
    city.execSql(QStringLiteral(
        "INSERT INTO transporti VALUES (5, 1, 'X', '');"
        "INSERT INTO gaCereba VALUES (20, 1, 'ufurcelo', '', 10, 10, '');"
        "INSERT INTO gaCereba VALUES (21, 1, 'ucnobi', 'Z9', 10, 10, '');"
        "INSERT INTO gaCereba VALUES (22, 1, 'uadgilo', 'B2', NULL, NULL, '');"
        "INSERT INTO gaCereba VALUES (23, 1, 'urastro', 'D4', 10, 10, '');"
        "INSERT INTO kavS_transporti_gaCereba VALUES (5, 20, 1);"
        "INSERT INTO kavS_transporti_gaCereba VALUES (5, 21, 2);"
        "INSERT INTO kavS_transporti_gaCereba VALUES (5, 22, 3);"
        "INSERT INTO kavS_transporti_gaCereba VALUES (5, 23, 4);"));
}

QString listSql() { return DataModule::routeStopListSql + QLatin1Char(' '); }

// Makes the row of `stop` on `route` the current row of the route-stop list.
void focusRouteStop(DataSet &list, const QString &route, int stop)
{
    const int keyCol = list.requireColumn(QStringLiteral("gaCereba_kodi"));
    const int routeCol = list.requireColumn(QStringLiteral("saxeoba"));
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.valueAt(row, routeCol).toString() == route && list.valueAt(row, keyCol).toInt() == stop) {
            list.setCurrentRow(row);
            return;
        }
    }
    QFAIL("no such route-stop row");
}

// The keys of the stop markers in list order, and the marker of one stop.
QList<int> keysOf(const MarkerList &stops)
{
    QList<int> keys;
    for (const Marker &m : stops)
        keys << m.picture->key();
    return keys;
}

const Marker *markerOf(const MarkerList &stops, int key)
{
    for (const Marker &m : stops)
        if (m.picture->key() == key)
            return &m;
    return nullptr;
}

// The transport tab in the program's window: its search, list and switches.
struct TransportRig : ProgramRig {
    using ProgramRig::ProgramRig;

    TransportTab &tab() { return *window->TransportiTSH; }
    DataSet &list() { return dm.kavS_transporti_gaCereba_Qr; }
    const MarkerList &stops() { return mapEngine().markers.StopMarkers(); }
    QList<int> stopKeys() { return keysOf(stops()); }
    const Marker *stopMarker(int key) { return markerOf(stops(), key); }

    void showTab()
    {
        show();
        window->PageControl->setCurrentWidget(window->TransportiTSH);
        QVERIFY(list().isOpen());
    }
    void search(const QString &stop, const QString &route = {}, const QString &type = {})
    {
        tab().GaCerebaEd->setText(stop);
        tab().TransportiSaxeliEd->setText(route);
        tab().TransportisTipiEd->setText(type);
        tab().Transp_FilterBtn->click();
    }
    void focus(const QString &route, int stop) { focusRouteStop(list(), route, stop); }
    void run(QAction *action) { action->trigger(); }
    void noErrors() { QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n')))); }
};

// The route and stop commands on the maps, without the window: the tab only lists and searches.
struct RouteRig : CommandRig {
    using CommandRig::CommandRig;

    TransportTab transportTab{dm, state, window, window, map.markers};
    TransportMapCommands commands{dm, state, prompts, map};

    TransportTab &tab() { return transportTab; }
    DataSet &list() { return dm.kavS_transporti_gaCereba_Qr; }
    const MarkerList &stops() { return map.markers.StopMarkers(); }

    void showTab()
    {
        QVERIFY(run([&] { tab().TransportiTSHShow(); }));
        QVERIFY(list().isOpen());
    }
    void search(const QString &stop)
    {
        tab().GaCerebaEd->setText(stop);
        tab().Transp_FilterBtnClick();
    }
    void focus(const QString &route, int stop) { focusRouteStop(list(), route, stop); }
    void showRoute() { run([&] { commands.marSrutisCvenebazogadrukaze1Click(); }); }
    void showStop() { run([&] { commands.GenStopShowMnItClick(); }); }
    void showStopOnSheet() { run([&] { commands.DetStopShowMnItClick(); }); }
    QList<int> stopKeys() { return keysOf(stops()); }
    const Marker *stopMarker(int key) { return markerOf(stops(), key); }
    QPoint generalPixel(const QString &code, double x, double y)
    {
        return SheetGrid::Viewport{100, state.WLb, state.HLb, SheetGrid::generalMapName()}.generalPixel(code, x, y).value();
    }
};

// The centre colour of a picture file of the city, for telling the stop icons apart.
QColor iconColour(const FixtureCity &city, const QString &file)
{
    const QImage image(city.file(QStringLiteral("pictures/icons/") + file));
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A right click, as the window system gives it: the button, then the request for a context menu
// (which the window system makes of the press, and QTest's press does not).
void rightClick(QWidget *widget, const QPoint &at)
{
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &request);
}

// Clicks an entry of an open menu and waits for the menu to close.
void clickEntry(QMenu &menu, QAction *entry)
{
    QTRY_VERIFY(menu.isVisible());
    QVERIFY(entry && entry->isVisible());
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(entry).center());
    QTRY_VERIFY(!menu.isVisible());
}

// The open menu of routes at a stop, its entries' texts and the entry of a route.
QMenu *routesMenu()
{
    (void)QTest::qWaitFor([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()) != nullptr; });
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QStringList entries(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *entry : menu.actions())
        if (!entry->isSeparator())
            texts << entry->text();
    return texts;
}

QAction *entryOf(const QMenu &menu, const QString &route)
{
    for (QAction *entry : menu.actions())
        if (entry->isEnabled() && entry->text().startsWith(route + QStringLiteral(" ")))
            return entry;
    return nullptr;
}

QColor centre(const MapItem &picture)
{
    return picture.picture().pixelColor(picture.width() / 2, picture.height() / 2);
}

} // namespace

class TestTransport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchBuildsItsConditionsInOrder()
    {
        TransportRig rig;
        rig.showTab();
        QCOMPARE(rig.list().recordCount(), Fixture::RouteStopRows);

        rig.search({});
        QCOMPARE(rig.state().TransportFilter, QString());
        QCOMPARE(rig.list().sql(), listSql());
        QCOMPARE(rig.window->StatusBar->text(), QStringLiteral("moiZebna 14"));

        rig.search(QStringLiteral("moedani"), QStringLiteral("1"), QStringLiteral("avtobusi"));
        QCOMPARE(rig.state().TransportFilter,
                 QStringLiteral(" AND gaCereba.saxeli LIKE '%moedani%' ESCAPE '!' AND transporti.saxeli LIKE '1' ESCAPE '!'"
                                " AND transporti.g_transporti_tipi=1"));
        QCOMPARE(rig.list().sql(), listSql() + rig.state().TransportFilter);
        QVERIFY(rig.list().sql().contains(QStringLiteral("transporti_kodi  AND gaCereba")));
        QCOMPARE(rig.list().recordCount(), 2); // stops 1 and 7 on route "1"

        // A route name that is a prefix of another finds that route only.
        rig.search({}, QStringLiteral("1"));
        QCOMPARE(rig.list().recordCount(), 6);
        rig.search({}, QStringLiteral("M1"), QStringLiteral("metro"));
        QCOMPARE(rig.window->StatusBar->text(), QStringLiteral("moiZebna 4"));
        rig.noErrors();
    }

    void searchTextsAreTakenAsText()
    {
        TransportRig rig;
        rig.showTab();
        // Apostrophes are searched for, wildcards keep their meaning, long texts are harmless.
        rig.search(QStringLiteral("d'artaniani"), QStringLiteral("it's"));
        QCOMPARE(rig.state().TransportFilter, QStringLiteral(" AND gaCereba.saxeli LIKE '%d''artaniani%' ESCAPE '!'"
                                                             " AND transporti.saxeli LIKE 'it''s' ESCAPE '!'"));
        QCOMPARE(rig.window->StatusBar->text(), QStringLiteral("moiZebna 0"));
        rig.search(QStringLiteral("%"), QStringLiteral("1_"));
        QCOMPARE(rig.list().recordCount(), 4); // route "10"
        rig.search(QString(10000, QLatin1Char('\'')));
        QCOMPARE(rig.list().recordCount(), 0);
        // A type name that names no type finds nothing.
        rig.search({}, {}, QStringLiteral("tramvai"));
        QCOMPARE(rig.list().recordCount(), 0);
        rig.noErrors();
        QVERIFY(rig.list().isOpen());
    }

    void searchClearAndEnterKey()
    {
        TransportRig rig;
        rig.showTab();
        rig.focus(QStringLiteral("1"), 3);
        rig.run(rig.window->actions->GenStopShowMnIt);
        QCOMPARE(rig.stops().count(), 1);

        // Enter in a search field searches, and every search removes the stop markers.
        rig.tab().GaCerebaEd->setText(QStringLiteral("moedani"));
        QTest::keyClick(rig.tab().GaCerebaEd, Qt::Key_Return);
        QCOMPARE(rig.list().recordCount(), 5);
        QCOMPARE(rig.stops().count(), 0);
        QCOMPARE(rig.state().TransportSearchStatus, QStringLiteral("moiZebna 5"));

        rig.focus(QStringLiteral("M1"), 7);
        rig.run(rig.window->actions->GenStopShowMnIt);
        rig.tab().TransportisTipiEd->setText(QStringLiteral("metro"));
        rig.tab().SpeedButton4->click();
        QCOMPARE(rig.state().TransportFilter, QString());
        QCOMPARE(rig.state().TransportSearchStatus, QString());
        QCOMPARE(rig.window->StatusBar->text(), QString());
        QCOMPARE(rig.tab().GaCerebaEd->text(), QString());
        QCOMPARE(rig.tab().TransportisTipiEd->text(), QString());
        QCOMPARE(rig.list().sql(), DataModule::routeStopListSql);
        QCOMPARE(rig.list().recordCount(), Fixture::RouteStopRows);
        QCOMPARE(rig.stops().count(), 1); // clearing keeps the markers

        // The status comes back with the tab.
        rig.search(QStringLiteral("parki"));
        rig.window->PageControl->setCurrentWidget(rig.window->obieqtiTSH);
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        QCOMPARE(rig.window->StatusBar->text(), QStringLiteral("moiZebna 1"));
    }

    // Each field as a person fills it: typed (on a Georgian keyboard too), pasted, or picked
    // from the type's drop-down; Return or keypad Enter in the field runs the search.
    void searchFieldsAsAPersonUsesThem()
    {
        using PersonInput::Entry;
        TransportRig rig;
        rig.showTab();
        TransportTab &t = rig.tab();
        PersonInput::searchEach({
            {t.GaCerebaEd, Entry::Typed, QStringLiteral("მოედანი"), Qt::NoModifier,
             " AND gaCereba.saxeli LIKE '%moedani%' ESCAPE '!'"},
            {t.GaCerebaEd, Entry::Pasted, QStringLiteral("parki"), Qt::KeypadModifier,
             " AND gaCereba.saxeli LIKE '%parki%' ESCAPE '!'"},
            {t.TransportiSaxeliEd, Entry::Typed, QStringLiteral("M1"), Qt::KeypadModifier,
             " AND transporti.saxeli LIKE 'M1' ESCAPE '!'"},
            {t.TransportisTipiEd, Entry::Typed, QStringLiteral("მეტრო"), Qt::NoModifier,
             " AND transporti.g_transporti_tipi=2"},
            {t.TransportisTipiEd, Entry::Clicked, QStringLiteral("avtobusi"), Qt::KeypadModifier,
             " AND transporti.g_transporti_tipi=1"},
            {t.TransportisTipiEd, Entry::Keyed, QStringLiteral("marSrutka"), Qt::NoModifier,
             " AND transporti.g_transporti_tipi=3"},
        }, t.SpeedButton4, rig.state().TransportFilter);
        QCOMPARE(rig.window->StatusBar->text(), QStringLiteral("moiZebna 0"));

        // Other keys do not search.
        t.SpeedButton4->click();
        PersonInput::enterText(t.GaCerebaEd, Entry::Typed, QStringLiteral("a"));
        QCOMPARE(rig.state().TransportSearchStatus, QString());
        rig.noErrors();
    }

    // The groups the user opened stay open when the search is cleared.
    void clearKeepsOpenGroupsOpen()
    {
        TransportRig rig;
        rig.showTab();
        GroupedListView &view = *rig.tab().TransportiGrid;
        const GroupedListModel &model = *view.listModel();
        const auto group = [&](const QStringList &path) {
            QModelIndex index;
            for (const QString &text : path) {
                int row = 0;
                while (row < model.rowCount(index) && model.groupText(model.index(row, 0, index)) != text)
                    ++row;
                index = model.index(row, 0, index);
            }
            return index;
        };
        const QList<QStringList> opened = {{QStringLiteral("metro")},
                                           {QStringLiteral("metro"), QStringLiteral("M1")},
                                           {QStringLiteral("avtobusi")},
                                           {QStringLiteral("avtobusi"), QStringLiteral("10")}};
        rig.search(QStringLiteral("a"));
        PersonInput::focusField(&view);
        for (const QStringList &path : opened) {
            const QModelIndex row = group(path);
            QVERIFY2(row.isValid(), qPrintable(path.join(QLatin1Char('/'))));
            PersonInput::clickRow(view, row);
            QTest::keyClick(PersonInput::focused(), Qt::Key_Right);
            QVERIFY(view.isExpanded(group(path)));
        }
        rig.tab().SpeedButton4->click();
        QCOMPARE(rig.list().recordCount(), Fixture::RouteStopRows);
        for (const QStringList &path : opened)
            QVERIFY2(view.isExpanded(group(path)), qPrintable(path.join(QLatin1Char('/'))));
    }

    void listGroupsByTypeAndRouteInRouteOrder()
    {
        TransportRig rig;
        rig.showTab();
        GroupedListView &view = *rig.tab().TransportiGrid;
        const GroupedListModel &model = *view.listModel();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.groupText(model.index(0, 0)), QStringLiteral("avtobusi"));
        QCOMPARE(model.groupText(model.index(1, 0)), QStringLiteral("metro"));
        // The first showing collapses everything.
        QVERIFY(!view.isExpanded(model.index(0, 0)));

        const QModelIndex route1 = model.index(0, 0, model.index(0, 0));
        QCOMPARE(model.groupText(route1), QStringLiteral("1"));
        QList<int> order;
        for (int row = 0; row < model.rowCount(route1); ++row)
            order << rig.list().valueAt(model.recordOf(model.index(row, 0, route1)),
                                        rig.list().requireColumn(QStringLiteral("gaCereba_kodi"))).toInt();
        QCOMPARE(order, (QList<int>{3, 2, 1, 1001, 9, 7}));
        const int nameColumn = model.columnOf(QStringLiteral("saxeli"));
        QCOMPARE(model.data(model.index(0, nameColumn, route1)).toString(), QStringLiteral("vakis parki"));
    }

    void expandCollapsesAndClearsStopMarkers()
    {
        TransportRig rig;
        rig.showTab();
        GroupedListView &view = *rig.tab().TransportiGrid;
        const GroupedListModel &model = *view.listModel();
        rig.focus(QStringLiteral("M1"), 5);
        rig.run(rig.window->actions->GenStopShowMnIt);
        QCOMPARE(rig.stops().count(), 1);

        // The group row starts at 0, so the first expand already clears the stop markers.
        QCOMPARE(rig.state().TransportGroupRow, 0);
        view.setCurrentIndex(model.index(1, 0));
        rig.run(rig.window->actions->transportisgaSla1);
        QCOMPARE(rig.stops().count(), 0);
        QCOMPARE(rig.state().TransportGroupRow, 1);
        QVERIFY(view.isExpanded(model.index(1, 0)));
        QVERIFY(view.isExpanded(model.index(0, 0, model.index(1, 0))));
        QVERIFY(!view.isExpanded(model.index(0, 0)));

        // Leaving and showing the tab again keeps the list as it is.
        rig.window->PageControl->setCurrentWidget(rig.window->obieqtiTSH);
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        QVERIFY(view.isExpanded(model.index(1, 0)));

        // An empty list: nothing to expand, nothing happens.
        rig.search(QStringLiteral("araferi"));
        rig.run(rig.window->actions->transportisgaSla1);
        QCOMPARE(rig.state().TransportGroupRow, 1);
        rig.run(rig.window->actions->marSrutisCvenebazogadrukaze1);
        rig.run(rig.window->actions->GenStopShowMnIt);
        rig.run(rig.window->actions->DetStopShowMnIt);
        QCOMPARE(rig.stops().count(), 0);
        rig.noErrors();
    }

    void routeCommandMarksTheRouteInOrder()
    {
        RouteRig rig;
        rig.showTab();
        rig.area.scrollTo(50, 50);
        rig.focus(QStringLiteral("1"), 2);
        rig.showRoute();
        QCOMPARE(rig.stopKeys(), (QList<int>{3, 2, 1, 1001, 9, 7}));
        QVERIFY(rig.dm.Qr.sql().endsWith(QStringLiteral(
            "WHERE transporti.g_transporti_tipi=1 AND transporti.saxeli='1' AND kavS_transporti_gaCereba.g_gaCereba_kodi"
            "=gaCereba.gaCereba_kodi AND kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi "
            " ORDER BY kavS_transporti_gaCereba.gaCerebis_rigiTi_n")));
        for (const Marker &m : rig.stops()) {
            QVERIFY(!m.label->isVisible());
            QCOMPARE(m.label->colour(), MarkerLayer::SkyBlue);
            QCOMPARE(m.label->pos(), m.picture->pos() - QPoint(0, MarkerLayer::LabelOffset));
        }
        QCOMPARE(QPoint(rig.area.horizontalPosition(), rig.area.verticalPosition()), QPoint(0, 0));
        // The exact position: "bankis kuTxe" lies at x 44.5 and does not move when zoomed.
        QCOMPARE(rig.stopMarker(Fixture::NearBankStop)->picture->pos(),
                 rig.generalPixel(QStringLiteral("B2"), 44.5, 47));

        // A second route keeps the first; shared stops and a stop twice in the route are marked once.
        rig.focus(QStringLiteral("10"), 8);
        rig.showRoute();
        QCOMPARE(rig.stopKeys(), (QList<int>{3, 2, 1, 1001, 9, 7, 4, 8}));
        rig.focus(QStringLiteral("M1"), 6);
        rig.showRoute();
        QCOMPARE(rig.stopKeys(), (QList<int>{3, 2, 1, 1001, 9, 7, 4, 8, 5, 6}));
        rig.noErrors();
    }

    void routeCommandFollowsTheSearch()
    {
        RouteRig rig([](FixtureCity &city) {
            city.execSql(QStringLiteral("INSERT INTO transporti VALUES (4, 1, 'it''s', '');"
                                        "INSERT INTO kavS_transporti_gaCereba VALUES (4, 10, 1);"));
        });
        rig.showTab();
        rig.search(QStringLiteral("moedani"));
        rig.focus(QStringLiteral("1"), 7);
        rig.showRoute();
        QCOMPARE(rig.stopKeys(), (QList<int>{1, 7}));
        QVERIFY(rig.dm.Qr.sql().contains(
            QStringLiteral("transporti.transporti_kodi  AND gaCereba.saxeli LIKE '%moedani%' ESCAPE '!' ORDER BY")));

        // A route whose name holds an apostrophe.
        rig.tab().SpeedButton4Click();
        rig.focus(QStringLiteral("it's"), Fixture::UnlinkedStop);
        rig.showRoute();
        QCOMPARE(rig.stopKeys(), (QList<int>{1, 7, Fixture::UnlinkedStop}));

        // A route without a matching stop only resets the view, even from a sheet.
        rig.focus(QStringLiteral("1"), 3);
        rig.showStopOnSheet();
        rig.commands.ShowRouteStops(QStringLiteral("nowhere"), Fixture::BusType);
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("A1"));
        rig.noErrors();
    }

    void stopOnTheGeneralMap()
    {
        RouteRig rig;
        rig.showTab();
        rig.focus(QStringLiteral("1"), 2);
        rig.showRoute();
        const QColor stopIcon = iconColour(rig.city, QStringLiteral("Stop.bmp"));

        // A stop the route marked: its label shows in cream on top, the icon stays.
        rig.focus(QStringLiteral("1"), Fixture::NearBankStop);
        rig.showStop();
        QCOMPARE(rig.stops().count(), 6);
        const Marker bank = *rig.stopMarker(Fixture::NearBankStop);
        QVERIFY(bank.label->isVisible());
        QCOMPARE(bank.label->colour(), MarkerLayer::Cream);
        for (const Marker &m : rig.stops()) {
            QVERIFY(m.label->stackOrder() <= bank.label->stackOrder());
            QVERIFY(m.label == bank.label || !m.label->isVisible());
        }
        QCOMPARE(centre(*bank.picture), stopIcon);

        // An unmarked stop gets a new marker with a hidden label; the view stays where it was.
        rig.area.scrollTo(30, 20);
        const QPoint scroll(rig.area.horizontalPosition(), rig.area.verticalPosition());
        rig.focus(QStringLiteral("M1"), 5);
        rig.showStop();
        const Marker didube = *rig.stopMarker(5);
        QVERIFY(!didube.label->isVisible());
        QCOMPARE(didube.label->colour(), MarkerLayer::Cream);
        QCOMPARE(centre(*didube.picture), stopIcon);
        QCOMPARE(didube.picture->pos(), rig.generalPixel(QStringLiteral("F5"), 30, 40));
        QCOMPARE(QPoint(rig.area.horizontalPosition(), rig.area.verticalPosition()), scroll);

        // From a sheet the command returns to the general map and puts every marker back on it.
        rig.focus(QStringLiteral("1"), 3);
        rig.showStopOnSheet();
        rig.focus(QStringLiteral("1"), 2);
        rig.showStop();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        for (const Marker &m : rig.stops())
            QVERIFY(m.picture->isVisible());
        QCOMPARE(rig.stopMarker(2)->picture->pos(), rig.generalPixel(QStringLiteral("B3"), 25, 30));
        rig.noErrors();
    }

    void stopOnItsSheet()
    {
        RouteRig rig;
        rig.showTab();
        rig.focus(QStringLiteral("10"), 4);
        rig.showRoute(); // 4 (A1), 1 (C3), 8 (C3)
        const QColor activeIcon = iconColour(rig.city, QStringLiteral("Active_Stop.bmp"));

        rig.focus(QStringLiteral("10"), 4);
        rig.showStopOnSheet();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("A1"));
        const Marker saburtalo = *rig.stopMarker(Fixture::LoopStop);
        QVERIFY(saburtalo.picture->isVisible() && saburtalo.label->isVisible());
        QCOMPARE(saburtalo.picture->pos(),
                 (SheetGrid::Viewport{100, Fixture::SheetWidth, Fixture::SheetHeight, QStringLiteral("A1")}.sheetPixel(60, 35)));
        QCOMPARE(centre(*saburtalo.picture), activeIcon);
        for (int key : {Fixture::SharedStop, 8}) {
            QVERIFY(!rig.stopMarker(key)->picture->isVisible());
            QVERIFY(!rig.stopMarker(key)->label->isVisible());
        }
        MapArea &map = rig.area;
        const int h = qBound(0, int(std::nearbyint(map.horizontalRange() * 0.01 * 60)) - 350,
                             map.horizontalScrollBar()->maximum());
        QCOMPARE(map.horizontalPosition(), h);

        // An unmarked stop on a sheet: active icon, label shown; the other sheet's markers hide.
        rig.focus(QStringLiteral("1"), 7);
        rig.showStopOnSheet();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("C3"));
        const Marker liberti = *rig.stopMarker(7);
        QVERIFY(liberti.label->isVisible());
        QCOMPARE(liberti.label->colour(), MarkerLayer::Cream);
        QCOMPARE(centre(*liberti.picture), activeIcon);
        QVERIFY(!saburtalo.picture->isVisible());
        QVERIFY(rig.stopMarker(8)->label->isVisible()); // every marked stop of the sheet shows its label
        rig.noErrors();
    }

    void stopWithAnObjectsKeyIsMarkedToo()
    {
        RouteRig rig;
        rig.showTab();
        MarkerSpec object;
        object.kind = MarkerKind::Object;
        object.key = Fixture::BankObject;
        object.name = QStringLiteral("Tbilisi banki");
        object.iconPath = QStringLiteral(".\\pictures\\icons\\yellow.bmp");
        QVERIFY(rig.map.markers.addMarker(object));

        rig.focus(QStringLiteral("1"), Fixture::ObjectKeyStop);
        rig.showStop();
        QCOMPARE(rig.stopKeys(), QList<int>{Fixture::ObjectKeyStop});
        rig.showStopOnSheet();
        QVERIFY(rig.stopMarker(Fixture::ObjectKeyStop)->label->isVisible());
        QVERIFY(rig.area.findItem(QStringLiteral("Lb_1001")));
        rig.noErrors();
    }

    void stopsOfTheSameNameKeepTheirOwnPlaces()
    {
        RouteRig rig([](FixtureCity &city) {
            city.execSql(QStringLiteral("INSERT INTO transporti VALUES (6, 1, 'Y', '');"
                                        "INSERT INTO gaCereba VALUES (30, 3, 'vakis parki', 'C3', 70, 70, '');"
                                        "INSERT INTO kavS_transporti_gaCereba VALUES (6, 30, 1);"));
        });
        rig.showTab();
        rig.focus(QStringLiteral("1"), 3);
        rig.showStop();
        rig.focus(QStringLiteral("Y"), 30);
        rig.showStop();
        rig.showStop();
        QCOMPARE(rig.stopKeys(), (QList<int>{3, 30}));
        QCOMPARE(rig.stopMarker(30)->picture->pos(), rig.generalPixel(QStringLiteral("C3"), 70, 70));
        QCOMPARE(rig.stopMarker(3)->picture->pos(), rig.generalPixel(QStringLiteral("A1"), 15, 20));
        QVERIFY(!rig.stopMarker(3)->label->isVisible());

        rig.showStopOnSheet();
        QVERIFY(rig.stopMarker(30)->picture->isVisible());
        QVERIFY(!rig.stopMarker(3)->picture->isVisible());
        rig.noErrors();
    }

    // "Routes at this stop" from a stop's row and from a stop's marker, picked with the mouse.
    void routesAtAStopFromTheListAndTheMap()
    {
        TransportRig rig;
        rig.showTab();
        MainActions &actions = *rig.window->actions;
        GroupedListView &view = *rig.tab().TransportiGrid;
        const GroupedListModel &model = *view.listModel();
        PersonInput::focusField(&view);
        const QModelIndex buses = model.index(0, 0);
        PersonInput::clickRow(view, buses);
        QTest::keyClick(PersonInput::focused(), Qt::Key_Right);
        const QModelIndex route1 = model.index(0, 0, buses);
        PersonInput::clickRow(view, route1);
        QTest::keyClick(PersonInput::focused(), Qt::Key_Right);
        // Route "1" runs 3, 2, 1, ...: its third row is "rusTavelis moedani", also on route "10".
        const QModelIndex shared = model.index(2, model.columnOf(QStringLiteral("saxeli")), route1);
        PersonInput::clickRow(view, shared);
        rightClick(view.viewport(), view.visualRect(shared).center());
        clickEntry(*actions.transportiTreeViewPopupMenu, actions.marSrutebigaCerebaze1);
        QVERIFY(routesMenu());
        QMenu &atShared = *routesMenu();
        QCOMPARE(entries(atShared), (QStringList{QStringLiteral("rusTavelis moedani"),
                                                 QStringLiteral("1 \u00b7 avtobusi \u00b7 Semdegi: bankTan"),
                                                 QStringLiteral("10 \u00b7 avtobusi \u00b7 Semdegi: avlabari")}));
        QCOMPARE(atShared.font().family(), view.font().family());
        clickEntry(atShared, entryOf(atShared, QStringLiteral("10")));
        // The loop's stop 4, listed twice, is marked once.
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(rig.stopKeys(), (QList<int>{Fixture::LoopStop, Fixture::SharedStop, 8}));

        // The map's menu on the marker of "avlabari", the last stop of the metro line.
        MapArea &map = *rig.window->ScrollBox;
        const MapItem &avlabari = *rig.stopMarker(8)->picture;
        const QPoint onMarker = avlabari.geometry().center() - QPoint(map.horizontalPosition(), map.verticalPosition());
        rightClick(map.viewport(), onMarker);
        clickEntry(*actions.GraphPopupMenu, actions.marSrutebigaCerebaze2);
        QVERIFY(routesMenu());
        QMenu &atAvlabari = *routesMenu();
        QCOMPARE(entries(atAvlabari), (QStringList{QStringLiteral("avlabari"),
                                                   QStringLiteral("10 \u00b7 avtobusi \u00b7 Semdegi: saburTalo"),
                                                   QStringLiteral("M1 \u00b7 metro \u00b7 bolo gaCereba")}));
        clickEntry(atAvlabari, entryOf(atAvlabari, QStringLiteral("M1")));
        QCOMPARE(rig.stopKeys(), (QList<int>{Fixture::LoopStop, Fixture::SharedStop, 8, 5, 6, 7}));

        // Away from the stops the map's menu does not offer them.
        rightClick(map.viewport(), QPoint(3, map.viewport()->height() - 3));
        QTRY_VERIFY(actions.GraphPopupMenu->isVisible());
        QVERIFY(!actions.marSrutebigaCerebaze2->isVisible());
        actions.GraphPopupMenu->hide();
        rig.noErrors();
    }

    // A journey drawn on the map: its stops and lines, following the zoom and the map shown.
    void journeyIsDrawnAndFollowsTheMap()
    {
        RouteRig rig;
        MapShow show(rig.map, rig.state, rig.prompts);
        using P = SheetGrid::Place;
        JourneyDrawing journey;
        const auto leg = [&](JourneyLeg::Kind kind, int type, const QString &typeName, QVector<JourneyPoint> points) {
            journey.legs.append({kind, type, typeName, std::move(points)});
        };
        const JourneyPoint bank = JourneyPoint::stop(P{"B2", 44.5, 47}, 9, "bankis kuTxe");
        const JourneyPoint square = JourneyPoint::stop(P{"C3", 40, 40}, 1, "rusTavelis moedani");
        const JourneyPoint liberty = JourneyPoint::stop(P{"C3", 52, 48}, 7, "liberTis moedani");
        const JourneyPoint avlabari = JourneyPoint::stop(P{"C3", 70, 60}, 8, "avlabari");
        using K = JourneyLeg::Kind;
        leg(K::Walk, 0, {}, {JourneyPoint::at(P{"B2", 30, 40}, "saxli"), JourneyPoint::at(P{"Z9", 1, 1}), bank});
        leg(K::Ride, 1, "avtobusi",
            {bank, JourneyPoint::stop(P{"B2", 42, 51}, 1001, "bankTan"), JourneyPoint::at(P{"C3", 10, 10}), square});
        leg(K::Walk, 0, {}, {square, liberty});
        leg(K::Ride, 2, "metro", {liberty, avlabari});
        leg(K::Walk, 0, {}, {avlabari, JourneyPoint::at(P{"C3", 80, 70}, "muzeumi")});

        // Drawn from a sheet: the general map is shown, and the view holds the whole journey.
        rig.map.switcher.SwitchToSheet(QStringLiteral("B2"));
        show.showJourney(journey);
        const JourneyLayer &drawn = rig.map.journey;
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        QList<int> stops;
        for (const Marker &m : drawn.stopMarkers()) {
            stops << m.picture->key();
            QVERIFY(m.label->isVisible() && m.label->caption() == m.picture->hint());
        }
        QCOMPARE(stops, (QList<int>{9, 1, 7, 8}));
        QCOMPARE(drawn.passedStops().size(), 1);
        QCOMPARE(drawn.passedStops()[0]->hint(), QStringLiteral("bankTan"));
        QVERIFY(rig.area.findItem(QStringLiteral("Jnd_1")) && rig.area.findItem(QStringLiteral("Jnd_2")));
        QVERIFY(rig.area.visibleContent().contains(drawn.bounds()));
        // A point of no sheet is left out of its line, without a word.
        QCOMPARE(drawn.lines()[0].size(), 2);
        QCOMPARE(drawn.lines()[1].size(), 4);
        QVERIFY(rig.prompts.messages.isEmpty());

        const auto checkPlaces = [&] {
            const SheetGrid::Viewport view = rig.map.viewport();
            QCOMPARE(drawn.lines()[1][0], view.pixelOnShownMap(bank.place).value());
            const QRect marker = drawn.stopMarkers()[0].picture->geometry();
            QCOMPARE(marker.topLeft() + QPoint(marker.width() / 2, marker.height() / 2), drawn.lines()[1][0]);
        };
        checkPlaces();
        // The bus leg is painted in the bus colour, between the shape point and the square.
        const QPoint middle = (drawn.lines()[1][2] + drawn.lines()[1][3]) / 2 - rig.area.visibleContent().topLeft();
        const QColor painted = rig.area.viewport()->grab().toImage().pixelColor(middle);
        QVERIFY2(painted.blue() > 150 && painted.red() < 90, qPrintable(painted.name()));

        // It follows a zoom and a switch of the map, as the markers do.
        rig.map.navigation.gazrda1Click();
        QCOMPARE(rig.zoom.value(), 125);
        checkPlaces();
        rig.map.navigation.ResetMapView();
        rig.map.switcher.SwitchToSheet(QStringLiteral("B2"));
        checkPlaces();
        QVERIFY(!drawn.stopMarkers()[1].picture->isVisible()); // the square lies on C3
        QVERIFY(drawn.lines()[1].last().x() > rig.state.WLb);  // its line runs off the sheet towards it

        // The map's clear command removes it.
        rig.map.navigation.ClearMapAcExecute();
        QVERIFY(drawn.isEmpty() && drawn.lines().isEmpty());
        QCOMPARE(rig.area.itemCount(), 0);
        rig.noErrors();
    }

    void brokenStopsNeverCrash()
    {
        RouteRig rig(addBrokenStops);
        rig.showTab();
        // An empty or an unknown sheet code is told once for each such stop, and the stop gets no
        // marker: the route command places the other two.
        const QString unknownSheet = QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia");
        rig.focus(QStringLiteral("X"), NoSheetStop);
        rig.showRoute();
        QCOMPARE(rig.prompts.messages, QStringList(2, unknownSheet));
        QCOMPARE(rig.stopKeys(), (QList<int>{NoPositionStop, NoRasterStop}));
        rig.map.markers.ClearStopMarkers();

        // No position: no marker, no complaint.
        rig.focus(QStringLiteral("X"), NoPositionStop);
        rig.showStop();
        QCOMPARE(rig.stops().count(), 0);
        rig.noErrors();

        // The same for the single stop on the general map.
        for (int stop : {NoSheetStop, UnknownSheetStop}) {
            rig.prompts.clear();
            rig.focus(QStringLiteral("X"), stop);
            rig.showStop();
            QCOMPARE(rig.prompts.messages, QStringList{unknownSheet});
            QCOMPARE(rig.stops().count(), 0);
        }

        // Sheets that cannot be shown go to the error report; the list stays usable.
        for (int stop : {NoSheetStop, NoRasterStop, UnknownSheetStop}) {
            rig.prompts.clear();
            rig.focus(QStringLiteral("X"), stop);
            rig.showStopOnSheet();
            QCOMPARE(rig.prompts.errors.size(), 1);
        }
        rig.focus(QStringLiteral("1"), 3);
        rig.showStopOnSheet();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("A1"));
        rig.search(QStringLiteral("u"));
        QVERIFY(rig.list().recordCount() > 0);
    }
};

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
