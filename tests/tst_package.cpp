// The Debian package that scripts/package builds (cpack): its dependencies, its files, and its
// programs run from the unpacked tree (dpkg-deb -x): the guide's --help and the import of the
// fixture extract.
#include "FixtureCity.h"

#include <QtTest>

namespace {

struct Run {
    int code = -1;
    QString out;
};

Run run(const QString &program, const QStringList &arguments, int seconds = 120)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(seconds * 1000))
        return {-1, program + QStringLiteral(" did not end: ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(process.readAll())};
}

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_root; // the package unpacked

private Q_SLOTS:
    void initTestCase()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::SQLite)
            QSKIP("the package does not depend on the database backend: checked on the SQLite run");
        const QString out = m_dir.filePath(QStringLiteral("package"));
        const Run cpack = run(QStringLiteral(KVIRZETA_CPACK_COMMAND),
                              {QStringLiteral("--config"), QStringLiteral(KVIRZETA_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), out},
                              300);
        QVERIFY2(cpack.code == 0, qPrintable(cpack.out));
        m_deb = out + QStringLiteral("/kvirzeta_" KVIRZETA_VERSION "_amd64.deb");
        QVERIFY2(QFileInfo::exists(m_deb), qPrintable(cpack.out));
        m_root = m_dir.filePath(QStringLiteral("root"));
        const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
        QVERIFY2(unpack.code == 0, qPrintable(unpack.out));
    }

    void holdsWhatAnInstallNeeds()
    {
        const Run depends = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb, QStringLiteral("Depends")});
        for (const char *package : {"libqt6widgets6", "libqt6sql6", "libqt6sql6-sqlite", "libqt6sql6-psql", "qt6-qpa-plugins",
                                    "libjpeg62-turbo", "libexpat1", "libzip4"})
            QVERIFY2(depends.out.contains(QLatin1String(package)), qPrintable(package + QStringLiteral(": ") + depends.out));
        for (const char *file : {"bin/kvirzeta", "bin/kvirzeta-import-osm", "share/fonts/truetype/kvirzeta/Kolhety.ttf",
                                 "share/icons/hicolor/scalable/apps/kvirzeta.svg", "share/kvirzeta/democity/Address.ini",
                                 "share/kvirzeta/democity/Raster/Tbilisi.frame", "share/doc/kvirzeta/copyright"})
            QVERIFY2(QFileInfo(m_root + QStringLiteral("/usr/") + QLatin1String(file)).isFile(), file);
        // The menu entry names the installed paths, not where the package was made.
        QFile entry(m_root + QStringLiteral("/usr/share/applications/kvirzeta.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY2(text.contains("Exec=\"/usr/bin/kvirzeta\"\n") && text.contains("Path=/usr/share/kvirzeta/democity\n"), text.constData());
    }

    void unpackedProgramsRun()
    {
        const Run help = run(m_root + QStringLiteral("/usr/bin/kvirzeta"), {QStringLiteral("--help")});
        QVERIFY2(help.code == 0 && help.out.startsWith(QLatin1String("Usage:")), qPrintable(help.out));
        const QString city = m_dir.filePath(QStringLiteral("city"));
        const Run import = run(m_root + QStringLiteral("/usr/bin/kvirzeta-import-osm"),
                               {QStringLiteral(KVIRZETA_FIXTURE_DIR "/tbilisi.osm"), city, QStringLiteral("--gtfs"),
                                QStringLiteral(KVIRZETA_FIXTURE_DIR "/feed"), QStringLiteral("--map-width"), QStringLiteral("400"),
                                QStringLiteral("--quiet")});
        QVERIFY2(import.code == 0, qPrintable(import.out));
        QVERIFY(QFileInfo::exists(city + QStringLiteral("/Address.ini")) && QFileInfo::exists(city + QStringLiteral("/Raster/F5.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
