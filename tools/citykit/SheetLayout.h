#pragma once
// The grid of detailed sheets over the general map: 5 columns (A-E) by 5 rows (1-5), each sheet
// 20 % of the general map's width and height. The bottom-right sheet is "F5", not "E5", and its
// left edge lies at 71.70028 % of the general map's width instead of 80 %.
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace SheetLayout {

constexpr double F5Left = 71.70028; // per cent of the general map's width

// The 25 sheet codes, column by column: "A1".."A5", ..., "E1".."E4", "F5".
const QStringList &codes();
// The area a sheet covers, in per cent of the general map; an empty rect for an unknown code.
QRectF sheetArea(const QString &code);

// A position on a sheet: its code and x, y in per cent of the sheet's width and height.
struct Place {
    QString code; // empty when the point lies on no sheet
    double x = 0;
    double y = 0;
    bool isValid() const { return !code.isEmpty(); }
};

// The sheet a point of the general map (in per cent) lies on. Points of the bottom row from F5's
// left edge on belong to F5; points right of F5 in that row lie on no sheet.
Place locate(QPointF generalPercent);
// Back from a sheet position to per cent of the general map.
QPointF generalPercent(const Place &place);

} // namespace SheetLayout
