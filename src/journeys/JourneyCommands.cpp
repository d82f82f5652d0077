#include "journeys/JourneyCommands.h"

#include "common/CommandRunner.h"
#include "common/Prompts.h"
#include "data/DataModule.h"
#include "journeys/JourneyTab.h"
#include "journeys/JourneyText.h"
#include "map/JourneyDrawing.h"
#include "map/MapEngine.h"
#include "map/MapShow.h"
#include "search/SearchService.h"
#include "transit/CityNetwork.h"
#include "transit/Planner.h"
#include "widgets/SearchDropDown.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeWidget>

const QString JourneyCommands::NoEnds = QStringLiteral("miuTiTeT, saidan da sad");
const QString JourneyCommands::SamePlace = QStringLiteral("saidan da sad erTi da igive adgilia");
const QString JourneyCommands::NoJourney = QStringLiteral("mgzavroba ver moiZebna");

namespace {

constexpr int JourneyRole = Qt::UserRole + 1;

JourneyPoint drawn(const Waypoint &w)
{
    const SheetGrid::Place place{w.sheet, w.x, w.y};
    return w.isStop ? JourneyPoint::stop(place, w.stopCode, w.name) : JourneyPoint::at(place, w.name);
}

// The map's picture of a journey: its legs through the stops and ends they pass.
JourneyDrawing drawing(const Journey &journey)
{
    JourneyDrawing picture;
    for (const Leg &leg : journey.legs) {
        JourneyLeg &line = picture.legs.emplace_back();
        if (leg.kind == Leg::Kind::Ride) {
            line.kind = JourneyLeg::Kind::Ride;
            line.typeKey = leg.typeCode;
            line.typeName = leg.typeName;
        }
        for (const Waypoint &w : leg.points)
            line.points.append(drawn(w));
    }
    return picture;
}

// A small square in the colour the leg is drawn in on the map.
QIcon legIcon(const Leg &leg)
{
    QPixmap square(10, 10);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    const QColor colour = leg.kind == Leg::Kind::Ride ? JourneyDrawing::rideColour(leg.typeCode, leg.typeName)
                                                      : JourneyDrawing::walkColour();
    painter.setPen(colour.darker(130));
    painter.setBrush(leg.kind == Leg::Kind::Ride ? colour : Qt::white);
    painter.drawRect(1, 1, 8, 8);
    return QIcon(square);
}

void showNote(QLabel &label, const QString &text)
{
    label.setText(text);
    label.setVisible(!text.isEmpty());
}

} // namespace

JourneyCommands::JourneyCommands(JourneyTab &tab, Services services)
    : m_tab(tab), m_services(services), m_fromDropDown(new SearchDropDown(*tab.SaidanEd, services.search)),
      m_toDropDown(new SearchDropDown(*tab.SadEd, services.search))
{
    connect(m_fromDropDown, &SearchDropDown::picked, this, [this](const SearchResult &result) {
        m_services.runner.run([&] { chosen(*m_tab.SaidanEd, m_from, ChosenEnd::picked(result)); });
    });
    connect(m_toDropDown, &SearchDropDown::picked, this, [this](const SearchResult &result) {
        m_services.runner.run([&] { chosen(*m_tab.SadEd, m_to, ChosenEnd::picked(result)); });
    });
    // A journey is drawn when it becomes the current row, by key or click, and when a click
    // chooses it again after the map was cleared.
    connect(tab.JourneyList, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { m_services.runner.run([&] { choose(item); }); });
    connect(tab.JourneyList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { m_services.runner.run([&] { choose(item); }); });
    connect(&services.search, &SearchService::stateChanged, this, &JourneyCommands::showSearchState);
    showSearchState();
}

JourneyCommands::~JourneyCommands() = default;

void JourneyCommands::showSearchState()
{
    QString hint = QStringLiteral("adgili, quCa, gaCereba, marSruti an wertili rukaze");
    if (m_services.search.state() == SearchService::State::Failed)
        hint = SearchDropDown::Unavailable;
    else if (m_services.search.state() != SearchService::State::Ready)
        hint = SearchDropDown::Preparing;
    m_tab.SaidanEd->setPlaceholderText(hint);
    m_tab.SadEd->setPlaceholderText(hint);
}

