#include "app/CommandRunner.h"
#include "common/Errors.h"
#include "FakePrompts.h"

#include <QtTest>

class TestCommandRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsErrorsWithFullStopRule()
    {
        FakePrompts prompts;
        CommandRunner runner(prompts);
        QVERIFY(runner.run([] {}));
        QVERIFY(!runner.run([] { throw Error(QStringLiteral("Table not found")); }));
        QVERIFY(!runner.run([] { throw Error(QStringLiteral("Already ends.")); }));
        QVERIFY(!runner.run([] { throw Error(QStringLiteral("Ends with a comma,")); }));
        QVERIFY(!runner.run([] { throw std::runtime_error("plain"); }));
        QVERIFY(!runner.run([] { throw Error(QStringLiteral(" ")); }));
        // "," sorts before ".", so no full stop is added after it; a report never comes out empty.
        QCOMPARE(prompts.errors, (QStringList{QStringLiteral("Table not found."), QStringLiteral("Already ends."),
                                              QStringLiteral("Ends with a comma,"), QStringLiteral("plain."),
                                              QStringLiteral("The command failed, and no reason was given.")}));
    }

    void swallowsSilentAbort()
    {
        FakePrompts prompts;
        CommandRunner runner(prompts);
        QVERIFY(!runner.run([] { throw SilentAbort(); }));
        QVERIFY(prompts.errors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "tst_commandrunner.moc"
