#pragma once
// The list a city tool writes into the city it made (.kvirzeta-city): every file and folder it
// wrote, by its path in the city, one a line. A folder may be replaced by a new city only when it
// holds such a list and nothing the list does not name, and only what the list names is ever
// removed: whatever else someone put into a city stays where it is.
#include <QString>
#include <QStringList>

namespace CityList {

constexpr const char *FileName = ".kvirzeta-city";

// Writes the list of `entries` (paths relative to `folder`) into `folder`. Written last: a city
// without its list is not finished. Throws std::runtime_error naming `shownFolder`.
void write(const QString &folder, const QStringList &entries, const QString &shownFolder);

// Why `folder` may not be replaced, as a sentence for the user naming `shownFolder` and the first
// thing in the way (the whole tree is looked at, in name order); empty when the folder is empty,
// or holds a list and nothing the list does not name.
QString whyNotReplaceable(const QString &folder, const QString &shownFolder);

// True when `folder` holds a list and nothing else than what it names.
bool isWholeCity(const QString &folder);

// Removes what the list of `folder` names, then the list and the folder itself. What the list
// does not name stays, and so does the folder then. Gives the first thing left there (a path
// relative to the folder, or the folder's own reason), empty once the folder is gone.
QString removeListed(const QString &folder);

} // namespace CityList