void JourneyCommands::Journey_FilterBtnClick()
{
    m_from = m_from.forText(m_tab.SaidanEd->text());
    m_to = m_to.forText(m_tab.SadEd->text());
    if (m_from.text.trimmed().isEmpty() || m_to.text.trimmed().isEmpty()) {
        m_services.prompts.showMessage(NoEnds);
        return;
    }
    const std::shared_ptr<const Network> network = m_services.network.network();
    QSqlDatabase db = m_services.dm.ADOConn.database();
    const JourneyEnd from = m_from.resolve(*network, db, m_services.search);
    const JourneyEnd to = m_to.resolve(*network, db, m_services.search);
    if (!m_planner || &m_planner->network() != network.get())
        m_planner = std::make_unique<Planner>(network);
    const Planner::Result result = m_planner->plan(from, to);

    clearResults();
    QStringList notes = network->notes().describe(network->frame());
    for (const JourneyEnd *end : {&from, &to})
        if (!end->note.isEmpty())
            notes << end->note;
    showNote(*m_tab.NotesLb, notes.join(QLatin1Char('\n')));
    switch (result.outcome) {
    case Planner::Result::Outcome::SamePlace:
        m_services.prompts.showMessage(SamePlace);
        return;
    case Planner::Result::Outcome::NoJourney:
        m_services.prompts.showMessage(NoJourney);
        return;
    case Planner::Result::Outcome::Found:
        break;
    }
    listJourneys(result.journeys, network->frame().rough);
}

void JourneyCommands::listJourneys(const QVector<Journey> &journeys, bool rough)
{
    m_journeys = journeys;
    QTreeWidget &list = *m_tab.JourneyList;
    QFont bold = list.font();
    bold.setBold(true);
    for (int i = 0; i < journeys.size(); ++i) {
        QString text = QStringLiteral("%1. ").arg(i + 1) + JourneyText::journey(journeys[i]);
        if (const QStringList best = JourneyText::bestIn(journeys, i); !best.isEmpty())
            text += QLatin1Char('\n') + best.join(QStringLiteral(", "));
        auto *row = new QTreeWidgetItem(&list, {text});
        row->setData(0, JourneyRole, i);
        row->setFont(0, bold);
        row->setToolTip(0, text);
        for (const Leg &leg : journeys[i].legs) {
            auto *legRow = new QTreeWidgetItem(row, {JourneyText::leg(leg)});
            legRow->setData(0, JourneyRole, i);
            legRow->setIcon(0, legIcon(leg));
            legRow->setToolTip(0, legRow->text(0));
        }
        row->setExpanded(true);
    }
    showNote(*m_tab.EstimateLb, JourneyText::estimate(rough));
    // The fastest is drawn at once; choosing another row draws that one.
    list.setCurrentItem(list.topLevelItem(0));
}

void JourneyCommands::choose(QTreeWidgetItem *item)
{
    if (item)
        showJourney(item->data(0, JourneyRole).toInt());
}

void JourneyCommands::showJourney(int index)
{
    if (index < 0 || index >= m_journeys.size())
        return;
    if (index == m_drawn && !m_services.map.journey.isEmpty())
        return;
    MapShow(m_services.map, m_services.state, m_services.prompts).showJourney(drawing(m_journeys[index]));
    m_drawn = index;
}

void JourneyCommands::clearResults()
{
    m_journeys.clear();
    m_drawn = -1;
    // The list is emptied without choosing anything on the way.
    {
        const QSignalBlocker quiet(m_tab.JourneyList);
        m_tab.JourneyList->clear();
    }
    showNote(*m_tab.EstimateLb, QString());
    showNote(*m_tab.NotesLb, QString());
    m_services.map.journey.clear();
}

void JourneyCommands::JourneyClearBtnClick()
{
    m_from = ChosenEnd();
    m_to = ChosenEnd();
    m_tab.SaidanEd->clear();
    m_tab.SadEd->clear();
    clearResults();
}

bool JourneyCommands::GraphPopupMenuPopup(const QPoint &content)
{
    m_menuPoint = m_services.map.viewport().generalPercentAt(content);
    return m_menuPoint.has_value();
}

void JourneyCommands::aqedanMnItClick()
{
    if (m_menuPoint)
        chosen(*m_tab.SaidanEd, m_from, ChosenEnd::point(*m_menuPoint));
}

void JourneyCommands::aqamdeMnItClick()
{
    if (m_menuPoint)
        chosen(*m_tab.SadEd, m_to, ChosenEnd::point(*m_menuPoint));
}

void JourneyCommands::chosen(QLineEdit &field, ChosenEnd &end, const ChosenEnd &value)
{
    end = value;
    field.setText(value.text);
    field.setCursorPosition(0);
    m_services.pages.setCurrentWidget(&m_tab);
    QLineEdit &other = &field == m_tab.SaidanEd ? *m_tab.SadEd : *m_tab.SaidanEd;
    const ChosenEnd &otherEnd = &field == m_tab.SaidanEd ? m_to : m_from;
    if (otherEnd.forText(other.text()).kind != ChosenEnd::Kind::Typed) {
        Journey_FilterBtnClick();
        return;
    }
    // The person goes on to the other end.
    if (other.text().trimmed().isEmpty())
        other.setFocus(Qt::OtherFocusReason);
}
