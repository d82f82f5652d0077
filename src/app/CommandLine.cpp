#include "app/CommandLine.h"

#include "app/FindCommand.h"
#include "app/JourneyCommand.h"
#include "app/RoutesAtCommand.h"
#include "common/Errors.h"
#include "data/DataModule.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace {

// One command of the command line: `name` is its long option, `operands` the positional
// arguments it takes, as the help shows them, `run` what it does with them on the city of the
// current folder (its connection open), printing JSON when `json` is set. An Error it throws is
// told on stderr with status Failed.
struct Command {
    const char *name;
    const char *operands;
    const char *description;
    int (*run)(const QStringList &operands, bool json, DataModule &city);
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> table{
        {"find", "TEXT", "Lists the places, streets, stops and routes whose names match TEXT, as the search box does.",
         &FindCommand::run},
        {"journey", "FROM TO",
         "Journeys by public transport between two ends: a stop's name, stop:CODE, place:CODE, street:CODE or "
         "point:X,Y (per cent of the general map). Times are estimates, without timetables.",
         JourneyCommand::run},
        {"routes-at", "stop:CODE", "The routes that stop at a stop, with their type and next stop.", RoutesAtCommand::run},
    };
    return table;
}

// The options that ask for no window: the commands, --json and the standard two.
bool isHeadlessOption(const char *argument)
{
    if (!std::strcmp(argument, "--help") || !std::strcmp(argument, "-h") || !std::strcmp(argument, "--help-all")
        || !std::strcmp(argument, "--version") || !std::strcmp(argument, "-v") || !std::strcmp(argument, "--json"))
        return true;
    for (const Command &c : commands())
        if (argument[0] == '-' && argument[1] == '-' && !std::strcmp(argument + 2, c.name))
            return true;
    return false;
}

QString help(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    text += QStringLiteral("\nWithout a command, Kvirzeta opens its window on the city in the current folder.\n"
                           "Exit status: 0 done, 1 nothing found, 2 bad input or a database error.\n");
    return text;
}

int fail(const QString &message)
{
    CommandLine::tell(message);
    return CommandLine::Failed;
}

} // namespace

bool CommandLine::opensWindow(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (isHeadlessOption(argv[i]))
            return false;
    return true;
}

int CommandLine::run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvirzeta"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVIRZETA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kvirzeta, a guide to the city of Tbilisi: places, streets and "
                                                     "public transport, and their places on the city's maps."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("With a command: print its answer as JSON."));
    parser.addOption(jsonOption);
    for (const Command &c : commands()) {
        parser.addOption(QCommandLineOption(QLatin1String(c.name),
                                            QLatin1String(c.operands) + QStringLiteral(": ") + QString::fromUtf8(c.description)));
    }
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText() + QStringLiteral(" See kvirzeta --help."));
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << help(parser);
        return Done;
    }
    if (parser.isSet(versionOption)) {
        QTextStream(stdout) << "kvirzeta " << KVIRZETA_VERSION << '\n';
        return Done;
    }
    const Command *asked = nullptr;
    for (const Command &c : commands()) {
        if (!parser.isSet(QLatin1String(c.name)))
            continue;
        if (asked)
            return fail(QStringLiteral("--%1 and --%2 cannot be given together").arg(QLatin1String(asked->name), QLatin1String(c.name)));
        asked = &c;
    }
    if (!asked)
        return fail(QStringLiteral("No command given. See kvirzeta --help."));
    try {
        // The city of the current folder, as the window would open it.
        DataModule city;
        city.openCityConnection();
        return asked->run(parser.positionalArguments(), parser.isSet(jsonOption), city);
    } catch (const Error &e) {
        return fail(e.text());
    }
}

void CommandLine::tell(const QString &message)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << message << '\n';
}

int CommandLine::refuseLeftovers(const QStringList &arguments)
{
    if (arguments.size() <= 1)
        return Done;
    return fail(QStringLiteral("Unknown argument '%1'. See kvirzeta --help.").arg(arguments.at(1)));
}
