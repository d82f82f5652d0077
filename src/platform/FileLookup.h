#pragma once
// File names of the program are relative to the current directory and written with either
// separator (".\Raster\A1.jpg"); they are matched without regard to letter case, one path
// component at a time.
#include <QString>

namespace FileLookup {
// The existing path that matches `path` case-insensitively, or `path` with its separators
// normalised when nothing matches (so that a later open fails with a readable name).
QString find(const QString &path);
}
