#pragma once
// Journeys between two ends over a network, found round by round, one round per ride, in the
// manner of RAPTOR (Delling, Pajor and Werneck, "Round-Based Public Transit Routing", 2012):
// round k knows every stop reachable with k rides and how, kept as the labels no other label
// beats on both minutes and metres walked. Without timetables a ride's minutes are the network's
// estimate, and boarding waits half the route's interval.
//
// The answer is at most three journeys of the best found over (minutes, changes, metres walked):
// the fastest first, then the one with the fewest changes, then the one with the least walking
// (when it spares at least 200 m of the others' walking and takes at most half again the fastest's
// minutes), each once. A walk alone is a journey
// too when the ends lie within the first walk's reach.
//
//   Planner planner(network);                  // keep it: it reuses its memory between queries
//   const Planner::Result r = planner.plan(from, to);
#include "transit/Endpoints.h"
#include "transit/Journey.h"
#include "transit/Network.h"

#include <memory>

class Planner {
public:
    explicit Planner(std::shared_ptr<const Network> network);
    ~Planner();
    Planner(const Planner &) = delete;
    Planner &operator=(const Planner &) = delete;

    struct Result {
        enum class Outcome { Found, SamePlace, NoJourney };
        Outcome outcome = Outcome::NoJourney;
        QVector<Journey> journeys;
    };
    Result plan(const JourneyEnd &from, const JourneyEnd &to);

    const Network &network() const { return *m_network; }

private:
    struct Search;
    std::shared_ptr<const Network> m_network;
    std::unique_ptr<Search> m_search;
};
