#pragma once
// Reads a city's network from its database: stops, routes, transport types, the route-stop links
// and, when the city has it, the table of intervals
//
//   transporti_intervali (g_transporti_kodi INTEGER, wuTebi DOUBLE PRECISION)
//
// (how often a route runs, in minutes). Each table is read once with a plain SELECT that every
// backend answers; reading works on any session, on any thread that owns it.
#include "transit/Network.h"

#include <QSqlDatabase>

namespace NetworkLoader {

// Throws Error with the database's message when a table of the catalogue cannot be read. An
// intervals table that cannot be read is told in the tables' `intervalsProblem` instead.
NetworkTables readTables(QSqlDatabase db);

// The network of the city in the current folder's database session `db`, on the frame of
// Raster/Tbilisi.frame.
std::shared_ptr<const Network> load(QSqlDatabase db);

} // namespace NetworkLoader
