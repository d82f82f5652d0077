#pragma once
// An empty database on this run's backend (KVIRZETA_TEST_BACKEND) for a tool to write a city into.
#include "FixtureCity.h"

#include <memory>

struct EmptyDatabase {
    // A new file in `folder` for SQLite and ODBC, a new database on the test server for PostgreSQL.
    explicit EmptyDatabase(const QString &folder);

    // The connection string the tool is given.
    QString connection;
    // One that reads the database back exactly: SQLite's ODBC driver hands out floating-point
    // values with 15 significant digits only, so a file written through it is read directly.
    QString exact;

private:
    std::unique_ptr<ServerDatabase> m_server;
};
