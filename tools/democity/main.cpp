// kvirzeta-democity: generates the demo city of Tbilisi that Kvirzeta opens.
#include "citykit/Interruption.h"
#include "democity/GeneratorCommandLine.h"
#include "democity/GtfsExport.h"
#include "democity/OsmExport.h"
#include "osmimport/TagMapping.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    ToolCommandLine::paintOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    ToolCommandLine commandLine = generatorCommandLine();
    GeneratorOptions options;
    const bool read = readGeneratorOptions(commandLine, QCoreApplication::arguments().mid(1), &options);
    if (const std::optional<int> status = commandLine.answer(read))
        return *status;
    Interruption::catchSignals();
    try {
        Generator generator(options);
        generator.run();
        if (!options.osmFile.isEmpty())
            OsmExport::write(generator.city(), TagMapping::builtIn(*generator.city().model), options.osmFile);
        if (!options.gtfsFolder.isEmpty())
            GtfsExport::write(generator.city(), TagMapping::builtIn(*generator.city().model), options.gtfsFolder);
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
