#include "ProgramFigures.h"

#include "BenchCity.h"
#include "Measure.h"
#include "app/MainActions.h"
#include "app/MainFrm.h"
#include "catalogue/ObjectTab.h"
#include "common/MainState.h"
#include "common/ZoomControl.h"
#include "data/DataModule.h"
#include "search/SearchService.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "streets/StreetMapCommands.h"
#include "streets/StreetTab.h"
#include "transport/TransportMapCommands.h"
#include "transport/TransportTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QToolButton>
#include <stdexcept>
#include <vector>

using Measure::median;
using Measure::milliseconds;

namespace {

QString count(int n)
{
    return QLocale(QLocale::English).toString(n);
}

QSqlQuery run(QSqlDatabase db, const QString &sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}

} // namespace

ProgramFigures::ProgramFigures(TMainFrm &window, Prompts &prompts, int runs, Report &report)
    : m_window(window), m_prompts(prompts), m_map(window.map()), m_dm(window.dataModule()), m_state(window.state()),
      m_runs(runs), m_report(report)
{
}

double ProgramFigures::rawQuery(const QString &sql)
{
    return milliseconds([&] {
        QSqlQuery query = run(m_dm.ADOConn.database(), sql);
        const int columns = query.record().count();
        std::vector<QVariant> values;
        while (query.next()) {
            for (int i = 0; i < columns; ++i)
                values.push_back(query.value(i));
        }
    });
}

QVector<double> ProgramFigures::timed(const std::function<void()> &prepare, const std::function<void()> &work)
{
    QVector<double> times;
    for (int i = 0; i < m_runs; ++i) {
        if (prepare)
            prepare();
        QCoreApplication::processEvents();
        times << milliseconds(work);
    }
    return times;
}

void ProgramFigures::repaintMap()
{
    m_map.area.viewport()->repaint();
}

double ProgramFigures::medianOf(const std::function<void()> &command)
{
    const auto shown = [&] {
        command();
        repaintMap();
    };
    shown();
    return median(timed({}, shown));
}

void ProgramFigures::addScaling(const QString &figure, int many, double manyMs, int few, double fewMs, double maxMs)
{
    const double ratio = manyMs / fewMs;
    m_report.add({figure.arg(count(many)), Measure::ms(manyMs),
                  QStringLiteral("%1 markers: %2").arg(count(few), Measure::ms(fewMs)),
                  QString::number(ratio, 'f', 2) + QStringLiteral(" ×"),
                  QStringLiteral("≤ 12 ×, < %1 ms").arg(maxMs), ratio <= 12 && manyMs < maxMs});
}

