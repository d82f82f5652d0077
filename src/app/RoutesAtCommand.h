#pragma once
// kvirzeta --routes-at stop:CODE [--json]: every route that stops at the stop, with its type and
// the stop it goes on to next.
#include <QStringList>

class DataModule;

namespace RoutesAtCommand {
int run(const QStringList &operands, bool json, DataModule &city);
}
