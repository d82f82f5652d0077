#pragma once
// The command line of kvirzeta-democity.
#include "citykit/ToolCommandLine.h"
#include "democity/Generator.h"

ToolCommandLine generatorCommandLine();
// Reads the arguments after the program's name into options; false with the command line's
// error() set on a mistake.
bool readGeneratorOptions(ToolCommandLine &commandLine, const QStringList &arguments, GeneratorOptions *options);
// The same for callers that need only the options or the mistake.
bool parseArguments(const QStringList &arguments, GeneratorOptions *options, QString *error);
