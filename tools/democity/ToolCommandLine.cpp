#include "ToolCommandLine.h"

#include <QCoreApplication>

#include <cstdio>

namespace ToolCommandLine {

void paintOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

std::optional<QStringList> arguments(const QString &usage)
{
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(qPrintable(usage), stdout);
        return std::nullopt;
    }
    return arguments;
}

} // namespace ToolCommandLine
