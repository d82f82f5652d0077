#include "data/LikeCondition.h"

#include "data/SqlText.h"

namespace LikeCondition {

namespace {

const QChar Escape = QLatin1Char('!');

QString condition(const QString &column, const QString &pattern)
{
    return column + QStringLiteral(" LIKE '") + pattern + QStringLiteral("' ESCAPE '") + Escape + QLatin1Char('\'');
}

// The escape character itself stands for itself when doubled.
QString patternBody(const QString &text)
{
    QString body = SqlText::literalBody(text);
    body.replace(Escape, QString(2, Escape));
    return body;
}

} // namespace

QString contains(const QString &column, const QString &text)
{
    return condition(column, QLatin1Char('%') + patternBody(text) + QLatin1Char('%'));
}

QString matches(const QString &column, const QString &text)
{
    return condition(column, patternBody(text));
}

} // namespace LikeCondition
