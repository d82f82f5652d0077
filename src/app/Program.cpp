#include "app/Program.h"

#include "app/Application.h"
#include "app/MainFrm.h"
#include "map/MapSwitcher.h"
#include "platform/DisplayFont.h"

#include <QTimer>

Program::Program(Application &app, int splashMs, Prompts *prompts)
    : m_app(app), m_windowPrompts(m_state), m_prompts(prompts ? *prompts : m_windowPrompts)
{
    m_generalMap.start(MapSwitcher::generalMapPath());
    QApplication::setApplicationName(QLatin1String(WindowPrompts::Title));
    DisplayFont::ensureRegistered();
    m_app.setErrorReport(&m_prompts);
    m_window = std::make_unique<TMainFrm>(
        m_dm, m_state, m_prompts, m_desktop,
        [this, splashMs] {
            TLogoFrm LogoFrm(m_desktop, nullptr, splashMs);
            LogoFrm.showModal();
        },
        &m_generalMap);
    m_windowPrompts.setParentWindow(m_window.get());
    QTimer::singleShot(0, m_window.get(), &QWidget::show);
}

int Program::exec()
{
    if (!m_signals.received()) {
        const int status = QApplication::exec();
        if (!m_signals.received())
            return m_state.KeyLb == QLatin1String("0") ? status : ConnectionFailedStatus;
    }
    return m_signals.exitStatus();
}

Program::~Program()
{
    // The message windows go with the program; later escaped errors go to the log.
    m_app.setErrorReport(nullptr);
}
