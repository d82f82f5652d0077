#pragma once
// The command line of kvirzeta-import-osm.
#include "citykit/ToolCommandLine.h"
#include "osmimport/Importer.h"

ToolCommandLine importCommandLine();
// Reads the arguments after the program's name into options; false with the command line's
// error() set on a mistake.
bool readImportOptions(ToolCommandLine &commandLine, const QStringList &arguments, ImportOptions *options);
// The same for callers that need only the options or the mistake.
bool parseImportArguments(const QStringList &arguments, ImportOptions *options, QString *error);
