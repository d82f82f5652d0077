#pragma once
// The tool bar of the main window: flat 38 by 23 buttons with 16 by 16 pictures in groups (exit,
// search, zoom, map, object, street, stop). A button tied to an action triggers the action; the
// others are routed by the main window. Enabling a button never touches the action or its menu
// items, so the menus stay enabled on every tab.
#include "common/CommandGroups.h"

#include <QHash>
#include <QToolBar>

class MainActions;
class QLineEdit;
class QToolButton;
class ZoomSpinBox;

class MainToolBar : public QToolBar {
    Q_OBJECT
public:
    MainToolBar(MainActions &actions, QWidget *parent = nullptr);

    // Enables the buttons of `group` and disables those of the other two groups.
    void enableOnly(CommandGroups::Group group);

    QToolButton *CloseBtn;
    QToolButton *ToolButton4;   // search
    ZoomSpinBox *ZoomEd;        // zoom percent
    QToolButton *ToolButton8;   // apply the zoom; its arrow opens ZoomPM
    QToolButton *ToolButton12;  // hidden
    QToolButton *SelectBtn;     // hidden
    QToolButton *ToolButton17;  // clear the map
    QToolButton *ObjDetBtn;
    QToolButton *ReklamaBtn;
    QToolButton *ObjGenMapBtn;
    QToolButton *ObjDetMapBtn;
    QToolButton *StreetGenMapBtn;
    QToolButton *StreetDetMapBtn;
    QToolButton *StopGenMapBtn;
    QToolButton *StopDetMapBtn;
    // The one search box, at the right end (its drop-down and keys are SearchBoxCommands').
    QLineEdit *searchBox;

    static constexpr int Height = 25;
    static constexpr int SearchBoxWidth = 240;

private:
    QToolButton *button(const char *name, const QString &hint, int picture, QAction *action = nullptr);
    void hide(QToolButton *button);

    QHash<QToolButton *, QAction *> m_slots;
};
