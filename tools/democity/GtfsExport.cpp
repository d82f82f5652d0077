#include "democity/GtfsExport.h"

#include "osmimport/Transcription.h"

#include <QDir>
#include <QSaveFile>

#include <stdexcept>

namespace GtfsExport {

namespace {

constexpr int FirstDeparture = 6 * 3600;
constexpr int LastDeparture = 23 * 3600;
constexpr int SecondsBetweenStops = 120;
constexpr double DefaultIntervalMinutes = 10;

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break.
QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r'))
        return bytes;
    return '"' + bytes.replace("\"", "\"\"") + '"';
}

QByteArray time(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

int routeType(const QByteArray &route)
{
    if (route == "subway")
        return 1;
    if (route == "tram")
        return 0;
    if (route == "trolleybus")
        return 11;
    if (route == "aerialway")
        return 6;
    return 3;
}

class Writer {
public:
    Writer(const QString &folder, const char *name) : m_file(QDir(folder).filePath(QLatin1String(name)))
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
    }
    void line(const QByteArray &text)
    {
        m_buffer += text;
        m_buffer += '\n';
        if (m_buffer.size() > (1 << 20))
            flush();
    }
    void commit()
    {
        flush();
        if (!m_file.commit())
            fail();
    }

private:
    void flush()
    {
        if (m_file.write(m_buffer) != m_buffer.size())
            fail();
        m_buffer.clear();
    }
    [[noreturn]] void fail()
    {
        throw std::runtime_error(QStringLiteral("Cannot write %1: %2")
                                     .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString())
                                     .toStdString());
    }
    QSaveFile m_file;
    QByteArray m_buffer;
};

} // namespace

void write(const City &city, const TagMapping &mapping, const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("Cannot make the folder %1").arg(QDir::toNativeSeparators(folder)).toStdString());
    const MapFrame &frame = city.model->frame;

    Writer stops(folder, "stops.txt");
    stops.line("stop_id,stop_name,stop_lat,stop_lon");
    for (const StopRecord &stop : city.stops) {
        const QPointF at = frame.lonLat(stop.position);
        stops.line(QByteArray::number(stop.code) + ',' + field(Transcription::toGeorgian(stop.name)) + ','
                   + QByteArray::number(at.y(), 'f', 7) + ',' + QByteArray::number(at.x(), 'f', 7));
    }
    stops.commit();

    Writer routes(folder, "routes.txt"), trips(folder, "trips.txt"), times(folder, "stop_times.txt");
    routes.line("route_id,route_short_name,route_long_name,route_type");
    trips.line("route_id,service_id,trip_id,direction_id");
    times.line("trip_id,arrival_time,departure_time,stop_id,stop_sequence");
    for (const RouteRecord &route : city.routes) {
        routes.line(QByteArray::number(route.code) + ',' + field(Transcription::toGeorgian(route.name)) + ','
                    + field(Transcription::toGeorgian(route.description)) + ','
                    + QByteArray::number(routeType(mapping.routeOf(route.type))));
        const int every = int((route.intervalMinutes > 0 ? route.intervalMinutes : DefaultIntervalMinutes) * 60);
        for (int start = FirstDeparture, n = 1; start <= LastDeparture; start += every, ++n) {
            const QByteArray trip = QByteArray::number(route.code) + '-' + QByteArray::number(n);
            trips.line(QByteArray::number(route.code) + ",daily," + trip + ",0");
            for (int i = 0; i < route.stops.size(); ++i) {
                const QByteArray at = time(start + i * SecondsBetweenStops);
                times.line(trip + ',' + at + ',' + at + ',' + QByteArray::number(city.stops[route.stops[i]].code) + ','
                           + QByteArray::number(i + 1));
            }
        }
    }
    routes.commit();
    trips.commit();
    times.commit();
}

} // namespace GtfsExport
