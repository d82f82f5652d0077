#pragma once
// Reads what the search index holds from the catalogue: every place of the object list (an object
// with a picture row and a sub-rubric), every street, every stop and route of the route-stop list
// (linked to each other), each with the text that tells it apart. A few fixed single SELECTs, the
// same on every backend; nothing typed ever reaches them.
#include "search/SearchIndex.h"

#include <QSqlDatabase>

#include <atomic>
#include <vector>

namespace SearchIndexSource {

// Throws Error with the database's message. Returns nothing once `cancelled` turns true.
std::vector<SearchIndex::Entry> read(QSqlDatabase db, const std::atomic_bool *cancelled = nullptr);

} // namespace SearchIndexSource
