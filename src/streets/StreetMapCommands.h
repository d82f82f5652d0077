#pragma once
// The commands that mark streets on the maps: the focused street on the general map or on its
// detailed sheet, and all streets of the focused district on the general map.
//
// A street marker is the picture "Str_" + quCa_kodi with the street's name as its hint. Markers
// are matched back to their streets by the key in their names (MarkerWalk), so two streets of the
// same name keep their own places. The commands read the focused street (current record of
// quCa_Qr) and do nothing while the list has none. A street whose sheet code names no sheet gets
// no marker on the general map, with the code's message once per command and street; a marker
// already there for such a street is left as it is.
#include "map/MapShow.h"

#include <QPoint>
#include <QString>

#include <optional>

class DataModule;
class DataSet;
class GroupedRows;
class Prompts;
struct MainState;
struct MapEngine;

class StreetMapCommands {
public:
    // `list` is the street list, whose groups the district command expands.
    StreetMapCommands(DataModule &dm, MainState &state, Prompts &prompts, MapEngine &map, GroupedRows &list)
        : m_dm(dm), m_state(state), m_map(map), m_show(map, state, prompts), m_list(list)
    {
    }

    // All streets of the focused row's district (narrowed by the street search in force) on the
    // general map. From its second use on, it first collapses the list and removes every street
    // marker.
    void raionSiSemavaliyvelaquCismiTiTeba1Click();
    // The focused street on the general map, with the active icon; the view does not move.
    void StreetGenShowMnItClick();
    // The focused street on its own sheet, with the active icon, scrolled to about 350 pixels
    // right of and below the view's corner; markers of streets on other sheets are hidden.
    void StreetDetShowMnItClick();
    // A double click on the marker of street `key`: focuses that street in the street list when
    // the street tab is shown and the list holds it.
    void Im_StreetAcExecute(int key);

    enum class Mode { General, Detailed };
    // Marks the streets of a district (key as decimal text; empty for streets without one).
    void ShowDistrictStreets(const QString &districtKey);
    // Makes the active marker of the focused street for the map shown in `mode`; a marker that
    // cannot be made (already there, no position, icon missing) is quietly not made.
    void AddStreetMarker(Mode mode);

private:
    bool hasFocusedStreet() const;
    // The pixel position of the current record of `streets` on the map shown; none when its
    // x or y is empty, or (told once) when the general map is shown and its code names no sheet.
    std::optional<QPoint> streetPosition(const DataSet &streets, Mode mode);
    bool addMarker(const DataSet &streets, Mode mode, const QString &icon);
    // Loads every street into the scratch query, to find the streets of the markers.
    void loadAllStreets();
    // The street markers, to show the focused street among them with the active icon.
    MapShow::Shown shownStreets();

    DataModule &m_dm;
    MainState &m_state;
    MapEngine &m_map;
    MapShow m_show;
    GroupedRows &m_list;
};
