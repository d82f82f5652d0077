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
// The connection string as a city's Address.ini is to hold it. An SQLite file named by a relative
// path is taken from the current folder, as every path on a tool's command line is, and named by
// its absolute path: the program reads Address.ini in the city's own folder. Throws when that
// file lies inside `cityFolder`, which the new city replaces.
QString forCity(const QString &connectionString, const QString &cityFolder);
// The schema's statements, in order.
QStringList schemaStatements();
// Creates the tables, writes the city and gathers the planner's statistics (ANALYZE); throws
// std::runtime_error with the driver's message.
void write(QSqlDatabase db, const City &city, LogoMaker &logos);

} // namespace CityDatabase
