#pragma once
// The commands of the journey page: the two ends completed through the search index's drop-down
// or taken from the map ("mgzavroba aqedan", "mgzavroba aqamde" in the map's menu), planning
// (Enter in a field, the search button, or picking an end when the other is chosen already),
// the journeys found listed with their legs, the one chosen drawn on the map and cleared again.
//
//   JourneyCommands journeys(tab, {dm, search, network, map, state, prompts, runner, pages});
//   journeys.Journey_FilterBtnClick();           // plans between the two fields
//   if (journeys.GraphPopupMenuPopup(content)) ... // the map's menu opens over a spot of the map
//   journeys.aqedanMnItClick();                    // that spot is where the journey starts
//
// The network is the city's one (CityNetwork): built at the first plan, again after the
// database has changed.
#include "journeys/ChosenEnd.h"
#include "transit/Journey.h"

#include <QObject>
#include <QPointF>

#include <memory>
#include <optional>

class CityNetwork;
class CommandRunner;
class DataModule;
class JourneyTab;
class Planner;
class Prompts;
class QLineEdit;
class QTabWidget;
class QTreeWidgetItem;
class SearchDropDown;
class SearchService;
struct MainState;
struct MapEngine;

class JourneyCommands : public QObject {
    Q_OBJECT
public:
    struct Services {
        DataModule &dm;
        SearchService &search;
        CityNetwork &network;
        MapEngine &map;
        MainState &state;
        Prompts &prompts;
        CommandRunner &runner; // picks and choices run inside the default error report
        QTabWidget &pages;     // the page control the journey page is on
    };

    JourneyCommands(JourneyTab &tab, Services services);
    ~JourneyCommands() override;

    // Plans a journey between the two fields and lists what it found; the fastest is drawn.
    void Journey_FilterBtnClick();
    // Empties the fields and the list and takes the journey off the map.
    void JourneyClearBtnClick();
    // The map's menu is opening at `content`: true when that is a spot of the map, which the
    // two items below then take.
    bool GraphPopupMenuPopup(const QPoint &content);
    void aqedanMnItClick();
    void aqamdeMnItClick();

    // The journey listed at `index` on the map (the general map, scrolled to it).
    void showJourney(int index);
    const QVector<Journey> &journeys() const { return m_journeys; }
    SearchDropDown &fromDropDown() const { return *m_fromDropDown; }
    SearchDropDown &toDropDown() const { return *m_toDropDown; }

    static const QString NoEnds;
    static const QString SamePlace;
    static const QString NoJourney;

private:
    // An end was picked or taken from the map for `field`; plans when the other field holds one.
    // The fields say what they take, or that the index they complete from is not ready.
    void showSearchState();
    void chosen(QLineEdit &field, ChosenEnd &end, const ChosenEnd &value);
    void choose(QTreeWidgetItem *item);
    void clearResults();
    void listJourneys(const QVector<Journey> &journeys, bool rough);

    JourneyTab &m_tab;
    Services m_services;
    SearchDropDown *m_fromDropDown;
    SearchDropDown *m_toDropDown;
    ChosenEnd m_from;
    ChosenEnd m_to;
    std::unique_ptr<Planner> m_planner;
    QVector<Journey> m_journeys;
    int m_drawn = -1;
    std::optional<QPointF> m_menuPoint;
};
