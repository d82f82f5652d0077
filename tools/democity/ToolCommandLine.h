#pragma once
// What the city tools' programs share around their work: painting off screen where there is no
// display, and their command line.
#include <QString>
#include <QStringList>

#include <optional>

namespace ToolCommandLine {

// Without a display the maps are painted off screen; call before the application object is made.
void paintOffscreenWithoutDisplay();
// The arguments after the program's name; none, with the usage printed, for --help or -h.
std::optional<QStringList> arguments(const QString &usage);

} // namespace ToolCommandLine
