#pragma once
// The program only reads, and the search texts carry the user's words unescaped, so every SQL
// text is checked before it reaches the database: it must be one SELECT statement. A second
// statement after ";" and SELECT ... INTO (which makes a table on several engines) are refused,
// whichever backend is behind the connection and whatever that backend itself would allow.
#include <QString>

namespace QueryGuard {
// Empty when `sql` is a single SELECT statement; otherwise why it is refused.
QString refusal(const QString &sql);
} // namespace QueryGuard
