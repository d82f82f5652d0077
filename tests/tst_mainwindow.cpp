#include "FakeDesktop.h"
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "PersonInput.h"
#include "ProgramRig.h"
#include "app/MainActions.h"
#include "app/MainFrm.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "catalogue/ObjectTab.h"
#include "common/MainState.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "map/MapArea.h"
#include "streets/StreetTab.h"
#include "transport/TransportTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/ZoomSpinBox.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

namespace {

// One run of the program's start-up against a city: the window with recording fakes, and the
// names of the routed handlers in the order they ran.
struct Run {
    MainState mainState;
    FakePrompts prompts;
    FakeDesktop desktop;
    DataModule dm;
    int splashes = 0;
    QStringList handlers;
    std::unique_ptr<TMainFrm> window;

    Run()
    {
        window = std::make_unique<TMainFrm>(dm, mainState, prompts, desktop, [this] { ++splashes; });
        QObject::connect(window.get(), &TMainFrm::handlerStarted, [this](const QString &h) { handlers << h; });
    }

    void show() { showUntilActivated(*window, handlers, dm); }

    // The handlers that a piece of work routed.
    QStringList routed(const std::function<void()> &work)
    {
        handlers.clear();
        // A command that opens a modal window (the about window) gets it closed again.
        QTimer::singleShot(50, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        work();
        QCoreApplication::processEvents();
        return handlers;
    }

    MainState &state() { return window->state(); }
    MainActions &actions() { return *window->actions; }
    MainToolBar &toolBar() { return *window->ToolBar; }
};

QStringList names(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *name : list)
        result << QString::fromLatin1(name);
    return result;
}

// Which tool buttons are enabled, as a string of 0 and 1: object (4), street (2), stop (2).
QString enabledButtons(MainToolBar &t)
{
    QString flags;
    for (QToolButton *b : {t.ObjDetBtn, t.ReklamaBtn, t.ObjGenMapBtn, t.ObjDetMapBtn, t.StreetGenMapBtn,
                           t.StreetDetMapBtn, t.StopGenMapBtn, t.StopDetMapBtn})
        flags += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return flags;
}

void pressKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(widget, &press);
}

struct MenuRow {
    const char *name;     // nullptr for a separator
    const char *caption;
    const char *handler;
    bool visible = true;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureCity> m_city;
    std::unique_ptr<ScopedCurrentDir> m_here;

    // Each menu's items in order: caption, visibility, and the handler each one reaches.
    void checkMenu(Run &run, QMenu *menu, const QList<MenuRow> &rows)
    {
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            QAction *item = items[i];
            const MenuRow &row = rows[i];
            if (!row.name) {
                QVERIFY2(item->isSeparator(), qPrintable(menu->objectName() + QString::number(i)));
                continue;
            }
            QCOMPARE(item->objectName(), QLatin1String(row.name));
            QCOMPARE(item->text(), QLatin1String(row.caption));
            QCOMPARE(item->isVisible(), row.visible);
            QVERIFY(item->shortcut().isEmpty());
            const QStringList routed = run.routed([item] { item->trigger(); });
            QVERIFY2(!routed.isEmpty(), row.name);
            QCOMPARE(routed.first(), QLatin1String(row.handler));
        }
    }

