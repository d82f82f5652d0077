#pragma once
// The command line of a city tool, read with QCommandLineParser in the tools' one style: -h or
// --help prints the usage, --version the version, and a mistake (an unknown option, a missing or
// wrong value, a wrong number of arguments) is told on stderr as "<tool>: <mistake>. See <tool>
// --help." with status 2, as the program itself does.
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>

class ToolCommandLine {
public:
    // `arguments`: the arguments every run takes, as the usage names them, with what each is;
    // `about` says what the tool does, `notes` follow the options.
    struct Argument {
        QString name;
        QString description;
    };
    ToolCommandLine(const QString &tool, const QString &about, const QVector<Argument> &arguments, const QString &notes = {});

    // An option with a value named valueName, or a switch without one.
    void add(const QString &name, const QString &description, const QString &valueName = {});

    // Reads the arguments after the tool's name; false, with error() set, on a mistake.
    bool parse(const QStringList &arguments);
    bool answersAlone() const { return m_helpAsked || m_versionAsked; }
    bool isSet(const QString &option) const { return m_parser->isSet(option); }
    QString value(const QString &option) const { return m_parser->value(option); }
    QStringList positionalArguments() const { return m_parser->positionalArguments(); }
    // The option's value as a whole number from low to high; false with error() set otherwise.
    bool wholeNumber(const QString &option, qint64 low, qint64 high, qint64 *value);
    // Records a mistake found by the tool's own checks; gives false.
    bool refuse(const QString &mistake);
    // The option's text into `value` when it is given; false with a mistake ("--NAME needs
    // `what`") when it is given empty.
    bool text(const QString &option, const QString &what, QString *value);
    const QString &error() const { return m_error; }

    QString help() const;
    // After parse(): the status to end with once the help, the version or the mistake is printed,
    // or nothing when the tool is to run.
    std::optional<int> answer(bool parsed) const;

    // Without a display the maps are painted off screen; call before the application object is made.
    static void paintOffscreenWithoutDisplay();

private:
    QString m_tool;
    QString m_usage;
    QString m_notes;
    QStringList m_names; // of the arguments every run takes
    std::unique_ptr<QCommandLineParser> m_parser; // movable, unlike the parser itself
    bool m_helpAsked = false;
    bool m_versionAsked = false;
    QString m_error;
};
