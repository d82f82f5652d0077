#include "HostileCity.h"
#include "ProgramRig.h"
#include "app/MainActions.h"
#include "app/MainToolBar.h"
#include "app/SearchBoxCommands.h"
#include "catalogue/ObjectDetailsWindow.h"
#include "catalogue/ObjectMapCommands.h"
#include "catalogue/ObjectTab.h"
#include "common/CommandRunner.h"
#include "common/ZoomControl.h"
#include "map/MapArea.h"
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "platform/PrivateTempDirectory.h"
#include "streets/StreetTab.h"
#include "transit/NetworkLoader.h"
#include "transit/Planner.h"
#include "transit/RoutesAtStop.h"
#include "transport/TransportTab.h"
#include "widgets/ActiveLabel.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/SearchDropDown.h"
#include "widgets/ZoomSpinBox.h"

#include "TestChecks.h"

#include <QApplication>
#include <QClipboard>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

// The whole program on the hostile city: every command of every tab runs over records with
// broken pictures, hostile names, NULLs, unknown sheets and repeated keys. Nothing may crash or
// hang, every failure reaches the default error report as a message, and the program stays usable.
namespace {

const QString NothingFound = QStringLiteral("aseTi obieqti ar iZebneba");
const QString UnknownSheet = QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia");
const QString NoSheetCode = QStringLiteral("rukis rekviziti arakoreqtulia, obieqtis Cveneba rukaze SeuZlebelia");

// Texts typed into every search field.
QStringList hostileTexts()
{
    return {QString(10000, QLatin1Char('x')), QStringLiteral(" "), QStringLiteral("'"), QStringLiteral("\"'\""),
            QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("\\"), QStringLiteral("'; DROP TABLE obieqti; --"),
            QStringLiteral("ქართული 𝄞"), QStringLiteral("a\nb")};
}

// Closes every modal window as soon as it appears (after `act` has had its way with it), so that
// commands that show one return; records the classes seen.
class ModalCloser : public QObject {
public:
    std::function<void(QWidget *)> act;
    QStringList seen;

    ModalCloser()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || m_busy)
                return;
            m_busy = true;
            seen << QLatin1String(modal->metaObject()->className());
            if (act)
                act(modal);
            modal->close();
            m_busy = false;
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
    bool m_busy = false;
};

// The first record of `records` whose key, read as a number (empty as 0), is `key`; -1 if none.
int firstRecordOf(const DataSet &records, const QString &keyColumn, int key)
{
    const int column = records.requireColumn(keyColumn);
    for (int row = 0; row < records.recordCount(); ++row)
        if (records.valueAt(row, column).toLongLong() == key)
            return row;
    return -1;
}

// The only failures of the map commands are sheets that are missing: each report names the file.
void checkOnlyMissingSheets(const QStringList &errors)
{
    static const QRegularExpression missingSheet(QStringLiteral("^Cannot load the picture \\.\\\\Raster\\\\.*\\.jpg\\.$"));
    for (const QString &error : errors)
        QVERIFY2(missingSheet.match(error).hasMatch(), qPrintable(error));
}

struct Rig : ProgramRig {
    CommandRunner runner{prompts};
    ObjectMapCommands objectMap{dm, state(), prompts, mapEngine(), *window->obieqtiTSH->ObjectGrid};
    ModalCloser modals;

    // `prepare` may change the city before the program starts.
    explicit Rig(const std::function<void(FixtureCity &)> &prepare = {}) : ProgramRig(HostileCity::recipe(), prepare)
    {
        show();
        objectMap.setDecimalSeparator(QStringLiteral("."));
    }

    MainActions &actions() { return *window->actions; }
    ObjectTab &objectTab() { return *window->obieqtiTSH; }
    DataSet &objects() { return dm.obieqti_logo_Qr; }
    bool focus(int key) { return objects().locate(QStringLiteral("obieqtis_kodi"), key); }

    // Each row of the list made current in turn, with the list painted into a pixmap at each:
    // every picture cell is decoded and drawn. Returns the number of rows visited; `tallest`
    // receives the height of the tallest row.
    int walkRows(GroupedListView &list, int *tallest = nullptr)
    {
        list.expandAll();
        int rows = 0;
        for (QModelIndex index = list.model()->index(0, 0); index.isValid(); index = list.indexBelow(index)) {
            list.setCurrentIndex(index);
            list.scrollTo(index);
            const QPixmap shot = list.grab();
            if (shot.isNull())
                return -1;
            if (tallest)
                *tallest = qMax(*tallest, list.visualRect(index).height());
            ++rows;
        }
        return rows;
    }

    // Runs `command` for every record of a data set made current in turn.
    void forEachRecord(DataSet &records, const std::function<void()> &command)
    {
        for (int row = 0; row < records.recordCount(); ++row) {
            records.setCurrentRow(row);
            command();
        }
    }

    // A search with each entry of a list picked in turn, then the search cleared.
    static void searchByEveryEntry(QComboBox &list, QAbstractButton &search, QAbstractButton &clear)
    {
        for (int i = 0; i < list.count(); ++i) {
            list.setCurrentIndex(i);
            search.click();
        }
        clear.click();
    }

    // Every one of `commands` on every record of `records`; only missing sheets may be reported.
    void runOnEveryRecord(DataSet &records, std::initializer_list<QAction *> commands)
    {
        prompts.clear();
        for (QAction *command : commands)
            forEachRecord(records, [&] { command->trigger(); });
        checkOnlyMissingSheets(prompts.errors);
    }

