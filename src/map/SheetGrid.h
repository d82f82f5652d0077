#pragma once
// The sheet grid of the city map and the transforms from a record's sheet position to a pixel
// position in the map area's content.
//
// The general map is cut into 5 columns (A..E, index 0..4) by 5 rows (1..5, index 0..4) of
// detailed sheets named by column letter and row digit. The sheet in column 4, row 4 is "F5"
// (there is no "E5"), and it is the one sheet not aligned with the grid: its left edge lies at
// 71.70028 % of the general map's width instead of 80 %.
//
// A located record (object, street, stop) carries its sheet code in `ruka_kodi` and its position
// `x`, `y` in per cent of that sheet's width and height. The transforms give pixel positions for
// a zoom percent (100 = the raster's own size) and the shown raster's base size (`WLb`, `HLb`).
// They compute in x87 extended precision (`long double`) in exactly the order written and round
// exact halves to the even neighbour, so a marker lands on the same pixel every time.
//
// Nothing here speaks to the user: a code that names no sheet gives -1 or std::nullopt, and the
// command tells it (MapShow). Typical use by a show command:
//     const SheetGrid::Viewport view = map.viewport();   // zoom, base size, the map shown
//     if (const std::optional<QPoint> pos = view.generalPixel(code, x, y)) ...
//     const QPoint onSheet = view.sheetPixel(x, y);
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace SheetGrid {

// Name of the general map, as held in CurrentMapName.
QString generalMapName();

// Grid indexes of a sheet code (only its first two characters count, compared exactly and
// case-sensitively); -1 when it names no sheet.
int SheetColumn(const QString &code);
int SheetRow(const QString &code);

// The spot a record names: its sheet code and its position on that sheet in per cent.
struct Place {
    QString code;
    double x = 0;
    double y = 0;
};

// The position of a place on the general map in per cent of its width and height (the F5 sheet
// shifted left); std::nullopt when its code names no sheet.
std::optional<QPointF> generalPercent(const Place &place);

// Pixel position on the sheet that is shown.
qint64 SheetPixelX(int zoom, int baseWidth, double x);
qint64 SheetPixelY(int zoom, int baseHeight, double y);
// Pixel position on the general map; an index of -1 enters the formulas unchanged, which puts
// a record with an unknown code left of or above the map.
qint64 GeneralPixelX(int column, int row, int zoom, double x, int baseWidth);
qint64 GeneralPixelY(int row, int zoom, int baseHeight, double y);

// A 64-bit pixel result as a control position (clamped to a range no widget arithmetic
// overflows on).
int toControlPosition(qint64 pixel);

// The map shown and its scale: everything the transforms need besides the record.
struct Viewport {
    int zoom = 100;      // percent; 100 is the raster's own size
    int baseWidth = 0;   // WLb
    int baseHeight = 0;  // HLb
    QString map;         // CurrentMapName: the general map's name or the whole code of the sheet

    bool showsGeneralMap() const { return map == generalMapName(); }

    // Where a record lies on the general map; std::nullopt when its code names no sheet.
    std::optional<QPoint> generalPixel(const QString &code, double x, double y) const;
    // Where a record lies on the sheet shown, whatever sheet it names.
    QPoint sheetPixel(double x, double y) const;
    // Where a record lies on the map shown: on the general map as generalPixel() places it; on
    // a sheet when the record's whole code is that sheet's, std::nullopt for another sheet.
    std::optional<QPoint> pixelOnShownMap(const Place &place) const;
    // A place in the pixel frame of the map shown, also when it lies on another sheet (so that
    // a line leaving the sheet runs on towards it); std::nullopt when a code names no sheet. A
    // place on the map shown lands on the pixel pixelOnShownMap() gives.
    std::optional<QPoint> pixelInFrame(const Place &place) const;
};

// The scroll position that puts a record lying at `percent` of the map's extent about `margin`
// pixels right of or below the view's corner: round(range × 0.01 × percent) − margin, computed
// in double precision. A far-off or broken coordinate (1e300, NaN) gives a position clamped like
// a control position instead of overflowing.
int scrollTarget(int range, double percent, int margin = 350);

} // namespace SheetGrid
