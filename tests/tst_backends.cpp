// The program's connection on whichever backend this run uses (KVIRZETA_TEST_BACKEND): it only
// ever reads, whatever the statement and whichever way it is sent.
#include "FakeDesktop.h"
#include "FakePrompts.h"
#include "FixtureCity.h"
#include "app/MainActions.h"
#include "app/MainFrm.h"
#include "app/MainState.h"
#include "catalogue/ObjectTab.h"
#include "common/Errors.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/DataSet.h"
#include "data/LikeCondition.h"
#include "data/QueryGuard.h"
#include "data/SqlScript.h"
#include "streets/StreetTab.h"
#include "transport/TransportTab.h"

#include "TestChecks.h"

#include <QtTest>
#include <QtWidgets>

namespace {


// The statements that would change a database, in the forms the engines know.
const QStringList writes = {
    QStringLiteral("INSERT INTO raioni VALUES (9, 'axali')"),
    QStringLiteral("INSERT INTO raioni (raioni_kodi, saxeli) SELECT raioni_kodi + 100, saxeli FROM raioni"),
    QStringLiteral("UPDATE quCa SET saxeli='x'"),
    QStringLiteral("DELETE FROM obieqti"),
    QStringLiteral("CREATE TABLE extra (a INTEGER)"),
    QStringLiteral("CREATE INDEX extra_index ON quCa (saxeli)"),
    QStringLiteral("DROP TABLE kavS_transporti_gaCereba"),
    QStringLiteral("ALTER TABLE quCa ADD COLUMN extra INTEGER"),
};

// The searches' LIKE conditions on the text a\b!c%d through a module's connection: "%" and "_"
// are wildcards, a backslash and "!" stand for themselves.
void checkLikeConditions(DataModule &dm)
{
    const auto matches = [&](const QString &text) {
        DataModule::requery(dm.Qr, QStringLiteral("SELECT * FROM raioni WHERE ") +
                                       LikeCondition::contains(QStringLiteral("'a\\b!c%d'"), text));
        return !dm.Qr.isEmpty();
    };
    for (const char *text : {"a\\b", "\\", "\\%", "\\_", "b!c", "c%d", "_"})
        QVERIFY2(matches(QString::fromUtf8(text)), text);
    for (const char *text : {"\\\\", "\\!", "b!!c", "c\\%d"})
        QVERIFY2(!matches(QString::fromUtf8(text)), text);
}

} // namespace