double ProgramFigures::databaseBytes()
{
    // SQLite answers to its pragmas through its own driver and through ODBC alike.
    const QSqlDatabase db = m_dm.ADOConn.database();
    QSqlQuery size(db);
    const bool known = db.driverName() == QLatin1String("QPSQL")
                           ? size.exec(QStringLiteral("SELECT pg_database_size(current_database())"))
                           : size.exec(QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()"));
    return known && size.next() ? size.value(0).toDouble() : 0;
}

void ProgramFigures::objectSearch()
{
    // A four-letter fragment found in about 1 % of the names (LIKE ignores ASCII case).
    QHash<QString, int> names;
    int objects = 0;
    for (QSqlQuery q = run(m_dm.ADOConn.database(), QStringLiteral("SELECT saxeli FROM obieqti")); q.next(); ++objects) {
        const QString name = q.value(0).toString().toLower();
        QSet<QString> seen;
        for (int i = 0; i + 4 <= name.size(); ++i) {
            const QString part = name.mid(i, 4);
            if (!part.contains(QLatin1Char(' ')) && !seen.contains(part)) {
                seen.insert(part);
                ++names[part];
            }
        }
    }
    QString fragment;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (fragment.isEmpty() || std::abs(it.value() - objects / 100) < std::abs(names[fragment] - objects / 100)
            || (std::abs(it.value() - objects / 100) == std::abs(names[fragment] - objects / 100) && it.key() < fragment))
            fragment = it.key();
    }

    ObjectTab &tab = *m_window.obieqtiTSH;
    tab.ClearBtn->click();
    tab.ObieqtiEd->setText(fragment);
    const auto search = [&] {
        tab.Obj_FilterBtn->click();
        tab.ObjectGrid->viewport()->repaint();
    };
    search(); // warms up, and gives the data set the SQL the raw query repeats
    const QString sql = m_dm.obieqti_logo_Qr.sql();
    // The engine's floor: the same WHERE clause over the objects alone, giving only their keys.
    QString where = m_state.ObjectFilter;
    where.chop(QStringLiteral("AND ").size());
    const QString keysSql = QStringLiteral("SELECT obieqti.obieqtis_kodi FROM obieqti WHERE") + where;
    QVector<double> raw, keys, command;
    for (int i = 0; i < m_runs; ++i) {
        raw << rawQuery(sql);
        keys << rawQuery(keysSql);
        command << milliseconds(search);
    }
    const QString figure =
        QStringLiteral("1. Object search \"%1\" (%2 rows)").arg(fragment, count(m_dm.obieqti_logo_Qr.recordCount()));
    m_report.addRatio(figure, median(command), median(raw), 1.5, QStringLiteral("raw query"));
    m_report.addRatio(QStringLiteral("1. ... against its WHERE clause on the objects alone"), median(command),
                      median(keys), 2, QStringLiteral("keys only"), 80);
    tab.ClearBtn->click();
}

