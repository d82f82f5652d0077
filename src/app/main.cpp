#include "app/Application.h"
#include "app/MainFrm.h"
#include "app/MainState.h"
#include "data/DataModule.h"
#include "dialogs/LogoFrm.h"
#include "dialogs/WindowPrompts.h"
#include "platform/DisplayFont.h"
#include "platform/SystemDesktop.h"

#include <QTimer>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QApplication::setApplicationName(QLatin1String(WindowPrompts::Title));
    DisplayFont::ensureRegistered();

    MainState state;
    WindowPrompts prompts(state);
    SystemDesktop desktop;
    app.setErrorReport(&prompts);

    DataModule DM1;
    TMainFrm MainFrm(DM1, state, prompts, desktop, [&desktop] {
        TLogoFrm LogoFrm(desktop);
        LogoFrm.exec();
    });
    prompts.setParentWindow(&MainFrm);
    // Shown from inside the event loop, so that closing the window at its first activation
    // (after a failed connection) ends the loop.
    QTimer::singleShot(0, &MainFrm, &QWidget::show);
    return app.exec();
}
