#pragma once
// The large city the bench measures: made once with the demo-city generator's bench size and
// reused when the folder already holds it, and a variant of it with large rasters.
#include <QString>

namespace BenchCity {

// Makes the bench city in `folder` unless it holds one already, its tables in an SQLite file or,
// given a connection string, in that empty database; returns the folder's absolute path. Throws
// std::runtime_error when the generator fails.
QString ensure(const QString &folder, const QString &connection);

// The sheet the large-raster variant enlarges.
inline const char *LargeSheet = "C3";
inline constexpr int LargeSheetWidth = 4000, LargeSheetHeight = 3000;
inline constexpr int LargeMapWidth = 8000, LargeMapHeight = 6000;

// A folder beside the city's files ("large-rasters") whose Address.ini names the same database,
// with the general map enlarged to 8000 × 6000 and sheet C3 to 4000 × 3000 pixels. Made once.
QString ensureLargeRasters(const QString &city);

} // namespace BenchCity
