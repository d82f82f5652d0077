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
// Typical use by a show command (zoom from ZoomEd, base size from MainState):
//     const QPoint pos = onGeneralMap
//         ? SheetGrid::generalPixel(code, zoom, x, y, state.WLb, state.HLb, prompts)
//         : SheetGrid::sheetPixel(zoom, state.WLb, state.HLb, x, y);
#include <QPoint>
#include <QString>
#include <QtGlobal>

#include <optional>

class Prompts;

namespace SheetGrid {

// Name of the general map, as held in CurrentMapName.
QString generalMapName();

// Grid indexes of a sheet code (only its first two characters count, compared exactly and
// case-sensitively). An unknown code shows "adgilmdebareobis maCvenebeli rukis faili
// arakoreqtulia" through `prompts` and gives -1.
int SheetColumn(const QString &code, Prompts &prompts);
int SheetRow(const QString &code, Prompts &prompts);

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

// Both coordinates on the general map, calling SheetRow, SheetColumn and SheetRow again in that
// order (an unknown code therefore shows its message three times).
QPoint generalPixel(const QString &code, int zoom, double x, double y, int baseWidth, int baseHeight,
                    Prompts &prompts);
// The place of a record on the general map, where a show command puts it: std::nullopt when its
// code names no sheet, and then `tell` (when given) shows the unknown-code message once, where
// generalPixel() would show it three times and put the record off the map.
std::optional<QPoint> generalPlace(const QString &code, int zoom, double x, double y, int baseWidth, int baseHeight,
                                   Prompts *tell);
// Both coordinates on the shown sheet.
QPoint sheetPixel(int zoom, int baseWidth, int baseHeight, double x, double y);

// The scroll position that puts a record lying at `percent` of the map's extent about `margin`
// pixels right of or below the view's corner: round(range × 0.01 × percent) − margin, computed
// in double precision. A far-off or broken coordinate (1e300, NaN) gives a position clamped like
// a control position instead of overflowing.
int scrollTarget(int range, double percent, int margin = 350);

// True when the record has a sheet code. An empty code shows, through `prompts`, the hot-line
// message for sub-rubric 172 ("cxeli xazis obieqti rukaze datanili ar aris") or the general one
// for any other sub-rubric, and gives false.
bool CheckMapCode(const QString &code, int subRubric, Prompts &prompts);

} // namespace SheetGrid