    // Types `text` into an empty search field as a person would, then presses Enter.
    void type(QWidget *field, const QString &text)
    {
        window->activateWindow();
        QTRY_VERIFY(window->isActiveWindow());
        field->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    // The tooltip shown when the pointer rests on `pos` of `widget`, as the user reads it.
    static QString toolTipAt(QWidget *widget, const QPoint &pos)
    {
        QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
        QCoreApplication::sendEvent(widget, &help);
        return shownByAutoText(QToolTip::text());
    }

    void search(const QString &name)
    {
        objectTab().ObieqtiEd->setText(name);
        objectTab().Obj_FilterBtn->click();
    }

    // A plain search still finds the sound object: the program is usable.
    void stillUsable()
    {
        objectTab().ClearBtn->click();
        prompts.clear();
        window->PageControl->setCurrentWidget(window->obieqtiTSH);
        search(QStringLiteral("Cveulebrivi"));
        QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n'))));
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(focus(Hostile::NormalObject));
        actions().ShowDetMapAc->trigger();
        QCOMPARE(state().CurrentMapName, QStringLiteral("A1"));
        QVERIFY(mapEngine().area.findItem(QStringLiteral("Obj_%1").arg(Hostile::NormalObject)));
    }
};

} // namespace

class TestHostileCity : public QObject {
    Q_OBJECT
    QTemporaryDir m_outer; // holds the program's temporary directory two levels down
    QString m_temp;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_outer.isValid());
        m_temp = m_outer.path() + QStringLiteral("/a/tmp");
        QVERIFY(QDir().mkpath(m_temp));
        qputenv("TMPDIR", m_temp.toLocal8Bit());
    }

    void cleanupTestCase()
    {
        // Nothing was written outside the program's own folder in the temporary directory (the
        // word processor's documents beside it), however the stored names read.
        const QString own = QDir(privateTempDirectory()).absolutePath();
        QDirIterator outside(m_outer.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                             QDirIterator::Subdirectories);
        while (outside.hasNext()) {
            const QString path = outside.next();
            const QString folder = QFileInfo(path).absolutePath();
            QVERIFY2(path == m_outer.path() + QStringLiteral("/a") || path == m_temp || folder == m_temp || folder == own,
                     qPrintable(path));
        }
    }

    void startsAndPaintsEveryListRow()
    {
        Rig rig;
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));

        // The object list: each focus also places the logo marker on the general map. A picture
        // whose header claims 1 x 65,000 pixels does not make its row that tall.
        int tallest = 0;
        QVERIFY(rig.walkRows(*rig.objectTab().ObjectGrid, &tallest) > rig.objects().recordCount());
        QVERIFY2(tallest < 400, qPrintable(QString::number(tallest)));
        rig.forEachRecord(rig.objects(), [] {});
        QVERIFY(!rig.focus(Hostile::NoLogoRowObject));
        QVERIFY(!rig.focus(Hostile::NoSubRubricObject));

        rig.window->PageControl->setCurrentWidget(rig.window->quCaTSh);
        QVERIFY(rig.walkRows(*rig.window->quCaTSh->StreetGrid) > 0);
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        QVERIFY(rig.walkRows(*rig.window->TransportiTSH->TransportiGrid) > 0);
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
        rig.stillUsable();
    }

    // The data sets keep their cells compactly (and read SQLite through its own interface): every
    // cell must read as the database driver gives it, type and nullness included. Rows are
    // compared as sets: a server need not give them in the same order twice.
    void dataSetsHoldTheDriversValues()
    {
        Rig rig;
        DataModule &dm = rig.dm;
        const auto described = [](const QVariant &cell) {
            return QStringLiteral("%1 %2 '%3'").arg(QLatin1String(cell.metaType().name()),
                                                    cell.isNull() ? QStringLiteral("null") : QString(), cell.toString());
        };
        for (DataSet *set : {&dm.obieqtiQr, &dm.quCa_Qr, &dm.kavS_transporti_gaCereba_Qr, &dm.rubrikaQr}) {
            set->close();
            set->open();
            QStringList held;
            for (int row = 0; row < set->recordCount(); ++row) {
                QStringList cells;
                for (int c = 0; c < set->columns().size(); ++c)
                    cells.append(described(set->valueAt(row, c)));
                held.append(cells.join(QLatin1Char('|')));
            }
            QStringList given;
            QSqlQuery query(dm.ADOConn.database());
            QVERIFY(query.exec(set->sql()));
            while (query.next()) {
                QStringList cells;
                for (const QString &column : set->columns())
                    cells.append(described(query.value(column)));
                given.append(cells.join(QLatin1Char('|')));
            }
            held.sort();
            given.sort();
            QCOMPARE(held, given);
        }
    }

    void objectSearchTakesAnyText()
    {
        Rig rig;
        ObjectTab &tab = rig.objectTab();
        const QList<QLineEdit *> lookups = {tab.RubrikaCb->lineEdit(), tab.QveRubrikaCb->lineEdit(),
                                            tab.ObieqtisRaioniCb->lineEdit()};
        for (QWidget *field : tab.searchFieldKeyTargets()) {
            auto *lookup = qobject_cast<LookupEditor *>(field);
            QLineEdit *edit = lookup ? lookup->lineEdit() : qobject_cast<QLineEdit *>(field);
            QVERIFY(edit);
            for (const QString &text : hostileTexts()) {
                rig.prompts.clear();
                edit->setText(text);
                tab.Obj_FilterBtn->click();
                if (lookups.contains(edit)) {
                    // A lookup text that names no entry has no key: the search is refused, and the
                    // message says that there is no such entry.
                    QCOMPARE(rig.prompts.errors.size(), 1);
                    QVERIFY2(rig.prompts.errors.first().startsWith(QLatin1String("There is no ")),
                             qPrintable(rig.prompts.errors.first()));
                    QVERIFY(!rig.objects().isOpen());
                } else {
                    // Quotes are searched for, never run: a search finds rows or says that it found none.
                    QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
                    QVERIFY(rig.prompts.messages.isEmpty() || rig.prompts.messages == QStringList{NothingFound});
                    QVERIFY(rig.objects().isOpen());
                    QVERIFY(rig.walkRows(*tab.ObjectGrid) >= 0);
                }
                tab.ClearBtn->click();
            }
        }
        // "%" and "_" are wildcards: they find every named object, the object named "%_" too.
        rig.search(QStringLiteral("%_"));
        QVERIFY(rig.focus(Hostile::PercentObject));
        QVERIFY(rig.focus(Hostile::NormalObject));

        // Every rubric, sub-rubric and district picked from the lookups, NULL names and repeated
        // keys included. An entry without a key is refused like a name typed by hand.
        for (LookupEditor *lookup : {tab.RubrikaCb, tab.QveRubrikaCb, tab.ObieqtisRaioniCb}) {
            for (int i = 0; i < lookup->count(); ++i) {
                rig.prompts.clear();
                tab.ClearBtn->click();
                lookup->setCurrentIndex(i);
                tab.RubrikaCbCloseUp();
                tab.Obj_FilterBtn->click();
                QCOMPARE(rig.prompts.errors.size(), lookup->isFilled() && lookup->key().isEmpty() ? 1 : 0);
            }
        }
        rig.stillUsable();
    }

    // A backslash is an ordinary character in every search, on every backend, even on a server
    // that reads backslashes in string literals as escapes; "%" and "_" stay wildcards, and "!"
    // (the escape character the searches name) stands for itself.
    void backslashesAreLiteralOnEveryBackend()
    {
        Rig rig([](FixtureCity &city) {
            if (FixtureCity::backend() == FixtureCity::Backend::PostgreSQL)
                city.execSql(QStringLiteral("ALTER DATABASE %1 SET standard_conforming_strings TO off")
                                 .arg(Connection::parse(city.connectionString()).value(QStringLiteral("database"))));
        });
        ObjectTab &objects = rig.objectTab();
        StreetTab &streets = *rig.window->quCaTSh;
        TransportTab &transport = *rig.window->TransportiTSH;
        DataSet &routeStops = rig.dm.kavS_transporti_gaCereba_Qr;
        struct Case {
            QWidget *field;
            QString text;
            DataSet *found;
            const char *column;
            QStringList values; // the distinct values of `column` found, in order
        };
        const QString object = QString::number(Hostile::BackslashObject);
        const QString longName = QString::number(Hostile::LongNameObject); // "... \d\ ...", address "... \"
        const QList<Case> cases = {
            {objects.ObieqtiEd, QStringLiteral("back\\slash"), &rig.objects(), "obieqtis_kodi", {object}},
            {objects.ObieqtiEd, QStringLiteral("\\"), &rig.objects(), "obieqtis_kodi", {longName, object}},
            {objects.ObieqtiEd, QStringLiteral("\\d\\"), &rig.objects(), "obieqtis_kodi", {longName}},
            {objects.ObieqtiEd, QStringLiteral("\\%"), &rig.objects(), "obieqtis_kodi", {longName, object}},
            {objects.ObieqtiEd, QStringLiteral("\\\\"), &rig.objects(), "obieqtis_kodi", {}},
            {objects.ObieqtiEd, QStringLiteral("!"), &rig.objects(), "obieqtis_kodi", {object}},
            {objects.misamarTiEd, QStringLiteral("\\"), &rig.objects(), "obieqtis_kodi", {longName, object}},
            {objects.telefoniEd, QStringLiteral("\\\\"), &rig.objects(), "obieqtis_kodi", {object}},
            {streets.quCisSaxeliEd, QStringLiteral("\\"), &rig.dm.quCa_Qr, "quCa_kodi", {QStringLiteral("3"), QStringLiteral("10")}},
            {streets.quCisSaxeliEd, QStringLiteral("\\_"), &rig.dm.quCa_Qr, "quCa_kodi", {QStringLiteral("3"), QStringLiteral("10")}},
            {streets.quCisSaxeliEd, QStringLiteral("back\\slash"), &rig.dm.quCa_Qr, "quCa_kodi", {QStringLiteral("10")}},
            {transport.GaCerebaEd, QStringLiteral("\\"), &routeStops, "gaCereba_kodi", {QStringLiteral("3"), QStringLiteral("10")}},
            {transport.TransportiSaxeliEd, QStringLiteral("a\\b"), &routeStops, "saxeoba", {QStringLiteral("a\\b")}},
            {transport.TransportiSaxeliEd, QStringLiteral("%\\"), &routeStops, "saxeoba", {QStringLiteral("%_'\\")}},
            {transport.TransportiSaxeliEd, QStringLiteral("\\"), &routeStops, "saxeoba", {}},
        };
        for (const Case &c : cases) {
            QWidget *tab = c.field == objects.ObieqtiEd || c.field == objects.misamarTiEd || c.field == objects.telefoniEd
                               ? static_cast<QWidget *>(&objects)
                           : c.field == streets.quCisSaxeliEd ? static_cast<QWidget *>(&streets)
                                                              : static_cast<QWidget *>(&transport);
            rig.window->PageControl->setCurrentWidget(tab);
            for (QAbstractButton *clear : {objects.ClearBtn, streets.SpeedButton1, transport.SpeedButton4})
                clear->click();
            rig.prompts.clear();
            rig.type(c.field, c.text);
            const QString context = c.text + QLatin1Char(' ') + c.field->objectName();
            QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(context + rig.prompts.errors.join(QLatin1Char('\n'))));
            QVERIFY2(c.found->isOpen(), qPrintable(context));
            QStringList values;
            for (int row = 0; row < c.found->recordCount(); ++row) {
                const QString value = c.found->valueAt(row, c.found->columnIndex(QLatin1String(c.column))).toString();
                if (!values.contains(value))
                    values << value;
            }
            std::sort(values.begin(), values.end(), [](const QString &a, const QString &b) {
                return a.size() != b.size() ? a.size() < b.size() : a < b;
            });
            QVERIFY2(values == c.values, qPrintable(context + QStringLiteral(": ") + values.join(QLatin1Char(','))));
        }
    }

    // Markup in the database is shown as the text it is: in the details window, in the tooltips of
    // the object list and of the map markers. Nothing is drawn bold, as a link or as a picture.
    void markupIsShownAsPlainText()
    {
        Rig rig;
        QVERIFY(rig.focus(Hostile::MarkupObject));
        const QString name = rig.objects().text(QStringLiteral("saxeli"));
        QVERIFY(name.contains(QLatin1String("<img ")));

        QStringList shown;
        rig.modals.act = [&shown](QWidget *modal) {
            if (auto *details = qobject_cast<TObieqtiDetFrm *>(modal)) {
                for (const QLabel *label :
                     {details->NameText, details->RaioniLb, details->misamarTiLb, details->telefoniLb, details->faxLb})
                    shown << (label->textFormat() == Qt::PlainText ? label->text() : shownByAutoText(label->text()));
            }
        };
        rig.actions().ObjDetailAc->trigger();
        QCOMPARE(shown, (QStringList{name, QStringLiteral("<u>raioni</u>"), QStringLiteral("<b>misamarTi</b> 20"),
                                     QStringLiteral("<a href='http://x/'>call</a>"), QStringLiteral("<h1>BIG</h1>")}));

        // The object's row in the list, then its marker and label on the map.
        GroupedListView &list = *rig.objectTab().ObjectGrid;
        list.expandAll();
        const QModelIndexList rows = list.model()->match(list.model()->index(0, 0), Qt::DisplayRole, name, 1,
                                                         Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(rows.size(), 1);
        list.scrollTo(rows.first());
        QCOMPARE(Rig::toolTipAt(list.viewport(), list.visualRect(rows.first()).center()), name);
        rig.actions().ShowMepAc->trigger();
        MapArea &map = rig.mapEngine().area;
        for (const QString &item : {QStringLiteral("Obj_%1"), QStringLiteral("Lb_%1")}) {
            const MapItem *marker = map.findItem(item.arg(Hostile::MarkupObject));
            QVERIFY(marker);
            const QPoint inside = map.contentToGlobal(marker->pos() + QPoint(2, 2));
            QCOMPARE(Rig::toolTipAt(map.viewport(), map.viewport()->mapFromGlobal(inside)), name);
        }
        QVERIFY(rig.prompts.errors.isEmpty());
    }

    // The temporary copies go into a folder of the program's own, which no other user can enter,
    // and a symbolic link under one of their names is never followed: a file elsewhere that such
    // a link points at is left untouched.
    void temporaryCopiesIgnorePlantedLinks()
    {
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(QStringLiteral("precious.txt"));
        const auto victimIntact = [&victim] {
            QFile file(victim);
            return file.open(QIODevice::ReadOnly) && file.readAll() == "precious";
        };
        {
            QFile file(victim);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("precious");
        }
        const QStringList names = {QStringLiteral("ForMap.jpg"), QStringLiteral("ForDetailWidow.jpg"),
                                   QStringLiteral("offer.pdf")};
        // Links planted where the copies are named in the shared temporary directory.
        for (const QString &name : names)
            QVERIFY(QFile::link(victim, m_temp + QLatin1Char('/') + name));

        Rig rig;
        QVERIFY(rig.focus(Hostile::NormalObject));
        rig.actions().ShowMepAc->trigger();
        rig.actions().ObjDetailAc->trigger();
        rig.actions().ReaklamaAc->trigger();
        QVERIFY(rig.prompts.errors.isEmpty());
        QVERIFY(victimIntact());
        const QString own = privateTempDirectory();
        QCOMPARE(QFileInfo(QFileInfo(own + names.first()).absolutePath()).absolutePath(), m_temp);
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(own).permissions() & others, QFileDevice::Permissions());
        for (const QString &name : names)
            QVERIFY2(QFileInfo(own + name).isFile() && !QFileInfo(own + name).isSymLink(), qPrintable(name));
        QCOMPARE(rig.desktop.openedFiles, QStringList{own + QStringLiteral("offer.pdf")});

        // Even in that folder, a link in a copy's place is refused, with a message.
        QVERIFY(QFile::remove(own + QStringLiteral("offer.pdf")));
        QVERIFY(QFile::link(victim, own + QStringLiteral("offer.pdf")));
        rig.actions().ReaklamaAc->trigger();
        QCOMPARE(rig.prompts.errors.size(), 1);
        QVERIFY2(rig.prompts.errors.first().contains(QLatin1String("symbolic link")), qPrintable(rig.prompts.errors.first()));
        QVERIFY(victimIntact());
        for (const QString &name : names)
            QFile::remove(m_temp + QLatin1Char('/') + name);
        QFile::remove(own + QStringLiteral("offer.pdf"));

        // The folder is looked at on every use: when it is gone, or a link stands in its place,
        // a new one is made (and the link, and the folder it points to, are left alone).
        QVERIFY(QDir(own).removeRecursively());
        rig.desktop.openedFiles.clear();
        rig.prompts.clear();
        rig.actions().ReaklamaAc->trigger();
        const QString remade = privateTempDirectory();
        QCOMPARE(rig.desktop.openedFiles, QStringList{remade + QStringLiteral("offer.pdf")});
        QVERIFY(QFileInfo(remade + QStringLiteral("offer.pdf")).isFile());
        QCOMPARE(QFileInfo(remade).permissions() & others, QFileDevice::Permissions());
        QVERIFY(QDir(remade).removeRecursively());
        QVERIFY(QFile::link(elsewhere.path(), remade.chopped(1)));
        rig.actions().ReaklamaAc->trigger();
        QVERIFY(QFileInfo(privateTempDirectory() + QStringLiteral("offer.pdf")).isFile());
        QVERIFY(QFileInfo(remade.chopped(1)).isSymLink());
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"precious.txt"});
        QVERIFY(victimIntact());
        QVERIFY(rig.prompts.errors.isEmpty());
        QFile::remove(remade.chopped(1));
    }

    void objectMapCommandsOnEveryRecord()
    {
        Rig rig;
        MainActions &a = rig.actions();
        // The logo follows the focus on the general map: a sound map picture shows; an empty one,
        // one of 1 x 65,000 pixels or one without a known sheet shows none; browsing never
        // brings up a message.
        const auto logoOf = [&rig](int key) {
            rig.focus(key);
            return rig.mapEngine().markers.LogoMarker().shown;
        };
        QCOMPARE(logoOf(Hostile::NormalObject), Hostile::NormalObject);
        for (int key : {Hostile::NullObject, Hostile::EmptySheetObject, Hostile::UnknownSheetObject,
                        Hostile::LowerCaseSheetObject, Hostile::MissingSheetObject})
            QCOMPARE(logoOf(key), 0);
        QCOMPARE(logoOf(Hostile::FarOffObject), Hostile::FarOffObject);
        QVERIFY(rig.prompts.messages.isEmpty() && rig.prompts.errors.isEmpty());

        const QList<QAction *> commands = {a.ShowMepAc, a.ShowDetMapAc, a.ShowObjWithStopAc,
                                           a.rubrukaSiSemvaliobieqtebisCvenebarukaze1, a.rubrikissruligaSla1,
                                           a.gazrda1, a.Semcireba1};
        for (QAction *command : commands) {
            rig.forEachRecord(rig.objects(), [&] {
                command->trigger();
                QVERIFY(rig.window->isVisible());
            });
        }
        checkOnlyMissingSheets(rig.prompts.errors);

        // What the user is told about each hostile place.
        const auto outcome = [&rig](int key, QAction *command) {
            rig.prompts.clear();
            rig.focus(key);
            command->trigger();
            return rig.prompts.messages + rig.prompts.errors;
        };
        QCOMPARE(outcome(Hostile::UnknownSheetObject, a.ShowDetMapAc), QStringList{UnknownSheet});
        QCOMPARE(outcome(Hostile::LowerCaseSheetObject, a.ShowDetMapAc), QStringList{UnknownSheet});
        QCOMPARE(outcome(Hostile::EmptySheetObject, a.ShowMepAc), QStringList{NoSheetCode});
        QCOMPARE(outcome(Hostile::NullObject, a.ShowDetMapAc), QStringList{NoSheetCode});
        // A missing sheet is reported each time, and the map shown keeps its name.
        QVERIFY(rig.focus(Hostile::NormalObject));
        a.ShowDetMapAc->trigger();
        for (int attempt = 0; attempt < 2; ++attempt) {
            const QStringList told = outcome(Hostile::MissingSheetObject, a.ShowDetMapAc);
            QCOMPARE(told.size(), 1);
            QVERIFY2(told.first().contains(QStringLiteral("F5.jpg")), qPrintable(told.first()));
            QCOMPARE(rig.state().CurrentMapName, QStringLiteral("A1"));
        }
        // A truncated sheet shows what could be decoded.
        QCOMPARE(outcome(Hostile::TruncatedSheetObject, a.ShowDetMapAc), QStringList());
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("B2"));
        // Far-off coordinates on a sheet that exists: the view goes as far as it can.
        QCOMPARE(outcome(Hostile::FarOffObject, a.ShowDetMapAc), QStringList());
        QVERIFY(rig.mapEngine().area.horizontalPosition() > 0);
        QCOMPARE(rig.mapEngine().area.verticalPosition(), 0);
        // Negative coordinates reach the nearby-stop query intact: the far-off stop lies beside it.
        QCOMPARE(outcome(Hostile::FarOffObject, a.ShowObjWithStopAc), QStringList());
        QVERIFY(rig.mapEngine().area.findItem(QStringLiteral("Stp_%1").arg(Hostile::FarOffStop)));

        // The marker under the pointer leads back to the list; the question answered both ways.
        QVERIFY(rig.focus(Hostile::NormalObject));
        a.ShowDetMapAc->trigger();
        const MapItem *normal = rig.mapEngine().area.findItem(QStringLiteral("Obj_%1").arg(Hostile::NormalObject));
        QVERIFY(normal);
        rig.objectMap.setPointerSource([&] { return rig.mapEngine().area.contentToGlobal(normal->pos()); });
        for (bool answer : {true, false}) {
            rig.prompts.clear();
            rig.prompts.answers << answer << answer;
            rig.runner.run([&] { rig.objectMap.Im_ObjAcExecute(); });
            QVERIFY(!rig.prompts.questions.isEmpty());
            QVERIFY(rig.prompts.errors.isEmpty());
        }
        rig.stillUsable();
    }

    // Every walk over a marker list (the show commands of the three tabs, the zoom, the hit test)
    // finds each marker's record by the key in its name, the first record where keys repeat, and
    // places, shows and hides the marker as that record says: on the general map at its place,
    // shown; on a sheet at its place when it lies there, else hidden (the zoom leaves such markers
    // alone); a marker without a record or a place is left as it was. Checked against the records
    // read apart, on a city where keys and names repeat.
    void markerWalksFollowTheFirstRecordOfEachKey()
    {
        Rig rig;
        MainActions &a = rig.actions();
        MarkerLayer &markers = rig.mapEngine().markers;
        // Each table read apart, as the commands' data sets hold it.
        struct Table {
            Table(Connection &connection, const QString &name, const QString &keyColumn)
                : records(name, connection, QStringLiteral("SELECT * FROM ") + name), key(keyColumn)
            {
                records.open();
            }
            DataSet records;
            QString key;
        };
        const Table objects(rig.dm.ADOConn, QStringLiteral("obieqti"), QStringLiteral("obieqtis_kodi"));
        const Table streets(rig.dm.ADOConn, QStringLiteral("quCa"), QStringLiteral("quCa_kodi"));
        const Table stops(rig.dm.ADOConn, QStringLiteral("gaCereba"), QStringLiteral("gaCereba_kodi"));

        enum class Walk { Show, Zoom };
        // Runs `command`, then checks every marker of `list` against the records of `table`.
        const auto check = [&](const char *what, const MarkerList &list, const Table &t, Walk walk, QAction *command) {
            QList<std::pair<QPoint, bool>> before;
            for (const Marker &m : list)
                before.append({m.picture->pos(), m.picture->isVisible()});
            QVERIFY2(!before.isEmpty(), what);
            command->trigger();
            QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
            const MainState &state = rig.state();
            const int zoom = rig.mapEngine().zoom.percent();
            for (int i = 0; i < list.count(); ++i) {
                const Marker &m = list[i];
                auto [pos, visible] = before[i];
                const int row = firstRecordOf(t.records, t.key, m.picture->key());
                if (row >= 0) {
                    const auto cell = [&](const char *column) { return t.records.valueAt(row, t.records.requireColumn(QLatin1String(column))); };
                    const QString code = cell("ruka_kodi").toString();
                    const double x = cell("x").toDouble(), y = cell("y").toDouble();
                    if (state.CurrentMapName == SheetGrid::generalMapName()) {
                        const SheetGrid::Viewport view{zoom, state.WLb, state.HLb, state.CurrentMapName};
                        if (const std::optional<QPoint> general = view.generalPixel(code, x, y)) {
                            pos = *general;
                            visible = visible || walk == Walk::Show;
                        }
                    } else if (code == state.CurrentMapName) {
                        pos = SheetGrid::Viewport{zoom, state.WLb, state.HLb, code}.sheetPixel(x, y);
                        visible = visible || walk == Walk::Show;
                    } else {
                        visible = visible && walk == Walk::Zoom;
                    }
                }
                const QString context = QStringLiteral("%1: %2").arg(QLatin1String(what), m.picture->name());
                QVERIFY2(m.picture->pos() == pos, qPrintable(context));
                QVERIFY2(m.picture->isVisible() == visible, qPrintable(context));
                if (m.label)
                    QVERIFY2(m.label->pos() == pos - QPoint(0, MarkerLayer::LabelOffset), qPrintable(context));
            }
        };

        // Objects: every listed object marked on the general map (the list holds each twice).
        rig.forEachRecord(rig.objects(), [&] { a.ShowMepAc->trigger(); });
        QVERIFY(rig.focus(Hostile::NormalObject));
        check("objects, general map", markers.ObjectMarkers(), objects, Walk::Show, a.ShowMepAc);
        // The object data set is left on the record of the last marker, as a locate per marker leaves it.
        QCOMPARE(rig.dm.obieqtiQr.currentRow(),
                 firstRecordOf(objects.records, objects.key, markers.ObjectMarkers()[markers.ObjectMarkers().count() - 1].picture->key()));
        check("objects, sheet A1", markers.ObjectMarkers(), objects, Walk::Show, a.ShowDetMapAc);
        check("objects, zoom on A1", markers.ObjectMarkers(), objects, Walk::Zoom, a.gazrda1);
        check("objects with stops, sheet A1", markers.ObjectMarkers(), objects, Walk::Show, a.ShowObjWithStopAc);
        check("objects, general map again", markers.ObjectMarkers(), objects, Walk::Show, a.ShowMepAc);
        check("objects, zoom on the general map", markers.ObjectMarkers(), objects, Walk::Zoom, a.Semcireba1);
        // The marker under the pointer leads to the first list row of its object.
        const MapItem *normal = rig.mapEngine().area.findItem(QStringLiteral("Obj_%1").arg(Hostile::NormalObject));
        QVERIFY(normal);
        rig.objectMap.setPointerSource([&] { return rig.mapEngine().area.contentToGlobal(normal->pos()); });
        rig.prompts.answers << false;
        QVERIFY(rig.focus(Hostile::MarkupObject));
        rig.runner.run([&] { rig.objectMap.Im_ObjAcExecute(); });
        QCOMPARE(rig.prompts.questions.size(), 1);
        const int asked = rig.objects().value(QStringLiteral("obieqtis_kodi")).toInt();
        QVERIFY(asked != Hostile::MarkupObject);
        QCOMPARE(rig.objects().currentRow(), firstRecordOf(rig.objects(), objects.key, asked));

        // Streets: every street marked on the general map.
        rig.window->PageControl->setCurrentWidget(rig.window->quCaTSh);
        QVERIFY(rig.dm.quCa_Qr.isOpen() || rig.dm.quCa_Qr.isLoading());
        rig.dm.quCa_Qr.open();
        rig.forEachRecord(rig.dm.quCa_Qr, [&] { a.StreetGenShowMnIt->trigger(); });
        QVERIFY(rig.dm.quCa_Qr.locate(streets.key, 1));
        check("streets, general map", markers.StreetMarkers(), streets, Walk::Show, a.StreetGenShowMnIt);
        QCOMPARE(rig.dm.Qr.currentRow(),
                 firstRecordOf(streets.records, streets.key, markers.StreetMarkers()[markers.StreetMarkers().count() - 1].picture->key()));
        check("streets, sheet A1", markers.StreetMarkers(), streets, Walk::Show, a.StreetDetShowMnIt);
        check("streets, zoom on A1", markers.StreetMarkers(), streets, Walk::Zoom, a.gazrda1);
        check("streets, general map again", markers.StreetMarkers(), streets, Walk::Show, a.StreetGenShowMnIt);

        // Stops: every route on the general map.
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        DataSet &routeStops = rig.dm.kavS_transporti_gaCereba_Qr;
        rig.forEachRecord(routeStops, [&] { a.marSrutisCvenebazogadrukaze1->trigger(); });
        QVERIFY(routeStops.locate(stops.key, 1));
        check("stops, general map", markers.StopMarkers(), stops, Walk::Show, a.GenStopShowMnIt);
        check("stops, sheet A1", markers.StopMarkers(), stops, Walk::Show, a.DetStopShowMnIt);
        check("stops, zoom on A1", markers.StopMarkers(), stops, Walk::Zoom, a.Semcireba1);
        check("stops, general map again", markers.StopMarkers(), stops, Walk::Show, a.GenStopShowMnIt);
        check("stops, zoom on the general map", markers.StopMarkers(), stops, Walk::Zoom, a.gazrda1);
    }

    void detailsWindowAndAdvertisingFiles()
    {
        Rig rig;
        rig.desktop.wordProcessorInstalled = true;
        // In each details window: the advertising file, the export, the e-mail and the web link.
        rig.modals.act = [](QWidget *modal) {
            auto *details = qobject_cast<TObieqtiDetFrm *>(modal);
            if (!details)
                return;
            details->BitBtn3->click();
            details->BitBtn2->click();
            Q_EMIT details->emailLb->doubleClicked();
            Q_EMIT details->websiteLb->clicked();
        };
        rig.forEachRecord(rig.objects(), [&] {
            rig.actions().ObjDetailAc->trigger();
            rig.actions().ReaklamaAc->trigger();
        });
        QCOMPARE(rig.modals.seen.size(), rig.objects().recordCount());
        QVERIFY(!rig.desktop.documents.isEmpty());
        // Only web pages are handed on; a file address from the database is refused (once for
        // each of the object's two list rows). Nothing else fails.
        QVERIFY(!rig.desktop.openedLinks.isEmpty());
        for (const QString &link : rig.desktop.openedLinks)
            QVERIFY2(QUrl::fromUserInput(link).scheme().startsWith(QLatin1String("http")), qPrintable(link));
        QCOMPARE(rig.prompts.errors, QStringList(2, QStringLiteral("\"file:///etc/passwd\" is not a web address.")));

        // Every advertising file went into the program's own temporary folder under a name of its own.
        QVERIFY(!rig.desktop.openedFiles.isEmpty());
        const QString temp = QDir(privateTempDirectory()).absolutePath();
        for (const QString &path : rig.desktop.openedFiles) {
            QCOMPARE(QFileInfo(path).absolutePath(), temp);
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        }
        const auto written = [&rig](int key) {
            rig.desktop.openedFiles.clear();
            rig.prompts.clear();
            rig.focus(key);
            rig.actions().ReaklamaAc->trigger();
            return rig.desktop.openedFiles.isEmpty() ? QString() : QFileInfo(rig.desktop.openedFiles.first()).fileName();
        };
        QCOMPARE(written(Hostile::LongNameObject), QStringLiteral("x.pdf"));
        QCOMPARE(written(Hostile::NullObject), QStringLiteral("advertising"));
        QCOMPARE(written(Hostile::DotFileObject), QStringLiteral("advertising"));
        QCOMPARE(written(Hostile::NamelessFileObject), QStringLiteral("advertising"));
        QCOMPARE(written(Hostile::LongFileObject).size(), 255);
        const QString georgian = written(Hostile::GeorgianFileObject);
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
        QVERIFY(georgian.endsWith(QStringLiteral(".pdf")));
        QVERIFY(georgian.toUtf8().size() <= 255);
        rig.stillUsable();
    }

    void streetTab()
    {
        Rig rig;
        StreetTab &tab = *rig.window->quCaTSh;
        rig.window->PageControl->setCurrentWidget(&tab);
        for (const QString &text : hostileTexts()) {
            rig.prompts.clear();
            tab.quCisSaxeliEd->setText(text);
            tab.Street_FilterBtn->click();
            QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
            tab.SpeedButton1->click();
        }
        Rig::searchByEveryEntry(*tab.quCisTipiCb, *tab.Street_FilterBtn, *tab.SpeedButton1);
        MainActions &a = rig.actions();
        rig.runOnEveryRecord(rig.dm.quCa_Qr, {a.raionSiSemavaliyvelaquCismiTiTeba1, a.StreetGenShowMnIt,
                                              a.StreetDetShowMnIt, a.gazrda1, a.MenuItem9, a.Semcireba1});
        rig.stillUsable();
    }

    void transportTab()
    {
        Rig rig;
        TransportTab &tab = *rig.window->TransportiTSH;
        rig.window->PageControl->setCurrentWidget(&tab);
        for (QLineEdit *field : {tab.TransportiSaxeliEd, tab.GaCerebaEd}) {
            for (const QString &text : hostileTexts()) {
                rig.prompts.clear();
                field->setText(text);
                tab.Transp_FilterBtn->click();
                QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
                tab.SpeedButton4->click();
            }
        }
        Rig::searchByEveryEntry(*tab.TransportisTipiEd, *tab.Transp_FilterBtn, *tab.SpeedButton4);
        MainActions &a = rig.actions();
        rig.runOnEveryRecord(rig.dm.kavS_transporti_gaCereba_Qr,
                             {a.transportisgaSla1, a.marSrutisCvenebazogadrukaze1, a.GenStopShowMnIt,
                              a.DetStopShowMnIt, a.gazrda1, a.MenuItem14, a.Semcireba1, a.marSrutebigaCerebaze1});
        // The routes at the last stop, whatever their names: each shows when chosen.
        auto *routes = rig.window->findChild<QMenu *>(QStringLiteral("marSrutebiPM"));
        QVERIFY(routes);
        rig.prompts.clear();
        for (QAction *entry : routes->actions())
            if (entry->isEnabled() && !entry->isSeparator())
                entry->trigger();
        routes->hide();
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));

        // A route that passes a stop twice (and whose stop key is held twice) marks it once; its
        // far-off stop is marked too.
        a.ClearMapAc->trigger();
        QVERIFY(rig.dm.kavS_transporti_gaCereba_Qr.locate(QStringLiteral("saxeoba"), QStringLiteral("1")));
        a.marSrutisCvenebazogadrukaze1->trigger();
        QStringList marked;
        for (const Marker &marker : rig.mapEngine().markers.StopMarkers())
            marked << marker.picture->name();
        QCOMPARE(marked.count(QStringLiteral("Stp_1")), 1);
        QVERIFY(marked.contains(QStringLiteral("Stp_%1").arg(Hostile::FarOffStop)));
        rig.stillUsable();
    }

    // The journey planner on the same tables: repeated keys, NULLs, far-off and unknown
    // positions, a stop twice on a route, links to nothing. Every pair of stops is planned and
    // every stop's routes listed without a crash; the sound stops still find their ride.
    void journeysBetweenEveryStop()
    {
        FixtureCity city(HostileCity::recipe());
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        const std::shared_ptr<const Network> network =
            Network::build(NetworkLoader::readTables(dm.ADOConn.database()), CityFrame::tbilisi());
        QCOMPARE(network->notes().unplacedStops, 4);
        QCOMPARE(network->notes().repeatedStopCodes, 1);
        QCOMPARE(network->notes().unusableLinks, 4);
        Planner planner(network);
        int visits = 0;
        for (int from = 0; from < network->stops().size(); ++from) {
            visits += int(routesAtStop(*network, from).size());
            for (int to = 0; to < network->stops().size(); ++to)
                planner.plan(Endpoints::atStop(*network, from), Endpoints::atStop(*network, to));
        }
        QVERIFY(visits > 0);
        const Planner::Result ride = planner.plan(Endpoints::atStop(*network, network->stopIndex(Hostile::NormalStop)),
                                                  Endpoints::atStop(*network, network->stopIndex(5)));
        QCOMPARE(ride.journeys.size(), 1);
        QCOMPARE(ride.journeys[0].legs.size(), 1);
        QCOMPARE(ride.journeys[0].legs[0].stopsMoved, 2); // obieqtTan, gatexili furceli, ararsebuli furceli
    }

    void searchBox()
    {
        Rig rig;
        QTRY_COMPARE(rig.window->search().state(), SearchService::State::Ready);
        QLineEdit &box = *rig.window->ToolBar->searchBox;
        // Hostile texts pasted, each result picked in turn: only missing sheets may be reported,
        // and a name with a line break is shown on its tab like any other.
        for (const QString &text : hostileTexts() + QStringList{QStringLiteral("a"), QStringLiteral("1")}) {
            rig.prompts.clear();
            const int count = int(rig.window->search().find(text).results.size());
            for (int pick = 0; pick < std::max(count, 1); ++pick) {
                rig.window->activateWindow();
                QTRY_VERIFY(rig.window->isActiveWindow());
                box.setFocus();
                box.clear();
                QGuiApplication::clipboard()->setText(text);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
                for (int down = 0; down <= pick; ++down)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            checkOnlyMissingSheets(rig.prompts.errors);
        }
        rig.stillUsable();
    }

    void mapNavigationWithMarkers()
    {
        Rig rig;
        MainActions &a = rig.actions();
        ZoomSpinBox &zoom = *rig.window->ToolBar->ZoomEd;
        // Every zoom step in, out and applied, with the markers of each tab on the general map
        // (leaving a tab removes its markers), the focused object's far-off place included.
        // Objects, streets and stops with unknown sheet codes get no marker.
        const auto zoomEveryStep = [&] {
            QVERIFY(rig.focus(Hostile::FarOffObject));
            rig.prompts.clear();
            for (int step = 0; step < 9; ++step)
                a.gazrda1->trigger();
            QCOMPARE(zoom.value(), 200);
            for (int step = 0; step < 9; ++step)
                a.Semcireba1->trigger();
            QCOMPARE(zoom.value(), 25);
            for (int value = 25; value <= 200; value += 25) {
                zoom.setValue(value);
                rig.window->ToolBar->ToolButton8->click();
                QCOMPARE(zoom.value(), value);
            }
            // Nothing fails, and no step tells of a sheet code.
            QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
            QVERIFY(rig.prompts.messages.isEmpty());
        };
        rig.forEachRecord(rig.objects(), [&] { a.ShowMepAc->trigger(); });
        QVERIFY(!rig.mapEngine().markers.ObjectMarkers().isEmpty());
        zoomEveryStep();
        rig.window->PageControl->setCurrentWidget(rig.window->quCaTSh);
        rig.forEachRecord(rig.dm.quCa_Qr, [&] { a.StreetGenShowMnIt->trigger(); });
        QVERIFY(!rig.mapEngine().markers.StreetMarkers().isEmpty());
        zoomEveryStep();
        rig.window->PageControl->setCurrentWidget(rig.window->TransportiTSH);
        rig.forEachRecord(rig.dm.kavS_transporti_gaCereba_Qr, [&] { a.GenStopShowMnIt->trigger(); });
        QVERIFY(!rig.mapEngine().markers.StopMarkers().isEmpty());
        zoomEveryStep();
        rig.prompts.clear();

        // Every sheet code and a few that name none: a missing or broken raster is reported.
        QStringList codes;
        for (QChar column : QStringLiteral("ABCDE"))
            for (QChar row : QStringLiteral("12345"))
                codes << QString(column) + row;
        codes << QStringLiteral("F5") << QStringLiteral("Z9") << QString() << QStringLiteral("b3 ")
              << QStringLiteral("../Tbilisi");
        for (const QString &code : codes) {
            rig.prompts.clear();
            const bool shown = rig.runner.run([&] {
                rig.mapEngine().navigation.ResetMapView();
                rig.mapEngine().switcher.SwitchToSheet(code);
            });
            // A truncated sheet (B2) shows what could be decoded.
            QCOMPARE(shown, code == QLatin1String("A1") || code == QLatin1String("B2"));
            if (!shown)
                QVERIFY2(rig.prompts.errors.size() == 1 && rig.prompts.errors.first().contains(code + QStringLiteral(".jpg")),
                         qPrintable(code + rig.prompts.errors.join(QLatin1Char('\n'))));
            QVERIFY(rig.runner.run([&] { rig.mapEngine().switcher.SwitchToGeneralMap(true, true); }));
        }
        rig.prompts.clear();

        // Panning with the mouse and the keys, then clearing.
        MapNavigation &navigation = rig.mapEngine().navigation;
        MapArea &map = rig.mapEngine().area;
        const QPoint corner = map.contentToGlobal(QPoint(0, 0));
        rig.runner.run([&] {
            navigation.ThImageMouseDown(corner + QPoint(200, 200));
            navigation.ThImageMouseUp(corner + QPoint(-5000, -5000));
            navigation.ThImageMouseDown(corner + QPoint(10, 10));
            navigation.ThImageMouseUp(corner + QPoint(100000, 100000));
            navigation.ScrollBoxClick(corner + QPoint(50, 50));
            navigation.ScrollBoxMouseUp(corner + QPoint(50, 50));
            for (Qt::Key key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageDown})
                navigation.ScrollBoxKeyDown(key, Qt::NoModifier);
        });
        a.ClearMapAc->trigger();
        QVERIFY(rig.mapEngine().markers.ObjectMarkers().isEmpty());

        // Help and about.
        a.daxmareba2->trigger();
        a.Sesaxeb1->trigger();
        QCOMPARE(rig.modals.seen.size(), 1);
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
        rig.stillUsable();
    }
};

QTEST_MAIN(TestHostileCity)
#include "tst_hostilecity.moc"
