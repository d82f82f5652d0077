#include "sqlscript/SqlScript.h"

#include "common/Errors.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace SqlScript {

QStringList statements(const QString &script)
{
    QStringList result;
    QString current;
    bool quoted = false;
    for (int i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quoted && c == QLatin1Char('-') && i + 1 < script.size() && script[i + 1] == QLatin1Char('-')) {
            while (i < script.size() && script[i] != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                result.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        result.append(current.trimmed());
    return result;
}

void run(QSqlDatabase &db, const QString &script)
{
    QSqlQuery query(db);
    for (const QString &statement : statements(script))
        if (!query.exec(statement))
            throw Error(QStringLiteral("%1\n%2").arg(query.lastError().text().trimmed(), statement));
}

void createBlobType(QSqlDatabase &db)
{
    if (db.driver()->dbmsType() != QSqlDriver::PostgreSQL)
        return;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT 1 FROM pg_type WHERE typname='blob' AND "
                                   "typnamespace=(SELECT oid FROM pg_namespace WHERE nspname=current_schema())")))
        throw Error(query.lastError().text().trimmed());
    if (!query.next())
        run(db, QStringLiteral("CREATE DOMAIN blob AS bytea"));
}

void createSchema(QSqlDatabase &db, const QString &schemaScript)
{
    createBlobType(db);
    run(db, schemaScript);
}

} // namespace SqlScript
