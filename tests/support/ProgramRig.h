#pragma once
// The whole program started on the fixture city (or another city), with recording fakes for the
// message windows and the desktop: the tests of the tabs' commands drive it as a user would.
//
//   ProgramRig rig;                       // city built, current directory entered, window created
//   rig.show();                           // first activation: the object tab is active
//   rig.window->obieqtiTSH->ObieqtiEd->setText("kafe");
//   rig.window->obieqtiTSH->Obj_FilterBtn->click();
//   QCOMPARE(rig.prompts.messages, ...);
#include "FakeDesktop.h"
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "app/MainFrm.h"
#include "common/MainState.h"
#include "data/DataModule.h"
#include "map/MapEngine.h"
#include "search/SearchService.h"

#include <QtTest>
#include <memory>

// Shows the program's window and waits for its first activation and, since the object list is
// read in the background, for the list: tests start once it is in. `handlers` is filled from the
// window's handlerStarted().
inline void showUntilActivated(QWidget &window, const QStringList &handlers, DataModule &dm)
{
    window.show();
    QTRY_VERIFY(handlers.contains(QStringLiteral("FormActivate")));
    QTRY_VERIFY(!dm.obieqti_logo_Qr.isLoading() && !dm.quCa_Qr.isLoading());
    QCoreApplication::processEvents();
}

struct ProgramRig {
    FixtureCity city;
    ScopedCurrentDir here{city.path()};
    MainState mainState;
    FakePrompts prompts;
    FakeDesktop desktop;
    DataModule dm;
    QStringList handlers; // names of the routed handlers, in the order they ran
    std::unique_ptr<TMainFrm> window;

    // `prepare` may change the city before the program starts (remove a raster, run SQL).
    explicit ProgramRig(const std::function<void(FixtureCity &)> &prepare = {}) : ProgramRig(CityRecipe(), prepare) {}
    // The program on another city, e.g. HostileCity::recipe().
    explicit ProgramRig(const CityRecipe &recipe, const std::function<void(FixtureCity &)> &prepare = {})
        : city(recipe)
    {
        if (prepare)
            prepare(city);
        window = std::make_unique<TMainFrm>(dm, mainState, prompts, desktop, [] {});
        QObject::connect(window.get(), &TMainFrm::handlerStarted, [this](const QString &h) { handlers << h; });
    }

    // Also waits for the search box's index, read in the background once the object list is in.
    void show()
    {
        showUntilActivated(*window, handlers, dm);
        QTRY_VERIFY(window->search().state() == SearchService::State::Ready
                    || window->search().state() == SearchService::State::Failed);
    }

    MapEngine &mapEngine() { return window->map(); }
    MainState &state() { return window->state(); }
};
