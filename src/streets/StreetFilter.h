#pragma once
// The street search's criteria and the condition made of them.
//
//   StreetCriteria criteria;
//   criteria.typeKey = "2";
//   criteria.name = "rus";
//   criteria.filter();   // "g_quCis_tipi=2 AND saxeli LIKE '%rus%'"
#include <QString>

#include <optional>

struct StreetCriteria {
    // The key the street-type lookup yields while it shows a text, unset while it is empty. A
    // text that names no type yields an empty key, which finds no street (a comparison with
    // NULL holds for no row) rather than making the SQL invalid.
    std::optional<QString> typeKey;
    // Matched as a substring (LIKE with "%" on both sides); an empty name is no criterion.
    // Quotes are doubled, "%" and "_" stay wildcards.
    QString name;

    // The condition without WHERE; empty when no criterion is set.
    QString filter() const;
};

namespace StreetFilter {
// The street list's SQL narrowed by a condition; an empty one lists every street.
QString listSql(const QString &filter);
} // namespace StreetFilter
