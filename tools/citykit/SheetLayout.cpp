#include "citykit/SheetLayout.h"

#include <cmath>

namespace SheetLayout {

const QStringList &codes()
{
    static const QStringList all = [] {
        QStringList list;
        const QString columns = QStringLiteral("ABCDE");
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 5; ++r)
                list << (c == 4 && r == 4 ? QStringLiteral("F5") : QString(columns[c]) + QString::number(r + 1));
        return list;
    }();
    return all;
}

QRectF sheetArea(const QString &code)
{
    const int index = codes().indexOf(code);
    if (index < 0)
        return {};
    const int column = index / 5, row = index % 5;
    const double left = code == QLatin1String("F5") ? F5Left : column * 20.0;
    return QRectF(left, row * 20.0, 20.0, 20.0);
}

Place locate(QPointF p)
{
    if (!(p.x() >= 0 && p.x() <= 100 && p.y() >= 0 && p.y() <= 100))
        return {};
    const int row = std::min(4, int(std::floor(p.y() / 20)));
    QString code;
    if (row == 4 && p.x() >= F5Left) {
        if (p.x() > F5Left + 20)
            return {};
        code = QStringLiteral("F5");
    } else {
        const int column = std::min(4, int(std::floor(p.x() / 20)));
        code = codes()[column * 5 + row];
    }
    const QRectF area = sheetArea(code);
    Place place;
    place.code = code;
    place.x = std::clamp((p.x() - area.left()) * 5, 0.0, 100.0);
    place.y = std::clamp((p.y() - area.top()) * 5, 0.0, 100.0);
    return place;
}

QPointF generalPercent(const Place &place)
{
    const QRectF area = sheetArea(place.code);
    return QPointF(area.left() + place.x / 5, area.top() + place.y / 5);
}

} // namespace SheetLayout
