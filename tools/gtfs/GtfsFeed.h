#pragma once
// A GTFS feed as a city's catalogue takes it: the stops, and for each route the stops of its most
// frequent trip in each direction and how often it runs on a weekday morning.
//
// What cannot be read at all (a missing file or column, an unclosed quote, a hostile zip) throws
// std::runtime_error naming the file and line. What a real feed gets wrong here and there (a trip
// of one stop, times that go back, a stop without coordinates, an id given twice, an unknown
// route or stop) is left out or kept as well as it can be, and said in the notes with its file
// and line.
#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

struct GtfsStop {
    QByteArray id;
    QString name;
    bool located = false; // has coordinates
    double lat = 0, lon = 0;
    bool station = false;  // location_type 1: the platforms with it as parent are its parts
    int parent = -1;       // the station a platform belongs to
    bool served = false;   // some kept trip stops at it or at one of its platforms
    QByteArray routeValue; // the route=* value of a route calling at it ("subway" wins)
};

struct GtfsRoute {
    QByteArray id;
    qint64 line = 0; // in routes.txt
    QString shortName, longName;
    int type = -1;   // route_type
    QColor colour;
    // The stops of its most frequent trip in each direction, as indexes of top-level stops
    // (stations, and stops without one).
    QVector<QVector<int>> directions;
    // Departures in the busier direction between 07:00 and 10:00 on the day with most trips,
    // and the interval in minutes they give (else the day's spacing); 0 when not known.
    int morningDepartures = 0;
    double intervalMinutes = 0;
};

struct GtfsFeed {
    QVector<GtfsStop> stops;
    QVector<GtfsRoute> routes; // those with a trip the catalogue can use
    QStringList notes;

    // Reads a feed folder or .zip; throws std::runtime_error when it cannot be read.
    static GtfsFeed read(const QString &path);
    // The top-level stop a stop belongs to: its station, or itself.
    int topLevel(int stop) const;
};

// "HH:MM:SS" in seconds (hours may pass 24); -1 for anything else.
int gtfsSeconds(const QByteArray &text);
// The OpenStreetMap route=* value of a GTFS route_type (basic or extended), empty when the
// catalogue has no such kind of transport.
QByteArray gtfsRouteValue(int routeType);
