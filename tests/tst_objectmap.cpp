#include "CommandRig.h"
#include "catalogue/ObjectMapCommands.h"
#include "catalogue/ObjectTab.h"
#include "map/MapArea.h"
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "widgets/GroupedListView.h"

#include <QImage>

// Objects on the maps, driven on the fixture city. The general map and sheets B2 and C3 are
// enlarged so that the view can scroll; A1 keeps its small size.
namespace {

constexpr int BigGeneralWidth = 2500;
constexpr int BigGeneralHeight = 1875;
constexpr int BigSheetWidth = 2000;
constexpr int BigSheetHeight = 1500;

const QString Unplaceable = QStringLiteral("rukis rekviziti arakoreqtulia, obieqtis Cveneba rukaze SeuZlebelia");
const QString HotLineUnplaceable = QStringLiteral("cxeli xazis obieqti rukaze datanili ar aris");
const QString UnknownSheet = QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia");
const QString NoStops = QStringLiteral("axlos mdebare gaCerebebi dafiqsirebuli ar aris");

void enlargeMaps(FixtureCity &city)
{
    QImage general(BigGeneralWidth, BigGeneralHeight, QImage::Format_RGB32);
    general.fill(QColor(230, 230, 200));
    QVERIFY(general.save(city.file(QStringLiteral("Raster/Tbilisi.bmp")), "BMP"));
    QImage sheet(BigSheetWidth, BigSheetHeight, QImage::Format_RGB32);
    sheet.fill(QColor(210, 230, 210));
    for (const char *code : {"B2", "C3"})
        QVERIFY(sheet.save(city.file(QStringLiteral("Raster/%1.jpg").arg(QLatin1String(code))), "JPEG"));
}

// The object tab and its map commands without the main window; the logo follows the list's
// focused object as the main window has it follow.
struct Rig : CommandRig {
    ObjectTab tab{dm, state, prompts, window, window, map.markers};
    ObjectMapCommands cmds{dm, state, prompts, map, *tab.ObjectGrid};

    explicit Rig(const std::function<void(FixtureCity &)> &prepare = enlargeMaps) : CommandRig(prepare)
    {
        QObject::connect(&dm.obieqti_logo_Qr, &DataSet::currentRowChanged, &tab,
                         [this] { run([this] { cmds.ObjectGridTableViewFocusedRecordChanged(); }); });
        tab.show();
        tab.obieqtiTSHShow();
        QTRY_VERIFY(dm.obieqti_logo_Qr.isOpen());
        cmds.setDecimalSeparator(QStringLiteral("."));
    }

    bool focus(int key) { return dm.obieqti_logo_Qr.locate(QStringLiteral("obieqtis_kodi"), key); }
    MarkerLayer &markers() { return map.markers; }
    MapItem *item(const QString &name) { return area.findItem(name); }
    MapItem *picture(int key) { return item(QStringLiteral("Obj_%1").arg(key)); }
    MapItem *label(int key) { return item(QStringLiteral("Lb_%1").arg(key)); }
    QPoint scroll() { return {area.horizontalPosition(), area.verticalPosition()}; }

    QPoint general(const QString &code, double x, double y)
    {
        return map.viewport().generalPixel(code, x, y).value();
    }
    QPoint onSheet(double x, double y) { return map.viewport().sheetPixel(x, y); }
    int target(int range, double percent) { return qMax(0, int(std::nearbyint(range * 0.01 * percent)) - 350); }

    QList<int> objectKeys()
    {
        QList<int> keys;
        for (const Marker &m : markers().ObjectMarkers())
            keys << m.picture->key();
        return keys;
    }
    QStringList stopNames()
    {
        QStringList names;
        for (const Marker &m : markers().StopMarkers())
            names << m.picture->name() << m.label->name();
        return names;
    }
    void requeryList(const QString &filter)
    {
        DataModule::requery(dm.obieqti_logo_Qr,
                            DataModule::objectListSelect + filter +
                                DataModule::objectListSql.mid(DataModule::objectListSelect.size()));
    }
    void noProblems()
    {
        QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n'))));
    }
};

} // namespace

class TestObjectMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void generalMapMarksTheFocusedObjectOnce()
    {
        Rig rig;
        QVERIFY(rig.focus(Fixture::BankObject));
        QCOMPARE(rig.markers().LogoMarker().shown, Fixture::BankObject);
        rig.area.scrollTo(300, 200);

        rig.run([&] { rig.cmds.ShowMepAcExecute(); });
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::BankObject});
        QCOMPARE(rig.markers().LogoMarker().shown, 0); // the object marker replaces the logo
        const QPoint pos = rig.general(QStringLiteral("B2"), 40, 50);
        QCOMPARE(rig.picture(Fixture::BankObject)->pos(), pos);
        QCOMPARE(rig.label(Fixture::BankObject)->pos(), pos - QPoint(0, 10));
        QCOMPARE(rig.label(Fixture::BankObject)->colour(), MarkerLayer::Cream);
        QCOMPARE(rig.label(Fixture::BankObject)->caption(), QStringLiteral("Tbilisi banki"));
        QCOMPARE(rig.picture(Fixture::BankObject)->hint(), QStringLiteral("Tbilisi banki"));
        QVERIFY(rig.picture(Fixture::BankObject)->width() != 16); // the map logo, not the icon
        QCOMPARE(rig.scroll(), QPoint(300, 200));                 // the view does not move

        // Again: no second marker; the label turns cream and comes to the front.
        rig.label(Fixture::BankObject)->setColour(MarkerLayer::SkyBlue);
        rig.label(Fixture::BankObject)->sendToBack();
        rig.run([&] { rig.cmds.ShowMepAcExecute(); });
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::BankObject});
        QCOMPARE(rig.label(Fixture::BankObject)->colour(), MarkerLayer::Cream);
        QVERIFY(rig.label(Fixture::BankObject)->stackOrder() > rig.picture(Fixture::BankObject)->stackOrder());
        QCOMPARE(rig.scroll(), QPoint(300, 200));

        // An object without a map picture gets the yellow icon.
        QVERIFY(rig.focus(Fixture::NoLogoObject));
        rig.cmds.ShowMepAcExecute();
        QCOMPARE(rig.picture(Fixture::NoLogoObject)->width(), 16);
        QCOMPARE(rig.picture(Fixture::NoLogoObject)->pos(), rig.general(QStringLiteral("A1"), 10.25, 80.75));
        rig.noProblems();
    }

    void sheetCommandHidesOtherSheetsAndScrollsToTheObject()
    {
        Rig rig;
        QVERIFY(rig.focus(Fixture::BankObject));
        rig.cmds.ShowMepAcExecute();
        rig.zoom.setValue(150);
        rig.map.navigation.specialuri1Click();

        QVERIFY(rig.focus(Fixture::SameNameObjectA)); // C3 (45, 55)
        rig.run([&] { rig.cmds.ShowDetMapAcExecute(); });
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("C3"));
        QCOMPARE(rig.zoom.value(), 100);
        QCOMPARE(rig.state.WLb, BigSheetWidth);
        QCOMPARE(rig.objectKeys(), (QList<int>{Fixture::BankObject, Fixture::SameNameObjectA}));
        QVERIFY(!rig.picture(Fixture::BankObject)->isVisible());
        QVERIFY(!rig.label(Fixture::BankObject)->isVisible());
        QCOMPARE(rig.picture(Fixture::SameNameObjectA)->pos(), rig.onSheet(45, 55));
        QCOMPARE(rig.label(Fixture::SameNameObjectA)->colour(), MarkerLayer::Cream);
        const QPoint expected(rig.target(rig.area.horizontalRange(), 45), rig.target(rig.area.verticalRange(), 55));
        QVERIFY(expected.x() > 0 && expected.y() > 0);
        QCOMPARE(rig.scroll(), expected);

        // Shown again on the same sheet: no second marker, same view.
        rig.area.scrollTo(0, 0);
        rig.cmds.ShowDetMapAcExecute();
        QCOMPARE(rig.objectKeys().size(), 2);
        QCOMPARE(rig.scroll(), expected);

        // Back on the general map every marker is visible in its general place.
        rig.cmds.ShowMepAcExecute();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        QVERIFY(rig.picture(Fixture::BankObject)->isVisible());
        QCOMPARE(rig.picture(Fixture::BankObject)->pos(), rig.general(QStringLiteral("B2"), 40, 50));
        QCOMPARE(rig.picture(Fixture::SameNameObjectA)->pos(), rig.general(QStringLiteral("C3"), 45, 55));
        QCOMPARE(rig.scroll(), expected); // put back where it was

        // An object near the corner of a small sheet leaves the view at the origin.
        QVERIFY(rig.focus(Fixture::NoLogoObject)); // A1 (10.25, 80.75), 400 x 300
        rig.cmds.ShowDetMapAcExecute();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("A1"));
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        rig.noProblems();
    }

    void objectsSharingANameKeepTheirOwnPlaces()
    {
        Rig rig;
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        rig.cmds.ShowMepAcExecute();
        QVERIFY(rig.focus(Fixture::SameNameObjectB));
        rig.cmds.ShowMepAcExecute();
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        rig.cmds.ShowMepAcExecute();
        QCOMPARE(rig.objectKeys(), (QList<int>{Fixture::SameNameObjectA, Fixture::SameNameObjectB}));
        QCOMPARE(rig.picture(Fixture::SameNameObjectA)->pos(), rig.general(QStringLiteral("C3"), 45, 55));
        QCOMPARE(rig.picture(Fixture::SameNameObjectB)->pos(), rig.general(QStringLiteral("F5"), 20, 30));
        QCOMPARE(rig.label(Fixture::SameNameObjectB)->pos(), rig.general(QStringLiteral("F5"), 20, 30) - QPoint(0, 10));

        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(rig.picture(Fixture::SameNameObjectA)->isVisible());
        QVERIFY(!rig.picture(Fixture::SameNameObjectB)->isVisible());
        rig.noProblems();
    }

    void nearbyStopQueries()
    {
        const auto sql = [](const QString &x, const QString &y, int window) {
            return QStringLiteral("SELECT * FROM gaCereba WHERE (ABS(x-%1)<=%3) AND (ABS(y-%2)<=%3) AND (ruka_kodi='B2')")
                .arg(x, y)
                .arg(window);
        };
        const QString comma = QStringLiteral(",");
        const QString point = QStringLiteral(".");
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), 45.378, 12.5, comma),
                 sql(QStringLiteral("45.37"), QStringLiteral("12.5"), 5));
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), 45.378, 12.5, point),
                 sql(QStringLiteral("45.38"), QStringLiteral("12.50"), 6));
        // Comma users: y cut too; a whole x falls to the two-decimal form, still with a point.
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), 7.5, 12.3456, comma),
                 sql(QStringLiteral("7.5"), QStringLiteral("12.34"), 5));
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), 45, 12.5, comma),
                 sql(QStringLiteral("45.00"), QStringLiteral("12.50"), 6));
        // A negative value is bracketed, or "x--0.5" would start an SQL comment.
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), -0.5, 3, comma),
                 sql(QStringLiteral("(-0.5)"), QStringLiteral("3"), 5));
        QCOMPARE(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B2"), 4, -3, point),
                 sql(QStringLiteral("4.00"), QStringLiteral("(-3.00)"), 6));
        // A quote in the sheet code cannot break the query.
        QVERIFY(ObjectMapCommands::nearbyStopsSql(QStringLiteral("B'"), 1, 1, point).endsWith(QStringLiteral("(ruka_kodi='B''')")));
    }

    void objectWithNearbyStops()
    {
        Rig rig;
        rig.cmds.setDecimalSeparator(QStringLiteral(","));
        QVERIFY(rig.focus(Fixture::BankObject)); // B2 (40, 50)
        rig.cmds.ShowObjWithStopAcExecute();
        QCOMPARE(rig.dm.Qr.sql(), QStringLiteral("SELECT * FROM gaCereba WHERE (ABS(x-40.00)<=6) AND (ABS(y-50.00)<=6) "
                                                 "AND (ruka_kodi='B2')"));
        // The stop with the object's key is labelled beside the object's own label.
        QCOMPARE(rig.stopNames(), (QStringList{"Stp_9", "Lb_Stp_9", "Stp_1001", "Lb_Stp_1001"}));
        QVERIFY(rig.label(Fixture::BankObject));
        MapItem *stop = rig.item(QStringLiteral("Stp_1001"));
        QCOMPARE(stop->pos(), rig.onSheet(42, 51));
        QCOMPARE(stop->hint(), QStringLiteral("bankTan"));
        QCOMPARE(stop->width(), 10);
        MapItem *stopLabel = rig.item(QStringLiteral("Lb_Stp_1001"));
        QCOMPARE(stopLabel->colour(), MarkerLayer::Cream);
        QCOMPARE(stopLabel->pos(), rig.onSheet(42, 51) - QPoint(0, 10));
        QVERIFY(stopLabel->stackOrder() < rig.label(Fixture::BankObject)->stackOrder());
        QVERIFY(stopLabel->stackOrder() < stop->stackOrder());
        QCOMPARE(rig.scroll(), QPoint(rig.target(rig.area.horizontalRange(), 40),
                                      rig.target(rig.area.verticalRange(), 50)));
        QVERIFY(rig.prompts.messages.isEmpty());

        // No stop near liberTi: the message, yet its marker and the view are set; the old stops go.
        QVERIFY(rig.focus(Fixture::NoAdvertObject)); // C3 (62.5, 37.5)
        rig.cmds.ShowObjWithStopAcExecute();
        QVERIFY(rig.dm.Qr.sql().contains(QStringLiteral("(ABS(x-62.5)<=5) AND (ABS(y-37.5)<=5)")));
        QCOMPARE(rig.prompts.messages, QStringList{NoStops});
        QVERIFY(rig.stopNames().isEmpty());
        QVERIFY(rig.picture(Fixture::NoAdvertObject)->isVisible());
        QCOMPARE(rig.scroll(), QPoint(rig.target(rig.area.horizontalRange(), 62.5),
                                      rig.target(rig.area.verticalRange(), 37.5)));

        // A refused sheet code keeps the stops already shown; the sheet command removes them.
        QVERIFY(rig.focus(Fixture::BankObject));
        rig.cmds.ShowObjWithStopAcExecute();
        QCOMPARE(rig.stopNames().size(), 4);
        QVERIFY(rig.focus(Fixture::NoSheetObject));
        rig.cmds.ShowObjWithStopAcExecute();
        QCOMPARE(rig.stopNames().size(), 4);
        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(rig.stopNames().isEmpty());
        rig.noProblems();
    }

    void rubricDisplay()
    {
        Rig rig;
        QCOMPARE(rig.state.ObjectGroupRow, -1);
        QVERIFY(rig.focus(Fixture::BankObject));
        rig.cmds.ShowMepAcExecute();

        // First use keeps the markers already there; every food object is added in sky blue.
        QVERIFY(rig.focus(Fixture::MenuObjectA));
        rig.area.scrollTo(200, 200);
        rig.cmds.rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        // The focused object's branch of the list is opened and remembered.
        GroupedListView &grid = *rig.tab.ObjectGrid;
        QCOMPARE(rig.state.ObjectGroupRow, grid.firstSelectedVisibleRow());
        QVERIFY(rig.state.ObjectGroupRow >= 0);
        for (QModelIndex up = grid.currentIndex().parent(); up.isValid(); up = up.parent())
            QVERIFY(grid.isExpanded(up));
        const QList<int> keys = rig.objectKeys();
        QCOMPARE(keys.first(), Fixture::BankObject);
        QCOMPARE(QSet<int>(keys.begin() + 1, keys.end()),
                 (QSet<int>{1004, 1005, 1006, 1007, 1008, 1015}));
        QCOMPARE(rig.label(Fixture::SameNameObjectB)->colour(), MarkerLayer::SkyBlue);
        QCOMPARE(rig.picture(Fixture::SameNameObjectB)->pos(), rig.general(QStringLiteral("F5"), 20, 30));
        QVERIFY(rig.dm.Qr.sql().contains(QStringLiteral("obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) AND g_rubrika_kodi=3 ORDER BY")));

        // Later uses start afresh; a search in force narrows the rubric; from a sheet the general
        // map comes back with the zoom kept.
        rig.cmds.ShowDetMapAcExecute();
        rig.zoom.setValue(150);
        rig.state.ObjectFilter = QStringLiteral(" obieqti.saxeli LIKE '%galerea%' AND ");
        rig.cmds.rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(rig.zoom.value(), 150);
        QCOMPARE(rig.objectKeys(), (QList<int>{Fixture::SameNameObjectA, Fixture::SameNameObjectB}));
        QCOMPARE(rig.picture(Fixture::SameNameObjectA)->pos(), rig.general(QStringLiteral("C3"), 45, 55));

        // A rubric with nothing matching changes nothing and says nothing.
        rig.state.ObjectFilter = QStringLiteral(" obieqti.saxeli LIKE '%nothing%' AND ");
        rig.cmds.ShowRubricObjects(QString::number(Fixture::BankRubric));
        QCOMPARE(rig.objectKeys().size(), 2);
        QVERIFY(rig.prompts.messages.isEmpty());

        // Trade: the object without a sheet code is told about and skipped, the broken logo is
        // dropped silently, the object listed twice is marked once.
        rig.state.ObjectFilter.clear();
        QVERIFY(rig.focus(Fixture::TwoLogoRowsObject));
        rig.cmds.rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::TwoLogoRowsObject});
        QCOMPARE(rig.prompts.messages, QStringList{Unplaceable});
        rig.noProblems();
    }

    void logoFollowsTheFocusOnTheGeneralMap()
    {
        Rig rig;
        rig.area.scrollTo(400, 300);
        QVERIFY(rig.focus(Fixture::BankObject));
        QCOMPARE(rig.markers().LogoMarker().shown, Fixture::BankObject);
        QVERIFY(rig.markers().ObjectMarkers().isEmpty());
        QCOMPARE(rig.picture(Fixture::BankObject)->pos(), rig.general(QStringLiteral("B2"), 40, 50));
        QCOMPARE(rig.label(Fixture::BankObject)->colour(), MarkerLayer::Cream);
        QCOMPARE(rig.scroll(), QPoint(400, 300));

        QVERIFY(rig.focus(Fixture::NoAdvertObject));
        QCOMPARE(rig.markers().LogoMarker().shown, Fixture::NoAdvertObject);
        QVERIFY(!rig.picture(Fixture::BankObject));

        QVERIFY(rig.focus(Fixture::NoLogoObject)); // no map picture: no logo at all
        QCOMPARE(rig.markers().LogoMarker().shown, 0);
        QVERIFY(!rig.picture(Fixture::NoAdvertObject));
        QVERIFY(!rig.picture(Fixture::NoLogoObject));

        // An object with its own marker gets no logo; objects without a sheet get none, quietly.
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        rig.cmds.ShowMepAcExecute();
        QVERIFY(rig.focus(Fixture::BankObject));
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        QCOMPARE(rig.markers().LogoMarker().shown, 0);
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::SameNameObjectA});
        QVERIFY(rig.focus(Fixture::UnknownSheetObject));
        QVERIFY(rig.focus(Fixture::NoSheetObject));
        QCOMPARE(rig.markers().LogoMarker().shown, 0);
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(rig.scroll(), QPoint(400, 300));

        // While a sheet is shown the focus leaves the map alone.
        QVERIFY(rig.focus(Fixture::BankObject));
        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(rig.focus(Fixture::NoAdvertObject));
        QVERIFY(rig.focus(Fixture::MenuObjectA));
        QCOMPARE(rig.markers().LogoMarker().shown, 0);
        QVERIFY(!rig.picture(Fixture::MenuObjectA));
        rig.noProblems();
    }

    void activatingTheObjectsUnderThePointer()
    {
        Rig rig;
        for (int key : {Fixture::BankObject, Fixture::NoAdvertObject, Fixture::MenuObjectA}) {
            QVERIFY(rig.focus(key));
            rig.cmds.ShowMepAcExecute();
        }
        // liberTi's marker is laid over the bank's; the third lies far away.
        MapItem *bank = rig.picture(Fixture::BankObject);
        rig.picture(Fixture::NoAdvertObject)->move(bank->pos() + QPoint(5, 5));
        QPoint pointer = bank->pos() + QPoint(8, 8);
        rig.cmds.setPointerSource([&] { return rig.area.contentToGlobal(pointer); });
        QVERIFY(rig.focus(Fixture::MenuObjectA));

        rig.prompts.answers << true << true;
        rig.cmds.Im_ObjAcExecute();
        QCOMPARE(rig.prompts.questions,
                 (QStringList{"obieqti \"Tbilisi banki\" gaaqtiurebulia, ganvagrZoT Zebna?",
                              "obieqti \"liberTi\" gaaqtiurebulia, ganvagrZoT Zebna?"}));
        QCOMPARE(rig.dm.obieqti_logo_Qr.integer(QStringLiteral("obieqtis_kodi")), Fixture::NoAdvertObject);
        QCOMPARE(rig.state.ObjectGroupRow, rig.tab.ObjectGrid->firstSelectedVisibleRow());

        // A no ends the walk; a double click on a marker runs the same command.
        rig.prompts.clear();
        rig.prompts.answers << false;
        bank->doubleClickHandler()();
        QCOMPARE(rig.prompts.questions.size(), 1);
        QCOMPARE(rig.dm.obieqti_logo_Qr.integer(QStringLiteral("obieqtis_kodi")), Fixture::BankObject);

        // Far from every marker: nothing.
        rig.prompts.clear();
        pointer = bank->pos() + QPoint(-200, -200);
        rig.cmds.Im_ObjAcExecute();
        QVERIFY(rig.prompts.questions.isEmpty());
        rig.noProblems();
    }

    void objectsOutsideTheSearchActivateNothing()
    {
        Rig rig;
        for (int key : {Fixture::SameNameObjectA, Fixture::SameNameObjectB}) {
            QVERIFY(rig.focus(key));
            rig.cmds.ShowMepAcExecute();
        }
        MapItem *b = rig.picture(Fixture::SameNameObjectB);
        rig.cmds.setPointerSource([&] { return rig.area.contentToGlobal(b->pos()); });
        // The search keeps A, which bears the same name as B.
        rig.requeryList(QStringLiteral(" obieqti.obieqtis_kodi<>1007 AND "));
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        rig.cmds.Im_ObjAcExecute();
        QVERIFY(rig.prompts.questions.isEmpty());

        // A marker hidden on a sheet cannot be under the pointer.
        rig.requeryList(QString());
        QVERIFY(rig.focus(Fixture::SameNameObjectA));
        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(!b->isVisible());
        rig.cmds.Im_ObjAcExecute();
        QVERIFY(rig.prompts.questions.isEmpty());
        rig.noProblems();
    }

    void badRecordsNeverBreakACommand()
    {
        Rig rig;
        // Empty list: every command does nothing.
        rig.requeryList(QStringLiteral(" 1=0 AND "));
        rig.cmds.ShowMepAcExecute();
        rig.cmds.ShowDetMapAcExecute();
        rig.cmds.ShowObjWithStopAcExecute();
        rig.cmds.rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
        rig.cmds.Im_ObjAcExecute();
        rig.cmds.ObjectGridTableViewFocusedRecordChanged();
        QVERIFY(rig.markers().ObjectMarkers().isEmpty());
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        rig.requeryList(QString());

        // Missing sheet codes: each command tells why.
        QVERIFY(rig.focus(Fixture::NoSheetObject));
        rig.cmds.ShowMepAcExecute();
        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(rig.focus(Fixture::HotLineObject));
        rig.cmds.ShowDetMapAcExecute();
        QVERIFY(rig.focus(Fixture::HotLineNullSheetObject));
        rig.cmds.ShowObjWithStopAcExecute();
        QCOMPARE(rig.prompts.messages, (QStringList{Unplaceable, Unplaceable, HotLineUnplaceable, HotLineUnplaceable}));
        QVERIFY(rig.markers().ObjectMarkers().isEmpty());

        // An unknown sheet is told once per command and looked for nowhere.
        rig.prompts.clear();
        QVERIFY(rig.focus(Fixture::UnknownSheetObject));
        rig.cmds.ShowMepAcExecute();
        rig.cmds.ShowDetMapAcExecute();
        QCOMPARE(rig.prompts.messages, (QStringList{UnknownSheet, UnknownSheet}));
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        QVERIFY(rig.markers().ObjectMarkers().isEmpty());

        // No position reads as the sheet's corner; a broken picture makes no marker.
        rig.prompts.clear();
        QVERIFY(rig.focus(Fixture::NoPositionObject));
        rig.cmds.ShowDetMapAcExecute();
        QCOMPARE(rig.picture(Fixture::NoPositionObject)->pos(), rig.onSheet(0, 0));
        QCOMPARE(rig.scroll(), QPoint(0, 0));
        QVERIFY(rig.focus(Fixture::BrokenLogoObject));
        rig.cmds.ShowDetMapAcExecute();
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("F5"));
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::NoPositionObject});
        QVERIFY(!rig.item(QStringLiteral("Lb_1017")));
        QVERIFY(rig.prompts.messages.isEmpty());
        rig.noProblems();
    }

    void missingSheetRasterReachesTheErrorReport()
    {
        Rig rig([](FixtureCity &city) {
            enlargeMaps(city);
            city.remove(QStringLiteral("Raster/F5.jpg"));
        });
        QVERIFY(rig.focus(Fixture::SameNameObjectB));
        rig.run([&] { rig.cmds.ShowDetMapAcExecute(); });
        QCOMPARE(rig.prompts.errors.size(), 1);
        QVERIFY(rig.markers().ObjectMarkers().isEmpty());
        // The program goes on: the general map still works.
        rig.run([&] { rig.cmds.ShowMepAcExecute(); });
        QCOMPARE(rig.state.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(rig.objectKeys(), QList<int>{Fixture::SameNameObjectB});
        QCOMPARE(rig.prompts.errors.size(), 1);
    }
};

QTEST_MAIN(TestObjectMap)
#include "tst_objectmap.moc"
