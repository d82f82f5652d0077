#pragma once
// The main window's creation steps: read the connection string, open the database, show the
// splash window, load the general map and give the shared state its initial values.
#include <functional>

class DataModule;
class MapSwitcher;
class Prompts;
struct MainState;

class StartUp {
public:
    // Shows the splash window modally and returns when it has closed.
    using Splash = std::function<void()>;

    StartUp(DataModule &dm, MainState &state, MapSwitcher &switcher, Prompts &prompts, Splash splash);

    // Sets KeyLb to "0" and opens the connection with the text of .\Address.ini. Any failure
    // shows the standard dialog "Connection failed" with the reason below it, sets KeyLb to "2"
    // and returns false.
    bool openConnection();
    // The steps after a successful connection, in order; an error ends them where it happens.
    void finish();

private:
    DataModule &m_dm;
    MainState &m_state;
    MapSwitcher &m_switcher;
    Prompts &m_prompts;
    Splash m_splash;
};
