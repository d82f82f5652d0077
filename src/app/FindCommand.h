#pragma once
// kvirzeta --find TEXT [--json]: what the search box lists for TEXT, in the same order, from an
// index read there and then. One line per result, "kind<TAB>name<TAB>detail"; with --json one
// object {"results":[{"kind":"place|street|stop|route","code":N,"name":"...","detail":"..."}]}.
// Several operands are one text with spaces between. Status 0 with results, 1 without; a text
// longer than the box takes is cut as there, and stderr says so.
#include <QStringList>

class DataModule;

namespace FindCommand {

int run(const QStringList &operands, bool json, DataModule &city);

} // namespace FindCommand
