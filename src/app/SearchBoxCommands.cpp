#include "app/SearchBoxCommands.h"

#include "catalogue/ObjectMapCommands.h"
#include "catalogue/ObjectTab.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "streets/StreetMapCommands.h"
#include "streets/StreetTab.h"
#include "transport/TransportMapCommands.h"
#include "transport/TransportTab.h"
#include "widgets/EventHook.h"
#include "widgets/GroupedListView.h"
#include "widgets/SearchDropDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>

#include <functional>

SearchBoxCommands::SearchBoxCommands(DataModule &dm, QLineEdit &box, QWidget &window, Tabs tabs)
    : m_box(box), m_tabs(tabs), m_search(dm), m_dropDown(new SearchDropDown(box, m_search))
{
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_K)}) {
        connect(new QShortcut(keys, &window), &QShortcut::activated, this, [this] {
            m_box.setFocus(Qt::ShortcutFocusReason);
            m_box.selectAll();
        });
    }
    EventHook::install(&m_box, QEvent::KeyPress, [this](QEvent *event) {
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            leaveBox();
    });
    connect(&m_search, &SearchService::stateChanged, this, &SearchBoxCommands::showState);
    showState();
}

SearchBoxCommands::~SearchBoxCommands() = default;

void SearchBoxCommands::startAfter(DataSet &list)
{
    if (!list.isLoading()) {
        m_search.start();
        return;
    }
    // Once, whether the read ends with the rows or with a failure.
    auto *once = new QObject(this);
    const auto start = [this, once] {
        once->deleteLater();
        m_search.start();
    };
    connect(&list, &DataSet::reset, once, start);
    connect(&list, &DataSet::openFailed, once, start);
}

void SearchBoxCommands::showState()
{
    m_box.setToolTip(QStringLiteral("Zieba: adgilebi, quCebi, gaCerebebi, marSrutebi"));
    switch (m_search.state()) {
    case SearchService::State::Ready:
        m_box.setPlaceholderText(QStringLiteral("Zieba"));
        break;
    case SearchService::State::Failed:
        m_box.setPlaceholderText(SearchDropDown::Unavailable);
        break;
    case SearchService::State::NotStarted:
    case SearchService::State::Building:
        m_box.setPlaceholderText(SearchDropDown::Preparing);
        break;
    }
}

void SearchBoxCommands::leaveBox()
{
    QWidget *tab = m_tabs.pages.currentWidget();
    if (tab == &m_tabs.objects)
        m_tabs.objects.ObjectGrid->setFocus();
    else if (tab == &m_tabs.streets)
        m_tabs.streets.StreetGrid->setFocus();
    else if (tab == &m_tabs.transport)
        m_tabs.transport.TransportiGrid->setFocus();
}

void SearchBoxCommands::showSearchResult(const SearchResult &result)
{
    bool listed = false;
    std::function<void()> showOnMap;
    switch (result.kind) {
    case SearchKind::Place:
        m_tabs.pages.setCurrentWidget(&m_tabs.objects);
        listed = m_tabs.objects.focusObject(result.code);
        showOnMap = [this] { m_tabs.objectMap.ShowMepAcExecute(); };
        break;
    case SearchKind::Street:
        m_tabs.pages.setCurrentWidget(&m_tabs.streets);
        listed = m_tabs.streets.focusStreet(result.code);
        showOnMap = [this] { m_tabs.streetMap.StreetGenShowMnItClick(); };
        break;
    case SearchKind::Stop:
        m_tabs.pages.setCurrentWidget(&m_tabs.transport);
        listed = m_tabs.transport.focusStop(result.code);
        showOnMap = [this] { m_tabs.transportMap.GenStopShowMnItClick(); };
        break;
    case SearchKind::Route:
        m_tabs.pages.setCurrentWidget(&m_tabs.transport);
        listed = m_tabs.transport.focusRoute(result.code);
        showOnMap = [this] { m_tabs.transportMap.marSrutisCvenebazogadrukaze1Click(); };
        break;
    }
    leaveBox();
    // The index was read before the database changed: the list, now on all its rows, lacks it.
    if (!listed)
        throw Error(QStringLiteral("\"%1\" is no longer in the database").arg(result.name));
    showOnMap();
}
