#include "transit/SheetPosition.h"

#include <cmath>

namespace {

constexpr double F5Left = 80.0 - 8.29972;

} // namespace

namespace SheetPosition {

std::optional<QPointF> generalPercent(const QString &sheetCode, double x, double y)
{
    if (sheetCode.size() < 2 || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    const QChar letter = sheetCode.at(0), digit = sheetCode.at(1);
    if (letter == QLatin1Char('F') && digit == QLatin1Char('5'))
        return QPointF(F5Left + x / 5.0, 80.0 + y / 5.0);
    const int column = letter.unicode() - 'A', row = digit.unicode() - '1';
    if (column < 0 || column > 4 || row < 0 || row > 4 || (column == 4 && row == 4))
        return std::nullopt;
    return QPointF(column * 20.0 + x / 5.0, row * 20.0 + y / 5.0);
}

std::optional<SheetSpot> sheetOf(QPointF general)
{
    const double gx = general.x(), gy = general.y();
    if (!(gx >= 0 && gx <= 100 && gy >= 0 && gy <= 100))
        return std::nullopt;
    const int column = std::min(int(gx / 20.0), 4), row = std::min(int(gy / 20.0), 4);
    if (column == 4 && row == 4) {
        if (gx > F5Left + 20.0)
            return std::nullopt;
        return SheetSpot{QStringLiteral("F5"), (gx - F5Left) * 5.0, (gy - 80.0) * 5.0};
    }
    // Where D5 and F5 overlap, the grid's own sheet D5 shows the point.
    const QString code = QString(QChar(u'A' + column)) + QChar(u'1' + row);
    return SheetSpot{code, (gx - column * 20.0) * 5.0, (gy - row * 20.0) * 5.0};
}

} // namespace SheetPosition
