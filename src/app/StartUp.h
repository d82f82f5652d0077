#pragma once
// The main window's creation steps: read the connection string, open the database, show the
// splash window, load the general map and give the shared state its initial values.
#include <functional>

class DataModule;
class MapArea;
class Prompts;
struct MainState;

class StartUp {
public:
    // Shows the splash window modally and returns when it has closed.
    using Splash = std::function<void()>;

    StartUp(DataModule &dm, MainState &state, MapArea &map, Prompts &prompts, Splash splash);

    // Sets KeyLb to "0" and opens the connection with the text of .\Address.ini. Any failure
    // shows the standard dialog "Connection failed", sets KeyLb to "2" and returns false.
    bool openConnection();
    // The steps after a successful connection, in order; an error ends them where it happens.
    void finish();
    // Shows the general map "Tbilisi" at its own size and takes its size as the base size.
    void LoadGeneralMap();

private:
    DataModule &m_dm;
    MainState &m_state;
    MapArea &m_map;
    Prompts &m_prompts;
    Splash m_splash;
};
