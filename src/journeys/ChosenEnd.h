#pragma once
// What a journey field stands for: a result picked from its drop-down (a place, a street, a
// stop or a route), a point taken from the map, or only the text typed into it; and the end of
// a journey that it makes over the network.
//
// A route picked as an end stands for every stop of it: the journey starts (or ends) at
// whichever of its stops serves it best, as a stop's name stands for every stop of that name.
#include "search/SearchResult.h"
#include "transit/Endpoints.h"

#include <QPointF>
#include <QSqlDatabase>

class SearchService;

struct ChosenEnd {
    enum class Kind { Typed, Picked, Point };
    Kind kind = Kind::Typed;
    SearchResult result; // Picked
    QPointF percent;     // Point: per cent of the general map
    QString text;        // the field's text that stands for it

    static ChosenEnd picked(const SearchResult &result);
    // A point, kept to a hundredth of a per cent (a few metres), as its field shows it.
    static ChosenEnd point(QPointF percent);
    // What a field holding `text` stands for: this end while the text is still its own, else
    // the text typed.
    ChosenEnd forText(const QString &text) const;

    // The end for the planner; places and streets are read from `db`. Typed text is a stop's
    // name (every stop of it), else a name that the search index holds exactly. Throws Error
    // saying what is wrong: a name nothing has, a record no longer in the database, a place
    // without a map position, a point off the map, a database error.
    JourneyEnd resolve(const Network &network, QSqlDatabase db, const SearchService &search) const;
};
