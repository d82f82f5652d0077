#include "transit/Planner.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>
#include <vector>

namespace {

// A new way to a stop must beat every kept one by this much on minutes or on walking: ways
// that differ by less are the same answer to a person, and keeping them only slows the search.
constexpr float MinutesSlack = 1.0f;
constexpr float WalkSlack = 150.0f;
// Ends closer than this are one place; walks shorter than this are left out of the legs.
constexpr double SamePlaceMetres = 1.0;
// The journey with the least walking is offered beside the others only when it spares at
// least this much of their walking (a few steps are not worth more changes or minutes) and
// takes at most this many times the fastest journey's minutes.
constexpr float WorthWalkingLess = 200.0f;
constexpr float SlowestWorthTaking = 1.5f;

enum class Arrival : quint8 { Access, Ride, Walk };

// One way to reach a stop: its totals so far and the step that made it.
struct Label {
    float minutes;
    float walk;
    int stop;
    int parent;   // the label this step started from; -1 for the first walk
    int route;    // Ride: the route
    int board;    // Ride: scan positions of boarding and alighting
    int alight;
    int anchor;   // Access: the anchor of the start walked from
    int round;    // rides so far
    Arrival how;
};

// A way kept at a stop, with what its comparisons need at hand.
struct Kept {
    float minutes;
    float walk;
    int round;
    int label;
    bool ride;
};

// A way on board a route: minutes counted so that the arrival at scan position p is
// offset + minutesAt[p], which lets ways boarded at different stops be compared.
struct OnBoard {
    float offset;
    float walk;
    int parent;
    int board;
};

// A way to the end: through the label `last` and a last walk, or (last -1) a walk alone.
struct Arrived {
    float minutes;
    float walk;
    int rides;
    int last;
    int fromAnchor; // a walk alone: the start's anchor
    int toAnchor;
    float lastWalk;
};

// The walk between a stop or anchor and a journey end's anchors.
struct Reach {
    float walk = -1; // walked metres; -1: out of reach
    int anchor = -1;
};

double straightMetres(QPointF a, QPointF b)
{
    const double dx = a.x() - b.x(), dy = a.y() - b.y();
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

struct Planner::Search {
    const Network &net;
    const TransitFigures &fig;
    std::vector<Label> labels;
    std::vector<std::vector<Kept>> bags;     // the ways kept at each stop, of every round so far
    std::vector<int> touched;                // stops whose bag may not be empty
    std::vector<char> isTouched;
    std::vector<float> remaining;            // minutes to the end at least, by the fastest mode
    float metresPerMinute;                   // the fastest mode's
    float shortestWait = 0;                  // of any route
    std::vector<Reach> access, egress;
    std::vector<int> accessTouched, egressTouched;
    std::vector<int> routeStart;             // earliest scan position to scan from this round
    std::vector<int> queued;
    std::vector<char> isMarked;
    std::vector<int> marked;                 // stops that gained a way this round
    std::vector<OnBoard> onBoard;
    std::vector<Arrived> arrived;

    explicit Search(const Network &network)
        : net(network), fig(network.figures()), bags(network.stops().size()), isTouched(network.stops().size(), 0),
          remaining(network.stops().size(), 0), access(network.stops().size()), egress(network.stops().size()),
          routeStart(network.routes().size(), INT_MAX), isMarked(network.stops().size(), 0)
    {
        double fastest = fig.walkKmh;
        for (TransitMode m : {TransitMode::Bus, TransitMode::Minibus, TransitMode::Metro, TransitMode::CableCar})
            fastest = std::max(fastest, fig.mode(m).speedKmh);
        metresPerMinute = float(fastest * 1000.0 / 60.0);
        const auto waits = [](const TransitRoute &a, const TransitRoute &b) { return a.waitMinutes() < b.waitMinutes(); };
        if (!net.routes().isEmpty())
            shortestWait = float(std::min_element(net.routes().begin(), net.routes().end(), waits)->waitMinutes());
    }

    void reset()
    {
        labels.clear();
        for (int s : touched) {
            bags[s].clear();
            isTouched[s] = 0;
        }
        touched.clear();
        for (int s : accessTouched)
            access[s] = Reach();
        for (int s : egressTouched)
            egress[s] = Reach();
        accessTouched.clear();
        egressTouched.clear();
        arrived.clear();
        for (int s : marked)
            isMarked[s] = 0;
        marked.clear();
    }

    // The stops within the first or last walk of an end's anchors, nearest anchor first.
    void reachStops(const JourneyEnd &end, std::vector<Reach> &reach, std::vector<int> &reachTouched)
    {
        auto offer = [&](int stop, float walk, int anchor) {
            if (reach[stop].walk < 0)
                reachTouched.push_back(stop);
            else if (reach[stop].walk <= walk)
                return;
            reach[stop] = {walk, anchor};
        };
        const QVector<TransitStop> &stops = net.stops();
        for (int a = 0; a < end.anchors.size(); ++a) {
            const JourneyEnd::Anchor &anchor = end.anchors[a];
            if (anchor.stop >= 0)
                offer(anchor.stop, 0, a);
            if (!anchor.spot.placed)
                continue;
            for (int s = 0; s < stops.size(); ++s) {
                if (!stops[s].placed)
                    continue;
                const double walk = fig.walkedMetres(straightMetres(anchor.metres, stops[s].metres));
                if (walk <= fig.accessWalkMetres)
                    offer(s, float(walk), a);
            }
        }
    }

    // A way is no better than a journey found with no more rides when it is no faster and would
    // not spare a worthwhile walk, or when it is too slow to be worth taking for its walk.
    bool beatenByArrival(float minutes, float walk, int rides) const
    {
        return std::any_of(arrived.begin(), arrived.end(), [&](const Arrived &a) {
            return a.rides <= rides
                   && (a.minutes * SlowestWorthTaking < minutes || (a.minutes <= minutes && a.walk < walk + WorthWalkingLess));
        });
    }

    void offerArrival(const Arrived &candidate)
    {
        if (beatenByArrival(candidate.minutes, candidate.walk, candidate.rides))
            return;
        std::erase_if(arrived, [&](const Arrived &a) {
            return candidate.minutes <= a.minutes && candidate.walk <= a.walk && candidate.rides <= a.rides;
        });
        arrived.push_back(candidate);
    }

    void mark(int stop)
    {
        if (!isMarked[stop]) {
            isMarked[stop] = 1;
            marked.push_back(stop);
        }
    }

    // Keeps a way to its stop unless a kept way or a found journey is as good; true when kept.
    bool offer(const Label &candidate)
    {
        // A bag is kept in the order of minutes, so the search for a better way ends early.
        std::vector<Kept> &bag = bags[candidate.stop];
        for (const Kept &kept : bag) {
            if (kept.minutes > candidate.minutes + MinutesSlack)
                break;
            if (kept.walk <= candidate.walk + WalkSlack)
                return false;
        }
        if (beatenByArrival(candidate.minutes + remaining[candidate.stop], candidate.walk, candidate.round))
            return false;
        std::erase_if(bag, [&](const Kept &kept) {
            return kept.round == candidate.round && candidate.minutes <= kept.minutes && candidate.walk <= kept.walk;
        });
        if (!isTouched[candidate.stop]) {
            isTouched[candidate.stop] = 1;
            touched.push_back(candidate.stop);
        }
        const auto later = std::upper_bound(bag.begin(), bag.end(), candidate.minutes,
                                            [](float minutes, const Kept &kept) { return minutes < kept.minutes; });
        bag.insert(later, {candidate.minutes, candidate.walk, candidate.round, int(labels.size()), candidate.how == Arrival::Ride});
        labels.push_back(candidate);
        mark(candidate.stop);
        return true;
    }

    void scanRoute(int r, int round)
    {
        const TransitRoute &route = net.routes()[r];
        const int length = int(route.stops.size());
        const float wait = float(route.waitMinutes());
        onBoard.clear();
        for (int p = routeStart[r]; p < route.scan.size(); ++p) {
            if (p >= length && onBoard.empty())
                break;
            const int stop = route.scan[p];
            const float at = float(route.minutesAt[p]);
            for (const OnBoard &b : onBoard) {
                const Label ride{b.offset + at, b.walk, stop, b.parent, r, b.board, p, -1, round, Arrival::Ride};
                if (offer(ride) && egress[stop].walk >= 0) {
                    const float last = egress[stop].walk;
                    offerArrival({ride.minutes + float(fig.walkMinutes(last)), ride.walk + last, round,
                                  int(labels.size()) - 1, -1, egress[stop].anchor, last});
                }
            }
            if (p >= length)
                continue; // the second lap of a circular route is for riding on, not for boarding
            for (const Kept &here : bags[stop]) {
                if (here.round != round - 1)
                    continue;
                const OnBoard candidate{here.minutes + wait - at, here.walk, here.label, p};
                const bool beaten = std::any_of(onBoard.begin(), onBoard.end(), [&](const OnBoard &b) {
                    return b.offset <= candidate.offset + MinutesSlack && b.walk <= candidate.walk + WalkSlack;
                });
                if (beaten)
                    continue;
                std::erase_if(onBoard, [&](const OnBoard &b) {
                    return candidate.offset <= b.offset && candidate.walk <= b.walk;
                });
                onBoard.push_back(candidate);
            }
        }
    }

    void walkChanges(const std::vector<int> &rideStops, int round)
    {
        for (int stop : rideStops) {
            // Walks go to other stops only, so this stop's ways stay as they are meanwhile.
            const std::vector<Kept> &ways = bags[stop];
            for (size_t w = 0; w < ways.size(); ++w) {
                const Kept from = ways[w];
                if (from.round != round || !from.ride)
                    continue;
                for (const Network::Footpath &path : net.footpaths(stop)) {
                    const float walk = float(fig.walkedMetres(path.straightMetres));
                    offer({from.minutes + float(fig.walkMinutes(walk)), from.walk + walk, path.stop, from.label, -1, -1, -1,
                           -1, round, Arrival::Walk});
                }
            }
        }
    }

    // No way from a stop reaches the end sooner than its last walk from there, or than one more
    // wait and the fastest mode going straight there: a way that could not beat a journey already
    // found even so is dropped at once.
    void boundRemaining(const JourneyEnd &to)
    {
        const QVector<TransitStop> &stops = net.stops();
        for (int s = 0; s < stops.size(); ++s) {
            float nearest = std::numeric_limits<float>::max();
            for (const JourneyEnd::Anchor &anchor : to.anchors)
                nearest = std::min(nearest, stops[s].placed && anchor.spot.placed
                                                ? float(straightMetres(stops[s].metres, anchor.metres))
                                                : 0.0f);
            const float riding = to.anchors.isEmpty() ? 0.0f : shortestWait + nearest / metresPerMinute;
            remaining[s] = egress[s].walk >= 0 ? std::min(riding, float(fig.walkMinutes(egress[s].walk))) : riding;
        }
    }

    void run(const JourneyEnd &from, const JourneyEnd &to)
    {
        reachStops(from, access, accessTouched);
        reachStops(to, egress, egressTouched);
        boundRemaining(to);
        walkAlone(from, to);
        for (int s : accessTouched)
            offer({float(fig.walkMinutes(access[s].walk)), access[s].walk, s, -1, -1, -1, -1, access[s].anchor, 0,
                   Arrival::Access});
        for (int round = 1; round <= fig.maxRides && !marked.empty(); ++round) {
            for (int stop : marked) {
                isMarked[stop] = 0;
                for (const Network::Visit &v : net.visits(stop)) {
                    if (routeStart[v.route] == INT_MAX)
                        queued.push_back(v.route);
                    routeStart[v.route] = std::min(routeStart[v.route], v.position);
                }
            }
            marked.clear();
            for (int r : queued)
                scanRoute(r, round);
            for (int r : queued)
                routeStart[r] = INT_MAX;
            queued.clear();
            const std::vector<int> rideStops = marked;
            walkChanges(rideStops, round);
        }
    }

    void walkAlone(const JourneyEnd &from, const JourneyEnd &to)
    {
        for (int a = 0; a < from.anchors.size(); ++a) {
            for (int b = 0; b < to.anchors.size(); ++b) {
                if (!from.anchors[a].spot.placed || !to.anchors[b].spot.placed)
                    continue;
                const double walk = fig.walkedMetres(straightMetres(from.anchors[a].metres, to.anchors[b].metres));
                if (walk <= fig.accessWalkMetres)
                    offerArrival({float(fig.walkMinutes(walk)), float(walk), 0, -1, a, b, float(walk)});
            }
        }
    }

    Waypoint stopPoint(int stop) const { return Endpoints::stopPoint(net.stops()[stop]); }

    Leg walkLeg(const Waypoint &start, const Waypoint &end, double walk) const
    {
        Leg leg;
        leg.kind = Leg::Kind::Walk;
        leg.metres = walk;
        leg.minutes = fig.walkMinutes(walk);
        leg.points = {start, end};
        return leg;
    }

    Leg rideLeg(const Label &ride) const
    {
        const TransitRoute &route = net.routes()[ride.route];
        Leg leg;
        leg.kind = Leg::Kind::Ride;
        leg.routeName = route.name;
        leg.routeCode = route.code;
        leg.typeName = route.typeName;
        leg.typeCode = route.type;
        leg.mode = route.mode;
        leg.waitMinutes = route.waitMinutes();
        leg.minutes = route.minutesAt[ride.alight] - route.minutesAt[ride.board];
        leg.stopsMoved = ride.alight - ride.board;
        const TransitStop *lastPlaced = nullptr;
        for (int p = ride.board; p <= ride.alight; ++p) {
            const TransitStop &s = net.stops()[route.scan[p]];
            leg.points.append(stopPoint(route.scan[p]));
            if (s.placed) {
                if (lastPlaced)
                    leg.metres += straightMetres(lastPlaced->metres, s.metres);
                lastPlaced = &s;
            }
        }
        return leg;
    }

    Journey journey(const Arrived &a, const JourneyEnd &from, const JourneyEnd &to) const
    {
        Journey j;
        j.minutes = a.minutes;
        j.walkMetres = a.walk;
        j.rides = a.rides;
        QVector<Leg> legs;
        auto addWalk = [&legs, this](const Waypoint &start, const Waypoint &end, double walk) {
            if (walk >= SamePlaceMetres)
                legs.append(walkLeg(start, end, walk));
        };
        if (a.last < 0) {
            addWalk(from.anchors[a.fromAnchor].spot, to.anchors[a.toAnchor].spot, a.lastWalk);
        } else {
            addWalk(stopPoint(labels[a.last].stop), to.anchors[a.toAnchor].spot, a.lastWalk);
            for (int i = a.last; i >= 0; i = labels[i].parent) {
                const Label &l = labels[i];
                if (l.how == Arrival::Ride)
                    legs.append(rideLeg(l));
                else if (l.how == Arrival::Walk)
                    addWalk(stopPoint(labels[l.parent].stop), stopPoint(l.stop), l.walk - labels[l.parent].walk);
                else
                    addWalk(from.anchors[l.anchor].spot, stopPoint(l.stop), l.walk);
            }
        }
        std::reverse(legs.begin(), legs.end());
        j.legs = legs;
        return j;
    }
};

Planner::Planner(std::shared_ptr<const Network> network)
    : m_network(std::move(network)), m_search(std::make_unique<Search>(*m_network))
{
}

Planner::~Planner() = default;

namespace {

bool samePlace(const JourneyEnd &from, const JourneyEnd &to)
{
    for (const JourneyEnd::Anchor &a : from.anchors)
        for (const JourneyEnd::Anchor &b : to.anchors)
            if ((a.stop >= 0 && a.stop == b.stop)
                || (a.spot.placed && b.spot.placed && straightMetres(a.metres, b.metres) < SamePlaceMetres))
                return true;
    return false;
}

// The fastest, the one with the fewest changes and the one with the least walking, each once;
// the last only when it spares a worthwhile walk and is not too slow.
QVector<int> chosen(const std::vector<Arrived> &arrived)
{
    auto transfers = [](const Arrived &a) { return std::max(a.rides - 1, 0); };
    using Key = std::tuple<float, float, float>;
    const std::function<Key(const Arrived &)> orders[] = {
        [&](const Arrived &a) { return Key(a.minutes, float(transfers(a)), a.walk); },
        [&](const Arrived &a) { return Key(float(transfers(a)), a.minutes, a.walk); },
        [&](const Arrived &a) { return Key(a.walk, a.minutes, float(transfers(a))); },
    };
    QVector<int> picked;
    for (const auto &key : orders) {
        int best = -1;
        for (int i = 0; i < int(arrived.size()); ++i)
            if (best < 0 || key(arrived[i]) < key(arrived[best]))
                best = i;
        if (best < 0 || picked.contains(best))
            continue;
        const bool sparesLittle = &key == &orders[2] && std::any_of(picked.begin(), picked.end(), [&](int i) {
            return arrived[best].walk > arrived[i].walk - WorthWalkingLess
                   || arrived[best].minutes > arrived[picked.first()].minutes * SlowestWorthTaking;
        });
        if (!sparesLittle)
            picked.append(best);
    }
    return picked;
}

} // namespace

Planner::Result Planner::plan(const JourneyEnd &from, const JourneyEnd &to)
{
    Result result;
    if (samePlace(from, to)) {
        result.outcome = Result::Outcome::SamePlace;
        return result;
    }
    Search &s = *m_search;
    s.reset();
    s.run(from, to);
    for (int i : chosen(s.arrived))
        result.journeys.append(s.journey(s.arrived[i], from, to));
    result.outcome = result.journeys.isEmpty() ? Result::Outcome::NoJourney : Result::Outcome::Found;
    return result;
}
