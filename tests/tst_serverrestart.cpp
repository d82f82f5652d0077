// The program on a PostgreSQL server that stops while it runs and then starts again: a search
// while the server is down says why it failed, and once the server is back the next search finds
// rows, without restarting the program. The server is one of this test's own, so that the server
// the other suites share keeps running.
#include "ProgramRig.h"
#include "catalogue/ObjectTab.h"

#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QToolButton>

#include <cstdlib>

namespace {

// A private server made with scripts/postgres-server. It is removed after the program's end,
// once the test cities' databases on it (dropped when the application object goes) are gone.
class OwnServer {
public:
    ~OwnServer()
    {
        if (!m_dir.isEmpty())
            std::system(qPrintable(QStringLiteral("'%1' stop '%2' >/dev/null 2>&1").arg(script(), m_dir)));
    }

    // Makes and starts the server; gives its coordinates for KVIRZETA_TEST_POSTGRESQL, or an
    // empty text when it cannot (see log).
    QString start()
    {
        QProcess mktemp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The server's own user must reach its folder: a folder in /tmp, not the test's TMPDIR.
        environment.remove(QStringLiteral("TMPDIR"));
        mktemp.setProcessEnvironment(environment);
        mktemp.start(QStringLiteral("mktemp"), {QStringLiteral("-d")});
        mktemp.waitForFinished();
        m_dir = QString::fromLocal8Bit(mktemp.readAllStandardOutput()).trimmed();
        QString coordinates;
        return run(QStringLiteral("start"), &coordinates) ? coordinates.trimmed() : QString();
    }
    bool pause() { return run(QStringLiteral("pause")); }
    bool resume() { return run(QStringLiteral("resume")); }

    QString log; // what the last command said on its error output

private:
    static QString script() { return QStringLiteral(KVIRZETA_SOURCE_DIR "/scripts/postgres-server"); }

    bool run(const QString &command, QString *output = nullptr)
    {
        QProcess process;
        process.start(script(), {command, m_dir});
        process.waitForFinished(120000);
        log = QString::fromLocal8Bit(process.readAllStandardError());
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString m_dir;
};

OwnServer &ownServer()
{
    static OwnServer server;
    return server;
}

} // namespace

class TestServerRestart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchesSayWhyWhileTheServerIsDownAndRecover()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::PostgreSQL)
            QSKIP("needs a PostgreSQL server: checked on the postgresql run");
        // Like the other suites of the run, this one needs the run's server to be there.
        if (qEnvironmentVariable("KVIRZETA_TEST_POSTGRESQL").trimmed().isEmpty())
            QSKIP("KVIRZETA_TEST_POSTGRESQL names no server for this run (scripts/test starts one)");
        OwnServer &server = ownServer();
        const QString coordinates = server.start();
        QVERIFY2(!coordinates.isEmpty(), qPrintable(server.log));
        qputenv("KVIRZETA_TEST_POSTGRESQL", coordinates.toLocal8Bit());

        ProgramRig rig;
        rig.show();
        ObjectTab &tab = *rig.window->obieqtiTSH;
        DataSet &list = rig.dm.obieqti_logo_Qr;
        const auto search = [&] {
            rig.prompts.clear();
            tab.ObieqtiEd->setText(QStringLiteral("banki"));
            tab.Obj_FilterBtn->click();
        };
        search();
        QVERIFY(rig.prompts.errors.isEmpty());
        QCOMPARE(list.recordCount(), 1);

        QVERIFY2(server.pause(), qPrintable(server.log));
        // The cities' databases are dropped at the end: the server must be up again by then.
        const auto restart = qScopeGuard([&server] { server.resume(); });
        // The first search finds the session ended, the next one finds no server: both say so.
        for (int attempt = 0; attempt < 2; ++attempt) {
            search();
            QCOMPARE(rig.prompts.errors.size(), 1);
            const QString told = rig.prompts.errors.first();
            QVERIFY2(told.size() > 20, qPrintable(told));
            QVERIFY(!list.isOpen());
        }

        QVERIFY2(server.resume(), qPrintable(server.log));
        search();
        QVERIFY2(rig.prompts.errors.isEmpty(), qPrintable(rig.prompts.errors.join(QLatin1Char('\n'))));
        QCOMPARE(list.recordCount(), 1);
    }
};

QTEST_MAIN(TestServerRestart)
#include "tst_serverrestart.moc"
