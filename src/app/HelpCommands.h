#pragma once
// The help menu: the help document and the about window.
class Desktop;

class HelpCommands {
public:
    explicit HelpCommands(Desktop &desktop) : m_desktop(desktop) {}

    // Opens .\Kvirzeta.pdf with the desktop's viewer; whether it exists is the viewer's matter.
    void daxmareba2Click();
    void Sesaxeb1Click();

private:
    Desktop &m_desktop;
};
