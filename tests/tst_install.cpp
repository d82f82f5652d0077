// cmake --install into a fresh prefix gives a program that a desktop menu can start: the menu
// entry is valid, starts the installed program in the installed demo city, and the city opens;
// the OpenStreetMap import is installed beside it.
#include "FixtureCity.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "platform/DisplayFont.h"

#include <QFontDatabase>
#include <QtTest>

#include <csignal>

#include <tuple>

namespace {

// The keys of a desktop entry's [Desktop Entry] group, values unescaped (\s \n \t \r \\).
QMap<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (!inGroup || eq <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        QString value;
        const QString raw = line.mid(eq + 1);
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
                const QChar c = raw[++i];
                value += c == QLatin1Char('s') ? QChar(' ') : c == QLatin1Char('n') ? QChar('\n')
                       : c == QLatin1Char('t') ? QChar('\t') : c == QLatin1Char('r') ? QChar('\r') : c;
            } else {
                value += raw[i];
            }
        }
        keys.insert(line.left(eq).trimmed(), value);
    }
    return keys;
}

// The program of an Exec value: the first argument, in double quotes or not.
QString execProgram(const QString &exec)
{
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0);
    QString program;
    for (int i = 1; i < exec.size() && exec[i] != QLatin1Char('"'); ++i) {
        if (exec[i] == QLatin1Char('\\') && i + 1 < exec.size())
            ++i;
        program += exec[i];
    }
    return program;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_prefix;

