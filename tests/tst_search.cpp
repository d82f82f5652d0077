// The one search box: the ranking of its matches, its index against the tabs' own searches on
// every backend, the box as a person uses it, and kvirzeta --find.
#include "PersonInput.h"
#include "ProgramRig.h"
#include "app/MainToolBar.h"
#include "app/SearchBoxCommands.h"
#include "catalogue/ObjectFilter.h"
#include "catalogue/ObjectTab.h"
#include "map/MarkerLayer.h"
#include "search/SearchService.h"
#include "streets/StreetFilter.h"
#include "transport/TransportFilter.h"
#include "transport/TransportTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/SearchDropDown.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QSet>

#include <algorithm>

using namespace PersonInput;

namespace {

QStringList shown(const std::vector<SearchResult> &results)
{
    QStringList names;
    for (const SearchResult &r : results)
        names << searchKindName(r.kind) + QLatin1Char(':') + r.name;
    return names;
}

SearchIndex rankingIndex()
{
    std::vector<SearchIndex::Entry> entries;
    int code = 0;
    const auto add = [&](SearchKind kind, const char *name) { entries.push_back({kind, ++code, QString::fromUtf8(name), {}}); };
    for (const char *name : {"galerea", "kafe galerea", "Galereis kafe", "Tbilisi banki", "tbilisis Wadrakis klubi",
                             "aptiaqi 12", "aptiaqi 21", "12", "50% fasdakleba", "d'artaniani", "a_b c\\d", "aab"})
        add(SearchKind::Place, name);
    for (const char *name : {"galerea", "Tavisuflebis moedani", "rusTavelis gamziri", "gorgasalis quCa"})
        add(SearchKind::Street, name);
    add(SearchKind::Stop, "rusTavelis moedani");
    for (const char *name : {"12", "121"})
        add(SearchKind::Route, name);
    return SearchIndex(std::move(entries));
}

// The codes of a kind that a list holds in a column, over all its rows.
QSet<QString> column(DataSet &list, const char *name)
{
    QSet<QString> values;
    const int c = list.requireColumn(QLatin1String(name));
    for (int row = 0; row < list.recordCount(); ++row)
        values << list.valueAt(row, c).toString();
    return values;
}

QSet<QString> found(SearchService &search, SearchKind kind, const QString &text, bool codes)
{
    QSet<QString> values;
    for (const SearchResult &r : search.find(text, kind, 1000000).results)
        if (r.name.contains(text))
            values << (codes ? QString::number(r.code) : r.name);
    return values;
}

// The fixture city and its index, read as the window reads it.
struct CityIndex {
    FixtureCity city;
    DataModule dm;
    SearchService search{dm};

