#include "JourneyFigure.h"

#include "Measure.h"
#include "data/DataModule.h"
#include "transit/NetworkLoader.h"
#include "transit/Planner.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <vector>

using Measure::median;
using Measure::milliseconds;

namespace {

constexpr int Pairs = 200;

// The route-stop table read through Qt SQL, forward only, every value kept.
double readLinks(QSqlDatabase db)
{
    return milliseconds([&] {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT g_transporti_kodi, g_gaCereba_kodi, gaCerebis_rigiTi_n FROM "
                                       "kavS_transporti_gaCereba")))
            throw std::runtime_error(query.lastError().text().toStdString());
        std::vector<QVariant> values;
        while (query.next())
            for (int i = 0; i < 3; ++i)
                values.push_back(query.value(i));
    });
}

// The calling thread's processor time in milliseconds: on a machine that others share, what a
// query costs apart from the time it waits for a core.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min(values.size() - 1, size_t(values.size() * 0.95))];
}

} // namespace

void journeyFigure(DataModule &dm, int runs, Report &report)
{
    QSqlDatabase db = dm.ADOConn.database();
    QVector<double> read, build, p95, cpu95;
    std::shared_ptr<const Network> network;
    int found = 0;
    for (int run = 0; run < runs; ++run) {
        read << readLinks(db);
        build << milliseconds([&] { network = NetworkLoader::load(db); });
        // The same pairs every run, so that runs compare.
        QRandomGenerator random(11);
        const int stops = int(network->stops().size());
        Planner planner(network);
        std::vector<double> times, processor;
        found = 0;
        for (int i = 0; i < Pairs && stops > 1; ++i) {
            const JourneyEnd from = Endpoints::atStop(*network, random.bounded(stops));
            const JourneyEnd to = Endpoints::atStop(*network, random.bounded(stops));
            QElapsedTimer timer;
            const double started = threadMilliseconds();
            timer.start();
            found += planner.plan(from, to).outcome == Planner::Result::Outcome::Found;
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            processor.push_back(threadMilliseconds() - started);
        }
        p95 << percentile95(times);
        cpu95 << percentile95(processor);
    }
    const double linkMs = median(read), buildMs = median(build), queryMs = median(p95);
    const QString reference = QStringLiteral("route-stop table read: ") + Measure::ms(linkMs);
    const QString city = QStringLiteral("%1 stops, %2 routes").arg(network->stops().size()).arg(network->routes().size());
    report.add({QStringLiteral("11. Journey network built from the tables (%1)").arg(city), Measure::ms(buildMs), reference,
                QString::number(buildMs / linkMs, 'f', 2) + QStringLiteral(" ×"), QStringLiteral("≤ 200 ms"), buildMs <= 200});
    report.add({QStringLiteral("11. Journeys between %1 random stop pairs (%2 found), p95 per query").arg(Pairs).arg(found),
                Measure::ms(queryMs) + QStringLiteral(" (processor time ") + Measure::ms(median(cpu95)) + QLatin1Char(')'), reference, QString::number(queryMs / linkMs, 'f', 2) + QStringLiteral(" ×"),
                QStringLiteral("≤ 5 ms"), queryMs <= 5});
}
