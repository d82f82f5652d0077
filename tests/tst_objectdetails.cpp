#include "ProgramRig.h"
#include "app/MainActions.h"
#include "catalogue/AdvertisingFile.h"
#include "catalogue/ObjectDetailCommands.h"
#include "catalogue/ObjectDetailsWindow.h"
#include "common/GeorgianScript.h"
#include "dialogs/WordMessage.h"
#include "platform/DesktopWordDocument.h"
#include "platform/PrivateTempDirectory.h"
#include "platform/SystemDesktop.h"
#include "widgets/ActiveLabel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString CR(QChar(13));

// Makes the object the object list's focused record.
void focus(ProgramRig &rig, int objectKey)
{
    QVERIFY(rig.dm.obieqti_logo_Qr.locate(QStringLiteral("obieqtis_kodi"), objectKey));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// A details window filled for the focused object and wired to the commands.
struct DetailsWindow {
    ObjectDetailCommands commands;
    TObieqtiDetFrm window;
    explicit DetailsWindow(ProgramRig &rig) : commands(rig.dm, rig.prompts, rig.desktop, rig.window.get())
    {
        commands.fillWindow(window);
        commands.connectWindow(window);
    }
};

} // namespace

class TestObjectDetails : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp; // the system's temporary directory during these tests

    // A file of the program's own folder in it.
    static QString tempFile(const QString &name) { return privateTempDirectory() + name; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
    }

    void windowShowsTheFocusedObject()
    {
        ProgramRig rig([](FixtureCity &city) {
            city.execSql(QStringLiteral("UPDATE obieqti SET g_raioni_kodi = 99 WHERE obieqtis_kodi = 1004; "
                                        "UPDATE obieqti SET g_raioni_kodi = NULL WHERE obieqtis_kodi = 1005"));
        });
        rig.show();
        focus(rig, Fixture::BankObject);
        {
            DetailsWindow d(rig);
            const TObieqtiDetFrm &w = d.window;
            QCOMPARE(w.NameText->text(), QStringLiteral("Tbilisi banki"));
            QCOMPARE(w.RaioniLb->text(), QStringLiteral("vake"));
            QCOMPARE(w.misamarTiLb->text(), QStringLiteral("WavWavaZis 1"));
            QCOMPARE(w.telefoniLb->text(), QStringLiteral("22 33 44"));
            QCOMPARE(w.faxLb->text(), QStringLiteral("22 33 45"));
            QCOMPARE(w.websiteLb->text(), QStringLiteral("www.tbank.ge"));
            QCOMPARE(w.emailLb->text(), QStringLiteral("info@tbank.ge"));
            QCOMPARE(w.SaqmianobaEd->toPlainText(), QStringLiteral("sabanko momsaxureba"));
            QVERIFY(w.SaqmianobaEd->isReadOnly());
            QCOMPARE(w.clientArea()->size(), QSize(438, 457));
            QCOMPARE(w.websiteLb->pos(), QPoint(109, 195));
            QCOMPARE(w.emailLb->pos(), QPoint(110, 222));
            QCOMPARE(w.SaqmianobaEd->geometry(), QRect(14, 268, 387, 63));
            QCOMPARE(w.BitBtn3->text(), QStringLiteral("SemoTavazeba"));
            QCOMPARE(w.BitBtn2->text(), QStringLiteral("beWdva"));
            QCOMPARE(w.BitBtn1->text(), QStringLiteral("daxurva"));
            QVERIFY(w.hasLogo());
            QCOMPARE(readFile(tempFile(QStringLiteral("ForDetailWidow.jpg"))),
                     rig.city.picture(Fixture::BankObject, QStringLiteral("tree_Logo")));
        }

        // Nulls read as empty text; a missing logo leaves the earlier logo file alone.
        const QString logoFile = tempFile(QStringLiteral("ForDetailWidow.jpg"));
        writeFile(logoFile, "earlier");
        focus(rig, Fixture::NoLogoObject);
        {
            DetailsWindow d(rig);
            QCOMPARE(d.window.NameText->text(), QStringLiteral("kredo"));
            QCOMPARE(d.window.telefoniLb->text(), QString());
            QCOMPARE(d.window.faxLb->text(), QString());
            QCOMPARE(d.window.emailLb->text(), QString());
            QVERIFY(!d.window.hasLogo());
            QCOMPARE(readFile(logoFile), QByteArray("earlier"));
        }

        // An unknown or missing district shows none, not the district shown before.
        for (int key : {Fixture::MenuObjectA, Fixture::MenuObjectB}) {
            focus(rig, Fixture::BankObject);
            { DetailsWindow earlier(rig); }
            focus(rig, key);
            DetailsWindow d(rig);
            QCOMPARE(d.window.RaioniLb->text(), QString());
        }

        // A logo that is not a picture is left out quietly.
        focus(rig, Fixture::BrokenLogoObject);
        {
            DetailsWindow d(rig);
            QVERIFY(!d.window.hasLogo());
            QCOMPARE(d.window.RaioniLb->text(), QStringLiteral("didube"));
        }
        QCOMPARE(rig.prompts.errors, QStringList());
        QCOMPARE(rig.prompts.messages, QStringList());
    }

    void logoIsScaledDownOnly()
    {
        TObieqtiDetFrm w;
        QImage wide(820, 50, QImage::Format_RGB32);
        wide.fill(Qt::red);
        w.setLogo(wide);
        QCOMPARE(w.LogoIm->pixmap().size(), QSize(410, 25));
        QImage tall(100, 110, QImage::Format_RGB32);
        tall.fill(Qt::red);
        w.setLogo(tall);
        QCOMPARE(w.LogoIm->pixmap().size(), QSize(50, 55));
        QImage small(40, 20, QImage::Format_RGB32);
        small.fill(Qt::red);
        w.setLogo(small);
        QCOMPARE(w.LogoIm->pixmap().size(), QSize(40, 20));
        w.setLogo(QImage());
        QVERIFY(!w.hasLogo());
    }

    void detailsCommandShowsModalWindowForFocusedObjectOnly()
    {
        ProgramRig rig;
        rig.show();
        focus(rig, Fixture::BankObject);
        QString shownName;
        bool shown = false;
        QTimer::singleShot(50, [&] {
            if (auto *w = qobject_cast<TObieqtiDetFrm *>(QApplication::activeModalWidget())) {
                shown = true;
                shownName = w->NameText->text();
                w->BitBtn1->click();
            }
        });
        rig.window->actions->ObjDetailAc->trigger();
        QVERIFY(shown);
        QCOMPARE(shownName, QStringLiteral("Tbilisi banki"));
        QVERIFY(!QApplication::activeModalWidget());

        // An empty list has no focused object: nothing opens, nothing is reported.
        DataModule::requery(rig.dm.obieqti_logo_Qr, DataModule::objectListSelect + QStringLiteral("1 = 0"));
        shown = false;
        QTimer::singleShot(50, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                shown = true;
                modal->close();
            }
        });
        rig.window->actions->ObjDetailAc->trigger();
        rig.window->actions->ReaklamaAc->trigger();
        QTest::qWait(80);
        QVERIFY(!shown);
        QCOMPARE(rig.prompts.errors, QStringList());
        QCOMPARE(rig.prompts.messages, QStringList());
    }

    void advertisingFileIsWrittenUnderItsBareName()
    {
        ProgramRig rig([](FixtureCity &city) {
            city.execSql(QStringLiteral(
                "UPDATE obieqtis_logo SET sareklamo_faili_saxeli = '../../escape.pdf' WHERE g_obieqti_kodi = 1001; "
                "UPDATE obieqtis_logo SET sareklamo_faili_saxeli = '' WHERE g_obieqti_kodi = 1003"));
        });
        rig.show();
        const QString temp = privateTempDirectory();

        focus(rig, Fixture::BankObject);
        rig.window->actions->ReaklamaAc->trigger();
        QCOMPARE(rig.desktop.openedFiles, QStringList{temp + QStringLiteral("escape.pdf")});
        QCOMPARE(readFile(temp + QStringLiteral("escape.pdf")), QByteArray("%PDF-1.4 Tbilisi banki offer"));
        QVERIFY(!QFile::exists(QDir(temp).absoluteFilePath(QStringLiteral("../../escape.pdf"))));

        focus(rig, Fixture::NoLogoObject);
        rig.window->actions->ReaklamaAc->trigger();
        QCOMPARE(rig.desktop.openedFiles.last(), temp + QStringLiteral("advertising"));
        QCOMPARE(readFile(temp + QStringLiteral("advertising")), QByteArray("kredo offer"));

        // Two objects whose files share a name overwrite each other's copy.
        focus(rig, Fixture::MenuObjectA);
        rig.window->actions->ReaklamaAc->trigger();
        QCOMPARE(readFile(temp + QStringLiteral("menu.pdf")), QByteArray("%PDF-1.4 Sua qalaqi menu"));
        focus(rig, Fixture::MenuObjectB);
        {
            // The window's button opens the same file as the main window's command.
            DetailsWindow d(rig);
            d.window.BitBtn3->click();
        }
        QCOMPARE(readFile(temp + QStringLiteral("menu.pdf")), QByteArray("%PDF-1.4 mravalJamieri menu"));
        QCOMPARE(rig.desktop.openedFiles.size(), 4);
        QCOMPARE(rig.desktop.openedFiles.last(), temp + QStringLiteral("menu.pdf"));

        // No advertising file: the message, and nothing written or opened.
        focus(rig, Fixture::NoAdvertObject);
        rig.window->actions->ReaklamaAc->trigger();
        QCOMPARE(rig.prompts.messages, QStringList{QStringLiteral("sareklamo SemoTavazeba gansazRvruli ar aris")});
        QCOMPARE(rig.desktop.openedFiles.size(), 4);
        QCOMPARE(rig.prompts.errors, QStringList());
    }

    void storedNamesNeverLeaveTheDirectory()
    {
        using AdvertisingFile::safeFileName;
        QCOMPARE(safeFileName(QStringLiteral("menu.pdf")), QStringLiteral("menu.pdf"));
        QCOMPARE(safeFileName(QStringLiteral("../x.pdf")), QStringLiteral("x.pdf"));
        QCOMPARE(safeFileName(QStringLiteral("C:\\offers\\..\\kredo.doc")), QStringLiteral("kredo.doc"));
        QCOMPARE(safeFileName(QStringLiteral("/etc/passwd")), QStringLiteral("passwd"));
        QCOMPARE(safeFileName(QString()), QStringLiteral("advertising"));
        QCOMPARE(safeFileName(QStringLiteral("..")), QStringLiteral("advertising"));
        QCOMPARE(safeFileName(QStringLiteral("offers/")), QStringLiteral("advertising"));
        QCOMPARE(safeFileName(QStringLiteral(".pdf")), QStringLiteral(".pdf"));
        QCOMPARE(safeFileName(QStringLiteral("a b.pdf")), QStringLiteral("a b.pdf"));
        // Too long for a file name: cut to 255 bytes, whole characters, extension kept.
        const QString ascii(300, QLatin1Char('n'));
        QCOMPARE(safeFileName(ascii + QStringLiteral(".pdf")), QString(251, QLatin1Char('n')) + QStringLiteral(".pdf"));
        QCOMPARE(safeFileName(ascii), QString(255, QLatin1Char('n')));
        const QString georgian = QString(200, QChar(0x10D0)) + QStringLiteral(".pdf"); // 3 bytes each
        QCOMPARE(safeFileName(georgian), QString(83, QChar(0x10D0)) + QStringLiteral(".pdf"));
        const QString clefs = QStringLiteral("𝄞").repeated(100); // 4 bytes, two UTF-16 units each
        QCOMPARE(safeFileName(clefs), QStringLiteral("𝄞").repeated(63));
    }

    void webLinkAndMail()
    {
        ProgramRig rig;
        rig.show();
        focus(rig, Fixture::BankObject);
        DetailsWindow d(rig);
        d.window.show();
        QTest::mouseClick(d.window.websiteLb, Qt::LeftButton);
        QCOMPARE(rig.desktop.openedLinks, QStringList{QStringLiteral("www.tbank.ge")});
        QCOMPARE(d.window.websiteLb->cursor().shape(), Qt::PointingHandCursor);

        // A single click on the e-mail address does nothing; a double click starts a message.
        QTest::mouseClick(d.window.emailLb, Qt::LeftButton);
        QCOMPARE(rig.desktop.mails, QStringList());
        QTest::mouseDClick(d.window.emailLb, Qt::LeftButton);
        QCOMPARE(rig.desktop.mails, QStringList{QStringLiteral("info@tbank.ge")});

        // A failing mail client goes to the default error report and the window stays usable.
        rig.desktop.mailError = QStringLiteral("No mail client");
        QTest::mouseDClick(d.window.emailLb, Qt::LeftButton);
        QCOMPARE(rig.prompts.errors, QStringList{QStringLiteral("No mail client.")});
        QVERIFY(d.window.isVisible());
    }

    void printingTypesTheShownDetails()
    {
        ProgramRig rig;
        rig.show();
        rig.desktop.wordProcessorInstalled = true;
        focus(rig, Fixture::NoLogoObject);
        DetailsWindow d(rig);
        d.window.BitBtn2->click();
        QCOMPARE(rig.desktop.documents.size(), 1);
        const OdtDocument &doc = rig.desktop.documents[0];
        QVERIFY(doc.isVisible());
        QCOMPARE(doc.caption(), QStringLiteral("KVIRZETA"));

        // The texts drawn in the display font are typed in Georgian letters.
        QStringList expected = {
            QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("obieqtis dasaxeleba:    kredo; "),
            QStringLiteral(" "), QStringLiteral("adgilmdebareoba "), QStringLiteral("raioni :     vake; "),
            QStringLiteral("misamarTi:     abaSiZis 12; "), QStringLiteral("telefoni:    ; "),
            QStringLiteral("faqsi:    ; "), QStringLiteral("veb-gverdi:    ; "), QStringLiteral("el. fosta:     ; "),
            QStringLiteral(" "), QStringLiteral("saqmianoba "), QStringLiteral("mikrosesxebi")};
        for (QString &text : expected)
            text = GeorgianScript::toUnicode(text);
        QCOMPARE(expected[6], QStringLiteral("მისამართი:     აბაშიძის 12; "));
        const auto paragraphs = doc.paragraphs();
        QStringList texts;
        for (const auto &p : paragraphs) {
            QString text;
            for (const auto &run : p.runs) {
                text += run.text;
                QCOMPARE(run.fontSize, 14.0);
            }
            texts << text;
            QCOMPARE(p.alignment, 3);
        }
        QCOMPARE(texts, expected);
        // Labels are in the display font; the addresses with their "; " in Times New Roman.
        QCOMPARE(paragraphs[9].runs.size(), 2);
        QCOMPARE(paragraphs[9].runs[0].fontName, QStringLiteral("_! Kolhety"));
        QCOMPARE(paragraphs[9].runs[1].text, QStringLiteral("; "));
        QCOMPARE(paragraphs[9].runs[1].fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(paragraphs[10].runs[0].text, QStringLiteral("ელ. ფოსტა:     "));
        QCOMPARE(paragraphs[10].runs[1].fontName, QStringLiteral("Times New Roman"));
        for (int i : {0, 2, 8, 11, 13}) {
            QCOMPARE(paragraphs[i].runs.size(), 1);
            QCOMPARE(paragraphs[i].runs[0].fontName, QStringLiteral("_! Kolhety"));
        }

        // The shown values are typed, not fresh reads.
        d.window.NameText->setText(QStringLiteral("sxva"));
        d.window.BitBtn2->click();
        QCOMPARE(rig.desktop.documents[1].paragraphs()[2].runs[0].text,
                 GeorgianScript::toUnicode(QStringLiteral("obieqtis dasaxeleba:    sxva; ")));

        // Web and e-mail addresses are typed as they are.
        focus(rig, Fixture::BankObject);
        DetailsWindow bank(rig);
        bank.window.BitBtn2->click();
        const auto bankParagraphs = rig.desktop.documents[2].paragraphs();
        QCOMPARE(bankParagraphs[9].runs[1].text, QStringLiteral("www.tbank.ge; "));
        QCOMPARE(bankParagraphs[10].runs[1].text, QStringLiteral("info@tbank.ge; "));

        // No word processor: its message and nothing else.
        rig.desktop.wordProcessorInstalled = false;
        d.window.BitBtn2->click();
        QCOMPARE(rig.prompts.messages, QStringList{WordMessage::text()});
        QCOMPARE(rig.prompts.errors, QStringList());
        QCOMPARE(rig.desktop.documents.size(), 3);
    }

    void desktopDocumentIsANewFileEachTime()
    {
        QTemporaryDir dir;
        const QString directory = dir.path() + QLatin1Char('/');
        QStringList opened;
        writeFile(directory + QStringLiteral("KVIRZETA-1.fodt"), "still open");
        for (int i = 0; i < 2; ++i) {
            DesktopWordDocument doc(directory, [&](const QString &path) { opened << path; });
            doc.addDocument();
            doc.insertAfter(QStringLiteral("saqmianoba ") + CR);
            doc.disconnect();
            QCOMPARE(doc.path(), opened.last());
        }
        QCOMPARE(opened, QStringList({directory + QStringLiteral("KVIRZETA-2.fodt"),
                                      directory + QStringLiteral("KVIRZETA-3.fodt")}));
        QCOMPARE(readFile(directory + QStringLiteral("KVIRZETA-1.fodt")), QByteArray("still open"));
        const QByteArray xml = readFile(opened[0]);
        QVERIFY(xml.contains("office:document"));
        QVERIFY(xml.contains("saqmianoba "));

        // A directory that cannot be written is an error for the default report.
        QVERIFY_THROWS_EXCEPTION(Error, DesktopWordDocument::writeNewFile(directory + QStringLiteral("missing/"), "x"));
    }

    void systemWordProcessorNeedsAnApplicationForTheType()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
        const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_DIRS", home.path().toLocal8Bit() + "/none");
        SystemDesktop desktop;
        const bool before = desktop.connectWordProcessor() != nullptr;
        QDir(home.path()).mkpath(QStringLiteral("applications"));
        writeFile(home.path() + QStringLiteral("/applications/writer.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Writer\nExec=writer %U\n"
                  "MimeType=application/vnd.oasis.opendocument.text;\n");
        const bool after = desktop.connectWordProcessor() != nullptr;
        qputenv("XDG_DATA_HOME", oldHome);
        qputenv("XDG_DATA_DIRS", oldDirs);
        QVERIFY(!before);
        QVERIFY(after);
    }

    // Set DETAILS_SCREENSHOT to a PNG path to look at the window.
    void screenshot()
    {
        const QString path = qEnvironmentVariable("DETAILS_SCREENSHOT");
        if (path.isEmpty())
            QSKIP("DETAILS_SCREENSHOT not set");
        ProgramRig rig;
        rig.show();
        focus(rig, Fixture::BankObject);
        DetailsWindow d(rig);
        d.window.show();
        QTest::qWait(100);
        QVERIFY(d.window.grab().save(path));
    }
};

QTEST_MAIN(TestObjectDetails)
#include "tst_objectdetails.moc"
