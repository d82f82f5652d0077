#pragma once
// The public transport network of a city, built once from its route and stop tables and shared
// by every journey query (it never changes; build a new one when the database does).
//
// Stops are placed in metres on the general map's frame. Each route keeps its stops in the order
// of their numbers: a vehicle rides forward along that order only, so a route stored as both
// directions one after the other is ridden out and back, and a route that ends where it began
// runs round (a ride may go on past its last stop into its first). Stops without a usable
// position (no or an unknown sheet code, a coordinate off its sheet) are ridden through but left
// out of walking. What the tables held that could not be used is counted in `notes()`.
#include "transit/CityFrame.h"
#include "transit/TransitFigures.h"

#include <QHash>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>
#include <memory>
#include <optional>
#include <span>

// The rows of the tables the network is made of, as read (NetworkLoader) or written by a test.
struct NetworkTables {
    static constexpr double Null = std::numeric_limits<double>::quiet_NaN();
    struct Stop {
        std::optional<qint64> code;
        QString name;
        QString sheet;
        double x = Null, y = Null;
        int district = 0;
    };
    struct Route {
        std::optional<qint64> code;
        std::optional<qint64> type;
        QString name;
    };
    struct Type {
        std::optional<qint64> code;
        QString name;
    };
    struct Link {
        std::optional<qint64> route, stop, order;
    };
    struct Interval {
        std::optional<qint64> route;
        double minutes = Null;
    };
    QVector<Stop> stops;
    QVector<Route> routes;
    QVector<Type> types;
    QVector<Link> links;
    QVector<Interval> intervals; // the optional table transporti_intervali
    QString intervalsProblem;    // why that table, present, could not be read
};

struct TransitStop {
    int code = 0;
    QString name;
    int district = 0;
    QString sheet; // as stored
    double x = 0, y = 0;
    bool placed = false;
    QPointF general; // per cent of the general map, when placed
    QPointF metres;  // on the frame, when placed
};

struct TransitRoute {
    int code = 0;
    QString name;
    int type = 0;
    QString typeName;
    TransitMode mode = TransitMode::Bus;
    double intervalMinutes = 0;
    bool intervalFromCity = false; // from transporti_intervali, else the mode's default
    bool circular = false;
    QVector<int> stops;       // stop indexes in the order of their numbers
    // The order a ride follows: `stops`, and for a circular route its second lap after that.
    QVector<int> scan;
    QVector<double> minutesAt; // ride minutes from scan position 0, stops on the way included
    double waitMinutes() const { return intervalMinutes / 2.0; }
};

// What the tables held that the network could not use, each counted once per build.
struct NetworkNotes {
    int unplacedStops = 0;         // left out of walking
    QStringList unplacedExamples;  // the first few of their names
    int repeatedStopCodes = 0;     // rows after the first of a code, left out
    int repeatedRouteCodes = 0;
    int unusableLinks = 0;         // to no known route or stop, or without an order number
    int unusableIntervals = 0;     // to no route, or not a number of minutes
    QString intervalsProblem;      // the table of intervals could not be read
    // Sentences for a person, one a note (empty when all is well).
    QStringList describe(const CityFrame &frame) const;
};

class Network {
public:
    struct Visit {
        int route;
        int position; // in the route's `stops`
    };
    struct Footpath {
        int stop;
        float straightMetres;
    };

    static std::shared_ptr<const Network> build(const NetworkTables &tables, const CityFrame &frame,
                                                const TransitFigures &figures = TransitFigures::standard());

    const QVector<TransitStop> &stops() const { return m_stops; }
    const QVector<TransitRoute> &routes() const { return m_routes; }
    const CityFrame &frame() const { return m_frame; }
    const TransitFigures &figures() const { return m_figures; }
    const NetworkNotes &notes() const { return m_notes; }

    // -1 when no stop has the code.
    int stopIndex(qint64 code) const { return m_stopByCode.value(code, -1); }
    // Every stop of exactly that name, in the order of the table.
    QVector<int> stopsNamed(const QString &name) const { return m_stopsByName.value(name); }
    // Every place where a route stops at the stop (a route may stop there twice).
    std::span<const Visit> visits(int stop) const
    {
        return {m_visits.data() + m_visitStart[stop], size_t(m_visitStart[stop + 1] - m_visitStart[stop])};
    }
    // The placed stops within a change's walk of a placed stop.
    std::span<const Footpath> footpaths(int stop) const
    {
        return {m_footpaths.data() + m_footpathStart[stop], size_t(m_footpathStart[stop + 1] - m_footpathStart[stop])};
    }
    // A general-map position in metres on the frame.
    QPointF metres(QPointF generalPercent) const;

private:
    Network(const CityFrame &frame, const TransitFigures &figures) : m_frame(frame), m_figures(figures) {}
    void addStops(const QVector<NetworkTables::Stop> &rows);
    void addRoutes(const NetworkTables &tables);
    void timeRoute(TransitRoute &route) const;
    void indexVisits();
    void linkFootpaths();

    CityFrame m_frame;
    TransitFigures m_figures;
    NetworkNotes m_notes;
    QVector<TransitStop> m_stops;
    QVector<TransitRoute> m_routes;
    QHash<qint64, int> m_stopByCode;
    QHash<QString, QVector<int>> m_stopsByName;
    QVector<int> m_visitStart;
    QVector<Visit> m_visits;
    QVector<int> m_footpathStart;
    QVector<Footpath> m_footpaths;
};