    CityIndex()
    {
        dm.ADOConn.setConnectionString(city.connectionString());
        search.start();
    }
};

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

Run find(const QString &folder, const QStringList &arguments)
{
    QProcess program;
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(KVIRZETA_PROGRAM), QStringList{QStringLiteral("--find")} + arguments);
    if (!program.waitForFinished(60000))
        qFatal("kvirzeta --find did not end");
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("cut");
        const int all = AllSearchKinds.toInt();
        const auto row = [&](const char *tag, const QString &typed, QStringList expected, int kinds = -1, bool cut = false) {
            QTest::newRow(tag) << typed << (kinds < 0 ? all : kinds) << expected << cut;
        };
        // Exact, then a word's beginning, then inside a word; places before streets; typos last.
        row("exact, prefix, typo", QStringLiteral("galerea"),
            {"place:galerea", "street:galerea", "place:kafe galerea", "place:Galereis kafe"});
        row("substring, shorter first", QStringLiteral("alere"),
            {"place:galerea", "street:galerea", "place:kafe galerea", "place:Galereis kafe"});
        row("a prefix running over words", QStringLiteral("rusTavelis mo"),
            {"stop:rusTavelis moedani", "street:rusTavelis gamziri"});
        row("case that matches first", QStringLiteral("tbilisi"), {"place:tbilisis Wadrakis klubi", "place:Tbilisi banki"});
        row("case-folded", QStringLiteral("tavisuflebis"), {"street:Tavisuflebis moedani"});
        row("one typo", QStringLiteral("galrea"), {"place:galerea", "street:galerea", "place:kafe galerea"});
        row("two typos from 8 letters", QStringLiteral("gorgaslis qCa"), {"street:gorgasalis quCa"});
        row("two typos are too many below 8", QStringLiteral("glrea"), {});
        row("no typo up to 3 letters", QStringLiteral("gak"), {});
        row("transposition", QStringLiteral("glaerea"), {"place:galerea", "street:galerea", "place:kafe galerea"});
        row("digits: routes first", QStringLiteral("12"),
            {"route:12", "place:12", "route:121", "place:aptiaqi 12"});
        row("digits are never typos", QStringLiteral("aptiaqi 13"), {});
        row("a missing digit is no typo", QStringLiteral("aptiaqi 2"), {"place:aptiaqi 21"});
        row("letters swapped beside digits", QStringLiteral("aptaiqi 12"), {"place:aptiaqi 12"});
        row("Georgian letters", QStringLiteral("გალერეა"),
            {"place:galerea", "street:galerea", "place:kafe galerea", "place:Galereis kafe"});
        row("Georgian capitals", QStringLiteral("ᲒᲐᲚᲔᲠᲔᲐ"),
            {"place:galerea", "street:galerea", "place:kafe galerea", "place:Galereis kafe"});
        row("percent is a letter", QStringLiteral("%"), {"place:50% fasdakleba"});
        row("underscore is a letter", QStringLiteral("a_b"), {"place:a_b c\\d"});
        row("quote is a letter", QStringLiteral("'"), {"place:d'artaniani"});
        row("backslash is a letter", QStringLiteral("\\"), {"place:a_b c\\d"});
        row("only some kinds", QStringLiteral("galerea"), {"street:galerea"}, int(SearchKind::Street));
        row("empty", QString(), {});
        row("spaces", QStringLiteral("   "), {});
        row("10,000 letters are cut", QString(10000, QLatin1Char('g')), {}, -1, true);
        row("control characters and a broken surrogate", QStringLiteral("\ngal") + QChar(0xD800) + QChar(0x7)
            + QStringLiteral("erea\t"), {"place:galerea", "street:galerea", "place:kafe galerea", "place:Galereis kafe"});
    }

    void ranking()
    {
        QFETCH(QString, typed);
        QFETCH(int, kinds);
        QFETCH(QStringList, expected);
        QFETCH(bool, cut);
        static const SearchIndex index = rankingIndex();
        const SearchIndex::Answer answer = index.find(typed, SearchKinds::fromInt(kinds));
        QCOMPARE(shown(answer.results), expected);
        QCOMPARE(answer.cut, cut);
    }

    void indexAgreesWithTheTabSearches()
    {
        CityIndex index;
        DataModule &dm = index.dm;
        SearchService &search = index.search;
        QTRY_COMPARE(search.state(), SearchService::State::Ready);

        // Every letter of every name, so that together the texts reach every record. "%" and "_"
        // are wildcards to the tabs; the box trims spaces.
        QSet<QChar> letters;
        for (const char *table : {"obieqti", "quCa", "gaCereba", "transporti"}) {
            DataModule::requery(dm.Qr, QStringLiteral("SELECT saxeli FROM ") + QLatin1String(table));
            for (const QString &name : column(dm.Qr, "saxeli"))
                for (const QChar c : name)
                    if (!c.isSpace())
                        letters << c;
        }
        letters.remove(QLatin1Char('%'));
        letters.remove(QLatin1Char('_'));
        for (const QChar c : std::as_const(letters)) {
            const QString text(c);
            ObjectCriteria objects;
            objects.name = text;
            DataModule::requery(dm.obieqti_logo_Qr, ObjectFilter::listSql(objects.filter()));
            QCOMPARE(found(search, SearchKind::Place, text, true), column(dm.obieqti_logo_Qr, "obieqtis_kodi"));
            StreetCriteria streets;
            streets.name = text;
            DataModule::requery(dm.quCa_Qr, StreetFilter::listSql(streets.filter()));
            QCOMPARE(found(search, SearchKind::Street, text, true), column(dm.quCa_Qr, "quCa_kodi"));
            TransportCriteria stops;
            stops.stopName = text;
            DataModule::requery(dm.kavS_transporti_gaCereba_Qr, TransportFilter::listSql(stops.filter()));
            QCOMPARE(found(search, SearchKind::Stop, text, true), column(dm.kavS_transporti_gaCereba_Qr, "gaCereba_kodi"));
            TransportCriteria routes;
            routes.routeName = QLatin1Char('%') + text + QLatin1Char('%');
            DataModule::requery(dm.kavS_transporti_gaCereba_Qr, TransportFilter::listSql(routes.filter()));
            QCOMPARE(found(search, SearchKind::Route, text, false), column(dm.kavS_transporti_gaCereba_Qr, "saxeoba"));
        }
    }

    void boxTypedIntoAndPickedFromTheKeyboard()
    {
        ProgramRig rig;
        rig.show();
        TMainFrm &window = *rig.window;
        QLineEdit &box = *window.ToolBar->searchBox;
        SearchDropDown &dropDown = window.searchBox().dropDown();
        QTRY_COMPARE(window.search().state(), SearchService::State::Ready);
        QCOMPARE(box.placeholderText(), QStringLiteral("Zieba"));

        // A search that leaves the place out of the object list.
        ObjectTab &objects = *window.obieqtiTSH;
        enterText(objects.ObieqtiEd, Entry::Typed, QStringLiteral("kredo"));
        pressEnter();
        QCOMPARE(rig.dm.obieqti_logo_Qr.recordCount(), 1);

        // Ctrl+K, the place's name typed on a Georgian keyboard, Down to it and Enter.
        QTest::keyClick(focused(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(focused(), &box);
        typeText(QStringLiteral("ლიბერთი"));
        QTRY_VERIFY(dropDown.isOpen());
        QCOMPARE(shown(dropDown.results()), QStringList({"place:liberTi", "stop:liberTis moedani"}));
        QTest::keyClick(focused(), Qt::Key_Down);
        QTest::keyClick(focused(), Qt::Key_Return);
        QVERIFY(!dropDown.isOpen());
        QCOMPARE(window.PageControl->currentWidget(), &objects);
        QCOMPARE(rig.state().ObjectFilter, QString());
        QCOMPARE(objects.ObieqtiEd->text(), QString());
        QCOMPARE(rig.dm.obieqti_logo_Qr.integer(QStringLiteral("obieqtis_kodi")), Fixture::NoAdvertObject);
        QCOMPARE(objects.ObjectGrid->focusedRecord(), rig.dm.obieqti_logo_Qr.currentRow());
        QVERIFY(objects.ObjectGrid->isExpanded(objects.ObjectGrid->currentIndex().parent()));
        QCOMPARE(focused(), objects.ObjectGrid);
        const MarkerList &placed = rig.mapEngine().markers.ObjectMarkers();
        QVERIFY(std::any_of(placed.begin(), placed.end(), [](const Marker &m) { return m.picture->name() == QLatin1String("Obj_1002"); }));
        QVERIFY(rig.prompts.errors.isEmpty());

        // Ctrl+F; Enter picks the first result: a stop, on its tab and on the map.
        QTest::keyClick(focused(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(focused(), &box);
        QCOMPARE(box.selectedText(), QStringLiteral("liberTi"));
        typeText(QStringLiteral("rusTavelis"));
        QTRY_VERIFY(dropDown.isOpen());
        QCOMPARE(shown(dropDown.results()).value(0), QStringLiteral("stop:rusTavelis moedani"));
        pressEnter();
        QCOMPARE(window.PageControl->currentWidget(), window.TransportiTSH);
        QCOMPARE(rig.dm.kavS_transporti_gaCereba_Qr.integer(QStringLiteral("gaCereba_kodi")), Fixture::SharedStop);
        QCOMPARE(focused(), window.TransportiTSH->TransportiGrid);
        const MarkerList &stops = rig.mapEngine().markers.StopMarkers();
        QVERIFY(std::any_of(stops.begin(), stops.end(), [](const Marker &m) { return m.picture->name() == QLatin1String("Stp_1"); }));

        // Esc leaves the box for the list of the tab shown, the drop-down closed.
        QTest::keyClick(focused(), Qt::Key_F, Qt::ControlModifier);
        typeText(QStringLiteral("zzzz"));
        QTRY_VERIFY(dropDown.isOpen());
        QCOMPARE(dropDown.view()->model()->index(0, 0).data().toString(), SearchDropDown::NothingFound);
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!dropDown.isOpen());
        QCOMPARE(focused(), window.TransportiTSH->TransportiGrid);
        QVERIFY(rig.prompts.errors.isEmpty());
    }

    void commandLineListsWhatTheBoxShows()
    {
        CityIndex index;
        SearchService &search = index.search;
        QTRY_COMPARE(search.state(), SearchService::State::Ready);
        const std::vector<SearchResult> box = search.find(u"moedani").results;
        QVERIFY(box.size() > 1);

        Run run = find(index.city.path(), {QStringLiteral("moedani")});
        QCOMPARE(run.status, 0);
        QStringList lines;
        for (const SearchResult &r : box)
            lines << searchKindName(r.kind) + QLatin1Char('\t') + r.name + QLatin1Char('\t') + r.detail;
        QCOMPARE(QString::fromUtf8(run.out), lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));

        run = find(index.city.path(), {QStringLiteral("moedani"), QStringLiteral("--json")});
        QCOMPARE(run.status, 0);
        const QJsonArray results = QJsonDocument::fromJson(run.out).object().value(QStringLiteral("results")).toArray();
        QCOMPARE(results.size(), qsizetype(box.size()));
        for (qsizetype i = 0; i < results.size(); ++i) {
            const QJsonObject r = results[i].toObject();
            QCOMPARE(r.value(QStringLiteral("kind")).toString(), searchKindName(box[size_t(i)].kind));
            QCOMPARE(r.value(QStringLiteral("code")).toInt(), box[size_t(i)].code);
            QCOMPARE(r.value(QStringLiteral("name")).toString(), box[size_t(i)].name);
            QCOMPARE(r.value(QStringLiteral("detail")).toString(), box[size_t(i)].detail);
        }

        run = find(index.city.path(), {QStringLiteral("--json"), QStringLiteral("qqqqqq")});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray("{\"results\":[]}\n"));

        // A folder without a city: the database error on stderr, status 2.
        QTemporaryDir empty;
        run = find(empty.path(), {QStringLiteral("moedani")});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains("Address.ini"), run.err.constData());
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
