#pragma once
// The switches of the main window that the tabs flip as they are shown and hidden: which group
// of tool buttons is enabled, and whether the map's menu offers to activate the objects under
// the pointer. The main window implements it over its tool bar and menus.
class CommandGroups {
public:
    enum class Group { Objects, Streets, Stops };

    virtual ~CommandGroups() = default;
    // Enables the buttons of `group` and disables those of the other two groups.
    virtual void enableOnly(Group group) = 0;
    // The object details button alone.
    virtual void setObjectDetailsEnabled(bool enabled) = 0;
    // The map menu's item that activates the objects under the pointer, with its separator.
    virtual void setObjectActivationShown(bool shown) = 0;
};
