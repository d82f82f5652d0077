#include "app/StartUp.h"

#include "common/Errors.h"
#include "common/MainState.h"
#include "common/Prompts.h"
#include "data/DataModule.h"
#include "map/MapSwitcher.h"

StartUp::StartUp(DataModule &dm, MainState &state, MapSwitcher &switcher, Prompts &prompts, Splash splash)
    : m_dm(dm), m_state(state), m_switcher(switcher), m_prompts(prompts), m_splash(std::move(splash))
{
}

bool StartUp::openConnection()
{
    m_state.KeyLb = QStringLiteral("0");
    QString reason;
    try {
        m_dm.openCityConnection();
        return true;
    } catch (const Error &e) {
        reason = e.text();
    } catch (...) {
        // Any other failure has no text of its own; the dialog still says that it failed.
    }
    m_prompts.standardMessage(QStringLiteral("Connection failed"), reason);
    m_state.KeyLb = QStringLiteral("2");
    return false;
}

void StartUp::finish()
{
    m_splash();
    m_switcher.LoadGeneralMap();
    // The marker lists start empty.
    m_state.ObjectGroupRow = -1;
    m_state.StreetGroupRow = -1;
    m_state.TransportGroupRow = -1;
    m_dm.RaioniQr.open();
    m_state.ObjectFilter.clear();
    m_state.StreetFilter.clear();
    m_state.TransportFilter.clear();
    m_state.TransportGroupRow = 0;
}
