#include "PersonInput.h"
#include "ProgramRig.h"
#include "app/MainActions.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "catalogue/ObjectTab.h"
#include "data/GroupedListModel.h"
#include "map/MapArea.h"
#include "map/MapNavigation.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "streets/StreetTab.h"
#include "transport/TransportTab.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/ZoomSpinBox.h"

#include <QBuffer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Streets added to the fixture city for these tests.
constexpr int ApostropheStreet = 21; // "o'rurkis quCa", A1
constexpr int NoPositionStreet = 22; // B2, x and y null
constexpr int UnknownSheetStreet = 23; // "Z9", no district
constexpr int EdgeStreet = 24;       // C3 at x 0, y 10
constexpr int BigSheetWidth = 2000;  // C3 is replaced by a raster of this size
constexpr int BigSheetHeight = 1500;

QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(230, 220, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

void prepareCity(FixtureCity &city)
{
    city.execSql(QStringLiteral(
        "INSERT INTO quCa VALUES (21, 2, 'o''rurkis quCa', 1, 'A1', 40, 40);"
        "INSERT INTO quCa VALUES (22, 1, 'uadgilo quCa', 1, 'B2', NULL, NULL);"
        "INSERT INTO quCa VALUES (23, NULL, 'ucnobi quCa', 1, 'Z9', 50, 50);"
        "INSERT INTO quCa VALUES (24, 3, 'kideze quCa', 1, 'C3', 0, 10);"));
    city.write(QStringLiteral("Raster/C3.jpg"), jpeg(BigSheetWidth, BigSheetHeight));
}

constexpr int AllStreets = Fixture::StreetCount + 4;

// The program on the fixture city with the street tab shown.
struct StreetRig : ProgramRig {
    explicit StreetRig(const std::function<void(FixtureCity &)> &more = {})
        : ProgramRig([more](FixtureCity &city) {
              prepareCity(city);
              if (more)
                  more(city);
          })
    {
        show();
        window->PageControl->setCurrentWidget(window->quCaTSh);
        QCoreApplication::processEvents();
    }
    StreetTab &tab() { return *window->quCaTSh; }
    MapArea &map() { return mapEngine().area; }
    MarkerLayer &markers() { return mapEngine().markers; }
    MainActions &actions() { return *window->actions; }
    QString status() { return window->StatusBar->text(); }

    void focus(int street)
    {
        QVERIFY(dm.quCa_Qr.locate(QStringLiteral("quCa_kodi"), street));
        QCoreApplication::processEvents();
    }
    void search(const QString &type, const QString &name)
    {
        tab().quCisTipiCb->setText(type);
        tab().quCisSaxeliEd->setText(name);
        tab().Street_FilterBtn->click();
    }
    void showGeneral(int street)
    {
        focus(street);
        actions().StreetGenShowMnIt->trigger();
    }
    void showDetailed(int street)
    {
        focus(street);
        actions().StreetDetShowMnIt->trigger();
    }
    void showDistrictOf(int street)
    {
        focus(street);
        actions().raionSiSemavaliyvelaquCismiTiTeba1->trigger();
    }
    MapItem *marker(int street) { return map().findItem(QStringLiteral("Str_%1").arg(street)); }
    QList<int> markedStreets()
    {
        QList<int> keys;
        for (const Marker &m : markers().StreetMarkers())
            keys << m.picture->key();
        return keys;
    }
    // The colour in the middle of an icon file, which tells the two street icons apart.
    QColor iconColour(const QString &file) { return QImage(city.file(file)).pixelColor(6, 6); }
    bool isActive(MapItem *item)
    {
        return item->picture().pixelColor(6, 6) == iconColour(QStringLiteral("pictures/icons/Active_ Street.bmp"));
    }
    bool isPlain(MapItem *item)
    {
        return item->picture().pixelColor(6, 6) == iconColour(QStringLiteral("pictures/icons/Street.bmp"));
    }
    QPoint general(int zoom, const QString &code, double x, double y)
    {
        return SheetGrid::Viewport{zoom, Fixture::GeneralMapWidth, Fixture::GeneralMapHeight, SheetGrid::generalMapName()}
            .generalPixel(code, x, y)
            .value();
    }
    bool isOnTop(MapItem *item)
    {
        for (const Marker &m : markers().StreetMarkers())
            if (m.picture != item && m.picture->stackOrder() > item->stackOrder())
                return false;
        return true;
    }
    void noComplaint()
    {
        QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n'))));
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join(QLatin1Char('\n'))));
    }
};

} // namespace

