#include "ProgramRig.h"
#include "catalogue/ObjectTab.h"

// The rig starts the program on the fixture city with the object tab active and no complaint.
class TestProgramRig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsOnTheFixtureCity()
    {
        ProgramRig rig;
        rig.show();
        QCOMPARE(rig.window->PageControl->currentWidget(), static_cast<QWidget *>(rig.window->obieqtiTSH));
        QCOMPARE(rig.state().CurrentMapName, QStringLiteral("Tbilisi"));
        QCOMPARE(rig.state().WLb, Fixture::GeneralMapWidth);
        QVERIFY(rig.dm.obieqti_logo_Qr.isOpen());
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestProgramRig)
#include "tst_programrig.moc"
