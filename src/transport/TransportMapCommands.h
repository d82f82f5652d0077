#pragma once
// The commands that mark routes and stops on the maps: a whole route on the general map, and the
// focused stop on the general map or on its detailed sheet.
class TransportTab;
struct WindowParts;

class TransportMapCommands {
public:
    TransportMapCommands(WindowParts &parts, TransportTab &tab) : m_parts(parts), m_tab(tab) {}

    void marSrutisCvenebazogadrukaze1Click();
    void GenStopShowMnItClick();
    void DetStopShowMnItClick();

private:
    WindowParts &m_parts;
    TransportTab &m_tab;
};
