#include "map/SheetGrid.h"

#include <cmath>

namespace SheetGrid {

namespace {

// Codes by column; the sheet of column 4, row 4 is "F5".
const QLatin1String sheetCodes[5][5] = {
    {QLatin1String("A1"), QLatin1String("A2"), QLatin1String("A3"), QLatin1String("A4"), QLatin1String("A5")},
    {QLatin1String("B1"), QLatin1String("B2"), QLatin1String("B3"), QLatin1String("B4"), QLatin1String("B5")},
    {QLatin1String("C1"), QLatin1String("C2"), QLatin1String("C3"), QLatin1String("C4"), QLatin1String("C5")},
    {QLatin1String("D1"), QLatin1String("D2"), QLatin1String("D3"), QLatin1String("D4"), QLatin1String("D5")},
    {QLatin1String("E1"), QLatin1String("E2"), QLatin1String("E3"), QLatin1String("E4"), QLatin1String("F5")},
};

constexpr long double Hundredth = 0.01L;
constexpr long double F5Shift = 8.29972L;

// Finds the code in the grid; `byColumn` picks which index is returned.
int gridIndex(const QString &code, bool byColumn)
{
    // The codes are distinct, so the first match is the only one.
    const QStringView sheet = QStringView(code).left(2);
    for (int column = 0; column < 5; ++column)
        for (int row = 0; row < 5; ++row)
            if (sheet == sheetCodes[column][row])
                return byColumn ? column : row;
    return -1;
}

// The per-cent positions on the general map, rounded to a double before any further product.
double generalX(int column, int row, double x)
{
    return double(column == 4 && row == 4 ? (long double)x / 5.0L + 80.0L - F5Shift
                                          : (long double)column * 20.0L + (long double)x / 5.0L);
}

double generalY(int row, double y)
{
    return double((long double)row * 20.0L + (long double)y / 5.0L);
}

// Nearest integer, exact halves to even. Non-finite values (a broken coordinate) give 0 and
// values beyond the 64-bit range are clamped, so bad data cannot cause undefined behaviour.
qint64 roundHalfEven(long double value)
{
    if (!std::isfinite(value))
        return 0;
    const long double rounded = std::nearbyint(value);
    constexpr long double limit = 9.0e18L;
    if (rounded >= limit)
        return qint64(limit);
    if (rounded <= -limit)
        return -qint64(limit);
    return qint64(rounded);
}


} // namespace

QString generalMapName()
{
    return QStringLiteral("Tbilisi");
}

int SheetColumn(const QString &code)
{
    return gridIndex(code, true);
}

int SheetRow(const QString &code)
{
    return gridIndex(code, false);
}

std::optional<QPointF> generalPercent(const Place &place)
{
    const int column = SheetColumn(place.code);
    const int row = SheetRow(place.code);
    if (column < 0)
        return std::nullopt;
    return QPointF(generalX(column, row, place.x), generalY(row, place.y));
}

qint64 SheetPixelX(int zoom, int baseWidth, double x)
{
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseWidth / 100.0L * (long double)x);
}

qint64 SheetPixelY(int zoom, int baseHeight, double y)
{
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseHeight / 100.0L * (long double)y);
}

qint64 GeneralPixelX(int column, int row, int zoom, double x, int baseWidth)
{
    const double gx = generalX(column, row, x);
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseWidth * Hundredth * (long double)gx);
}

qint64 GeneralPixelY(int row, int zoom, int baseHeight, double y)
{
    const double gy = generalY(row, y);
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseHeight * Hundredth * (long double)gy);
}

int toControlPosition(qint64 pixel)
{
    constexpr qint64 limit = 1 << 30;
    return int(qBound(-limit, pixel, limit));
}

std::optional<QPoint> Viewport::generalPixel(const QString &code, double x, double y) const
{
    const int row = SheetRow(code);
    const int column = SheetColumn(code);
    if (column < 0)
        return std::nullopt;
    return QPoint(toControlPosition(GeneralPixelX(column, row, zoom, x, baseWidth)),
                  toControlPosition(GeneralPixelY(row, zoom, baseHeight, y)));
}

QPoint Viewport::sheetPixel(double x, double y) const
{
    return {toControlPosition(SheetPixelX(zoom, baseWidth, x)), toControlPosition(SheetPixelY(zoom, baseHeight, y))};
}

std::optional<QPoint> Viewport::pixelOnShownMap(const Place &place) const
{
    if (showsGeneralMap())
        return generalPixel(place.code, place.x, place.y);
    if (place.code == map)
        return sheetPixel(place.x, place.y);
    return std::nullopt;
}

std::optional<QPoint> Viewport::pixelInFrame(const Place &place) const
{
    if (showsGeneralMap() || place.code == map)
        return pixelOnShownMap(place);
    // Another sheet's place, in per cent of the sheet shown (a sheet is a fifth of the map).
    const std::optional<QPointF> at = generalPercent(place);
    const std::optional<QPointF> corner = generalPercent({map, 0, 0});
    if (!at || !corner)
        return std::nullopt;
    const QPointF onThisSheet = (*at - *corner) * 5.0;
    return sheetPixel(onThisSheet.x(), onThisSheet.y());
}

int scrollTarget(int range, double percent, int margin)
{
    const double rounded = std::nearbyint(double(range) * 0.01 * percent);
    if (std::isnan(rounded))
        return -margin;
    constexpr double limit = 1 << 30;
    return toControlPosition(qint64(qBound(-limit, rounded, limit))) - margin;
}

} // namespace SheetGrid
