#pragma once
// The program's command line, parsed once. Without arguments (Qt's own aside) the program opens
// its window on the city in the current directory. The commands below run without a window or
// splash and print what the window would show, for scripts and checks:
//
//   kvirzeta --help | --version
//   kvirzeta --COMMAND OPERANDS [--json]   (the table in CommandLine.cpp)
//
// Exit status: 0 done, 1 nothing found, 2 bad input or a database error (message on stderr).
// A command is one entry of the table in CommandLine.cpp: its option, the operands it takes and
// the function that runs it.

#include <QStringList>

namespace CommandLine {

enum Status { Done = 0, NothingFound = 1, Failed = 2 };

// True when no command of the table is asked for: main() then opens the window.
bool opensWindow(int argc, char **argv);

// Parses the arguments and runs the command they ask for; the program's exit status.
int run(int argc, char **argv);

// A line on stderr for the person running a command: a failure, or a note on what was found.
void tell(const QString &message);

// Arguments left over once the window's application has taken Qt's own: anything there is a
// mistake, told on stderr with Failed; an empty list gives Done.
int refuseLeftovers(const QStringList &arguments);

} // namespace CommandLine
