#include "app/CommandRunner.h"

#include "common/Errors.h"
#include "dialogs/Prompts.h"

QString CommandRunner::reportText(const QString &text)
{
    // A report always says something, even for an error that carries no text.
    if (text.trimmed().isEmpty())
        return QStringLiteral("The command failed, and no reason was given.");
    if (text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

bool CommandRunner::run(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const SilentAbort &) {
    } catch (const Error &e) {
        m_prompts.reportError(reportText(e.text()));
    } catch (const std::exception &e) {
        m_prompts.reportError(reportText(QString::fromLocal8Bit(e.what())));
    }
    return false;
}