class TestBackends : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qInfo("Backend: %s", qPrintable(FixtureCity::backendName())); }

    void guardAdmitsOnlySingleSelects()
    {
        const auto admitted = [](const char *sql) { return QueryGuard::refusal(QString::fromUtf8(sql)).isEmpty(); };
        QVERIFY(admitted("SELECT * FROM quCa"));
        QVERIFY(admitted("  \r\n select * from quCa\r\norder by saxeli\r\n"));
        QVERIFY(admitted("-- a note\n/* another */ (SELECT 1) UNION (SELECT 2)"));
        QVERIFY(admitted("SELECT * FROM quCa;"));
        QVERIFY(admitted("SELECT * FROM quCa;  -- done\n"));
        // Words and semicolons inside literals, quoted names and comments count for nothing.
        QVERIFY(admitted("SELECT * FROM obieqti WHERE saxeli LIKE '%; DELETE FROM quCa%'"));
        QVERIFY(admitted("SELECT * FROM obieqti WHERE saxeli LIKE '%d''artaniani into%'"));
        QVERIFY(admitted("SELECT \"into\" FROM t"));
        QVERIFY(admitted("SELECT 1 -- ; DELETE FROM quCa"));
        QVERIFY(admitted("SELECT 1 /* ; DROP TABLE quCa */"));
        // A broken literal is left for the database to report.
        QVERIFY(admitted("SELECT * FROM obieqti WHERE saxeli LIKE '%d'art%'"));

        const auto refused = [](const char *sql) { return !QueryGuard::refusal(QString::fromUtf8(sql)).isEmpty(); };
        QVERIFY(refused(""));
        QVERIFY(refused("   "));
        QVERIFY(refused("DELETE FROM quCa"));
        QVERIFY(refused("with x as (delete from quCa returning *) select * from x"));
        QVERIFY(refused("PRAGMA query_only=OFF"));
        QVERIFY(refused("SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE"));
        QVERIFY(refused("SELECT * INTO copy FROM quCa"));
        QVERIFY(refused("SELECT * FROM quCa; DELETE FROM quCa"));
        QVERIFY(refused("SELECT 1;SELECT 2"));
        // The user's text breaking out of its literal to add a statement.
        QVERIFY(refused("SELECT * FROM quCa WHERE saxeli LIKE '%x'; DELETE FROM quCa; --%'"));
    }

    void splitsScripts()
    {
        const QStringList statements = SqlScript::statements(QStringLiteral(
            "-- tables\nCREATE TABLE a (b VARCHAR(5)); -- first\n"
            "INSERT INTO a VALUES ('x;y'), ('it''s; -- no comment');\n\n;  \n"
            "INSERT INTO a VALUES ('z')"));
        QCOMPARE(statements.size(), 3);
        QCOMPARE(statements[0], QStringLiteral("CREATE TABLE a (b VARCHAR(5))"));
        QCOMPARE(statements[1], QStringLiteral("INSERT INTO a VALUES ('x;y'), ('it''s; -- no comment')"));
        QCOMPARE(statements[2], QStringLiteral("INSERT INTO a VALUES ('z')"));
        QVERIFY(SqlScript::statements(QStringLiteral(" -- only a note\n ; ")).isEmpty());
    }

    void writesThroughTheConnectionAreRefused()
    {
        FixtureCity city;
        const QByteArray digest = city.contentDigest();
        const QByteArray file = fileHash(city.file(QStringLiteral("city.db")));
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        {
            // Sent straight through the session, past the data sets: the engine itself refuses.
            QSqlQuery query(dm.ADOConn.database());
            for (const QString &sql : writes)
                QVERIFY2(!query.exec(sql), qPrintable(sql));
            // The session is still usable after the refusals.
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM raioni")));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), Fixture::DistrictCount);
        }
        // Through a data set the statement is refused before it reaches the database.
        for (const QString &sql : writes) {
            dm.Qr.close();
            dm.Qr.setSql(sql);
            const QString error = errorOf([&] { dm.Qr.open(); });
            QVERIFY2(error.startsWith(QLatin1String("Qr: ")), qPrintable(error));
            QVERIFY(!dm.Qr.isOpen());
        }
        dm.ADOConn.close();
        QCOMPARE(city.contentDigest(), digest);
        QCOMPARE(fileHash(city.file(QStringLiteral("city.db"))), file);
    }

    void sessionOfCommandsLeavesTheDatabaseUnchanged()
    {
        FixtureCity city;
        const QByteArray digest = city.contentDigest();
        const QByteArray file = fileHash(city.file(QStringLiteral("city.db")));
        QTemporaryDir temp;
        {
            ScopedCurrentDir here(city.path());
            DataModule dm;
            dm.ADOConn.setConnectionString(Connection::readConnectionFile(QStringLiteral("Address.ini")));
            dm.ADOConn.open();
            // Start-up and the three tabs.
            for (DataSet *set : {&dm.RaioniQr, &dm.quCisTipi_Qr, &dm.quCa_Qr, &dm.rubrikaQr, &dm.qve_rubrika_Qr,
                                 &dm.Search_qve_rubrika_Qr, &dm.obieqti_logo_Qr, &dm.transportisTipi_Qr,
                                 &dm.kavS_transporti_gaCereba_Qr, &dm.obieqtiQr, &dm.gaCereba_Qr})
                set->open();
            // Searches, among them one whose text breaks out of its quotes to add a statement.
            DataModule::requery(dm.obieqti_logo_Qr, DataModule::objectListSelect +
                                                        QStringLiteral(" obieqti.saxeli LIKE '%kafe%' AND ") +
                                                        QStringLiteral("(obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND "
                                                                       "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) "
                                                                       "ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
            QCOMPARE(dm.obieqti_logo_Qr.recordCount(), 2);
            DataModule::requery(dm.quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%gamziri%'"));
            QCOMPARE(dm.quCa_Qr.recordCount(), 3);
            const QString injected = QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%x'; DELETE FROM quCa; --%'");
            QVERIFY(!errorOf([&] { DataModule::requery(dm.quCa_Qr, injected); }).isEmpty());
            QVERIFY(!errorOf([&] { DataModule::requery(dm.quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%d'art%'")); })
                         .isEmpty());
            DataModule::requery(dm.kavS_transporti_gaCereba_Qr,
                                DataModule::routeStopListSql + QStringLiteral(" AND transporti.saxeli LIKE '1'"));
            QCOMPARE(dm.kavS_transporti_gaCereba_Qr.recordCount(), 6);
            checkLikeConditions(dm);
            // The scratch query's map work and the details window's files.
            DataModule::requery(dm.Qr, QStringLiteral("SELECT * FROM gaCereba WHERE ruka_kodi='B2' AND "
                                                      "ABS(x-40)<5 AND ABS(y-50)<5 ORDER BY saxeli"));
            QCOMPARE(dm.Qr.recordCount(), 2);
            QVERIFY(dm.obieqti_logo_Qr.locate(QStringLiteral("g_obieqti_kodi"), Fixture::SameNameObjectA));
            dm.obieqti_logo_Qr.saveBlobToFile(QStringLiteral("map_logo"), temp.filePath(QStringLiteral("ForMap.jpg")));
            dm.ReloadObjectList();
            QVERIFY(dm.obieqti_logo_Qr.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
            dm.obieqti_logo_Qr.saveBlobToFile(QStringLiteral("sareklamo_faili"), temp.filePath(QStringLiteral("tbank.pdf")));
            dm.ReloadStreetList();
            dm.ReloadRouteStopList();
            QCOMPARE(dm.quCa_Qr.recordCount(), Fixture::StreetCount);
        }
        QCOMPARE(city.contentDigest(), digest);
        QCOMPARE(fileHash(city.file(QStringLiteral("city.db"))), file);
        QVERIFY(!QFileInfo::exists(city.file(QStringLiteral("city.db-journal"))));
    }

    void sessionThroughTheMainWindowLeavesTheDatabaseUnchanged()
    {
        FixtureCity city;
        const QByteArray digest = city.contentDigest();
        const QByteArray file = fileHash(city.file(QStringLiteral("city.db")));
        {
            ScopedCurrentDir here(city.path());
            MainState state;
            FakePrompts prompts;
            FakeDesktop desktop;
            DataModule dm;
            TMainFrm window(dm, state, prompts, desktop, [] {});
            QStringList handlers;
            QObject::connect(&window, &TMainFrm::handlerStarted, [&](const QString &h) { handlers << h; });
            // Windows that a command shows modally are closed again at once.
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [] {
                if (QWidget *modal = QApplication::activeModalWidget())
                    modal->close();
            });
            closer.start(20);
            window.show();
            QTRY_VERIFY(window.PageControl->currentWidget() == window.obieqtiTSH);
            QCOMPARE(state.KeyLb, QStringLiteral("0"));
            MainActions &a = *window.actions;
            const auto run = [](std::initializer_list<QAction *> actions) {
                for (QAction *action : actions) {
                    action->trigger();
                    QCoreApplication::processEvents();
                }
            };

            ObjectTab &objects = *window.obieqtiTSH;
            for (const char *text : {"kafe", "x'; DELETE FROM obieqti; --", "d'art", ""}) {
                objects.ObieqtiEd->setText(QString::fromUtf8(text));
                objects.Obj_FilterBtn->click();
                QCoreApplication::processEvents();
                run({a.ShowMepAc, a.ShowDetMapAc, a.ShowObjWithStopAc, a.ObjDetailAc, a.ReaklamaAc, a.Im_ObjAc,
                     a.rubrukaSiSemvaliobieqtebisCvenebarukaze1, a.rubrikissruligaSla1, a.ClearMapAc});
            }
            objects.ClearBtn->click();

            window.PageControl->setCurrentWidget(window.quCaTSh);
            for (const char *text : {"gamziri", "'; DROP TABLE quCa; --"}) {
                window.quCaTSh->quCisSaxeliEd->setText(QString::fromUtf8(text));
                window.quCaTSh->Street_FilterBtn->click();
                QCoreApplication::processEvents();
                run({a.StreetGenShowMnIt, a.StreetDetShowMnIt, a.raionSiSemavaliyvelaquCismiTiTeba1, a.ClearMapAc});
            }

            window.PageControl->setCurrentWidget(window.TransportiTSH);
            for (const char *text : {"1", "M1'; UPDATE gaCereba SET x=0; --"}) {
                window.TransportiTSH->TransportiSaxeliEd->setText(QString::fromUtf8(text));
                window.TransportiTSH->Transp_FilterBtn->click();
                QCoreApplication::processEvents();
                run({a.marSrutisCvenebazogadrukaze1, a.GenStopShowMnIt, a.DetStopShowMnIt, a.transportisgaSla1,
                     a.ClearMapAc});
            }
            run({a.zogadi1, a.detaluri1, a.daxmareba2, a.Sesaxeb1});
            // Every command went through the window's routes.
            for (const char *handler : {"Obj_FilterBtnClick", "ShowMepAcExecute", "ObjDetailAcExecute", "Street_FilterBtnClick",
                                        "StreetDetShowMnItClick", "Transp_FilterBtnClick", "DetStopShowMnItClick"})
                QVERIFY2(handlers.contains(QLatin1String(handler)), handler);
        }
        QCOMPARE(city.contentDigest(), digest);
        QCOMPARE(fileHash(city.file(QStringLiteral("city.db"))), file);
    }

    void digestSeesEveryKindOfWrite()
    {
        // The digest the two tests above rely on notices a changed row, a new table and a blob.
        FixtureCity city;
        const QByteArray digest = city.contentDigest();
        QCOMPARE(city.contentDigest(), digest);
        city.execSql(QStringLiteral("UPDATE gaCereba SET x=x+0.5 WHERE gaCereba_kodi=1"));
        const QByteArray moved = city.contentDigest();
        QVERIFY(moved != digest);
        city.execSql(QStringLiteral("CREATE TABLE extra (a INTEGER)"));
        const QByteArray created = city.contentDigest();
        QVERIFY(created != moved);
        city.execSql(QStringLiteral("UPDATE obieqtis_logo SET sareklamo_faili=NULL WHERE g_obieqti_kodi=1001"));
        QVERIFY(city.contentDigest() != created);
    }

    void valuesComeBackAlikeOnEveryBackend()
    {
        FixtureCity city;
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        DataSet &list = dm.obieqti_logo_Qr;
        list.open();
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
        QCOMPARE(list.integer(QStringLiteral("obieqtis_kodi")), Fixture::BankObject);
        QCOMPARE(list.real(QStringLiteral("x")), 40.0);
        QCOMPARE(list.text(QStringLiteral("x")), QStringLiteral("40"));
        QCOMPARE(list.text(QStringLiteral("saxeli")), QStringLiteral("Tbilisi banki"));
        QCOMPARE(list.bytes(QStringLiteral("tree_Logo")), city.picture(Fixture::BankObject, QStringLiteral("tree_Logo")));
        QCOMPARE(list.bytes(QStringLiteral("sareklamo_faili")), QByteArray("%PDF-1.4 Tbilisi banki offer"));
        QVERIFY(list.locate(QStringLiteral("g_obieqti_kodi"), Fixture::NoLogoObject));
        QVERIFY(list.isNull(QStringLiteral("tree_Logo")));
        QVERIFY(list.isNull(QStringLiteral("telefoni")));
        QVERIFY(!list.isNull(QStringLiteral("el_fosta")));
        QCOMPARE(list.text(QStringLiteral("rek")), QStringLiteral("abaSiZis 12, , , mikrosesxebi"));

        // Names sort by code point everywhere: capitals before small letters.
        dm.RaioniQr.open();
        QCOMPARE(dm.RaioniQr.text(QStringLiteral("saxeli")), QStringLiteral("Zveli Tbilisi"));
        // The 16-bit stop keys and the route numbers read as numbers and text as on SQLite.
        DataModule::requery(dm.Qr, QStringLiteral("SELECT * FROM gaCereba WHERE gaCereba_kodi=1001"));
        QCOMPARE(dm.Qr.integer(QStringLiteral("gaCereba_kodi")), Fixture::ObjectKeyStop);
        QCOMPARE(dm.Qr.text(QStringLiteral("x")), QStringLiteral("42"));
        QCOMPARE(dm.Qr.text(QStringLiteral("aRwera")), QString());
    }

    void serverConnectionFailuresAreReported()
    {
        Connection connection(QStringLiteral("ADOConn"));
        const auto failure = [&](const QString &text) {
            connection.setConnectionString(text);
            const QString error = errorOf([&] { connection.open(); });
            return connection.isOpen() ? QStringLiteral("opened") : error;
        };
        QVERIFY(failure(QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=http;Database=city"))
                    .contains(QLatin1String("http")));
        QVERIFY(!failure(QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=70000;Database=city")).isEmpty());
        // Nothing listens on port 1: refused at once, not after a long wait.
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!failure(QStringLiteral("Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=city;User ID=x")).isEmpty());
        QVERIFY(timer.elapsed() < 10000);

        // An ODBC source that names a missing SQLite file fails, and the file is not made.
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.db"));
        if (QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
            QVERIFY(!failure(QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"DRIVER=SQLite3;Database=%1;NoCreat=1;\"")
                                 .arg(missing))
                         .isEmpty());
            QVERIFY(!failure(QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"DRIVER=No Such Driver;\"")).isEmpty());
        }
        QVERIFY(!QFileInfo::exists(missing));
    }

    void odbcToPostgresqlIsReadOnly()
    {
        if (FixtureCity::backend() != FixtureCity::Backend::PostgreSQL)
            QSKIP("needs the PostgreSQL server of the postgresql run");
        FixtureCity city;
        const auto server = Connection::parse(city.connectionString());
        const QString odbc = QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"DRIVER={PostgreSQL Unicode};"
                                            "Server=%1;Port=%2;Database=%3;Uid=%4;Pwd=%5;\"")
                                 .arg(server.value(QStringLiteral("host")), server.value(QStringLiteral("port")),
                                      server.value(QStringLiteral("database")), server.value(QStringLiteral("user id")),
                                      server.value(QStringLiteral("password")));
        const QByteArray digest = city.contentDigest();
        DataModule dm;
        dm.ADOConn.setConnectionString(odbc);
        const QString error = errorOf([&] { dm.ADOConn.open(); });
        if (error.contains(QLatin1String("PostgreSQL Unicode")) || error.contains(QLatin1String("not installed")))
            QSKIP(qPrintable(QStringLiteral("the PostgreSQL ODBC driver is not there: ") + error));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        {
            QSqlQuery query(dm.ADOConn.database());
            for (const QString &sql : writes)
                QVERIFY2(!query.exec(sql), qPrintable(sql));
        }
        dm.quCa_Qr.open();
        QCOMPARE(dm.quCa_Qr.recordCount(), Fixture::StreetCount);
        DataModule::requery(dm.quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE saxeli LIKE '%wavwava%'"));
        QVERIFY(dm.quCa_Qr.isEmpty());
        checkLikeConditions(dm);
        dm.ADOConn.close();
        QCOMPARE(city.contentDigest(), digest);
    }
};

QTEST_MAIN(TestBackends)
#include "tst_backends.moc"
