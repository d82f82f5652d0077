#include "app/Application.h"

#include "app/ProgramStyle.h"
#include "common/CommandRunner.h"
#include "common/Errors.h"
#include "common/Prompts.h"
#include "platform/HugePageHeap.h"

#include <QIcon>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    HugePageHeap::reserve();
    // The desktop matches the windows to the menu entry "kvirzeta.desktop" and its icon.
    setDesktopFileName(QStringLiteral("kvirzeta"));
    setWindowIcon(QIcon(QStringLiteral(":/kvirzeta.svg")));
    setStyle(new ProgramStyle(style()->name()));
}

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
