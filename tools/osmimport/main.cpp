// kvirzeta-import-osm: makes a city for Kvirzeta from an OpenStreetMap extract.
#include "citykit/Interruption.h"
#include "osmimport/ImportCommandLine.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <unistd.h>

int main(int argc, char **argv)
{
    ToolCommandLine::paintOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    ToolCommandLine commandLine = importCommandLine();
    ImportOptions options;
    const bool read = readImportOptions(commandLine, QCoreApplication::arguments().mid(1), &options);
    if (const std::optional<int> status = commandLine.answer(read))
        return *status;

    // A line for each stage as it begins and ends; on a terminal the reading's progress in place.
    const bool terminal = isatty(fileno(stdout));
    Stages stages([&](const QString &line) {
        if (!options.quiet) {
            std::printf(terminal ? "\r\033[K%s\n" : "%s\n", qPrintable(line));
            std::fflush(stdout);
        }
    });
    int shown = -1;
    auto progress = [&](int percent) {
        if (!options.quiet && terminal && percent != shown) {
            shown = percent;
            std::printf("\r\033[K  %d %%", percent);
            std::fflush(stdout);
        }
    };
    Interruption::catchSignals();
    try {
        Importer importer(options);
        importer.run(stages, progress);
        if (!options.quiet)
            for (const QString &line : importer.report())
                std::printf("%s\n", qPrintable(line));
    } catch (const Interruption::Interrupted &e) {
        std::fprintf(stderr, "\nkvirzeta-import-osm: %s: the folder is as it was\n", e.what());
        return 128 + e.signal();
    } catch (const std::exception &e) {
        if (terminal && shown >= 0)
            std::printf("\n");
        std::fprintf(stderr, "kvirzeta-import-osm: %s\n", e.what());
        return 1;
    }
    return 0;
}
