#pragma once
// The pictures of the tool bar, the actions and the menus (ToolBarImageList), 16 by 16 pixels,
// drawn by the program. Each is known by its index in the list.
#include <QIcon>

namespace ToolBarImageList {

enum Index {
    ClearMap = 2,
    Activate = 7,
    Details = 8,
    Exit = 12,
    Search = 15,
    GeneralMapItem = 20,
    GeneralMap = 22,
    ObjectWithStops = 27,
    Zoom = 35,
    DetailedMap = 36,
    Advertising = 39,
    StopGeneralMap = 40,
    StopDetailedMap = 41,
};

// The picture at `index`; a null icon for an index the list does not hold.
QIcon icon(int index);
// The picture of the search panels' clear buttons.
QIcon clearSearchIcon();
// The pictures of what the search box finds: a place (a pin), a street (a road), a stop (its
// sign) and a route (a bus).
QIcon placeIcon();
QIcon streetIcon();
QIcon stopIcon();
QIcon routeIcon();

// The double arrow of a tool bar's or menu bar's button for the items that do not fit: pointing
// right for a horizontal bar, down for a vertical one.
QIcon extensionIcon(Qt::Orientation orientation);

} // namespace ToolBarImageList
