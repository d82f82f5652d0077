#pragma once
// The transport search's criteria and the conditions made of them.
//
//   TransportCriteria criteria;
//   criteria.stopName = "moedani";
//   criteria.typeKey = "1";
//   criteria.filter();   // " AND gaCereba.saxeli LIKE '%moedani%' AND transporti.g_transporti_tipi=1"
//
// Every condition begins with " AND ", so the fragment follows the route-stop list's join
// condition directly.
#include <QString>

#include <optional>

struct TransportCriteria {
    // The stop's name, matched as a substring; the route's name, matched whole as a LIKE
    // pattern. An empty text is no criterion; quotes are doubled, "%" and "_" stay wildcards.
    QString stopName;
    QString routeName;
    // The key the transport-type lookup yields while it shows a text, unset while it is empty;
    // a text that names no type yields an empty key, which matches no route.
    std::optional<QString> typeKey;

    // The conditions in the order stop, route, type; empty when no criterion is set.
    QString filter() const;
};

namespace TransportFilter {
// The route-stop list's SQL narrowed by the conditions (empty: every route stop).
QString listSql(const QString &filter);
} // namespace TransportFilter
