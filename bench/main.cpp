// kvirzeta-bench: measures the program on a large city and prints a Markdown table of the
// figures, each the median of several runs next to what it is compared with.
//
//   kvirzeta-bench CITY_FOLDER [--runs N] [--only 1,4,...] [--connection TEXT]
//
// The city is generated into CITY_FOLDER with the demo-city generator's bench size unless the
// folder holds one; with --connection its tables go into that (empty) database instead of an
// SQLite file. The program runs offscreen. Two hidden modes time the start-up as child
// processes: --startup-child CITY (the program's own start-up to the ready main window),
// --startup-listed-child CITY (the same until the object list has its rows) and --bare-child (a
// bare Qt program that shows one empty main window).
#include "BenchCity.h"
#include "BenchPrompts.h"
#include "JourneyFigure.h"
#include "Measure.h"
#include "ProgramFigures.h"
#include "app/Application.h"
#include "app/MainFrm.h"
#include "app/Program.h"
#include "data/DataModule.h"
#include "data/DataSet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QSet>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {

// Ends the process without its clean-up: a child's time is the start-up alone, and the large
// city's data need no orderly release.
[[noreturn]] void quitNow(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

// Runs the event loop until the main window has been activated (its first activation shows the
// object list), then paints it.
void waitUntilReady(TMainFrm &window)
{
    QEventLoop loop;
    QObject::connect(&window, &TMainFrm::handlerStarted, &loop, [&loop](const QString &handler) {
        if (handler == QLatin1String("FormActivate"))
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    QTimer::singleShot(600000, &loop, [] {
        std::fprintf(stderr, "kvirzeta-bench: the main window never became ready\n");
        quitNow(3);
    });
    loop.exec();
    window.repaint();
}


// `listed`: waits also for the whole object list, as a user who wants to browse it does.
[[noreturn]] void startupChild(int argc, char **argv, const QString &city, bool listed)
{
    if (!QDir::setCurrent(city))
        quitNow(2);
    Application app(argc, argv);
    BenchPrompts prompts;
    Program program(app, 0, &prompts);
    waitUntilReady(program.window());
    if (listed) {
        if (!waitUntilListed(program.window().dataModule().obieqti_logo_Qr))
            quitNow(4);
        program.window().repaint();
    }
    quitNow(prompts.count() == 0 ? 0 : 1);
}

[[noreturn]] void bareChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    window.repaint();
    quitNow(0);
}

void startupFigure(const QString &self, const QString &city, int runs, Report &report)
{
    QVector<double> program, listed, bare;
    for (int i = 0; i < runs; ++i) {
        program << Measure::childMilliseconds(self, {QStringLiteral("--startup-child"), city});
        listed << Measure::childMilliseconds(self, {QStringLiteral("--startup-listed-child"), city});
        bare << Measure::childMilliseconds(self, {QStringLiteral("--bare-child")});
    }
    report.addRatio(QStringLiteral("7. Start-up to the ready main window (splash wait excluded)"), Measure::median(program),
                    Measure::median(bare), 3, QStringLiteral("bare Qt main window"));
    // Not a bar: how long the list of 100,000 objects takes to fill the ready window.
    report.add({QStringLiteral("7. ... and until the object list has every row (for information)"),
                Measure::ms(Measure::median(listed)), QString(), QString(), QStringLiteral("—"), true});
}

QString machine()
{
    QString cpu;
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : info.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                cpu = QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    return QStringLiteral("Machine: %1, %2 cores, %3, Qt %4; %5.")
        .arg(cpu)
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::prettyProductName(), QLatin1String(qVersion()),
             QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd")));
}

int usage()
{
    std::fprintf(stderr, "usage: kvirzeta-bench CITY_FOLDER [--runs N] [--only 1,4,...] [--connection TEXT]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--startup-child") && argc > 2)
        startupChild(argc, argv, QString::fromLocal8Bit(argv[2]), false);
    if (mode == QLatin1String("--startup-listed-child") && argc > 2)
        startupChild(argc, argv, QString::fromLocal8Bit(argv[2]), true);
    if (mode == QLatin1String("--bare-child"))
        bareChild(argc, argv);

    QString folder;
    QString connection;
    int runs = 5;
    QSet<int> only; // the figures to measure; empty: all
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--runs") && i + 1 < argc) {
            runs = QString::fromLocal8Bit(argv[++i]).toInt();
            if (runs < 1)
                return usage();
        } else if (a == QLatin1String("--only") && i + 1 < argc) {
            for (const QString &n : QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(',')))
                only.insert(n.toInt());
        } else if (a == QLatin1String("--connection") && i + 1 < argc) {
            connection = QString::fromLocal8Bit(argv[++i]);
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return usage();
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty())
        return usage();

    try {
        Application app(argc, argv);
        const QString self = QCoreApplication::applicationFilePath();
        const QString city = BenchCity::ensure(folder, connection);
        const QString largeRasters = BenchCity::ensureLargeRasters(city);
        Report report;

        const auto wanted = [&only](int figure) { return only.isEmpty() || only.contains(figure); };
        if (wanted(7)) {
            std::fprintf(stderr, "Start-up, %d runs of each child ...\n", runs);
            startupFigure(self, city, runs, report);
        }

        std::fprintf(stderr, "Starting the program on %s ...\n", qPrintable(city));
        QDir::setCurrent(city);
        BenchPrompts prompts;
        Program program(app, 0, &prompts);
        waitUntilReady(program.window());
        waitUntilListed(program.window().dataModule().obieqti_logo_Qr);
        // The search box's index is read in the background once the list is in: the figures start
        // when that is done.
        if (!waitUntilSearchable(program.window().search()))
            throw std::runtime_error("the search index could not be read");
        ProgramFigures figures(program.window(), prompts, runs, report);
        const std::pair<QList<int>, void (ProgramFigures::*)()> inProgram[] = {
            {{2}, &ProgramFigures::objectList}, {{1}, &ProgramFigures::objectSearch},
            {{3, 8, 9}, &ProgramFigures::objectMarkers}, {{4}, &ProgramFigures::rubric},
            {{10}, &ProgramFigures::streetAndStopMarkers}, {{12}, &ProgramFigures::searchBox}};
        for (const auto &[numbers, measure] : inProgram) {
            if (std::any_of(numbers.begin(), numbers.end(), wanted)) {
                std::fprintf(stderr, "Figure %d ...\n", numbers.first());
                (figures.*measure)();
            }
        }
        if (wanted(5))
            figures.sheetSwitch(largeRasters);
        if (wanted(6))
            figures.largeMapZoom(largeRasters);
        if (wanted(11)) {
            std::fprintf(stderr, "Figure 11 ...\n");
            journeyFigure(program.window().dataModule(), runs, report);
        }

        report.print(machine());
        if (prompts.count() > 0)
            std::fprintf(stderr, "The program showed %d message(s) during the run; see above.\n", prompts.count());
        quitNow(prompts.count() > 0 ? 1 : 0);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kvirzeta-bench: %s\n", e.what());
        return 1;
    }
}
