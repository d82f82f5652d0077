#pragma once
// The object commands that mark objects on the maps: the focused object on the general map, on
// its detailed sheet, alone or with the stops near it; all objects of a rubric; the logo that
// follows the list's focused object; and the way back from a marker to the list.
class ObjectTab;
struct WindowParts;

class ObjectMapCommands {
public:
    ObjectMapCommands(WindowParts &parts, ObjectTab &tab) : m_parts(parts), m_tab(tab) {}

    void ShowMepAcExecute();
    void ShowDetMapAcExecute();
    void ShowObjWithStopAcExecute();
    void rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
    void Im_ObjAcExecute();
    void ObjectGridTableViewFocusedRecordChanged();

private:
    WindowParts &m_parts;
    ObjectTab &m_tab;
};
