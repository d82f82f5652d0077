#pragma once
// What the one search box finds: places (objects), streets, stops and routes, each named by its
// kind and its code (obieqtis_kodi, quCa_kodi, gaCereba_kodi, transporti_kodi).
#include <QFlags>
#include <QString>

enum class SearchKind : unsigned char {
    Place = 1,
    Street = 2,
    Stop = 4,
    Route = 8,
};
Q_DECLARE_FLAGS(SearchKinds, SearchKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(SearchKinds)

inline constexpr SearchKinds AllSearchKinds = SearchKinds(SearchKind::Place) | SearchKind::Street | SearchKind::Stop
                                             | SearchKind::Route;

struct SearchResult {
    SearchKind kind = SearchKind::Place;
    int code = 0;
    QString name;   // as stored, in the transliteration
    QString detail; // what tells it apart: a place's sub-rubric and address, a street's type and
                    // district, a stop's district and routes, a route's type and description

    friend bool operator==(const SearchResult &, const SearchResult &) = default;
};

// "place", "street", "stop" or "route".
QString searchKindName(SearchKind kind);
