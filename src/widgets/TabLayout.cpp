#include "widgets/TabLayout.h"

#include "widgets/GeorgianInput.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/ToolBarImages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVBoxLayout *column(CaptionPanel &panel)
{
    return static_cast<QVBoxLayout *>(panel.body()->layout());
}

QToolButton *panelButton(QWidget *parent, const char *name, const QString &hint, const QIcon &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(38, 25);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

GroupedListView *TabLayout::makeList(const char *name, QWidget *tab)
{
    auto *list = new GroupedListView(tab);
    list->setObjectName(QLatin1String(name));
    list->setHeaderHidden(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Objects, streets and stops alike are named by their `saxeli`.
    list->setNameField(QStringLiteral("saxeli"));
    return list;
}

void TabLayout::stack(QWidget *tab, GroupedListView *list, CaptionPanel *panel)
{
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(list, 1);
    layout->addWidget(panel);
}

void TabLayout::buttonClick(CaptionPanel &panel, CaptionPanel::Button button, int restoredHeight)
{
    switch (button) {
    case CaptionPanel::Button::Close:
        panel.hide();
        break;
    case CaptionPanel::Button::Minimise:
        panel.setFixedHeight(MinimisedHeight);
        break;
    case CaptionPanel::Button::Restore:
        panel.setFixedHeight(restoredHeight);
        break;
    }
}

CaptionPanel *TabLayout::makePanel(const char *name, int designHeight, QWidget *parent)
{
    auto *panel = new CaptionPanel(QStringLiteral("saZiebeli"), designHeight, parent);
    panel->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(panel->body());
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    return panel;
}

QLineEdit *TabLayout::textField(CaptionPanel &panel, const char *name)
{
    auto *field = new QLineEdit(panel.body());
    field->setObjectName(QLatin1String(name));
    field->setValidator(new GeorgianInput(field));
    return field;
}

LookupEditor *TabLayout::lookup(CaptionPanel &panel, const char *name, DataSet &dataSet, const char *listField,
                                   const char *keyField)
{
    auto *editor = new LookupEditor(dataSet, QLatin1String(listField), QLatin1String(keyField), panel.body());
    editor->setObjectName(QLatin1String(name));
    editor->setValidator(new GeorgianInput(editor, [editor](const QString &text) {
        return editor->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    }));
    return editor;
}

void TabLayout::addField(CaptionPanel &panel, const QString &label, QWidget *field)
{
    auto *caption = new QLabel(label, panel.body());
    caption->setBuddy(field);
    column(panel)->addWidget(caption);
    column(panel)->addWidget(field);
    column(panel)->addSpacing(4);
}

std::pair<QToolButton *, QToolButton *> TabLayout::addButtons(CaptionPanel &panel, const char *searchName,
                                                                 const char *clearName)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    QToolButton *search = panelButton(panel.body(), searchName, QStringLiteral("Zieba (<-)"),
                                      ToolBarImageList::icon(ToolBarImageList::Search));
    QToolButton *clear = panelButton(panel.body(), clearName, QStringLiteral("Ziebis gauqmeba"),
                                     ToolBarImageList::clearSearchIcon());
    row->addWidget(search);
    row->addWidget(clear);
    column(panel)->addLayout(row);
    column(panel)->addStretch(1);
    return {search, clear};
}
