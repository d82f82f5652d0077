#pragma once
// Where a sheet position lies on the general map, and back, in per cent of the general map,
// without the pixel rounding of the map's drawing: the planner measures distances with it.
// The sheets are a 5 x 5 grid (A..E, 1..5), each a fifth of the map; "F5" stands for "E5" and
// starts 8.29972 % further left.
#include <QPointF>
#include <QString>

#include <optional>

struct SheetSpot {
    QString sheet; // two-character code
    double x = 0;  // per cent of the sheet
    double y = 0;
};

namespace SheetPosition {

// The general-map position of `x`, `y` on the sheet the code's first two characters name;
// nothing for an unknown code or a coordinate that is not a number.
std::optional<QPointF> generalPercent(const QString &sheetCode, double x, double y);

// The sheet that shows a general-map position and the position on it: the grid's sheet, F5 for
// the grid's bottom-right cell. Nothing off the map, or in the corner right of F5 that no sheet
// covers.
std::optional<SheetSpot> sheetOf(QPointF generalPercent);

} // namespace SheetPosition
