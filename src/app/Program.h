#pragma once
// The whole program on the city in the current directory, built as main() starts it: the display
// font, the shared state, the message windows, the desktop, the data module and the main window.
// The general map is decoded in a worker thread from the start, while the window is being built.
// The window runs its start-up (connection, splash window, general map) while it is built and is
// shown from inside the event loop, so that closing it at its first activation (after a failed
// connection) ends the loop. SIGINT, SIGTERM and SIGHUP end it too, as a normal exit.
//
//   Application app(argc, argv);
//   Program program(app);
//   return program.exec();
#include "common/MainState.h"
#include "data/DataModule.h"
#include "dialogs/LogoFrm.h"
#include "dialogs/WindowPrompts.h"
#include "map/PicturePreload.h"
#include "platform/SystemDesktop.h"
#include "platform/TerminationSignals.h"

#include <memory>

class Application;
class TMainFrm;

class Program {
public:
    // `splashMs` is how long the splash window stays; 0 closes it at the first turn of its event
    // loop (tools that time the start-up). `prompts`, when given, replaces the message windows
    // (tools that must never wait for a click); it must outlive the program.
    explicit Program(Application &app, int splashMs = TLogoFrm::DefaultDurationMs, Prompts *prompts = nullptr);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    TMainFrm &window() { return *m_window; }

    // Runs the event loop; the program's exit status: the loop's, 1 when the connection failed
    // at start-up, 128 + the signal's number when a signal ended the program (also one that came
    // while the window was being built, when the loop does not run at all).
    int exec();
    static constexpr int ConnectionFailedStatus = 1;

private:
    Application &m_app;
    TerminationSignals m_signals; // before the window: the splash window may be ended too
    MainState m_state;
    WindowPrompts m_windowPrompts;
    Prompts &m_prompts;
    SystemDesktop m_desktop;
    DataModule m_dm;
    PicturePreload m_generalMap;
    std::unique_ptr<TMainFrm> m_window;
};
