#include "journeys/JourneyTab.h"

#include "platform/DisplayFont.h"
#include "widgets/TabLayout.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <tuple>

namespace {

QLabel *noteLabel(const char *name, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setWordWrap(true);
    label->setContentsMargins(6, 3, 6, 3);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(80, 80, 80));
    label->setPalette(palette);
    label->hide();
    return label;
}

} // namespace

JourneyTab::JourneyTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mgzavrobaTSH"));
    JourneyList = new QTreeWidget(this);
    JourneyList->setObjectName(QStringLiteral("JourneyList"));
    JourneyList->setHeaderHidden(true);
    JourneyList->setColumnCount(1);
    JourneyList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    JourneyList->setWordWrap(true);
    JourneyList->setTextElideMode(Qt::ElideNone);
    JourneyList->header()->setSectionResizeMode(QHeaderView::Stretch);
    JourneyList->setIndentation(14);
    JourneyList->setFont(DisplayFont::font(13));
    // The ride lines' colours show in the list too; the chosen journey stays marked in teal.
    QPalette palette = JourneyList->palette();
    palette.setColor(QPalette::Highlight, QColor(214, 236, 226));
    palette.setColor(QPalette::HighlightedText, QColor(0, 128, 128));
    JourneyList->setPalette(palette);

    EstimateLb = noteLabel("EstimateLb", DisplayFont::font(12), this);
    NotesLb = noteLabel("NotesLb", DisplayFont::arial(11), this);

    mgzavrobaSearchPn = TabLayout::makePanel("mgzavrobaSearchPn", PanelDesignHeight, this);
    mgzavrobaSearchPn->setColours(CaptionPanel::Colours::InactiveCaption);
    CaptionPanel &panel = *mgzavrobaSearchPn;
    SaidanEd = TabLayout::textField(panel, "SaidanEd");
    SadEd = TabLayout::textField(panel, "SadEd");
    TabLayout::addField(panel, QStringLiteral("saidan"), SaidanEd);
    TabLayout::addField(panel, QStringLiteral("sad"), SadEd);
    std::tie(Journey_FilterBtn, JourneyClearBtn) = TabLayout::addButtons(panel, "Journey_FilterBtn", "JourneyClearBtn");
    Journey_FilterBtn->setToolTip(QStringLiteral("mgzavrobis Zieba (<-)"));
    JourneyClearBtn->setToolTip(QStringLiteral("gasufTaveba"));
    // As on the other pages: the list fills the page above the panel.
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(JourneyList, 1);
    column->addWidget(EstimateLb);
    column->addWidget(NotesLb);
    column->addWidget(mgzavrobaSearchPn);
}

void JourneyTab::mgzavrobaSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*mgzavrobaSearchPn, button, PanelRestoredHeight);
}