private Q_SLOTS:
    void initTestCase()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the installed layout does not depend on the database backend: checked on the SQLite run");
        // A space and a dollar in the prefix test the quoting of the menu entry.
        m_prefix = m_dir.filePath(QStringLiteral("Kvirzeta $prefix"));
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(KVIRZETA_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(KVIRZETA_BUILD_DIR), QStringLiteral("--prefix"), m_prefix});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0, install.readAll().constData());
    }

    void menuEntryIsValid()
    {
        const QString entry = m_prefix + QStringLiteral("/share/applications/kvirzeta.desktop");
        QVERIFY(QFileInfo::exists(entry));
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("desktop-file-validate is not installed (package desktop-file-utils)");
            QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
        }
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {entry});
        QVERIFY(validate.waitForFinished(30000));
        const QByteArray output = validate.readAll();
        QVERIFY2(validate.exitCode() == 0 && output.trimmed().isEmpty(), output.constData());
    }

    void menuEntryStartsTheProgramInTheDemoCity()
    {
        const auto keys = desktopEntry(m_prefix + QStringLiteral("/share/applications/kvirzeta.desktop"));
        QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Kvirzeta"));
        QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("kvirzeta"));
        const QString program = execProgram(keys.value(QStringLiteral("Exec")));
        QCOMPARE(program, m_prefix + QStringLiteral("/bin/kvirzeta"));
        QVERIFY(QFileInfo(program).isExecutable());
        const QString city = keys.value(QStringLiteral("Path"));
        QCOMPARE(city, m_prefix + QStringLiteral("/share/kvirzeta/democity"));

        // Everything the program reads relative to its current directory is there.
        QDir dir(city);
        for (const char *file : {"Address.ini", "Kvirzeta.pdf", "Raster/Tbilisi.bmp", "pictures/icons/yellow.bmp",
                                 "pictures/icons/Street.bmp", "pictures/icons/Active_ Street.bmp",
                                 "pictures/icons/Stop.bmp", "pictures/icons/Active_Stop.bmp"})
            QVERIFY2(dir.exists(QLatin1String(file)), file);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("Raster"))).entryList({QStringLiteral("*.jpg")}).size(), 25);

        // Started there the way the menu starts it, the program finds its city and reads it, even
        // from a folder nobody may write to.
        QFile::setPermissions(dir.filePath(QStringLiteral("Kvirzeta.sqlite")), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        {
            ScopedCurrentDir here(city);
            DataModule dm;
            dm.ADOConn.setConnectionString(Connection::readConnectionFile(QStringLiteral("Address.ini")));
            dm.obieqti_logo_Qr.open();
            QVERIFY(dm.obieqti_logo_Qr.recordCount() > 100);
            dm.quCa_Qr.open();
            QVERIFY(!dm.quCa_Qr.isEmpty());
        }
        // It runs until it is told to end. SIGTERM (a kill, the session ending) ends it as closing
        // its window does: its private temporary folder, which holds the focused object's logo
        // once the window is ready, is removed. SIGHUP during the splash window ends it too.
        QTemporaryDir temp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        const auto privateFolders = [&temp] {
            return QDir(temp.path()).entryList({QStringLiteral("kvirzeta-*")}, QDir::Dirs | QDir::Hidden);
        };
        const auto endedBy = [&](int signal, int afterMs) {
            QProcess run;
            run.setWorkingDirectory(city);
            run.setProcessEnvironment(env);
            run.start(program, {});
            if (!run.waitForStarted(10000))
                return QStringLiteral("not started: %1").arg(run.errorString());
            const auto ready = [&] {
                const QStringList folders = privateFolders();
                return !folders.isEmpty() && QFileInfo::exists(temp.filePath(folders.first() + QStringLiteral("/ForMap.jpg")));
            };
            for (QDeadlineTimer wait(afterMs > 0 ? afterMs : 60000); !wait.hasExpired() && (afterMs > 0 || !ready());)
                QTest::qWait(100);
            ::kill(pid_t(run.processId()), signal);
            if (!run.waitForFinished(20000))
                run.kill();
            return QStringLiteral("%1 %2").arg(run.exitStatus() == QProcess::NormalExit ? "exit" : "crash").arg(run.exitCode());
        };
        QCOMPARE(endedBy(SIGTERM, 0), QStringLiteral("exit %1").arg(128 + SIGTERM));
        QCOMPARE(privateFolders(), QStringList());
        QCOMPARE(endedBy(SIGHUP, 3000), QStringLiteral("exit %1").arg(128 + SIGHUP));
    }

    void commandLineAnswersWithoutAWindow()
    {
        // No display is named: a command that tried to open a window would fail to start.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        const auto runProgram = [&](const QStringList &arguments) {
            QProcess run;
            run.setProcessEnvironment(env);
            run.start(m_prefix + QStringLiteral("/bin/kvirzeta"), arguments);
            if (!run.waitForFinished(30000))
                qFatal("kvirzeta %s did not end", qPrintable(arguments.join(QLatin1Char(' '))));
            return std::make_tuple(run.exitCode(), QString::fromUtf8(run.readAllStandardOutput()),
                                   QString::fromUtf8(run.readAllStandardError()));
        };
        auto [code, out, err] = runProgram({QStringLiteral("--help")});
        QCOMPARE(code, 0);
        QVERIFY2(out.startsWith(QStringLiteral("Usage:")) && out.contains(QStringLiteral("--version")), qPrintable(out));
        std::tie(code, out, err) = runProgram({QStringLiteral("--version")});
        QCOMPARE(code, 0);
        QCOMPARE(out, QStringLiteral("kvirzeta " KVIRZETA_VERSION "\n"));
        std::tie(code, out, err) = runProgram({QStringLiteral("--help"), QStringLiteral("--no-such-option")});
        QCOMPARE(code, 2);
        QVERIFY2(err.contains(QStringLiteral("no-such-option")), qPrintable(err));
    }

    void osmImportIsInstalled()
    {
        QProcess tool;
        tool.start(m_prefix + QStringLiteral("/bin/kvirzeta-import-osm"), {QStringLiteral("--help")});
        QVERIFY2(tool.waitForFinished(30000), qPrintable(tool.errorString()));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAllStandardOutput().startsWith("Usage: kvirzeta-import-osm [options] EXTRACT FOLDER\n"));
    }

    void iconAndFontsAreInstalled()
    {
        QFile icon(m_prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/kvirzeta.svg"));
        QVERIFY(icon.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&icon);
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name(), QLatin1String("svg"));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));

        for (const char *font : {"Kolhety.ttf", "Kolhety-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(m_prefix + QStringLiteral("/share/fonts/truetype/kvirzeta/") +
                                                             QLatin1String(font));
            QVERIFY2(id >= 0, font);
            QCOMPARE(QFontDatabase::applicationFontFamilies(id).value(0), QLatin1String(DisplayFont::Family));
        }
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