bool waitUntilListed(DataSet &list)
{
    // An event loop that sleeps until the read ends: polling would take a core from the reader.
    if (!list.isOpen() && list.isLoading()) {
        QEventLoop loop;
        QObject::connect(&list, &DataSet::reset, &loop, &QEventLoop::quit);
        QObject::connect(&list, &DataSet::openFailed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return list.isOpen();
}

bool waitUntilSearchable(SearchService &search)
{
    search.start();
    if (search.state() == SearchService::State::Building) {
        QEventLoop loop;
        QObject::connect(&search, &SearchService::stateChanged, &loop, [&] {
            if (search.state() != SearchService::State::Building)
                loop.quit();
        });
        loop.exec();
    }
    return search.state() == SearchService::State::Ready;
}

void ProgramFigures::objectList()
{
    DataSet &list = m_dm.obieqti_logo_Qr;
    const QString sql = list.sql();
    QVector<double> raw, command, growth;
    for (int i = 0; i < m_runs; ++i) {
        raw << rawQuery(sql);
        const auto [ms, bytes] = showClosedList();
        command << ms;
        growth << bytes;
    }
    m_listLoadMs = median(command);
    m_report.addRatio(QStringLiteral("2. Object list, first show (%1 rows)").arg(count(list.recordCount())),
                      median(command), median(raw), 2, QStringLiteral("raw query"), 500);
    const double database = databaseBytes();
    const double ratio = database > 0 ? median(growth) / database : 0;
    m_report.add({QStringLiteral("2. Object list, resident memory growth"), Measure::megabytes(median(growth)),
                  QStringLiteral("database: ") + Measure::megabytes(database), QString::number(ratio, 'f', 2) + QStringLiteral(" ×"),
                  QStringLiteral("≤ 0.5 ×"), database > 0 && ratio <= 0.5});
}

std::pair<double, double> ProgramFigures::showClosedList()
{
    DataSet &list = m_dm.obieqti_logo_Qr;
    // The tab is left and its list closed, so that showing it again opens the list as the first
    // show does.
    m_window.PageControl->setCurrentWidget(m_window.quCaTSh);
    list.close();
    QCoreApplication::processEvents();
    Measure::releaseFreedMemory();
    const qint64 before = Measure::residentBytes();
    // Read in the background: timed until the rows are in and painted.
    const double ms = milliseconds([&] {
        m_window.PageControl->setCurrentWidget(m_window.obieqtiTSH);
        waitUntilListed(list);
        m_window.obieqtiTSH->ObjectGrid->viewport()->repaint();
    });
    Measure::releaseFreedMemory();
    return {ms, double(Measure::residentBytes() - before)};
}

std::pair<QString, QString> ProgramFigures::groupOfAbout(int wanted, bool withDistrict)
{
    const QString sql = withDistrict
        ? QStringLiteral("SELECT q.saxeli, r.saxeli, COUNT(*) FROM obieqti o, qve_rubrika q, raioni r "
                         "WHERE o.g_qve_rubrika_kodi=q.qve_rubrika_kodi AND o.g_raioni_kodi=r.raioni_kodi "
                         "GROUP BY q.qve_rubrika_kodi, q.saxeli, r.raioni_kodi, r.saxeli ORDER BY q.qve_rubrika_kodi, r.raioni_kodi")
        : QStringLiteral("SELECT q.saxeli, '', COUNT(*) FROM obieqti o, qve_rubrika q "
                         "WHERE o.g_qve_rubrika_kodi=q.qve_rubrika_kodi GROUP BY q.qve_rubrika_kodi, q.saxeli "
                         "ORDER BY q.qve_rubrika_kodi");
    std::pair<QString, QString> best;
    int bestDistance = -1;
    for (QSqlQuery q = run(m_dm.ADOConn.database(), sql); q.next();) {
        const int distance = std::abs(q.value(2).toInt() - wanted);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = {q.value(0).toString(), q.value(1).toString()};
        }
    }
    return best;
}

void ProgramFigures::searchBy(const QString &subRubric, const QString &district)
{
    ObjectTab &tab = *m_window.obieqtiTSH;
    tab.ClearBtn->click();
    m_window.actions->ClearMapAc->trigger();
    tab.QveRubrikaCb->setText(subRubric);
    tab.ObieqtisRaioniCb->setText(district);
    tab.Obj_FilterBtn->click();
}

void ProgramFigures::showRubric()
{
    m_window.actions->rubrukaSiSemvaliobieqtebisCvenebarukaze1->trigger();
    repaintMap();
}

void ProgramFigures::objectMarkers()
{
    struct Walks {
        int markers = 0;
        QVector<double> in, out;
        double general = 0, sheet = 0;
    };
    MainActions &actions = *m_window.actions;
    const auto measure = [&] {
        Walks w;
        w.markers = m_map.markers.ObjectMarkers().count();
        for (int i = 0; i < m_runs; ++i) {
            QCoreApplication::processEvents();
            w.in << milliseconds([&] {
                actions.gazrda1->trigger();
                repaintMap();
            });
            QCoreApplication::processEvents();
            w.out << milliseconds([&] {
                actions.Semcireba1->trigger();
                repaintMap();
            });
        }
        // The focused object, one of the rubric's, already has its marker.
        w.general = medianOf([&] { actions.ShowMepAc->trigger(); });
        w.sheet = medianOf([&] { actions.ShowDetMapAc->trigger(); });
        return w;
    };

    const auto [subRubric, district] = groupOfAbout(1000, true);
    searchBy(subRubric, district);
    showRubric();
    const Walks few = measure();

    // The rubric of the first record of the whole list has more objects than a list may mark.
    m_window.obieqtiTSH->ClearBtn->click();
    actions.ClearMapAc->trigger();
    showRubric();
    const Walks many = measure();

    for (const auto &[name, manyTimes, fewTimes] :
         {std::tuple{"in", many.in, few.in}, std::tuple{"out", many.out, few.out}}) {
        addScaling(QStringLiteral("3. Zoom %1, %2 object markers").arg(QLatin1String(name)), many.markers,
                   median(manyTimes), few.markers, median(fewTimes), 150);
    }
    addScaling(QStringLiteral("8. Focused object on the general map, %1 object markers"), many.markers, many.general,
               few.markers, few.general, 50);
    addScaling(QStringLiteral("9. Focused object on its sheet, %1 object markers"), many.markers, many.sheet,
               few.markers, few.sheet, 50);
    actions.ClearMapAc->trigger();
    m_map.switcher.SwitchToGeneralMap(true, true);
}

void ProgramFigures::streetAndStopMarkers()
{
    MainActions &actions = *m_window.actions;
    QSqlDatabase db = m_dm.ADOConn.database();

    // Streets: district displays, the largest districts first for many markers, the one of about
    // 1,000 streets for few; then the focused street (one of them) on the general map.
    m_window.PageControl->setCurrentWidget(m_window.quCaTSh);
    waitUntilListed(m_dm.quCa_Qr);
    StreetMapCommands streets(m_dm, m_state, m_prompts, m_map, *m_window.quCaTSh->StreetGrid);
    QVector<std::pair<QString, int>> districts;
    for (QSqlQuery q = run(db, QStringLiteral("SELECT g_raioni_kodi, COUNT(*) FROM quCa WHERE g_raioni_kodi IS NOT NULL "
                                              "GROUP BY g_raioni_kodi ORDER BY COUNT(*) DESC, g_raioni_kodi"));
         q.next();)
        districts.append({q.value(0).toString(), q.value(1).toInt()});
    if (districts.isEmpty())
        throw std::runtime_error("the bench city has no districts");
    const auto closest = std::min_element(districts.begin(), districts.end(), [](const auto &a, const auto &b) {
        return std::abs(a.second - 1000) < std::abs(b.second - 1000);
    });
    const auto streetFigure = [&](const QStringList &keys) {
        actions.ClearMapAc->trigger();
        for (const QString &key : keys)
            streets.ShowDistrictStreets(key);
        const int markers = m_map.markers.StreetMarkers().count();
        m_dm.quCa_Qr.locate(QStringLiteral("quCa_kodi"), m_map.markers.StreetMarkers()[markers / 2].picture->key());
        return std::pair{markers, medianOf([&] { actions.StreetGenShowMnIt->trigger(); })};
    };
    const auto fewStreets = streetFigure({closest->first});
    QStringList largest;
    for (const auto &[key, streetCount] : districts)
        largest.append(key);
    const auto manyStreets = streetFigure(largest);
    addScaling(QStringLiteral("10. A street on the general map, %1 street markers"), manyStreets.first,
               manyStreets.second, fewStreets.first, fewStreets.second, 50);

    // Stops: route displays until the stops number about 500, then until every stop is marked;
    // then the focused stop (one of them) on the general map.
    m_window.PageControl->setCurrentWidget(m_window.TransportiTSH);
    TransportMapCommands transport(m_dm, m_state, m_prompts, m_map);
    QVector<std::pair<QString, QVariant>> routes;
    for (QSqlQuery q = run(db, QStringLiteral("SELECT saxeli, g_transporti_tipi FROM transporti ORDER BY transporti_kodi"));
         q.next();)
        routes.append({q.value(0).toString(), q.value(1)});
    const auto stopFigure = [&](int wanted) {
        actions.ClearMapAc->trigger();
        for (const auto &[name, type] : routes) {
            if (m_map.markers.StopMarkers().count() >= wanted)
                break;
            transport.ShowRouteStops(name, type);
        }
        const int markers = m_map.markers.StopMarkers().count();
        m_dm.kavS_transporti_gaCereba_Qr.locate(QStringLiteral("gaCereba_kodi"),
                                                m_map.markers.StopMarkers()[markers / 2].picture->key());
        return std::pair{markers, medianOf([&] { actions.GenStopShowMnIt->trigger(); })};
    };
    const auto fewStops = stopFigure(500);
    const auto manyStops = stopFigure(MarkerList::Capacity);
    addScaling(QStringLiteral("10. A route's stop on the general map, %1 stop markers"), manyStops.first,
               manyStops.second, fewStops.first, fewStops.second, 50);
    actions.ClearMapAc->trigger();
    m_window.PageControl->setCurrentWidget(m_window.obieqtiTSH);
}

void ProgramFigures::rubric()
{
    const QString subRubric = groupOfAbout(2000, false).first;
    searchBy(subRubric, QString());
    const QVector<double> times = timed([&] { m_window.actions->ClearMapAc->trigger(); }, [&] { showRubric(); });
    const double t = median(times);
    m_report.add({QStringLiteral("4. Rubric on the general map (%1 markers)").arg(count(m_map.markers.ObjectMarkers().count())),
                  Measure::ms(t), QString(), QString(), QStringLiteral("< 300 ms"), t < 300});
    m_window.actions->ClearMapAc->trigger();
    m_window.obieqtiTSH->ClearBtn->click();
}

void ProgramFigures::sheetSwitch(const QString &largeRasters)
{
    const QString home = QDir::currentPath();
    QDir::setCurrent(largeRasters);
    const QString sheet = QLatin1String(BenchCity::LargeSheet);
    const QString file = QDir(largeRasters).filePath(QStringLiteral("Raster/%1.jpg").arg(sheet));
    QVector<double> decoder, command;
    for (int i = 0; i < m_runs; ++i) {
        decoder << Measure::childMilliseconds(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), file});
        m_map.switcher.SwitchToGeneralMap(true, true);
        repaintMap();
        QCoreApplication::processEvents();
        command << milliseconds([&] {
            m_map.switcher.SwitchToSheet(sheet);
            repaintMap();
        });
    }
    const QSize size = m_map.area.rasterSize();
    m_report.addRatio(QStringLiteral("5. Switch to a %1 × %2 sheet").arg(size.width()).arg(size.height()), median(command),
                      median(decoder), 1.5, QStringLiteral("djpeg"));
    m_map.switcher.SwitchToGeneralMap(true, true);
    QDir::setCurrent(home);
}

