#include "EmptyDatabase.h"

#include <QDir>
#include <QUuid>

EmptyDatabase::EmptyDatabase(const QString &folder)
{
    const QString file = QDir(folder).filePath(QStringLiteral("written-%1.sqlite").arg(QUuid::createUuid().toString(QUuid::Id128)));
    const QString sqlite = QStringLiteral("Provider=SQLite;Data Source=") + file;
    switch (FixtureCity::backend()) {
    case FixtureCity::Backend::PostgreSQL:
        m_server = std::make_unique<ServerDatabase>();
        connection = exact = m_server->connectionString();
        break;
    case FixtureCity::Backend::Odbc:
        connection = QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"DRIVER=SQLite3;Database=%1;\"").arg(file);
        exact = sqlite;
        break;
    case FixtureCity::Backend::SQLite:
        connection = exact = sqlite;
        break;
    }
}
