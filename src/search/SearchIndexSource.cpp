#include "search/SearchIndexSource.h"

#include "data/Snapshot.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

// The rows of one query, read by column position.
class Rows {
public:
    Rows(QSqlDatabase db, const QString &sql, const std::atomic_bool *cancelled)
        : m_snapshot(readSnapshot({QStringLiteral("search index"), sql, {}, {}}, db, cancelled)),
          m_columns(int(m_snapshot.columns.size()))
    {
    }

    int count() const { return m_snapshot.rows; }
    QVariant at(int row, int column) const { return m_snapshot.cells.at(qsizetype(row) * m_columns + column); }
    QString text(int row, int column) const { return at(row, column).toString(); }
    // A key cell; none when null or not a whole number.
    std::optional<qint64> key(int row, int column) const
    {
        const QVariant cell = at(row, column);
        bool ok = false;
        const qint64 value = cell.toLongLong(&ok);
        return !cell.isNull() && ok ? std::optional<qint64>(value) : std::nullopt;
    }

private:
    Snapshot m_snapshot;
    int m_columns;
};

// Key -> name of a small table (districts, sub-rubrics, types).
QHash<qint64, QString> names(QSqlDatabase db, const QString &sql, const std::atomic_bool *cancelled)
{
    const Rows rows(db, sql, cancelled);
    QHash<qint64, QString> names;
    for (int r = 0; r < rows.count(); ++r)
        if (const auto key = rows.key(r, 0); key && !names.contains(*key))
            names.insert(*key, rows.text(r, 1));
    return names;
}

QString nameOf(const QHash<qint64, QString> &names, const std::optional<qint64> &key)
{
    return key ? names.value(*key) : QString();
}

// The parts that are not empty, joined by ", ".
QString joined(std::initializer_list<QString> parts)
{
    QString text;
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += part;
    }
    return text;
}

// Route names in the order a person reads numbers: shorter first ("1", "10", "M1").
void sortRouteNames(QStringList &routes)
{
    routes.removeDuplicates();
    std::sort(routes.begin(), routes.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
}

bool isCancelled(const std::atomic_bool *cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

} // namespace

std::vector<SearchIndex::Entry> SearchIndexSource::read(QSqlDatabase db, const std::atomic_bool *cancelled)
{
    const auto districts = names(db, QStringLiteral("SELECT raioni_kodi, saxeli FROM raioni"), cancelled);
    const auto subRubrics = names(db, QStringLiteral("SELECT qve_rubrika_kodi, saxeli FROM qve_rubrika"), cancelled);
    const auto streetTypes = names(db, QStringLiteral("SELECT quCis_tipi_kodi, aRwera FROM quCis_tipi"), cancelled);
    const auto transportTypes =
        names(db, QStringLiteral("SELECT transporti_tipi, saxeli FROM transporti_tipi"), cancelled);
    std::vector<SearchIndex::Entry> entries;

    // The object list joins every object with its picture rows and its sub-rubric.
    const Rows places(db,
                      QStringLiteral("SELECT obieqtis_kodi, saxeli, misamarTi, g_qve_rubrika_kodi FROM obieqti "
                                     "WHERE obieqtis_kodi IN (SELECT g_obieqti_kodi FROM obieqtis_logo) "
                                     "AND g_qve_rubrika_kodi IN (SELECT qve_rubrika_kodi FROM qve_rubrika)"),
                      cancelled);
    entries.reserve(size_t(places.count()));
    for (int r = 0; r < places.count(); ++r) {
        if (const auto code = places.key(r, 0)) {
            entries.push_back({SearchKind::Place, int(*code), places.text(r, 1),
                               joined({nameOf(subRubrics, places.key(r, 3)), places.text(r, 2)})});
        }
    }
    if (isCancelled(cancelled))
        return {};

    const Rows streets(db, QStringLiteral("SELECT quCa_kodi, saxeli, g_quCis_tipi, g_raioni_kodi FROM quCa"), cancelled);
    for (int r = 0; r < streets.count(); ++r) {
        if (const auto code = streets.key(r, 0)) {
            entries.push_back({SearchKind::Street, int(*code), streets.text(r, 1),
                               joined({nameOf(streetTypes, streets.key(r, 2)), nameOf(districts, streets.key(r, 3))})});
        }
    }
    if (isCancelled(cancelled))
        return {};

    // The route-stop list holds the stops and routes that are linked, each link once.
    const Rows routes(db, QStringLiteral("SELECT transporti_kodi, saxeli, g_transporti_tipi, aRwera FROM transporti"),
                      cancelled);
    QHash<qint64, QString> routeNames;
    for (int r = 0; r < routes.count(); ++r)
        if (const auto code = routes.key(r, 0); code && !routeNames.contains(*code))
            routeNames.insert(*code, routes.text(r, 1));
    const Rows links(db,
                     QStringLiteral("SELECT kavS_transporti_gaCereba.g_gaCereba_kodi, kavS_transporti_gaCereba.g_transporti_kodi "
                                    "FROM kavS_transporti_gaCereba, gaCereba, transporti "
                                    "WHERE kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi "
                                    "AND kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi"),
                     cancelled);
    QHash<qint64, QStringList> routesOfStop;
    QSet<qint64> linkedRoutes;
    for (int r = 0; r < links.count(); ++r) {
        const auto stop = links.key(r, 0);
        const auto route = links.key(r, 1);
        if (!stop || !route)
            continue;
        routesOfStop[*stop].append(routeNames.value(*route));
        linkedRoutes.insert(*route);
    }
    if (isCancelled(cancelled))
        return {};

    const Rows stops(db, QStringLiteral("SELECT gaCereba_kodi, saxeli, g_raioni_kodi FROM gaCereba"), cancelled);
    for (int r = 0; r < stops.count(); ++r) {
        const auto code = stops.key(r, 0);
        const auto served = code ? routesOfStop.find(*code) : routesOfStop.end();
        if (served == routesOfStop.end())
            continue;
        sortRouteNames(*served);
        const QString district = nameOf(districts, stops.key(r, 2));
        const QString routeList = served->join(QStringLiteral(", "));
        entries.push_back({SearchKind::Stop, int(*code), stops.text(r, 1),
                           district.isEmpty() ? routeList : district + QStringLiteral("; ") + routeList});
    }
    for (int r = 0; r < routes.count(); ++r) {
        const auto code = routes.key(r, 0);
        if (code && linkedRoutes.contains(*code)) {
            entries.push_back({SearchKind::Route, int(*code), routes.text(r, 1),
                               joined({nameOf(transportTypes, routes.key(r, 2)), routes.text(r, 3)})});
        }
    }
    if (isCancelled(cancelled))
        return {};
    return entries;
}
