#include "ProgramFigures.h"

#include "BenchCity.h"
#include "Generator.h"
#include "Measure.h"
#include "app/MainActions.h"
#include "app/MainFrm.h"
#include "catalogue/ObjectTab.h"
#include "common/MainState.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/ZoomControl.h"
#include "streets/StreetTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

ProgramFigures::ProgramFigures(TMainFrm &window, int runs, Report &report)
    : m_window(window), m_map(window.map()), m_dm(window.dataModule()), m_state(window.state()), m_runs(runs),
      m_report(report)
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
    QVector<double> raw, command;
    for (int i = 0; i < m_runs; ++i) {
        raw << rawQuery(sql);
        command << milliseconds(search);
    }
    m_report.addRatio(QStringLiteral("1. Object search \"%1\" (%2 rows)").arg(fragment, count(m_dm.obieqti_logo_Qr.recordCount())),
                      median(command), median(raw), 1.5, QStringLiteral("raw query"));
    tab.ClearBtn->click();
}

bool waitUntilListed(DataSet &list)
{
    while (!list.isOpen() && list.isLoading())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return list.isOpen();
}

void ProgramFigures::objectList()
{
    DataSet &list = m_dm.obieqti_logo_Qr;
    const QString sql = list.sql();
    QVector<double> raw, command, growth;
    for (int i = 0; i < m_runs; ++i) {
        raw << rawQuery(sql);
        // The tab is left and its list closed, so that showing it again opens the list as the
        // first show does.
        m_window.PageControl->setCurrentWidget(m_window.quCaTSh);
        list.close();
        QCoreApplication::processEvents();
        Measure::releaseFreedMemory();
        const qint64 before = Measure::residentBytes();
        // Read in the background: timed until the rows are in and painted.
        command << milliseconds([&] {
            m_window.PageControl->setCurrentWidget(m_window.obieqtiTSH);
            waitUntilListed(list);
            m_window.obieqtiTSH->ObjectGrid->viewport()->repaint();
        });
        Measure::releaseFreedMemory();
        growth << double(Measure::residentBytes() - before);
    }
    m_report.addRatio(QStringLiteral("2. Object list, first show (%1 rows)").arg(count(list.recordCount())),
                      median(command), median(raw), 2, QStringLiteral("raw query"));
    const double database = double(QFileInfo(QLatin1String(CityWriter::DatabaseFile)).size());
    const double ratio = median(growth) / database;
    m_report.add({QStringLiteral("2. Object list, resident memory growth"), Measure::megabytes(median(growth)),
                  QStringLiteral("database file: ") + Measure::megabytes(database), QString::number(ratio, 'f', 2) + QStringLiteral(" ×"),
                  QStringLiteral("≤ 0.5 ×"), ratio <= 0.5});
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

void ProgramFigures::zoom()
{
    struct Zooms {
        int markers = 0;
        QVector<double> in, out;
    };
    const auto measure = [&] {
        Zooms z;
        z.markers = m_map.markers.ObjectMarkers().count();
        for (int i = 0; i < m_runs; ++i) {
            QCoreApplication::processEvents();
            z.in << milliseconds([&] {
                m_window.actions->gazrda1->trigger();
                repaintMap();
            });
            QCoreApplication::processEvents();
            z.out << milliseconds([&] {
                m_window.actions->Semcireba1->trigger();
                repaintMap();
            });
        }
        return z;
    };

    const auto [subRubric, district] = groupOfAbout(1000, true);
    searchBy(subRubric, district);
    showRubric();
    const Zooms few = measure();

    // The rubric of the first record of the whole list has more objects than a list may mark.
    m_window.obieqtiTSH->ClearBtn->click();
    m_window.actions->ClearMapAc->trigger();
    showRubric();
    const Zooms many = measure();

    for (const auto &[name, manyTimes, fewTimes] :
         {std::tuple{"in", many.in, few.in}, std::tuple{"out", many.out, few.out}}) {
        const double t = median(manyTimes), reference = median(fewTimes);
        const double ratio = t / reference;
        m_report.add({QStringLiteral("3. Zoom %1, %2 object markers").arg(QLatin1String(name), count(many.markers)),
                      Measure::ms(t), QStringLiteral("%1 markers: %2").arg(count(few.markers), Measure::ms(reference)),
                      QString::number(ratio, 'f', 2) + QStringLiteral(" ×"), QStringLiteral("≤ 12 ×, < 150 ms"),
                      ratio <= 12 && t < 150});
    }
    m_window.actions->ClearMapAc->trigger();
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
