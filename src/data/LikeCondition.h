#pragma once
// A LIKE condition on a column for text the user typed. "%" and "_" in the text keep their meaning
// as wildcards; every other character, a backslash included, stands for itself on every engine.
// The condition names its own escape character, "!": PostgreSQL takes "\" as one by default,
// SQLite has none, and a backslash then means the same everywhere. A quote is doubled so that the
// text stays inside its literal.
//
//   LikeCondition::contains("saxeli", "a\\b")       // saxeli LIKE '%a\b%' ESCAPE '!'
//   LikeCondition::matches("transporti.saxeli", "M!") // transporti.saxeli LIKE 'M!!' ESCAPE '!'
#include <QString>

namespace LikeCondition {
// The column's value holds the text somewhere.
QString contains(const QString &column, const QString &text);
// The whole value matches the text taken as a pattern.
QString matches(const QString &column, const QString &text);
} // namespace LikeCondition
