#include "map/SheetGrid.h"

#include "common/Prompts.h"

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

constexpr int HotLineSubRubric = 172;

// Message windows that show nothing.
class SilentPrompts : public Prompts {
public:
    void showMessage(const QString &) override {}
    bool askYesNo(const QString &) override { return false; }
    void reportError(const QString &) override {}
    void standardMessage(const QString &, const QString &) override {}
};
constexpr long double Hundredth = 0.01L;
constexpr long double F5Shift = 8.29972L;

// Finds the code in the grid; `byColumn` picks which index is returned.
int gridIndex(const QString &code, bool byColumn, Prompts &prompts)
{
    // The codes are distinct, so the first match is the only one.
    const QStringView sheet = QStringView(code).left(2);
    for (int column = 0; column < 5; ++column)
        for (int row = 0; row < 5; ++row)
            if (sheet == sheetCodes[column][row])
                return byColumn ? column : row;
    prompts.showMessage(QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia"));
    return -1;
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

int SheetColumn(const QString &code, Prompts &prompts)
{
    return gridIndex(code, true, prompts);
}

int SheetRow(const QString &code, Prompts &prompts)
{
    return gridIndex(code, false, prompts);
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
    const long double gxExtended = column == 4 && row == 4
                                       ? (long double)x / 5.0L + 80.0L - F5Shift
                                       : (long double)column * 20.0L + (long double)x / 5.0L;
    const double gx = double(gxExtended);
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseWidth * Hundredth * (long double)gx);
}

qint64 GeneralPixelY(int row, int zoom, int baseHeight, double y)
{
    const double gy = double((long double)row * 20.0L + (long double)y / 5.0L);
    return roundHalfEven((long double)zoom * Hundredth * (long double)baseHeight * Hundredth * (long double)gy);
}

int toControlPosition(qint64 pixel)
{
    constexpr qint64 limit = 1 << 30;
    return int(qBound(-limit, pixel, limit));
}

QPoint generalPixel(const QString &code, int zoom, double x, double y, int baseWidth, int baseHeight,
                    Prompts &prompts)
{
    const int row = SheetRow(code, prompts);
    const int column = SheetColumn(code, prompts);
    const qint64 left = GeneralPixelX(column, row, zoom, x, baseWidth);
    const qint64 top = GeneralPixelY(SheetRow(code, prompts), zoom, baseHeight, y);
    return {toControlPosition(left), toControlPosition(top)};
}

std::optional<QPoint> generalPlace(const QString &code, int zoom, double x, double y, int baseWidth, int baseHeight,
                                   Prompts *tell)
{
    // Once SheetColumn has accepted the code, the transform has nothing to tell.
    SilentPrompts silent;
    if (SheetColumn(code, tell ? *tell : silent) < 0)
        return std::nullopt;
    return generalPixel(code, zoom, x, y, baseWidth, baseHeight, silent);
}

QPoint sheetPixel(int zoom, int baseWidth, int baseHeight, double x, double y)
{
    return {toControlPosition(SheetPixelX(zoom, baseWidth, x)), toControlPosition(SheetPixelY(zoom, baseHeight, y))};
}

int scrollTarget(int range, double percent, int margin)
{
    const double rounded = std::nearbyint(double(range) * 0.01 * percent);
    if (std::isnan(rounded))
        return -margin;
    constexpr double limit = 1 << 30;
    return toControlPosition(qint64(qBound(-limit, rounded, limit))) - margin;
}

bool CheckMapCode(const QString &code, int subRubric, Prompts &prompts)
{
    if (!code.isEmpty())
        return true;
    prompts.showMessage(subRubric == HotLineSubRubric
                            ? QStringLiteral("cxeli xazis obieqti rukaze datanili ar aris")
                            : QStringLiteral("rukis rekviziti arakoreqtulia, obieqtis Cveneba rukaze SeuZlebelia"));
    return false;
}

} // namespace SheetGrid
