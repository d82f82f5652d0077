// The program's start-up as main() runs it: on a city it shows the main window with the object
// list open; without a connection file it says so and ends with a failure status.
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "app/Application.h"
#include "app/MainFrm.h"
#include "app/Program.h"
#include "catalogue/ObjectTab.h"
#include "data/DataModule.h"

#include <QTabWidget>
#include <QtTest>

class TestProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsOnTheCityInTheCurrentDirectory()
    {
        FixtureCity city;
        ScopedCurrentDir here(city.path());
        FakePrompts prompts;
        Program program(*static_cast<Application *>(qApp), 0, &prompts);
        TMainFrm &window = program.window();
        QStringList handlers;
        connect(&window, &TMainFrm::handlerStarted, this, [&handlers](const QString &h) { handlers << h; });

        QVERIFY(!window.isVisible()); // shown from inside the event loop
        QTRY_VERIFY(handlers.contains(QStringLiteral("FormActivate")));
        QVERIFY(window.isVisible());
        QCOMPARE(window.PageControl->currentWidget(), window.obieqtiTSH);
        QTRY_VERIFY(window.dataModule().obieqti_logo_Qr.isOpen()); // read in the background
        QVERIFY(!window.dataModule().obieqti_logo_Qr.isEmpty());
        QVERIFY(prompts.standard.isEmpty());
        QVERIFY(prompts.errors.isEmpty());
    }

    void aMissingConnectionFileEndsTheProgramWithAFailure()
    {
        QTemporaryDir empty;
        ScopedCurrentDir here(empty.path());
        FakePrompts prompts;
        Program program(*static_cast<Application *>(qApp), 0, &prompts);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        guard.start(60000);

        QCOMPARE(program.exec(), Program::ConnectionFailedStatus);
        QCOMPARE(prompts.standard, QStringList{QStringLiteral("Connection failed")});
        QVERIFY(!program.window().isVisible());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program.moc"
