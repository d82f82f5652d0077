#include "map/JourneyDrawing.h"

#include <iterator>

QColor JourneyDrawing::rideColour(int typeKey, const QString &typeName)
{
    // Transliterated names tell letters apart by case: they are matched as written.
    const QString &name = typeName;
    if (name.contains(QLatin1String("metro")))
        return QColor(214, 40, 40);
    if (name.contains(QLatin1String("sabagiro")))
        return QColor(130, 60, 170);
    if (name.contains(QLatin1String("mikro")) || name.contains(QLatin1String("marSrutk")))
        return QColor(235, 130, 20);
    if (name.contains(QLatin1String("avtobus")))
        return QColor(30, 100, 200);
    static const QColor others[] = {QColor(0, 140, 130), QColor(150, 110, 30), QColor(200, 50, 140),
                                    QColor(60, 140, 40)};
    return others[unsigned(typeKey) % std::size(others)];
}
