#pragma once
// The object search's criteria and the WHERE fragment made of them.
//
//   ObjectCriteria criteria;
//   criteria.name = "kafe";
//   criteria.districtKey = "3";
//   criteria.filter();   // " obieqti.saxeli LIKE '%kafe%' ESCAPE '!' AND g_raioni_kodi=3 AND "
//
// Every criterion ends in "AND ", so the fragment joins the list's join condition directly.
#include <QString>

#include <optional>

struct ObjectCriteria {
    // Text criteria: matched as substrings (LIKE with "%" on both sides); an empty text is no
    // criterion, a single space is one. "%" and "_" stay wildcards, anything else is literal
    // (LikeCondition).
    QString name;
    QString address;
    QString telephone;
    // Lookup criteria: the key the lookup yields when it shows a text, unset when it is empty.
    // The key goes into the SQL as it is; an empty key makes the database reject the query.
    std::optional<QString> districtKey;
    std::optional<QString> rubricKey;
    std::optional<QString> subRubricKey;

    // The WHERE fragment: empty when no criterion is set.
    QString filter() const;
};

namespace ObjectFilter {
// The object list's SQL narrowed by a non-empty filter fragment.
QString listSql(const QString &filter);
} // namespace ObjectFilter
