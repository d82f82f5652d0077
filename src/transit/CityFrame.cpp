#include "transit/CityFrame.h"

#include "platform/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cmath>

namespace {

// A city from a few hundred metres to a country's width.
constexpr double MinSideMetres = 100.0;
constexpr double MaxSideMetres = 2.0e6;

CityFrame roughFrame(const QString &problem)
{
    CityFrame frame = CityFrame::tbilisi();
    frame.rough = true;
    frame.problem = problem;
    return frame;
}

bool readNumber(const QHash<QString, QString> &values, const char *key, double *number)
{
    bool ok = false;
    *number = values.value(QLatin1String(key).toString().toLower()).toDouble(&ok);
    return ok && std::isfinite(*number);
}

} // namespace

CityFrame CityFrame::tbilisi()
{
    CityFrame frame;
    frame.widthMetres = 30000.0;
    frame.heightMetres = 22500.0;
    frame.hasCorners = true;
    frame.west = 44.6594;
    frame.south = 41.6354;
    frame.east = 45.0206;
    frame.north = 41.8376;
    return frame;
}

CityFrame CityFrame::read(const QString &path)
{
    const QString found = FileLookup::find(path);
    const QFileInfo info(found);
    if (!info.exists())
        return roughFrame(QStringLiteral("%1 is missing").arg(QDir::toNativeSeparators(found)));
    if (!info.isFile())
        return roughFrame(QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(found)));
    QFile file(found);
    if (!file.open(QIODevice::ReadOnly))
        return roughFrame(QStringLiteral("%1 cannot be read: %2").arg(QDir::toNativeSeparators(found), file.errorString()));
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        return roughFrame(QStringLiteral("%1 is larger than %2 KB").arg(QDir::toNativeSeparators(found)).arg(MaxFileBytes / 1024));

    QHash<QString, QString> values;
    for (const QByteArray &rawLine : bytes.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        values.insert(line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed());
    }
    CityFrame frame;
    if (!readNumber(values, "WidthMetres", &frame.widthMetres) || !readNumber(values, "HeightMetres", &frame.heightMetres)
        || frame.widthMetres < MinSideMetres || frame.widthMetres > MaxSideMetres || frame.heightMetres < MinSideMetres
        || frame.heightMetres > MaxSideMetres)
        return roughFrame(QStringLiteral("%1 gives no sound WidthMetres and HeightMetres").arg(QDir::toNativeSeparators(found)));
    // The corners count only when all four are sound; without them the frame is still exact.
    frame.hasCorners = readNumber(values, "West", &frame.west) && readNumber(values, "South", &frame.south)
                       && readNumber(values, "East", &frame.east) && readNumber(values, "North", &frame.north)
                       && frame.west >= -180 && frame.east <= 180 && frame.west < frame.east && frame.south >= -90
                       && frame.north <= 90 && frame.south < frame.north;
    if (!frame.hasCorners)
        frame.west = frame.south = frame.east = frame.north = 0;
    // A name of printable characters only, shortened to what a title holds.
    QString city = values.value(QStringLiteral("city")).left(MaxCityLength);
    city.removeIf([](QChar c) { return !c.isPrint(); });
    if (!city.trimmed().isEmpty())
        frame.city = city.trimmed();
    return frame;
}

QByteArray CityFrame::fileText() const
{
    QByteArray text = "# The general map's frame: its size in metres and its corners in degrees.\n";
    text += "WidthMetres=" + QByteArray::number(widthMetres, 'f', 1) + '\n';
    text += "HeightMetres=" + QByteArray::number(heightMetres, 'f', 1) + '\n';
    if (hasCorners) {
        text += "West=" + QByteArray::number(west, 'f', 6) + '\n';
        text += "South=" + QByteArray::number(south, 'f', 6) + '\n';
        text += "East=" + QByteArray::number(east, 'f', 6) + '\n';
        text += "North=" + QByteArray::number(north, 'f', 6) + '\n';
    }
    QString name = city.left(MaxCityLength);
    name.removeIf([](QChar c) { return !c.isPrint(); });
    if (!name.trimmed().isEmpty())
        text += "City=" + name.trimmed().toUtf8() + '\n';
    return text;
}

QString CityFrame::genitive(const QString &city)
{
    // Georgian: a name's final -a, -e or -i gives way to -is; -o and -u take -s; a consonant -is.
    if (city.isEmpty())
        return city;
    const QChar last = city.back();
    if (QStringLiteral("aei").contains(last))
        return city.chopped(1) + QStringLiteral("is");
    if (QStringLiteral("ou").contains(last))
        return city + QLatin1Char('s');
    if (!last.isLetter())
        return city;
    return city + QStringLiteral("is");
}
