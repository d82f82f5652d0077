#pragma once
// User text placed inside an SQL string literal: a quote character is doubled so that it is
// searched for instead of ending the literal. "%" and "_" keep their meaning as LIKE wildcards.
#include <QString>

namespace SqlText {
inline QString literalBody(const QString &userText)
{
    QString body = userText;
    body.replace(QLatin1Char('\''), QStringLiteral("''"));
    return body;
}
} // namespace SqlText
