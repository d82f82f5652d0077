#include "transport/StopRoutesCommands.h"

#include "common/CommandRunner.h"
#include "common/Prompts.h"
#include "data/DataModule.h"
#include "map/MapEngine.h"
#include "platform/DisplayFont.h"
#include "transport/TransportMapCommands.h"

#include <QCursor>
#include <QMenu>

namespace {

constexpr int MenuPointSize = 10;
const QChar Dot(0x00B7);

} // namespace

StopRoutesCommands::StopRoutesCommands(DataModule &dm, Prompts &prompts, CommandRunner &runner, MapEngine &map,
                                       TransportMapCommands &routes, StopRoutesSource source, QWidget *window)
    : m_dm(dm), m_prompts(prompts), m_runner(runner), m_map(map), m_routes(routes), m_source(std::move(source)),
      m_window(window), m_pointer([] { return QCursor::pos(); })
{
}

StopRoutesCommands::~StopRoutesCommands()
{
    delete m_menu;
}

QString StopRoutesCommands::entryText(const StopRoute &route)
{
    QString text = route.routeName;
    if (!route.typeName.isEmpty())
        text += QLatin1Char(' ') + Dot + QLatin1Char(' ') + route.typeName;
    text += QLatin1Char(' ') + Dot + QLatin1Char(' ');
    text += route.nextStop.isEmpty() ? QStringLiteral("bolo gaCereba") : QStringLiteral("Semdegi: ") + route.nextStop;
    // A "&" in a name is shown, not taken for a shortcut.
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void StopRoutesCommands::marSrutebigaCerebaze1Click()
{
    const DataSet &list = m_dm.kavS_transporti_gaCereba_Qr;
    if (!list.isOpen() || list.currentRow() < 0)
        return;
    showRoutesAt(list.value(QStringLiteral("gaCereba_kodi")).toInt(), list.text(QStringLiteral("saxeli")));
}

bool StopRoutesCommands::GraphPopupMenuPopup(const MapItem *item)
{
    m_menuStop = item ? m_map.stopKeyOf(*item) : std::nullopt;
    m_menuStopName = item ? item->hint() : QString();
    return m_menuStop.has_value();
}

void StopRoutesCommands::marSrutebigaCerebaze2Click()
{
    if (m_menuStop)
        showRoutesAt(*m_menuStop, m_menuStopName);
}

void StopRoutesCommands::showRoutesAt(int stopKey, const QString &stopName)
{
    const QVector<StopRoute> routes = m_source(stopKey);
    if (routes.isEmpty()) {
        m_prompts.showMessage(QStringLiteral("am gaCerebaze marSrutebi ar gadis"));
        return;
    }
    if (!m_menu) {
        m_menu = new QMenu(m_window);
        m_menu->setObjectName(QStringLiteral("marSrutebiPM"));
        m_menu->setFont(DisplayFont::pointFont(MenuPointSize));
    }
    m_menu->clear();
    // The stop's name heads the list, so that it is clear whose routes these are.
    QString heading = stopName;
    m_menu->addAction(heading.replace(QLatin1Char('&'), QStringLiteral("&&")))->setEnabled(false);
    m_menu->addSeparator();
    for (const StopRoute &route : routes) {
        QAction *entry = m_menu->addAction(entryText(route));
        QObject::connect(entry, &QAction::triggered, m_menu, [this, name = route.routeName, type = route.typeKey] {
            m_runner.run([this, &name, &type] { m_routes.showRoute(name, type); });
        });
    }
    m_menu->popup(m_pointer());
}