class TestStreets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchFormsAndTheirSql()
    {
        StreetRig rig;
        QCOMPARE(rig.tab().streetGridFooter->text(), QString::number(AllStreets));

        rig.search(QString(), QString());
        QCOMPARE(rig.dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa "));
        QCOMPARE(rig.state().StreetFilter, QString());
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - %1").arg(AllStreets));

        rig.search(QStringLiteral("gamziri"), QString());
        QCOMPARE(rig.dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa WHERE g_quCis_tipi=2"));
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 3"));
        QCOMPARE(rig.tab().streetGridFooter->text(), QStringLiteral("3"));

        rig.search(QString(), QStringLiteral("gorgasal"));
        QCOMPARE(rig.state().StreetFilter, QStringLiteral("saxeli LIKE '%gorgasal%' ESCAPE '!'"));
        QCOMPARE(rig.dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%gorgasal%' ESCAPE '!'"));
        QCOMPARE(rig.state().StreetSearchStatus, QStringLiteral("moZebnili quCebis raodenoba - 2"));

        rig.search(QStringLiteral("quCa"), QStringLiteral("is quCa"));
        QCOMPARE(rig.dm.quCa_Qr.sql(),
                 QStringLiteral("SELECT * FROM quCa WHERE g_quCis_tipi=1 AND saxeli LIKE '%is quCa%' ESCAPE '!'"));
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 8"));

        // A type that names no street type finds nothing instead of failing.
        rig.search(QStringLiteral("bulvari"), QString());
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 0"));
        QVERIFY(rig.dm.quCa_Qr.isOpen());
        rig.noComplaint();
    }

    // Each field as a person fills it: typed (on a Georgian keyboard too), pasted, or picked
    // from the type's drop-down; Return or keypad Enter in the field runs the search.
    void searchFieldsAsAPersonUsesThem()
    {
        using PersonInput::Entry;
        StreetRig rig;
        StreetTab &t = rig.tab();
        PersonInput::searchEach({
            {t.quCisTipiCb, Entry::Typed, QStringLiteral("gamziri"), Qt::NoModifier, "g_quCis_tipi=2"},
            {t.quCisTipiCb, Entry::Clicked, QStringLiteral("Sesaxvevi"), Qt::KeypadModifier, "g_quCis_tipi=3"},
            {t.quCisTipiCb, Entry::Keyed, QStringLiteral("quCa"), Qt::NoModifier, "g_quCis_tipi=1"},
            {t.quCisTipiCb, Entry::Typed, QStringLiteral("გამზირი"), Qt::KeypadModifier, "g_quCis_tipi=2"},
            {t.quCisSaxeliEd, Entry::Typed, QStringLiteral("გორგასალ"), Qt::NoModifier,
             "saxeli LIKE '%gorgasal%' ESCAPE '!'"},
            {t.quCisSaxeliEd, Entry::Pasted, QStringLiteral("სიონის"), Qt::KeypadModifier,
             "saxeli LIKE '%sionis%' ESCAPE '!'"},
        }, t.SpeedButton1, rig.state().StreetFilter);
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 1"));

        // Other keys do not search.
        t.SpeedButton1->click();
        PersonInput::enterText(t.quCisSaxeliEd, Entry::Typed, QStringLiteral("a"));
        QCOMPARE(rig.status(), QString());
        rig.noComplaint();
    }

    void unsafeSearchTexts()
    {
        StreetRig rig;
        // A quote is searched for, not taken as the end of the text.
        rig.search(QString(), QStringLiteral("o'rurk"));
        QCOMPARE(rig.dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%o''rurk%' ESCAPE '!'"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), 1);
        QCOMPARE(rig.dm.quCa_Qr.integer(QStringLiteral("quCa_kodi")), ApostropheStreet);
        rig.search(QString(), QStringLiteral("'"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), 1);
        rig.search(QString(), QStringLiteral("' OR 1=1 OR saxeli LIKE '"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), 0);
        // Wildcards keep their meaning.
        rig.search(QString(), QStringLiteral("%"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), AllStreets);
        rig.search(QString(), QStringLiteral("gorgasalis_quCa"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), 2);
        rig.search(QString(), QString(10000, QLatin1Char('a')));
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 0"));
        rig.noComplaint();

        // The district command narrowed by a search with a quote runs too.
        rig.search(QString(), QStringLiteral("o'rurk"));
        rig.showDistrictOf(ApostropheStreet);
        QCOMPARE(rig.markedStreets(), QList<int>{ApostropheStreet});
        rig.noComplaint();
    }

    void clearAndStatusCycle()
    {
        StreetRig rig;
        QCOMPARE(rig.status(), QString());
        rig.search(QStringLiteral("gamziri"), QStringLiteral("WavWav"));
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 1"));

        // The status comes back with the tab.
        rig.window->PageControl->setCurrentWidget(rig.window->obieqtiTSH);
        QCoreApplication::processEvents();
        QVERIFY(rig.status() != QStringLiteral("moZebnili quCebis raodenoba - 1"));
        rig.window->PageControl->setCurrentWidget(rig.window->quCaTSh);
        QCoreApplication::processEvents();
        QCOMPARE(rig.status(), QStringLiteral("moZebnili quCebis raodenoba - 1"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), 1);

        rig.tab().SpeedButton1->click();
        QCOMPARE(rig.tab().quCisTipiCb->text(), QString());
        QCOMPARE(rig.tab().quCisSaxeliEd->text(), QString());
        QCOMPARE(rig.state().StreetFilter, QString());
        QCOMPARE(rig.state().StreetSearchStatus, QString());
        QCOMPARE(rig.status(), QString());
        QCOMPARE(rig.dm.quCa_Qr.sql(), QStringLiteral("SELECT * FROM quCa"));
        QCOMPARE(rig.dm.quCa_Qr.recordCount(), AllStreets);
        QCOMPARE(rig.tab().streetGridFooter->text(), QString::number(AllStreets));

        // The district command after a clear takes every street of the district again.
        rig.showDistrictOf(7);
        QCOMPARE(rig.markedStreets(), (QList<int>{10, EdgeStreet, 6, 7}));
        rig.noComplaint();
    }

    void tabShowAndHide()
    {
        StreetRig rig;
        const MainToolBar &bar = *rig.window->ToolBar;
        QVERIFY(bar.StreetGenMapBtn->isEnabled());
        QVERIFY(bar.StreetDetMapBtn->isEnabled());
        QVERIFY(rig.dm.RaioniQr.isOpen() && rig.dm.quCisTipi_Qr.isOpen() && rig.dm.quCa_Qr.isOpen());

        rig.showDistrictOf(7);
        rig.showGeneral(5);
        QCOMPARE(rig.markers().StreetMarkers().count(), 5);
        const int others = rig.map().itemCount() - 5;
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        QCoreApplication::processEvents();
        QVERIFY(!bar.StreetGenMapBtn->isEnabled());
        QCOMPARE(rig.markers().StreetMarkers().count(), 0);
        QCOMPARE(rig.map().itemCount(), others);
        QVERIFY(!rig.marker(5));
        rig.noComplaint();
    }

    void districtCommand()
    {
        StreetRig rig;
        // A street marked before the first district command keeps its marker and icon.
        rig.showGeneral(6);
        rig.showGeneral(2);
        rig.showDistrictOf(7);
        QCOMPARE(rig.dm.Qr.sql(), QStringLiteral("SELECT * FROM quCa WHERE g_raioni_kodi=3 ORDER BY saxeli"));
        QCOMPARE(rig.markedStreets(), (QList<int>{6, 2, 10, EdgeStreet, 7}));
        QVERIFY(rig.isActive(rig.marker(6)));
        QVERIFY(rig.isPlain(rig.marker(10)));
        QCOMPARE(rig.marker(7)->hint(), QStringLiteral("sionis Sesaxvevi"));
        QCOMPARE(rig.marker(7)->pos(), rig.general(100, QStringLiteral("C3"), 50, 50));
        QCOMPARE(rig.marker(10)->pos(), QPoint(275, 169));
        QVERIFY(rig.marker(10)->doubleClickHandler());
        QCOMPARE(rig.marker(10)->contextMenu(), rig.actions().GraphPopupMenu);

        // The row last expanded is the one selected: the district's row after the list was
        // collapsed, or the street row the first time.
        GroupedListView &list = *rig.tab().StreetGrid;
        QCOMPARE(rig.state().StreetGroupRow, list.firstSelectedVisibleRow());
        QVERIFY(rig.state().StreetGroupRow >= 0);

        // From then on the list is collapsed and the markers cleared first.
        rig.showDistrictOf(8);
        QCOMPARE(rig.markedStreets(), (QList<int>{9, 11, 8}));
        const QModelIndex selected = list.visibleRow(rig.state().StreetGroupRow);
        QVERIFY(list.listModel()->isGroup(selected));
        QVERIFY(list.isExpanded(selected));
        QCOMPARE(rig.dm.quCa_Qr.integer(QStringLiteral("g_raioni_kodi")), 4);

        // A search in force narrows the district; the view stays at the corner of the general map.
        rig.search(QString(), QStringLiteral("quCa"));
        rig.showDetailed(6);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("C3"));
        rig.showDistrictOf(6);
        QCOMPARE(rig.dm.Qr.sql(),
                 QStringLiteral("SELECT * FROM quCa WHERE g_raioni_kodi=3 AND saxeli LIKE '%quCa%' ESCAPE '!' ORDER BY saxeli"));
        QCOMPARE(rig.markedStreets(), (QList<int>{10, EdgeStreet, 6}));
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(QPoint(rig.map().horizontalPosition(), rig.map().verticalPosition()), QPoint(0, 0));
        rig.noComplaint();

        // Nothing selected (a search that found nothing): nothing happens.
        const int row = rig.state().StreetGroupRow;
        rig.search(QString(), QStringLiteral("nowhere"));
        rig.actions().raionSiSemavaliyvelaquCismiTiTeba1->trigger();
        QCOMPARE(rig.state().StreetGroupRow, row);
        QCOMPARE(rig.markers().StreetMarkers().count(), 3);
        rig.noComplaint();
    }

    void generalMapCommand()
    {
        StreetRig rig;
        rig.showGeneral(10);
        QCOMPARE(rig.markedStreets(), QList<int>{10});
        QVERIFY(rig.isActive(rig.marker(10)));
        QCOMPARE(rig.marker(10)->pos(), QPoint(275, 169));
        QCOMPARE(rig.marker(10)->hint(), QStringLiteral("gorgasalis quCa"));

        // Twice: one marker, brought to the front.
        rig.showGeneral(7);
        QVERIFY(!rig.isOnTop(rig.marker(10)));
        rig.showGeneral(10);
        QCOMPARE(rig.markedStreets(), (QList<int>{10, 7}));
        QVERIFY(rig.isOnTop(rig.marker(10)));

        // A street marked by the district command gets the active icon and no second marker.
        rig.showDistrictOf(6);
        QVERIFY(rig.isPlain(rig.marker(6)));
        rig.showGeneral(6);
        QVERIFY(rig.isActive(rig.marker(6)));
        QCOMPARE(rig.markers().StreetMarkers().count(), 4);

        // The zoom stays, markers follow it, and the view does not move.
        rig.dm.obieqti_logo_Qr.first();
        rig.mapEngine().navigation.gazrda1Click();
        rig.mapEngine().navigation.gazrda1Click();
        rig.mapEngine().navigation.gazrda1Click();
        rig.mapEngine().navigation.gazrda1Click();
        QCOMPARE(rig.window->ToolBar->ZoomEd->value(), 200);
        rig.map().scrollTo(100, 60);
        const QPoint view(rig.map().horizontalPosition(), rig.map().verticalPosition());
        QVERIFY(view != QPoint(0, 0));
        rig.showGeneral(5);
        QCOMPARE(QPoint(rig.map().horizontalPosition(), rig.map().verticalPosition()), view);
        QCOMPARE(rig.marker(5)->pos(), rig.general(200, QStringLiteral("A1"), 70, 30));
        QCOMPARE(rig.marker(10)->pos(), QPoint(550, 338));

        // From a sheet: every marker is shown again at its general-map place.
        rig.showDetailed(2);
        QVERIFY(!rig.marker(10)->isVisible());
        rig.showGeneral(2);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
        for (const Marker &m : rig.markers().StreetMarkers())
            QVERIFY(m.picture->isVisible());
        QCOMPARE(rig.marker(2)->pos(), rig.general(100, QStringLiteral("B2"), 50, 60));

        // A double click on a row of the list shows its street.
        rig.focus(9);
        GroupedListView &list = *rig.tab().StreetGrid;
        const QRect row = list.visualRect(list.currentIndex());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(rig.marker(9));
        rig.noComplaint();
    }

    void detailedMapCommand()
    {
        StreetRig rig;
        rig.showGeneral(2); // B2
        rig.showGeneral(6); // C3
        rig.showDetailed(10);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("C3"));
        QCOMPARE(rig.state().WLb, BigSheetWidth);
        QCOMPARE(rig.markedStreets(), (QList<int>{2, 6, 10}));
        QVERIFY(!rig.marker(2)->isVisible());
        QVERIFY(rig.marker(6)->isVisible());
        QCOMPARE(rig.marker(6)->pos(), QPoint(900, 825));
        QCOMPARE(rig.marker(10)->pos(), QPoint(1500, 375));
        QVERIFY(rig.isActive(rig.marker(10)));
        QVERIFY(rig.isOnTop(rig.marker(10)));
        // The street's point 350 pixels right of and below the view's corner: range 2001 x 1501.
        QCOMPARE(rig.map().horizontalRange(), BigSheetWidth + 1);
        QVERIFY(rig.map().horizontalScrollBar()->maximum() >= 1151);
        QCOMPARE(rig.map().horizontalPosition(), 1151);
        QCOMPARE(rig.map().verticalPosition(), 25);

        // An already marked street: brought to the front with the active icon, no new marker.
        rig.showDetailed(6);
        QCOMPARE(rig.markers().StreetMarkers().count(), 3);
        QVERIFY(rig.isOnTop(rig.marker(6)));
        QCOMPARE(rig.map().horizontalPosition(), int(std::nearbyint(20.01 * 45)) - 350);
        QCOMPARE(rig.map().verticalPosition(), int(std::nearbyint(15.01 * 55)) - 350);

        // A target left of or above the map leaves the view at that edge.
        rig.showDetailed(EdgeStreet);
        QCOMPARE(QPoint(rig.map().horizontalPosition(), rig.map().verticalPosition()), QPoint(0, 0));
        QCOMPARE(rig.marker(EdgeStreet)->pos(), QPoint(0, 150));

        // Another sheet: the C3 markers are hidden, the view reset from a zoomed one.
        rig.mapEngine().navigation.gazrda1Click();
        QCOMPARE(rig.window->ToolBar->ZoomEd->value(), 125);
        rig.showDetailed(5);
        QCOMPARE(rig.window->ToolBar->ZoomEd->value(), 100);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("A1"));
        QVERIFY(!rig.marker(6)->isVisible() && !rig.marker(10)->isVisible());
        QCOMPARE(rig.marker(5)->pos(), QPoint(280, 90));
        rig.noComplaint();
    }

    void sameNameStreets()
    {
        StreetRig rig;
        rig.showGeneral(Fixture::SameNameStreetA);
        rig.showGeneral(Fixture::SameNameStreetB);
        QCOMPARE(rig.marker(Fixture::SameNameStreetA)->pos(), QPoint(275, 169));
        QCOMPARE(rig.marker(Fixture::SameNameStreetB)->pos(), QPoint(424, 311));
        // Shown again, each marker keeps its own street's place.
        rig.showGeneral(Fixture::SameNameStreetB);
        QCOMPARE(rig.marker(Fixture::SameNameStreetA)->pos(), QPoint(275, 169));
        QCOMPARE(rig.marker(Fixture::SameNameStreetB)->pos(), QPoint(424, 311));
        QCOMPARE(rig.markers().StreetMarkers().count(), 2);

        // On F5 the marker of the F5 street is the one singled out; the C3 one is hidden.
        rig.window->PageControl->setCurrentWidget(rig.window->obieqtiTSH);
        rig.window->PageControl->setCurrentWidget(rig.window->quCaTSh);
        QCoreApplication::processEvents();
        rig.showDistrictOf(Fixture::SameNameStreetA);
        QVERIFY(rig.isPlain(rig.marker(Fixture::SameNameStreetA)));
        rig.showDetailed(Fixture::SameNameStreetB);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("F5"));
        MapItem *b = rig.marker(Fixture::SameNameStreetB);
        QVERIFY(b && b->isVisible());
        QVERIFY(rig.isActive(b));
        QCOMPARE(b->pos(), QPoint(260, 45));
        QVERIFY(!rig.marker(Fixture::SameNameStreetA)->isVisible());
        QVERIFY(rig.isPlain(rig.marker(Fixture::SameNameStreetA)));
        rig.noComplaint();
    }

    void badStreetData()
    {
        StreetRig rig([](FixtureCity &city) { city.remove(QStringLiteral("Raster/B3.jpg")); });
        // No position: no marker, no message.
        rig.showGeneral(NoPositionStreet);
        rig.showDetailed(NoPositionStreet);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("B2"));
        QVERIFY(!rig.marker(NoPositionStreet));
        QCOMPARE(QPoint(rig.map().horizontalPosition(), rig.map().verticalPosition()), QPoint(0, 0));
        rig.noComplaint();

        // A sheet without a raster: the error report, the old map stays shown.
        rig.showDetailed(3);
        QCOMPARE(rig.prompts.errors.size(), 1);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("B2"));
        QVERIFY(!rig.marker(3));
        rig.prompts.clear();

        // An empty or unknown sheet code: on a sheet the raster cannot be found; on the general
        // map the code's message, once, and no marker, from the street command and from the
        // district display alike (which marks the district's other streets).
        rig.showDetailed(Fixture::NoSheetStreet);
        rig.showDetailed(UnknownSheetStreet);
        QCOMPARE(rig.prompts.errors.size(), 2);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("B2"));
        for (int street : {UnknownSheetStreet, Fixture::NoSheetStreet}) {
            for (QAction *command : {rig.actions().StreetGenShowMnIt, rig.actions().raionSiSemavaliyvelaquCismiTiTeba1}) {
                rig.prompts.clear();
                rig.focus(street);
                command->trigger();
                QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
                QCOMPARE(rig.prompts.messages,
                         QStringList{QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia")});
                QVERIFY(!rig.marker(street));
            }
        }
        QVERIFY(!rig.markers().StreetMarkers().isEmpty());
        QVERIFY(rig.prompts.errors.isEmpty());
        rig.prompts.clear();

        // The list stays usable.
        rig.mapEngine().navigation.ClearMapAcExecute();
        rig.search(QString(), QStringLiteral("quCa"));
        rig.showGeneral(4);
        QVERIFY(rig.marker(4));
        rig.noComplaint();

        // An empty list: the commands do nothing.
        rig.search(QString(), QStringLiteral("nowhere"));
        const int count = rig.markers().StreetMarkers().count();
        rig.actions().StreetGenShowMnIt->trigger();
        rig.actions().StreetDetShowMnIt->trigger();
        rig.actions().raionSiSemavaliyvelaquCismiTiTeba1->trigger();
        QCOMPARE(rig.markers().StreetMarkers().count(), count);
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
        rig.noComplaint();
    }

    void missingIcons()
    {
        StreetRig rig([](FixtureCity &city) { city.remove(QStringLiteral("pictures/icons/Active_ Street.bmp")); });
        rig.showGeneral(1);
        rig.showDetailed(1);
        QVERIFY(!rig.marker(1));
        rig.showDistrictOf(7);
        QCOMPARE(rig.markers().StreetMarkers().count(), 4);
        rig.noComplaint();
        // Singling out a marker needs the active icon: the command reports it and goes no further.
        rig.showGeneral(7);
        QCOMPARE(rig.prompts.errors.size(), 1);
        QCOMPARE(rig.markers().StreetMarkers().count(), 4);
    }

    void markerDoubleClick()
    {
        StreetRig rig;
        rig.showGeneral(Fixture::SameNameStreetB);
        const std::function<void()> handler = rig.marker(Fixture::SameNameStreetB)->doubleClickHandler();
        rig.focus(1);
        handler();
        QCOMPARE(rig.dm.quCa_Qr.integer(QStringLiteral("quCa_kodi")), Fixture::SameNameStreetB);
        GroupedListView &list = *rig.tab().StreetGrid;
        QCOMPARE(list.focusedRecord(), rig.dm.quCa_Qr.currentRow());

        // A street the list does not hold now, or the street tab hidden: nothing changes.
        rig.search(QString(), QStringLiteral("abaSiZis"));
        handler();
        QCOMPARE(rig.dm.quCa_Qr.integer(QStringLiteral("quCa_kodi")), 2);
        rig.tab().SpeedButton1->click();
        rig.focus(3);
        rig.window->PageControl->setCurrentWidget(rig.window->obieqtiTSH);
        QCoreApplication::processEvents();
        handler();
        QCOMPARE(rig.dm.quCa_Qr.integer(QStringLiteral("quCa_kodi")), 3);
        rig.noComplaint();
    }
};

QTEST_MAIN(TestStreets)
#include "tst_streets.moc"
