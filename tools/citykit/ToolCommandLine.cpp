#include "citykit/ToolCommandLine.h"

#include <QCommandLineOption>

#include <cstdio>

ToolCommandLine::ToolCommandLine(const QString &tool, const QString &about, const QVector<Argument> &arguments,
                                 const QString &notes)
    : m_tool(tool), m_notes(notes), m_parser(std::make_unique<QCommandLineParser>())
{
    m_parser->setApplicationDescription(about);
    m_parser->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser->addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help.")));
    m_parser->addOption(QCommandLineOption(QStringLiteral("version"), QStringLiteral("Print the version.")));
    m_usage = QStringLiteral("Usage: %1 [options]").arg(tool);
    for (const Argument &argument : arguments) {
        m_parser->addPositionalArgument(argument.name, argument.description);
        m_usage += QLatin1Char(' ') + argument.name;
        m_names.append(argument.name);
    }
}

void ToolCommandLine::add(const QString &name, const QString &description, const QString &valueName)
{
    m_parser->addOption(QCommandLineOption(name, description, valueName));
}

bool ToolCommandLine::parse(const QStringList &arguments)
{
    if (!m_parser->parse(QStringList{m_tool} + arguments))
        return refuse(m_parser->errorText());
    m_helpAsked = m_parser->isSet(QStringLiteral("help"));
    m_versionAsked = m_parser->isSet(QStringLiteral("version"));
    if (answersAlone())
        return true;
    const QStringList positional = m_parser->positionalArguments();
    if (positional.size() > m_names.size())
        return refuse(QStringLiteral("Unknown argument '%1'").arg(positional.at(m_names.size())));
    if (positional.size() < m_names.size())
        return refuse(m_names.join(QStringLiteral(" and ")) + QStringLiteral(" must be given"));
    return true;
}

bool ToolCommandLine::wholeNumber(const QString &option, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    const qint64 number = m_parser->value(option).toLongLong(&ok);
    if (!ok || number < low || number > high)
        return refuse(QStringLiteral("--%1 needs a whole number from %2 to %3").arg(option).arg(low).arg(high));
    *value = number;
    return true;
}

bool ToolCommandLine::refuse(const QString &mistake)
{
    m_error = mistake;
    return false;
}

bool ToolCommandLine::text(const QString &option, const QString &what, QString *value)
{
    if (!isSet(option))
        return true;
    *value = m_parser->value(option);
    if (value->trimmed().isEmpty())
        return refuse(QStringLiteral("--%1 needs %2").arg(option, what));
    return true;
}

QString ToolCommandLine::help() const
{
    // Qt's own usage line names the program as it was started; the tools name themselves.
    QString text = m_parser->helpText();
    text = m_usage + text.mid(text.indexOf(QLatin1Char('\n')));
    if (!m_notes.isEmpty())
        text += QLatin1Char('\n') + m_notes;
    return text;
}

std::optional<int> ToolCommandLine::answer(bool parsed) const
{
    if (!parsed) {
        QString mistake = m_error;
        if (!mistake.endsWith(QLatin1Char('.')))
            mistake += QLatin1Char('.');
        std::fprintf(stderr, "%s: %s See %s --help.\n", qPrintable(m_tool), qPrintable(mistake), qPrintable(m_tool));
        return 2;
    }
    if (m_helpAsked) {
        std::fputs(qPrintable(help()), stdout);
        return 0;
    }
    if (m_versionAsked) {
        std::printf("%s %s\n", qPrintable(m_tool), KVIRZETA_VERSION);
        return 0;
    }
    return std::nullopt;
}

void ToolCommandLine::paintOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
