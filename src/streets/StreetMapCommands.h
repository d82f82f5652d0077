#pragma once
// The commands that mark streets on the maps: the focused street on the general map or on its
// detailed sheet, and all streets of the focused district.
class StreetTab;
struct WindowParts;

class StreetMapCommands {
public:
    StreetMapCommands(WindowParts &parts, StreetTab &tab) : m_parts(parts), m_tab(tab) {}

    void raionSiSemavaliyvelaquCismiTiTeba1Click();
    void StreetGenShowMnItClick();
    void StreetDetShowMnItClick();

private:
    WindowParts &m_parts;
    StreetTab &m_tab;
};
