#pragma once
// The commands of the tabs without the main window: the fixture city made the current directory,
// the program's start-up run on it (connection, general map, the shared state's first values),
// and the map engine over a map area of its own, 320 x 240 so that every map can scroll. The
// window's switches and status line are recorded. A test builds the tab and the commands it needs
// on top, and runs a command inside the default error report:
//
//   CommandRig rig;
//   TransportMapCommands commands(rig.dm, rig.state, rig.prompts, rig.map);
//   rig.run([&] { commands.GenStopShowMnItClick(); });
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "app/StartUp.h"
#include "common/CommandGroups.h"
#include "common/CommandRunner.h"
#include "common/MainState.h"
#include "common/StatusLine.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "widgets/ZoomSpinBox.h"

#include <QtTest>
#include <optional>

// What the tabs switch on the main window.
struct RecordedWindow : CommandGroups, StatusLine {
    void enableOnly(Group group) override { enabledGroup = group; }
    void setObjectDetailsEnabled(bool enabled) override { objectDetailsEnabled = enabled; }
    void setObjectActivationShown(bool shown) override { objectActivationShown = shown; }
    void setText(const QString &text) override { status = text; }
    QString text() const override { return status; }

    std::optional<Group> enabledGroup;
    bool objectDetailsEnabled = true;
    bool objectActivationShown = false;
    QString status;
};

struct CommandRig {
    FixtureCity city;
    ScopedCurrentDir here{city.path()};
    FakePrompts prompts;
    CommandRunner runner{prompts};
    MainState state;
    DataModule dm;
    MapArea area;
    ZoomSpinBox zoom;
    MapEngine map{state, dm, runner, area, zoom};
    RecordedWindow window;

    // `prepare` may change the city before the start-up (remove a raster, run SQL).
    explicit CommandRig(const std::function<void(FixtureCity &)> &prepare = {})
    {
        if (prepare)
            prepare(city);
        StartUp startUp(dm, state, map.switcher, prompts, [] {});
        if (startUp.openConnection())
            run([&] { startUp.finish(); });
        area.resize(320, 240);
        area.show();
    }

    bool run(const std::function<void()> &command) { return runner.run(command); }
    void noErrors() { QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n')))); }
};
