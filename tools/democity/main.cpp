// kvirzeta-democity: generates the demo city of Tbilisi that Kvirzeta opens.
#include "Generator.h"
#include "Interruption.h"
#include "OsmExport.h"
#include "TagMapping.h"
#include "ToolCommandLine.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char **argv)
{
    ToolCommandLine::paintOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const std::optional<QStringList> arguments = ToolCommandLine::arguments(usage());
    if (!arguments)
        return 0;
    GeneratorOptions options;
    QString error;
    if (!parseArguments(*arguments, &options, &error)) {
        std::fprintf(stderr, "kvirzeta-democity: %s\n\n%s", qPrintable(error), qPrintable(usage()));
        return 2;
    }
    Interruption::catchSignals();
    try {
        Generator generator(options);
        generator.run();
        if (!options.osmFile.isEmpty())
            OsmExport::write(generator.city(), TagMapping::builtIn(*generator.city().model), options.osmFile);
        if (!options.quiet)
            for (const QString &line : generator.report())
                std::printf("%s\n", qPrintable(line));
    } catch (const Interruption::Interrupted &e) {
        std::fprintf(stderr, "kvirzeta-democity: %s: the folder is as it was\n", e.what());
        return 128 + e.signal();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kvirzeta-democity: %s\n", e.what());
        return 1;
    }
    return 0;
}