private Q_SLOTS:
    void init()
    {
        m_city = std::make_unique<FixtureCity>();
        m_here = std::make_unique<ScopedCurrentDir>(m_city->path());
    }

    void cleanup()
    {
        m_here.reset();
        m_city.reset();
    }

    void startUpWithGoodCity()
    {
        Run run;
        MainState &s = run.state();
        QVERIFY(run.prompts.standard.isEmpty());
        QVERIFY(run.prompts.errors.isEmpty());
        QCOMPARE(run.splashes, 1);
        // The connection string is the file's whole text with CR LF line breaks.
        QFile ini(QStringLiteral("Address.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QString text = QString::fromLocal8Bit(ini.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QVERIFY(!text.contains(QLatin1Char('\r')));
        QCOMPARE(run.dm.ADOConn.connectionString(), QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
        QCOMPARE(s.KeyLb, QStringLiteral("0"));
        QCOMPARE(s.DlgMessageLb, QStringLiteral("0"));
        QCOMPARE(s.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(s.WLb, Fixture::GeneralMapWidth);
        QCOMPARE(s.HLb, Fixture::GeneralMapHeight);
        QCOMPARE(run.window->ScrollBox->imageSize(), QSize(Fixture::GeneralMapWidth, Fixture::GeneralMapHeight));
        QCOMPARE(s.ObjectGroupRow, -1);
        QCOMPARE(s.StreetGroupRow, -1);
        QCOMPARE(s.TransportGroupRow, 0);
        QVERIFY(s.ObjectFilter.isEmpty() && s.StreetFilter.isEmpty() && s.TransportFilter.isEmpty());
        QVERIFY(s.ObjectSearchStatus.isEmpty() && s.StreetSearchStatus.isEmpty()
                && s.TransportSearchStatus.isEmpty());
        QVERIFY(run.dm.RaioniQr.isOpen());
        // Built with the street tab active; nothing of the tabs has run before the window shows.
        QCOMPARE(run.window->PageControl->currentWidget(), run.window->quCaTSh);
        QVERIFY(!run.dm.quCa_Qr.isOpen());

        run.show();
        // Visible: the street tab is shown; activated: the object tab enters, the street tab leaves.
        // The object list, read in the background, focuses its first record once it is in.
        QCOMPARE(run.handlers.mid(0, 4), names({"quCaTShShow", "FormActivate", "obieqtiTSHShow", "quCaTShHide"}));
        QCOMPARE(run.handlers.last(), QStringLiteral("ObjectGridTableViewFocusedRecordChanged"));
        QVERIFY(run.window->isVisible());
        QCOMPARE(run.window->PageControl->currentWidget(), run.window->obieqtiTSH);
        QVERIFY(run.dm.quCa_Qr.isOpen() && run.dm.quCisTipi_Qr.isOpen());
        QVERIFY(run.dm.obieqti_logo_Qr.isOpen() && run.dm.rubrikaQr.isOpen() && run.dm.Search_qve_rubrika_Qr.isOpen());
        QCOMPARE(enabledButtons(run.toolBar()), QStringLiteral("11110000"));
        QVERIFY(run.actions().gaaqtiurebaobieqtebisxeze1->isVisible());
        QVERIFY(run.actions().gamyofi1->isVisible());
        QCOMPARE(run.window->StatusBar->text(), QString());
        QCOMPARE(run.toolBar().ZoomEd->value(), 100);
        QVERIFY(run.prompts.errors.isEmpty());
        // The first activation runs once: leaving and re-entering the window does not repeat it.
        run.handlers.clear();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(run.window.get(), &activate);
        QVERIFY(!run.handlers.contains(QStringLiteral("FormActivate")));
    }

    void startUpWithFailedConnection_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason"); // a part of the reason given below "Connection failed"
        QTest::newRow("no Address.ini") << QString() << QByteArray() << QStringLiteral("Address.ini");
        QTest::newRow("unknown provider") << QStringLiteral("Address.ini")
                                          << QByteArray("Provider=Jet.4;Data Source=city.db") << QStringLiteral("Jet.4");
        QTest::newRow("empty Address.ini") << QStringLiteral("Address.ini") << QByteArray()
                                           << QStringLiteral("Provider");
        QTest::newRow("database missing") << QStringLiteral("Address.ini")
                                          << QByteArray("Provider=SQLite;Data Source=nowhere.db")
                                          << QStringLiteral("nowhere.db");
        QTest::newRow("not a database") << QStringLiteral("junk.db") << QByteArray(4096, '\x5a')
                                        << QStringLiteral("not a database");
        // No connection string is that long: the file is not even parsed.
        // A FIFO would keep the program waiting before any window ("|": made as one).
        QTest::newRow("Address.ini a FIFO") << QStringLiteral("|Address.ini") << QByteArray() << QStringLiteral("is not a regular file");
        QTest::newRow("Address.ini over 64 KB")
            << QStringLiteral("Address.ini") << QByteArray("Provider=SQLite;Data Source=city.db\n") + QByteArray(65536, ' ')
            << QStringLiteral("larger than 64 KB");
    }

    void startUpWithFailedConnection()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        m_city->remove(QStringLiteral("Address.ini"));
        if (file.startsWith(QLatin1Char('|')))
            QCOMPARE(::mkfifo(QFile::encodeName(m_city->path() + QLatin1Char('/') + file.mid(1)).constData(), 0600), 0);
        else if (!file.isEmpty())
            m_city->write(file, content);
        if (file == QLatin1String("junk.db"))
            m_city->write(QStringLiteral("Address.ini"), "Provider=SQLite;Data Source=junk.db");

        Run run;
        QCOMPARE(run.prompts.standard, names({"Connection failed"}));
        QVERIFY2(run.prompts.standardReasons.first().contains(reason), qPrintable(run.prompts.standardReasons.first()));
        QVERIFY(run.prompts.errors.isEmpty());
        QCOMPARE(run.splashes, 0);
        MainState &s = run.state();
        QCOMPARE(s.KeyLb, QStringLiteral("2"));
        QVERIFY(s.CurrentMapName.isEmpty());
        QCOMPARE(s.WLb, 0);
        QCOMPARE(s.HLb, 0);
        QCOMPARE(s.ObjectGroupRow, 0);
        QCOMPARE(s.TransportGroupRow, 0);
        QVERIFY(!run.dm.RaioniQr.isOpen());

        // The street tab still tries its data sets, which fail the same way; the first activation
        // then closes the window, which ends the program.
        run.window->show();
        QTRY_VERIFY(!run.window->isVisible());
        QCOMPARE(run.handlers, names({"quCaTShShow", "FormActivate"}));
        QCOMPARE(run.prompts.errors.size(), 1);
        QVERIFY(run.prompts.errors.first().endsWith(QLatin1Char('.')));
        QCOMPARE(run.prompts.standard.size(), 1);
    }

    // A list read in the background whose table is missing is reported when the list is first
    // needed, as an open in the foreground would be; the list stays empty, and every later show
    // of its tab reads it again.
    void failedListReadsAreReported_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("objects") << QStringLiteral("obieqtis_logo");
        QTest::newRow("streets") << QStringLiteral("quCa");
        QTest::newRow("routes and stops") << QStringLiteral("kavS_transporti_gaCereba");
    }

    void failedListReadsAreReported()
    {
        QFETCH(QString, table);
        m_city->execSql(QStringLiteral("DROP TABLE ") + table);
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        QWidget *tab = table == QLatin1String("obieqtis_logo") ? static_cast<QWidget *>(w.obieqtiTSH)
                       : table == QLatin1String("quCa")        ? static_cast<QWidget *>(w.quCaTSh)
                                                               : static_cast<QWidget *>(w.TransportiTSH);
        QWidget *other = tab == w.TransportiTSH ? static_cast<QWidget *>(w.quCaTSh) : static_cast<QWidget *>(w.TransportiTSH);
        const auto reports = [&run, &table] { return run.prompts.errors.filter(table, Qt::CaseInsensitive).size(); };
        // The object and street lists are first needed at start-up, the route-stop list at its tab.
        const int atStart = tab == w.TransportiTSH ? 0 : 1;
        QTRY_COMPARE(reports(), atStart);
        for (int show = 1; show <= 2; ++show) {
            w.PageControl->setCurrentWidget(other);
            w.PageControl->setCurrentWidget(tab);
            QTRY_COMPARE(reports(), atStart + show);
            QCOMPARE(run.prompts.errors.size(), reports());
            QCOMPARE(tab->findChild<GroupedListView *>()->model()->rowCount(), 0);
        }
    }

    void startUpWithBrokenGeneralMap_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // a part of the error report
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("Cannot load the picture");
        QTest::newRow("not a picture") << QStringLiteral("not a picture") << QStringLiteral("Cannot load the picture");
        // A FIFO would keep the program waiting before any window.
        QTest::newRow("a FIFO") << QStringLiteral("FIFO") << QStringLiteral("Tbilisi.bmp\" is not a regular file");
    }

    void startUpWithBrokenGeneralMap()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        if (kind != QLatin1String("not a picture"))
            m_city->remove(QStringLiteral("Raster/Tbilisi.bmp"));
        if (kind == QLatin1String("not a picture"))
            m_city->write(QStringLiteral("Raster/Tbilisi.bmp"), "BM not really");
        else if (kind == QLatin1String("FIFO"))
            QCOMPARE(::mkfifo(QFile::encodeName(m_city->path() + QStringLiteral("/Raster/Tbilisi.bmp")).constData(), 0600), 0);

        Run run;
        // The error report shows it; the remaining creation steps do not run.
        QVERIFY(run.prompts.standard.isEmpty());
        QCOMPARE(run.prompts.errors.size(), 1);
        QVERIFY2(run.prompts.errors.first().contains(reason), qPrintable(run.prompts.errors.first()));
        QCOMPARE(run.splashes, 1);
        MainState &s = run.state();
        QCOMPARE(s.KeyLb, QStringLiteral("0"));
        QCOMPARE(s.CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(s.WLb, 0);
        QCOMPARE(s.ObjectGroupRow, 0);
        QCOMPARE(s.StreetGroupRow, 0);
        QVERIFY(!run.dm.RaioniQr.isOpen());

        // The program goes on with the main window.
        run.show();
        QVERIFY(run.window->isVisible());
        QCOMPARE(run.window->PageControl->currentWidget(), run.window->obieqtiTSH);
        QVERIFY(run.dm.RaioniQr.isOpen());
        QCOMPARE(run.prompts.errors.size(), 1);
    }

    void startUpNormalisesLineBreaks()
    {
        m_city->write(QStringLiteral("Address.ini"), "Provider=SQLite;\nData Source=city.db\r\r\n");
        Run run;
        QVERIFY(run.prompts.standard.isEmpty());
        QCOMPARE(run.dm.ADOConn.connectionString(),
                 QStringLiteral("Provider=SQLite;\r\nData Source=city.db\r\n\r\n"));
    }

    void windowLayout()
    {
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tbilisis saZiebo-sainformacio sistema `kvirzeta~"));
        QCOMPARE(w.size(), QSize(1020, 734));
        // A city of another name, as its frame file gives it, is named in the title.
        m_city->write(QStringLiteral("Raster/Tbilisi.frame"), "WidthMetres=20000\nHeightMetres=15000\nCity=Rustavi\n");
        {
            Run other;
            QCOMPARE(other.window->windowTitle(), QStringLiteral("Rustavis saZiebo-sainformacio sistema `kvirzeta~"));
        }
        m_city->remove(QStringLiteral("Raster/Tbilisi.frame"));
        QCOMPARE(w.font().family(), QStringLiteral("_! Kolhety"));
        QCOMPARE(w.font().pixelSize(), 13);
        QCOMPARE(w.palette().color(QPalette::Window), QColor(192, 220, 192));
        QCOMPARE(QToolTip::font().pixelSize(), 13);
        QCOMPARE(w.ToolBar->height(), 25);
        QCOMPARE(w.StatusBar->height(), 17);
        QCOMPARE(w.PageControl->width(), 362);
        QCOMPARE(w.Spliter->handleWidth(), 7);
        QCOMPARE(w.PageControl->tabPosition(), QTabWidget::South);
        QCOMPARE(w.PageControl->count(), 4);
        QCOMPARE(w.PageControl->tabText(0), QStringLiteral("obieqti"));
        QCOMPARE(w.PageControl->tabText(1), QStringLiteral("transporti"));
        QCOMPARE(w.PageControl->tabText(2), QStringLiteral("quCa"));
        QCOMPARE(w.PageControl->tabText(3), QStringLiteral("mgzavroba"));
        QCOMPARE(w.PageControl->widget(1), w.TransportiTSH);
        // The map area lies right of the splitter and fills the rest.
        QVERIFY(w.ScrollBox->geometry().left() >= 362 + 7);

        ZoomSpinBox *zoom = w.ToolBar->ZoomEd;
        QCOMPARE(zoom->width(), 61);
        QCOMPARE(zoom->userMinimum(), 50);
        QCOMPARE(zoom->userMaximum(), 200);
        QCOMPARE(zoom->singleStep(), 25);
        QCOMPARE(zoom->pageStep(), 50);
        QCOMPARE(w.ToolBar->ToolButton8->menu(), run.actions().ZoomPM);
        for (QToolButton *b : w.ToolBar->findChildren<QToolButton *>()) {
            if (b->objectName().startsWith(QLatin1String("qt_")) || w.ToolBar->searchBox->isAncestorOf(b))
                continue;   // the tool bar's own extension button, the search box's clear button
            QCOMPARE(b->height(), 23);
            QVERIFY(b->autoRaise());
        }

        // Menu fonts: 10 points for the main menu and the four popups, 8 for the zoom menu.
        MainActions &a = run.actions();
        for (QWidget *menu : std::initializer_list<QWidget *>{a.MainMenu, a.mTavari1, a.operaciebi1, a.ruka1,
                                                               a.daxmareba1, a.ObjectTreeViewPopupMenu,
                                                               a.quCaTreeViewPopupMenu, a.transportiTreeViewPopupMenu,
                                                               a.GraphPopupMenu}) {
            QCOMPARE(menu->font().family(), QStringLiteral("_! Kolhety"));
            QCOMPARE(menu->font().pointSize(), 10);
        }
        QCOMPARE(a.ZoomPM->font().pointSize(), 8);

        // The search panels: caption, style, design heights, fields with their labels.
        ObjectTab &o = *w.obieqtiTSH;
        QCOMPARE(o.ObieqtiSearchPn->caption(), QStringLiteral("saZiebeli"));
        QVERIFY(o.ObieqtiSearchPn->captionBold());
        QCOMPARE(o.ObieqtiSearchPn->colours(), CaptionPanel::Colours::ActiveCaption);
        QVERIFY(!w.quCaTSh->quCaSearchPn->captionBold());
        QCOMPARE(w.quCaTSh->quCaSearchPn->colours(), CaptionPanel::Colours::InactiveCaption);
        QCOMPARE(o.ObieqtiSearchPn->height(), 320);
        QCOMPARE(w.quCaTSh->quCaSearchPn->height(), 165);
        QCOMPARE(w.TransportiTSH->transportiSearchPn->height(), 213);
        QCOMPARE(o.Obj_FilterBtn->toolTip(), QStringLiteral("Zieba (<-)"));
        QCOMPARE(o.ClearBtn->toolTip(), QStringLiteral("Ziebis gauqmeba"));
        QCOMPARE(w.quCaTSh->Street_FilterBtn->toolTip(), QStringLiteral("Zieba (<-)"));
        QCOMPARE(w.quCaTSh->SpeedButton1->toolTip(), QStringLiteral("Ziebis gauqmeba"));
        QCOMPARE(w.TransportiTSH->Transp_FilterBtn->toolTip(), QStringLiteral("Zieba (<-)"));
        QCOMPARE(w.TransportiTSH->SpeedButton4->toolTip(), QStringLiteral("Ziebis gauqmeba"));
        QStringList labels;
        for (QLabel *label : o.ObieqtiSearchPn->body()->findChildren<QLabel *>())
            labels << label->text() + QLatin1Char('>') + label->buddy()->objectName();
        QCOMPARE(labels, names({"rubrika>RubrikaCb", "qverubrika>QveRubrikaCb", "obieqtis saxeli>ObieqtiEd",
                                "raioni>ObieqtisRaioniCb", "misamarTi>misamarTiEd", "telefoni>telefoniEd"}));
        // The lookups list their data sets: districts in name order.
        QCOMPARE(o.ObieqtisRaioniCb->count(), Fixture::DistrictCount);
        QCOMPARE(w.quCaTSh->quCisTipiCb->count(), Fixture::StreetTypeCount);
    }

    void keyboardOrderOfSearchFields()
    {
        Run run;
        run.show();
        run.window->activateWindow();
        QTRY_VERIFY(run.window->isActiveWindow());
        ObjectTab &o = *run.window->obieqtiTSH;
        o.RubrikaCb->setFocus();
        QStringList order;
        for (int i = 0; i < 6; ++i) {
            QWidget *focus = QApplication::focusWidget();
            while (focus && !qobject_cast<LookupEditor *>(focus) && !qobject_cast<QLineEdit *>(focus))
                focus = focus->parentWidget();
            if (focus && qobject_cast<LookupEditor *>(focus->parentWidget()))
                focus = focus->parentWidget();
            order << (focus ? focus->objectName() : QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, names({"RubrikaCb", "QveRubrikaCb", "ObieqtiEd", "ObieqtisRaioniCb", "misamarTiEd",
                               "telefoniEd"}));

        run.window->trnasporti1Click();
        TransportTab &t = *run.window->TransportiTSH;
        t.GaCerebaEd->setFocus();
        QTest::keyClick(t.GaCerebaEd, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), t.TransportiSaxeliEd);
        QTest::keyClick(t.TransportiSaxeliEd, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == t.TransportisTipiEd
                || QApplication::focusWidget() == t.TransportisTipiEd->lineEdit());
    }

    void tabChanges()
    {
        Run run;
        run.show();
        MainState &s = run.state();
        s.ObjectSearchStatus = QStringLiteral("moZebnili obieqtebis raodenoba - 0");
        s.StreetSearchStatus = QStringLiteral("moZebnili quCebis raodenoba - 12");
        s.TransportSearchStatus = QStringLiteral("moiZebna 14");
        MainActions &a = run.actions();
        TMainFrm &w = *run.window;

        // The tab entered is shown before the tab left is hidden; the transport tab has no hide.
        QCOMPARE(run.routed([&] { a.trnasporti1->trigger(); }),
                 names({"trnasporti1Click", "TransportiTSHShow", "obieqtiTSHHide"}));
        QCOMPARE(enabledButtons(run.toolBar()), QStringLiteral("00000011"));
        QVERIFY(!a.gaaqtiurebaobieqtebisxeze1->isVisible() && !a.gamyofi1->isVisible());
        QCOMPARE(w.StatusBar->text(), s.TransportSearchStatus);
        QVERIFY(run.dm.kavS_transporti_gaCereba_Qr.isOpen() && run.dm.transportisTipi_Qr.isOpen());
        QVERIFY(!run.dm.Search_qve_rubrika_Qr.isOpen());

        QCOMPARE(run.routed([&] { a.quCa1->trigger(); }), names({"quCa1Click", "quCaTShShow"}));
        QCOMPARE(enabledButtons(run.toolBar()), QStringLiteral("00001100"));
        QCOMPARE(w.StatusBar->text(), s.StreetSearchStatus);

        // A click on a tab changes tabs the same way.
        QTabBar *bar = w.PageControl->tabBar();
        QCOMPARE(run.routed([&] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center()); }),
                 names({"obieqtiTSHShow", "quCaTShHide"}));
        QCOMPARE(enabledButtons(run.toolBar()), QStringLiteral("11110000"));
        QVERIFY(a.gaaqtiurebaobieqtebisxeze1->isVisible() && a.gamyofi1->isVisible());
        QCOMPARE(w.StatusBar->text(), s.ObjectSearchStatus);
        QVERIFY(run.dm.Search_qve_rubrika_Qr.isOpen());

        // Choosing the tab already active does nothing more.
        QCOMPARE(run.routed([&] { a.RubMmnIt->trigger(); }), names({"RubMmnItClick"}));

        // On the street tab the menu items of the object commands still run.
        a.quCa1->trigger();
        QVERIFY(!run.toolBar().ReklamaBtn->isEnabled());
        QVERIFY(a.sareklamoSemoTavazebisdaTvaliereba2->isEnabled());
        QCOMPARE(run.routed([&] { a.sareklamoSemoTavazebisdaTvaliereba2->trigger(); }),
                 names({"ReaklamaAcExecute"}));
        // Hovering a menu item does not wipe the status text.
        QStatusTipEvent tip{QString()};
        QCoreApplication::sendEvent(&w, &tip);
        QCOMPARE(w.StatusBar->text(), s.StreetSearchStatus);
        QVERIFY(run.prompts.errors.isEmpty());
    }

    void hidingTheObjectTabDisablesOnlyItsDetailsButton()
    {
        Run run;
        run.show();
        run.window->obieqtiTSH->obieqtiTSHHide();
        QCOMPARE(enabledButtons(run.toolBar()), QStringLiteral("01110000"));
    }

    void searchActionShowsThePanelOfTheActiveTab()
    {
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        CaptionPanel *objects = w.obieqtiTSH->ObieqtiSearchPn;
        CaptionPanel *streets = w.quCaTSh->quCaSearchPn;
        CaptionPanel *stops = w.TransportiTSH->transportiSearchPn;
        MainActions &a = run.actions();
        a.saZieblisdaxurva1->trigger();
        a.MenuItem9->trigger();
        a.MenuItem14->trigger();
        QVERIFY(objects->isHidden() && streets->isHidden() && stops->isHidden());

        // Each way to "saZiebeli" ends in the one handler.
        QCOMPARE(run.routed([&] { run.toolBar().ToolButton4->click(); }), names({"SearchAcExecute"}));
        QVERIFY(!objects->isHidden());
        QVERIFY(streets->isHidden() && stops->isHidden());

        w.quCa1Click();
        a.saZiebeli1->trigger();   // the object list's item acts on the active tab
        QVERIFY(!streets->isHidden() && stops->isHidden());
        w.trnasporti1Click();
        a.MenuItem8->trigger();
        QVERIFY(!stops->isHidden());
        QCOMPARE(objects->height(), 320);
        QCOMPARE(streets->height(), 165);
        QCOMPARE(stops->height(), 213);
    }

    void panelCaptionButtons()
    {
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        struct Case {
            CaptionPanel *panel;
            QWidget *tab;
            QTreeView *list;
            int design;
            int restored;
        };
        const Case cases[] = {
            {w.obieqtiTSH->ObieqtiSearchPn, w.obieqtiTSH, w.obieqtiTSH->ObjectGrid, 320, 320},
            {w.quCaTSh->quCaSearchPn, w.quCaTSh, w.quCaTSh->StreetGrid, 165, 175},
            {w.TransportiTSH->transportiSearchPn, w.TransportiTSH, w.TransportiTSH->TransportiGrid, 213, 230},
        };
        for (const Case &c : cases) {
            w.PageControl->setCurrentWidget(c.tab);
            QCoreApplication::processEvents();
            const int listHeight = c.list->height();
            // Restoring a panel that was never minimised also sets its restore height.
            c.panel->button(CaptionPanel::Button::Restore)->click();
            QCOMPARE(c.panel->height(), c.restored);
            c.panel->button(CaptionPanel::Button::Minimise)->click();
            QCOMPARE(c.panel->height(), 40);
            // The list grows by the height freed.
            QTRY_COMPARE(c.list->height(), listHeight + c.design - 40);
            // Caption bar stays visible, body is cut instead of squeezed.
            QVERIFY(c.panel->body()->height() >= c.design - CaptionPanel::CaptionHeight);
            c.panel->button(CaptionPanel::Button::Restore)->click();
            QCOMPARE(c.panel->height(), c.restored);
            c.panel->button(CaptionPanel::Button::Minimise)->click();
        }
        QCOMPARE(run.handlers.count(QStringLiteral("ObieqtiSearchPnButtonClick")), 4);
        QCOMPARE(run.handlers.count(QStringLiteral("quCaSearchPnButtonClick")), 4);
        QCOMPARE(run.handlers.count(QStringLiteral("transportiSearchPnButtonClick")), 4);

        // Close hides; nothing else changes, and the state survives tab changes.
        const QString status = w.StatusBar->text();
        const QString buttons = enabledButtons(run.toolBar());
        w.TransportiTSH->transportiSearchPn->button(CaptionPanel::Button::Close)->click();
        QVERIFY(w.TransportiTSH->transportiSearchPn->isHidden());
        QCOMPARE(w.StatusBar->text(), status);
        QCOMPARE(enabledButtons(run.toolBar()), buttons);
        w.RubMmnItClick();
        w.quCa1Click();
        w.trnasporti1Click();
        QVERIFY(w.TransportiTSH->transportiSearchPn->isHidden());
        QCOMPARE(w.obieqtiTSH->ObieqtiSearchPn->height(), 40);
        QCOMPARE(w.quCaTSh->quCaSearchPn->height(), 40);
        QVERIFY(!w.quCaTSh->quCaSearchPn->isHidden());
    }

    void menusAreRoutedToTheirHandlers()
    {
        Run run;
        run.show();
        MainActions &a = run.actions();
        QStringList titles;
        for (QAction *top : a.MainMenu->actions())
            titles << top->text();
        QCOMPARE(titles, names({"mTavari", "operaciebi", "ruka", "daxmareba"}));

        // The advertising command acts on the focused object: one that has an advertising file.
        QVERIFY(run.dm.obieqti_logo_Qr.locate(QStringLiteral("obieqtis_kodi"), Fixture::BankObject));
        checkMenu(run, a.operaciebi1,
                  {{"saZiebeli2", "saZiebeli", "SearchAcExecute"},
                   {nullptr, nullptr, nullptr},
                   {"sareklamoSemoTavazebisdaTvaliereba2", "sareklamo SemoTavazebis daTvaliereba", "ReaklamaAcExecute"}});
        checkMenu(run, a.ruka1,
                  {{"zogadi1", "masStabis gazrda", "gazrda1Click"},
                   {"detaluri1", "masStabis Semcireba", "Semcireba1Click"},
                   {nullptr, nullptr, nullptr},
                   {"rukisgasufTavebaobieqtebisagan1", "rukis gasufTaveba obieqtebisagan", "ClearMapAcExecute"},
                   {"moniSvna1", "moniSvna", "SelectAcExecute", false},
                   {"aqtivacia1", "aqtivacia", "ZoomInWindowAcExecute", false}});
        checkMenu(run, a.daxmareba1,
                  {{"daxmareba2", "daxmareba", "daxmareba2Click"},
                   {nullptr, nullptr, nullptr},
                   {"Sesaxeb1", "Sesaxeb", "Sesaxeb1Click"}});
        // The advertising command opened the focused object's file, the help command the document.
        QCOMPARE(run.desktop.openedFiles.size(), 2);
        QCOMPARE(run.desktop.openedFiles.last(), m_city->file(QStringLiteral("Kvirzeta.pdf")));
        checkMenu(run, a.ObjectTreeViewPopupMenu,
                  {{"rubrikissruligaSla1", "rubrikis sruli gaSla", "rubrikissruligaSla1Click"},
                   {nullptr, nullptr, nullptr},
                   {"rubrukaSiSemvaliobieqtebisCvenebarukaze1", "rubrukaSi Semvali obieqtebis xilva rukaze",
                    "rubrukaSiSemvaliobieqtebisCvenebarukaze1Click"},
                   {nullptr, nullptr, nullptr},
                   {"obieqtisdetalebi1", "obieqtis detalebi", "ObjDetailAcExecute"},
                   {"sareklamoSemoTavazebisdaTvaliereba1", "sareklamo SemoTavazebis daTvaliereba", "ReaklamaAcExecute"},
                   {nullptr, nullptr, nullptr},
                   {"obieqtisrukazemiTiTeba1", "obieqtis Cveneba zogad rukaze", "ShowMepAcExecute"},
                   {"obieqtismiTiTebadetalurrukaze1", "obieqtis Cveneba detalur rukaze", "ShowDetMapAcExecute"},
                   {"obieqtisCvenebadetalurrukazeaxlosmdebaregaCerebebTanerTad1",
                    "obieqtis Cveneba detalur rukaze mimdebare gaCerebebTan erTad", "ShowObjWithStopAcExecute"},
                   {nullptr, nullptr, nullptr},
                   {"saZiebeli1", "saZiebeli", "SearchAcExecute"},
                   {"saZieblisdaxurva1", "saZieblis daxurva", "saZieblisdaxurva1Click"}});
        checkMenu(run, a.transportiTreeViewPopupMenu,
                  {{"transportisgaSla1", "transportis gaSla", "transportisgaSla1Click"},
                   {nullptr, nullptr, nullptr},
                   {"marSrutisCvenebazogadrukaze1", "marSrutis xilva zogad rukaze", "marSrutisCvenebazogadrukaze1Click"},
                   {nullptr, nullptr, nullptr},
                   {"GenStopShowMnIt", "gaCerebis Cveneba zogad rukaze", "GenStopShowMnItClick"},
                   {"DetStopShowMnIt", "gaCerebis Cveneba detalur rukaze", "DetStopShowMnItClick"},
                   {"marSrutebigaCerebaze1", "am gaCerebaze gamavali marSrutebi", "marSrutebigaCerebaze1Click"},
                   {nullptr, nullptr, nullptr},
                   {"MenuItem13", "saZiebeli", "SearchAcExecute"},
                   {"MenuItem14", "saZieblis daxurva", "MenuItem14Click"}});
        checkMenu(run, a.quCaTreeViewPopupMenu,
                  {{"raionSiSemavaliyvelaquCismiTiTeba1", "raionSi Semavali yvela quCis xilva",
                    "raionSiSemavaliyvelaquCismiTiTeba1Click"},
                   {nullptr, nullptr, nullptr},
                   {"StreetGenShowMnIt", "quCis Cveneba zogad rukaze", "StreetGenShowMnItClick"},
                   {"StreetDetShowMnIt", "quCis Cveneba detalur rukaze", "StreetDetShowMnItClick"},
                   {nullptr, nullptr, nullptr},
                   {"MenuItem8", "saZiebeli", "SearchAcExecute"},
                   {"MenuItem9", "saZieblis daxurva", "MenuItem9Click"}});
        checkMenu(run, a.GraphPopupMenu,
                  {{"marSrutebigaCerebaze2", "am gaCerebaze gamavali marSrutebi", "marSrutebigaCerebaze2Click", false},
                   {nullptr, nullptr, nullptr},
                   {"aqedanMnIt", "mgzavroba aqedan", "aqedanMnItClick"},
                   {"aqamdeMnIt", "mgzavroba aqamde", "aqamdeMnItClick"},
                   {nullptr, nullptr, nullptr},
                   {"gaaqtiurebaobieqtebisxeze1", "gaaqtiureba obieqtebis xeze ", "Im_ObjAcExecute"},
                   {nullptr, nullptr, nullptr},
                   {"rukisgasufTavebaobieqtebisagan2", "rukis gasufTaveba obieqtebisagan", "ClearMapAcExecute"},
                   {nullptr, nullptr, nullptr},
                   {"rukiszomebisSecvla1", "rukis masStabis gazrda       (+)", "gazrda1Click"},
                   {"rukiszomisSemcireba1", "rukis masStabis Semcireba  ( - ) ", "Semcireba1Click"}});
        for (QAction *item : a.GraphPopupMenu->actions())
            QVERIFY(item->icon().isNull());
        checkMenu(run, a.ZoomPM,
                  {{"gazrda1", "gazrda", "gazrda1Click"},
                   {"Semcireba1", "Semcireba", "Semcireba1Click"},
                   {"specialuri1", "specialuri", "specialuri1Click", false}});
        // The tab items and exit last, as they change the window.
        checkMenu(run, a.mTavari1,
                  {{"RubMmnIt", "obieqti", "RubMmnItClick"},
                   {"trnasporti1", "transporti", "trnasporti1Click"},
                   {"quCa1", "quCa", "quCa1Click"},
                   {nullptr, nullptr, nullptr},
                   {"gasvla1", "gasvla", "CloseBtnClick"}});
        QVERIFY(!run.window->isVisible());
        QVERIFY(run.prompts.errors.isEmpty());
    }

    void actionsAndToolButtons()
    {
        Run run;
        run.show();
        MainActions &a = run.actions();
        struct ActionRow {
            QAction *action;
            const char *caption;
            const char *hint;
            const char *handler;
        };
        const ActionRow actions[] = {
            {a.ObjDetailAc, "obieqtis detalebi", "Detail", "ObjDetailAcExecute"},
            {a.ReaklamaAc, "sareklamo SemoTavazebis daTvaliereba", "sareklamo SemoTavazebis daTvaliereba",
             "ReaklamaAcExecute"},
            {a.ShowMepAc, "obieqtis miTiTeba rukaze", "Show", "ShowMepAcExecute"},
            {a.ShowDetMapAc, "obieqtis miTiTeba detalur rukaze", "", "ShowDetMapAcExecute"},
            {a.SearchAc, "saZiebeli", "Search", "SearchAcExecute"},
            {a.Im_ObjAc, "gaaqtiureba obieqtebis xeze ", "Activate", "Im_ObjAcExecute"},
            {a.ClearMapAc, "rukis gasufTaveba obieqtebisagan", "rukis gasufTaveba obieqtebisagan", "ClearMapAcExecute"},
            {a.ShowObjWithStopAc, "obieqtis Cveneba detalur rukaze mimdebare gaCerebebTan erTad", "",
             "ShowObjWithStopAcExecute"},
            {a.SelectAc, "moniSvna", "", "SelectAcExecute"},
            {a.ZoomInWindowAc, "aqtivacia", "", "ZoomInWindowAcExecute"},
        };
        for (const ActionRow &row : actions) {
            QCOMPARE(row.action->text(), QLatin1String(row.caption));
            // Without a hint of its own an action's tool tip is its caption.
            QCOMPARE(row.action->toolTip(), QLatin1String(*row.hint ? row.hint : row.caption));
            QVERIFY(row.action->shortcut().isEmpty());
            QCOMPARE(run.routed([&] { row.action->trigger(); }), QStringList{QLatin1String(row.handler)});
        }

        MainToolBar &t = run.toolBar();
        struct ButtonRow {
            QToolButton *button;
            const char *hint;
            const char *handler;
        };
        const ButtonRow buttons[] = {
            {t.ToolButton4, "saZIebeli", "SearchAcExecute"},
            {t.ToolButton8, "zomebis Secvla", "specialuri1Click"},
            {t.ToolButton17, "rukis gasufTaveba obieqtebisagan", "ClearMapAcExecute"},
            {t.ObjDetBtn, "obieqtis detalebi", "ObjDetailAcExecute"},
            {t.ReklamaBtn, "sareklamo SemoTavazebis daTvaliereba", "ReaklamaAcExecute"},
            {t.ObjGenMapBtn, "obieqtis miTiTeba rukaze", "ShowMepAcExecute"},
            {t.ObjDetMapBtn, "obieqtis miTiTeba detalur rukaze", "ShowDetMapAcExecute"},
            {t.StreetGenMapBtn, "quCis gaaqtiureba zogad rukaze", "StreetGenShowMnItClick"},
            {t.StreetDetMapBtn, "quCis miTiTeba detalur rukaze", "StreetDetShowMnItClick"},
            {t.StopGenMapBtn, "gaCerebis gaaqtiureba rukaze", "GenStopShowMnItClick"},
            {t.StopDetMapBtn, "gaCerebis miTiTeba detalur rukaze", "DetStopShowMnItClick"},
            {t.SelectBtn, "moniSvna", "SelectAcExecute"},
            {t.ToolButton12, "aqtivacia", "ZoomInWindowAcExecute"},
            {t.CloseBtn, "gasvla", "CloseBtnClick"},
        };
        for (const ButtonRow &row : buttons) {
            QCOMPARE(row.button->toolTip(), QLatin1String(row.hint));
            row.button->setEnabled(true);
            QCOMPARE(run.routed([&] { row.button->click(); }), QStringList{QLatin1String(row.handler)});
        }
        QVERIFY(!t.SelectBtn->isVisible() && !t.ToolButton12->isVisible());
        QVERIFY(!run.window->isVisible());
    }

    void eventsAreRoutedToTheirHandlers()
    {
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        // Keys typed into the search fields, lookups included, reach their tab's key handler,
        // whatever the key: each field is given the focus and the key goes where the focus is.
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        const auto pressInEach = [&](QWidget *tab, const QList<QWidget *> &fields, Qt::Key key,
                                     Qt::KeyboardModifiers modifiers, const char *handler) {
            w.PageControl->setCurrentWidget(tab);
            for (QWidget *field : fields) {
                field->setFocus();
                QCOMPARE(run.routed([&] { pressKey(QApplication::focusWidget(), key, modifiers); }).value(0),
                         QLatin1String(handler));
            }
        };
        pressInEach(w.obieqtiTSH, w.obieqtiTSH->searchFieldKeyTargets(), Qt::Key_Return, Qt::NoModifier, "RubrikaCbKeyDown");
        pressInEach(w.quCaTSh, w.quCaTSh->searchFieldKeyTargets(), Qt::Key_Enter, Qt::KeypadModifier, "quCisTipiCbKeyDown");
        pressInEach(w.TransportiTSH, w.TransportiTSH->searchFieldKeyTargets(), Qt::Key_A, Qt::NoModifier,
                    "TransportisTipiEdKeyDown");
        w.PageControl->setCurrentWidget(w.obieqtiTSH);
        // Keys elsewhere in the tab are not search keys.
        QVERIFY(run.routed([&] { pressKey(w.obieqtiTSH->ObjectGrid, Qt::Key_Return); }).isEmpty());

        // Double clicks in the lists.
        const auto doubleClick = [&](QTreeView *list) {
            return run.routed([list] { QTest::mouseDClick(list->viewport(), Qt::LeftButton); });
        };
        QVERIFY(doubleClick(w.obieqtiTSH->ObjectGrid).contains(QStringLiteral("ObjDetailAcExecute")));
        QVERIFY(doubleClick(w.quCaTSh->StreetGrid).contains(QStringLiteral("StreetGenShowMnItClick")));
        QVERIFY(doubleClick(w.TransportiTSH->TransportiGrid).contains(QStringLiteral("GenStopShowMnItClick")));

        // The object list's focused record.
        QCOMPARE(run.routed([&] { run.dm.obieqti_logo_Qr.setCurrentRow(2); }),
                 names({"ObjectGridTableViewFocusedRecordChanged"}));

        // The rubric lookup's drop-down closing; the panels' buttons.
        QCOMPARE(run.routed([&] {
                     w.obieqtiTSH->RubrikaCb->showPopup();
                     w.obieqtiTSH->RubrikaCb->hidePopup();
                 }),
                 names({"RubrikaCbCloseUp"}));
        QCOMPARE(run.routed([&] { w.obieqtiTSH->Obj_FilterBtn->click(); }).value(0), QStringLiteral("Obj_FilterBtnClick"));
        QCOMPARE(run.routed([&] { w.obieqtiTSH->ClearBtn->click(); }).value(0), QStringLiteral("ClearBtnClick"));
        QCOMPARE(run.routed([&] { w.quCaTSh->Street_FilterBtn->click(); }), names({"Street_FilterBtnClick"}));
        QCOMPARE(run.routed([&] { w.quCaTSh->SpeedButton1->click(); }), names({"SpeedButton1Click"}));
        QCOMPARE(run.routed([&] { w.TransportiTSH->Transp_FilterBtn->click(); }), names({"Transp_FilterBtnClick"}));
        QCOMPARE(run.routed([&] { w.TransportiTSH->SpeedButton4->click(); }), names({"SpeedButton4Click"}));

        // A click on the zoom editor applies the zoom.
        ZoomSpinBox *zoom = run.toolBar().ZoomEd;
        QCOMPARE(run.routed([&] { QTest::mouseClick(zoom->findChild<QLineEdit *>(), Qt::LeftButton); }),
                 names({"specialuri1Click"}));

        // The popup menus open on the lists and the map.
        QMenu *graph = run.actions().GraphPopupMenu;
        QWidget *mapViewport = w.ScrollBox->viewport();
        QContextMenuEvent mapMenu(QContextMenuEvent::Mouse, QPoint(5, 5), mapViewport->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(mapViewport, &mapMenu);
        QTRY_VERIFY(graph->isVisible());
        graph->hide();
        QMenu *objects = run.actions().ObjectTreeViewPopupMenu;
        Q_EMIT w.obieqtiTSH->ObjectGrid->customContextMenuRequested(QPoint(5, 5));
        QTRY_VERIFY(objects->isVisible());
        objects->hide();
        QVERIFY(run.prompts.errors.isEmpty());
    }

    // Ctrl+C on a list's row copies its name in Georgian letters: a group's text, a record's name.
    void copyingARowGivesItsNameInGeorgianLetters()
    {
        Run run;
        run.show();
        TMainFrm &w = *run.window;
        struct Case {
            QWidget *tab;
            GroupedListView *list;
            QStringList path; // group texts, then a record's shown name or "" for the first record
            QString copied;
        };
        const QList<Case> cases = {
            {w.obieqtiTSH, w.obieqtiTSH->ObjectGrid, {QStringLiteral("bankebi")}, QStringLiteral("ბანკები")},
            {w.obieqtiTSH, w.obieqtiTSH->ObjectGrid,
             {QStringLiteral("bankebi"), QStringLiteral("mikrosafinanso"), QStringLiteral("kredo"), QString()},
             QStringLiteral("კრედო")},
            {w.quCaTSh, w.quCaTSh->StreetGrid, {QStringLiteral("vake"), QStringLiteral("abaSiZis quCa")},
             QStringLiteral("აბაშიძის ქუჩა")},
            {w.TransportiTSH, w.TransportiTSH->TransportiGrid, {QStringLiteral("metro"), QStringLiteral("M1")},
             QStringLiteral("მ1")},
            {w.TransportiTSH, w.TransportiTSH->TransportiGrid,
             {QStringLiteral("metro"), QStringLiteral("M1"), QStringLiteral("didube")}, QStringLiteral("დიდუბე")},
        };
        for (const Case &c : cases) {
            w.PageControl->setCurrentWidget(c.tab);
            PersonInput::focusField(c.list);
            const GroupedListModel &model = *c.list->listModel();
            const int nameColumn = std::max(0, model.columnOf(QStringLiteral("saxeli")));
            QModelIndex row;
            for (const QString &step : c.path) {
                if (row.isValid() && !c.list->isExpanded(row)) {
                    PersonInput::clickRow(*c.list, row);
                    QTest::keyClick(PersonInput::focused(), Qt::Key_Right);
                }
                const QModelIndex parent = row;
                for (int i = 0; i < model.rowCount(parent); ++i) {
                    const QModelIndex child = model.index(i, 0, parent);
                    if (step.isEmpty() || model.groupText(child) == step
                        || model.index(i, nameColumn, parent).data().toString() == step) {
                        row = child;
                        break;
                    }
                }
                QVERIFY2(row.parent() == parent, qPrintable(step));
            }
            PersonInput::clickRow(*c.list, row);
            QTest::keyClick(PersonInput::focused(), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), c.copied);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
