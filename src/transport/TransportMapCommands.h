#pragma once
// The commands that mark routes and stops on the maps: a whole route on the general map, and the
// focused stop on the general map or on its detailed sheet.
//
// Stop markers are found back to their stops by the key in their names (MarkerWalk), so that two
// stops of the same name never borrow each other's place. A stop whose sheet code names no sheet
// gets no marker on the general map, with the code's message once per command and stop; a marker
// already there for such a stop is left as it is.
#include "map/MapShow.h"

#include <QString>
#include <QVariant>

class DataModule;
class DataSet;
class Prompts;
struct MainState;
struct MapEngine;

class TransportMapCommands {
public:
    TransportMapCommands(DataModule &dm, MainState &state, Prompts &prompts, MapEngine &map)
        : m_dm(dm), m_state(state), m_map(map), m_show(map, state, prompts)
    {
    }

    void marSrutisCvenebazogadrukaze1Click();
    // Shows a route on the general map from the view's origin, as the list's route command does.
    void showRoute(const QString &routeName, const QVariant &type);
    void GenStopShowMnItClick();
    void DetStopShowMnItClick();

    // Marks every stop of the route of this name and type (NULL: routes without a type) on the
    // general map, in route order, narrowed by the transport search in force. A stop already
    // marked keeps its marker.
    void ShowRouteStops(const QString &routeName, const QVariant &type);

    enum class Mode { General, Detailed };
    // Marks the stop of the route-stop list's current row; nothing is made when its position is
    // empty or its marker cannot be made.
    void AddStopMarker(Mode mode);

private:
    DataSet &routeStops() const;
    // True when the route-stop list has a current row to act on.
    bool hasCurrentStop() const;
    // The stop markers, to show the current row's stop among them.
    MapShow::Shown shownStops();

    DataModule &m_dm;
    MainState &m_state;
    MapEngine &m_map;
    MapShow m_show;
};
