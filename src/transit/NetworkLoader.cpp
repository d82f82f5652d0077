#include "transit/NetworkLoader.h"

#include "common/Errors.h"
#include "data/ResultRows.h"
#include "transit/SqlRows.h"

#include <algorithm>

namespace {

using SqlRows::realNumber;
using SqlRows::wholeNumber;

const QString IntervalsTable = QStringLiteral("transporti_intervali");

bool hasTable(const QSqlDatabase &db, const QString &name)
{
    const QStringList tables = db.tables();
    return std::any_of(tables.begin(), tables.end(),
                       [&name](const QString &t) { return t.compare(name, Qt::CaseInsensitive) == 0; });
}

} // namespace

NetworkTables NetworkLoader::readTables(QSqlDatabase db)
{
    NetworkTables t;
    SqlRows::read(db, QStringLiteral("SELECT gaCereba_kodi, saxeli, ruka_kodi, x, y, g_raioni_kodi FROM gaCereba"),
             QStringLiteral("gaCereba"), [&t](const ResultRows &r) {
                 t.stops.append({wholeNumber(r.value(0)), r.value(1).toString(), r.value(2).toString(),
                                 realNumber(r.value(3)), realNumber(r.value(4)),
                                 int(wholeNumber(r.value(5)).value_or(0))});
             });
    SqlRows::read(db, QStringLiteral("SELECT transporti_kodi, g_transporti_tipi, saxeli FROM transporti"),
             QStringLiteral("transporti"), [&t](const ResultRows &r) {
                 t.routes.append({wholeNumber(r.value(0)), wholeNumber(r.value(1)), r.value(2).toString()});
             });
    SqlRows::read(db, QStringLiteral("SELECT transporti_tipi, saxeli FROM transporti_tipi"), QStringLiteral("transporti_tipi"),
             [&t](const ResultRows &r) { t.types.append({wholeNumber(r.value(0)), r.value(1).toString()}); });
    SqlRows::read(db,
             QStringLiteral("SELECT g_transporti_kodi, g_gaCereba_kodi, gaCerebis_rigiTi_n FROM kavS_transporti_gaCereba"),
             QStringLiteral("kavS_transporti_gaCereba"), [&t](const ResultRows &r) {
                 t.links.append({wholeNumber(r.value(0)), wholeNumber(r.value(1)), wholeNumber(r.value(2))});
             });
    // Most cities have no intervals: the planner then takes each type's default.
    if (hasTable(db, IntervalsTable)) {
        try {
            SqlRows::read(db, QStringLiteral("SELECT g_transporti_kodi, wuTebi FROM transporti_intervali"), IntervalsTable,
                     [&t](const ResultRows &r) { t.intervals.append({wholeNumber(r.value(0)), realNumber(r.value(1))}); });
        } catch (const Error &e) {
            t.intervals.clear();
            t.intervalsProblem = e.text();
        }
    }
    return t;
}

std::shared_ptr<const Network> NetworkLoader::load(QSqlDatabase db)
{
    return Network::build(readTables(db), CityFrame::read());
}
