#include "app/Application.h"

#include "app/CommandRunner.h"
#include "common/Errors.h"
#include "dialogs/Prompts.h"

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort &) {
    } catch (const Error &e) {
        report(e.text());
    } catch (const std::exception &e) {
        report(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::report(const QString &text)
{
    const QString shown = CommandRunner::reportText(text);
    if (!m_prompts) {
        qCritical("%s", qPrintable(shown));
        return;
    }
    try {
        m_prompts->reportError(shown);
    } catch (...) {
        qCritical("%s", qPrintable(shown));
    }
}
