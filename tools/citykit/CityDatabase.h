#pragma once
// Writes the city into a database through Qt SQL: the schema, then every table in one
// transaction with prepared statements. Only opening the database knows the backend.
#include "citykit/City.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class LogoMaker;

namespace CityDatabase {

// Opens (creating or emptying) an SQLite file under the given connection name; throws
// std::runtime_error when it cannot.
QSqlDatabase openSqlite(const QString &path, const QString &connectionName);
// Opens a writable session on the database a connection string names, under the given connection
// name; throws std::exception when it cannot, or when the database already holds catalogue tables
// (they are never overwritten).
QSqlDatabase openEmpty(const QString &connectionString, const QString &connectionName);
// Throws as openEmpty does, and otherwise closes the session again.
void requireEmpty(const QString &connectionString);
// The schema's statements, in order.
QStringList schemaStatements();
// Creates the tables, writes the city and gathers the planner's statistics (ANALYZE); throws
// std::runtime_error with the driver's message.
void write(QSqlDatabase db, const City &city, LogoMaker &logos);

} // namespace CityDatabase