void ProgramFigures::largeMapZoom(const QString &largeRasters)
{
    const QString home = QDir::currentPath();
    QDir::setCurrent(largeRasters);
    // Through a sheet, so that the general map is read again from this folder.
    m_map.switcher.SwitchToSheet(QLatin1String(BenchCity::LargeSheet));
    m_map.switcher.SwitchToGeneralMap(true, true);
    const QSize size = m_map.area.rasterSize();
    // A session's first zoom also opens the object table to move object markers (about 90 MB
    // on this city), whatever the map; one zoom beforehand keeps that out of the raster's figure.
    m_map.zoom.setPercent(200);
    m_window.actions->specialuri1->trigger();
    QVector<double> growth, times;
    for (int i = 0; i < m_runs; ++i) {
        m_map.navigation.ResetMapView();
        repaintMap();
        QCoreApplication::processEvents();
        Measure::releaseFreedMemory();
        const qint64 before = Measure::residentBytes();
        times << milliseconds([&] {
            m_map.zoom.setPercent(200);
            m_window.actions->specialuri1->trigger();
            repaintMap();
        });
        Measure::releaseFreedMemory();
        growth << double(Measure::residentBytes() - before);
    }
    const double raster = double(size.width()) * size.height() * 4;
    const double ratio = median(growth) / raster;
    m_report.add({QStringLiteral("6. Zoom to 200 %, %1 × %2 general map: memory growth (%3)")
                      .arg(size.width()).arg(size.height()).arg(Measure::ms(median(times))),
                  Measure::megabytes(median(growth)), QStringLiteral("decoded raster: ") + Measure::megabytes(raster),
                  QString::number(std::max(ratio, 0.0), 'f', 3) + QStringLiteral(" ×"), QStringLiteral("≤ 0.1 ×"), ratio <= 0.1});
    m_map.navigation.ResetMapView();
    m_map.switcher.SwitchToSheet(QLatin1String(BenchCity::LargeSheet));
    QDir::setCurrent(home);
    m_map.switcher.SwitchToGeneralMap(true, true);
}
