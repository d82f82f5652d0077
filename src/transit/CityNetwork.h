#pragma once
// The network of the city the data module is connected to, for the window: built at its first
// use and kept, so that a journey or "routes at this stop" does not read the tables each time.
// When the data module puts a list back on its unfiltered rows (the way the program takes in a
// changed database), the network is let go and the next use builds it again.
//
//   CityNetwork city(dm);
//   const std::shared_ptr<const Network> network = city.network();  // throws Error
#include "transit/Network.h"

#include <QObject>

#include <memory>

class DataModule;

class CityNetwork : public QObject {
    Q_OBJECT
public:
    explicit CityNetwork(DataModule &dm, QObject *parent = nullptr);

    // The network, built now when there is none; throws Error with the database's message when
    // its tables cannot be read (the next use tries again).
    std::shared_ptr<const Network> network();
    // True when the last use built it anew (its notes are then worth telling once).
    bool isFresh() const { return m_fresh; }
    // Lets the network go; the next use builds it from the tables.
    void forget();

private:
    DataModule &m_dm;
    std::shared_ptr<const Network> m_network;
    bool m_fresh = false;
};
