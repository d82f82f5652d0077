#include "FakeDesktop.h"
#include "FakePrompts.h"
#include "common/CommandRunner.h"
#include "common/GeorgianScript.h"
#include "common/MainState.h"
#include "dialogs/AboutFrm.h"
#include "dialogs/CityPictures.h"
#include "dialogs/DlgMessageBoxFrm.h"
#include "dialogs/HelpCommands.h"
#include "dialogs/LogoFrm.h"
#include "dialogs/MessageBoxFrm.h"
#include "dialogs/WindowPrompts.h"
#include "dialogs/WordMessage.h"
#include "platform/DisplayFont.h"
#include "platform/SystemDesktop.h"
#include "widgets/ActiveLabel.h"
#include "widgets/GradientTitleBar.h"
#include "widgets/WrappedText.h"
#include "TestChecks.h"

#include <QFontDatabase>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRawFont>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Runs `action` on the next modal window as soon as it is up; the caller then enters exec().
void onNextModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

void clickCloseBox(TitledDialog *dialog)
{
    QTest::mouseClick(dialog->titleBar()->closeButton(), Qt::LeftButton);
}

const QString LongText = QStringLiteral("aseTi obieqti ar iZebneba ").repeated(12);

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void displayFontDrawsTransliterationAsGeorgian()
    {
        DisplayFont::ensureRegistered();
        DisplayFont::ensureRegistered();
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("_! Kolhety")));

        const QFont bold = DisplayFont::font(13, true);
        QCOMPARE(QFontInfo(bold).family(), QStringLiteral("_! Kolhety"));
        QCOMPARE(QFontInfo(bold).pixelSize(), 13);
        QVERIFY(QFontInfo(bold).bold());
        QCOMPARE(DisplayFont::pointFont(14.0).pointSizeF(), 14.0);

        // Every Latin letter draws the glyph of the Georgian letter the program converts it to and
        // from ("S" is "sh", "t" is "t'"); digits keep their own glyphs.
        const QRawFont raw = QRawFont::fromFont(DisplayFont::font(15));
        const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        const QString georgian = GeorgianScript::toUnicode(latin);
        QCOMPARE(georgian.mid(18, 2), QStringLiteral("\u10E1\u10E2"));
        for (qsizetype i = 0; i < latin.size(); ++i) {
            QVERIFY2(georgian[i].script() == QChar::Script_Georgian, qPrintable(latin.mid(i, 1)));
            QCOMPARE(raw.glyphIndexesForString(latin.mid(i, 1)), raw.glyphIndexesForString(georgian.mid(i, 1)));
        }
        // Georgian typed or pasted (Mtavruli capitals too) reads back as the transliteration.
        QCOMPARE(GeorgianScript::toTransliteration(u"\u10D7\u10D1\u10D8\u10DA\u10D8\u10E1\u10D8 12-\u1C98 x"),
                 QStringLiteral("Tbilisi 12-i x"));
        const QString primary = QStringLiteral("abgdevzTiklmnopJrstufqRySCcZwWxjh");
        QCOMPARE(GeorgianScript::toTransliteration(GeorgianScript::toUnicode(primary)), primary);
        QVERIFY(raw.glyphIndexesForString(QStringLiteral("1")) != raw.glyphIndexesForString(QStringLiteral("a")));
        // The font carries every character of Latin-1, the Georgian letters and common punctuation.
        QList<char32_t> kept;
        for (char32_t c = 0x21; c <= 0xFF; ++c) {
            if (c < 0x7F || c > 0xA0)
                kept << c;
        }
        for (char32_t c = 0x10D0; c <= 0x10F0; ++c)
            kept << c;
        kept << U'\u2013' << U'\u2014' << U'\u201C' << U'\u201E' << U'\u2026' << U'\u20AC' << U'\u2116';
        for (const char32_t c : kept)
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QString::number(uint(c), 16)));

        // Text already in Georgian script keeps its Latin letters Latin.
        QVERIFY(!DisplayFont::hasGeorgianScript(QStringLiteral("Setyobineba")));
        QVERIFY(DisplayFont::hasGeorgianScript(WordMessage::text()));
        QCOMPARE(DisplayFont::forText(QStringLiteral("Setyobineba"), 15).family(), QStringLiteral("_! Kolhety"));
        QVERIFY(DisplayFont::forText(WordMessage::text(), 15).family() != QStringLiteral("_! Kolhety"));
    }

    void wordMessageIsStoredAsBytesAndShownInGeorgian()
    {
        const QByteArray bytes = WordMessage::bytes();
        QCOMPARE(bytes.left(7), QByteArray("MSWord-"));
        QCOMPARE(bytes.mid(7).toHex(' ').toUpper(),
                 QByteArray("C9 20 C3 C0 C9 CD D3 D4 C0 CB C9 D2 C4 C1 D6 CB C9 20 C0 D2 20 C0 D2 C9 D3"));
        // "MSWord-i dainstalirebuli ar aris": MS Word is not installed.
        QCOMPARE(WordMessage::text(),
                 QStringLiteral("MSWord-\u10D8 \u10D3\u10D0\u10D8\u10DC\u10E1\u10E2\u10D0\u10DA\u10D8\u10E0"
                                "\u10D4\u10D1\u10E3\u10DA\u10D8 \u10D0\u10E0 \u10D0\u10E0\u10D8\u10E1"));

        // The edges of the code page: the archaic letters at C7 and E6, Windows-1252 around them.
        QCOMPARE(decodeGeorgianPs(QByteArray("\xC7\xE5\xE6")), QStringLiteral("\u10F1\u10F5\u10F6"));
        QCOMPARE(decodeGeorgianPs(QByteArray("\x80\x99\xBF\xE7\xFF")), QStringLiteral("\u20AC\u2122\u00BF\u00E7\u00FF"));
        QCOMPARE(decodeGeorgianPs(QByteArray("ab 1.")), QStringLiteral("ab 1."));
        QCOMPARE(decodeGeorgianPs(QByteArray()), QString());
    }

    void messageWindowsHaveTheirLayout()
    {
        MainState state;
        TMessageBoxFrm one;
        TDlgMessageBoxFrm two(state);
        for (MessageWindow *window : {static_cast<MessageWindow *>(&one), static_cast<MessageWindow *>(&two)}) {
            QCOMPARE(window->titleBar()->caption(), QStringLiteral("Setyobineba"));
            QCOMPARE(window->clientArea()->size(), QSize(387, 106));
            QCOMPARE(window->clientArea()->geometry().left(), TitledDialog::FrameWidth + 10);
            QCOMPARE(window->palette().color(QPalette::Window), QColor(192, 220, 192));
            QCOMPARE(window->messageTextLb()->font().family(), QStringLiteral("_! Kolhety"));
            QCOMPARE(window->messageTextLb()->font().pixelSize(), 15);
        }
        QCOMPARE(one.messageTextLb()->size(), QSize(375, 51));
        QCOMPARE(two.messageTextLb()->size(), QSize(381, 57));

        QCOMPARE(one.closeButton()->text(), QStringLiteral("daxurva"));
        QCOMPARE(one.closeButton()->size(), QSize(82, 29));
        QCOMPARE(one.closeButton()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!one.closeButton()->icon().isNull());
        QCOMPARE(two.yesButton()->text(), QStringLiteral("diax"));
        QCOMPARE(two.noButton()->text(), QStringLiteral("ara"));
        QCOMPARE(two.yesButton()->geometry(), QRect(78, 2, 82, 29));
        QCOMPARE(two.noButton()->geometry(), QRect(206, 2, 82, 29));
    }

    void messageTextIsShownUnchangedWrappedAndCutOff()
    {
        TMessageBoxFrm window;
        const QString markup = QStringLiteral("<b>obieqti</b> &amp; \"saxli\"");
        window.setText(markup);
        QCOMPARE(window.text(), markup);
        QCOMPARE(window.messageTextLb()->lineCount(), 1);

        window.setText(QString());
        QCOMPARE(window.text(), QString());
        QCOMPARE(window.messageTextLb()->visibleLineCount(), 1);

        // A long text wraps at the area's width; only the lines that fit whole are shown.
        window.setText(LongText);
        QCOMPARE(window.text(), LongText);
        const WrappedText *area = window.messageTextLb();
        QVERIFY(area->lineCount() > 3);
        QCOMPARE(area->visibleLineCount(), 2);

        // A word longer than the line is broken rather than lost.
        window.setText(QStringLiteral("x").repeated(200));
        QVERIFY(area->lineCount() > 1);

        // Text in Georgian script is drawn in a face that keeps "MSWord" Latin.
        window.setText(WordMessage::text());
        QVERIFY(area->font().family() != QStringLiteral("_! Kolhety"));
        QCOMPARE(area->font().pixelSize(), 15);
    }

    void oneButtonWindowClosesOnlyByItsButtons()
    {
        TMessageBoxFrm window;
        window.show();
        QTest::keyClick(&window, Qt::Key_Escape);
        QTest::keyClick(window.closeButton(), Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_Enter);
        QVERIFY(window.isVisible());

        QTest::mouseClick(window.closeButton(), Qt::LeftButton);
        QVERIFY(!window.isVisible());

        window.show();
        clickCloseBox(&window);
        QVERIFY(!window.isVisible());
    }

    void questionWindowWritesTheAnswer()
    {
        MainState state;
        QCOMPARE(state.DlgMessageLb, QStringLiteral("0"));
        auto ask = [&state](const std::function<void(TDlgMessageBoxFrm *)> &answer) {
            onNextModal([answer](QWidget *modal) {
                auto *window = qobject_cast<TDlgMessageBoxFrm *>(modal);
                QVERIFY(window);
                QCOMPARE(window->text(), QStringLiteral("ganvagrZoT Zebna?"));
                answer(window);
            });
            return AskYesNo(state, nullptr, QStringLiteral("ganvagrZoT Zebna?"));
        };

        QVERIFY(ask([](TDlgMessageBoxFrm *w) { QTest::mouseClick(w->yesButton(), Qt::LeftButton); }));
        QCOMPARE(state.DlgMessageLb, QStringLiteral("1"));
        QVERIFY(!ask([](TDlgMessageBoxFrm *w) { QTest::mouseClick(w->noButton(), Qt::LeftButton); }));
        QCOMPARE(state.DlgMessageLb, QStringLiteral("0"));

        // Esc answers no, Enter presses the focused button.
        QVERIFY(ask([](TDlgMessageBoxFrm *w) { QTest::keyClick(w->yesButton(), Qt::Key_Return); }));
        QVERIFY(!ask([](TDlgMessageBoxFrm *w) { QTest::keyClick(w, Qt::Key_Escape); }));
        QCOMPARE(state.DlgMessageLb, QStringLiteral("0"));

        // Closing the window by its caption bar answers no, even right after a yes.
        QVERIFY(ask([](TDlgMessageBoxFrm *w) { QTest::mouseClick(w->yesButton(), Qt::LeftButton); }));
        QVERIFY(!ask([](TDlgMessageBoxFrm *w) { clickCloseBox(w); }));
        QCOMPARE(state.DlgMessageLb, QStringLiteral("0"));

        // Any answer text other than "0" counts as yes.
        state.DlgMessageLb = QStringLiteral("1");
        TDlgMessageBoxFrm window(state);
        window.show();
        window.close();
        QCOMPARE(state.DlgMessageLb, QStringLiteral("0"));
    }

    void windowPromptsShowTheirWindowsOverTheMainWindow()
    {
        MainState state;
        QWidget mainWindow;
        mainWindow.setGeometry(200, 150, 900, 700);
        mainWindow.show();
        WindowPrompts prompts(state, &mainWindow);

        QString shown;
        QPoint centre;
        onNextModal([&](QWidget *modal) {
            auto *window = qobject_cast<TMessageBoxFrm *>(modal);
            QVERIFY(window);
            shown = window->text();
            centre = window->frameGeometry().center();
            QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        });
        prompts.showMessage(QStringLiteral("aseTi obieqti ar iZebneba"));
        QCOMPARE(shown, QStringLiteral("aseTi obieqti ar iZebneba"));
        QVERIFY((centre - mainWindow.frameGeometry().center()).manhattanLength() <= 2);

        onNextModal([](QWidget *modal) {
            QTest::mouseClick(qobject_cast<TDlgMessageBoxFrm *>(modal)->yesButton(), Qt::LeftButton);
        });
        QVERIFY(prompts.askYesNo(QStringLiteral("ganvagrZoT Zebna?")));
        QCOMPARE(state.DlgMessageLb, QStringLiteral("1"));

        // The error report and the start-up message are standard boxes with the application title.
        struct Seen {
            QString title, text, informative;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            Qt::TextFormat format = Qt::AutoText;
            QMessageBox::StandardButtons buttons;
        };
        auto capture = [](Seen &seen) {
            onNextModal([&seen](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                QVERIFY(box);
                seen = {box->windowTitle(), box->text(), box->informativeText(), box->icon(), box->textFormat(),
                        box->standardButtons()};
                box->button(QMessageBox::Ok)->click();
            });
        };
        Seen error, standard;
        capture(error);
        prompts.reportError(QStringLiteral("no such table: <obieqti>."));
        QCOMPARE(error.title, QStringLiteral("Kvirzeta Tbilisi"));
        QCOMPARE(error.text, QStringLiteral("no such table: <obieqti>."));
        QCOMPARE(error.icon, QMessageBox::Critical);
        QCOMPARE(error.format, Qt::PlainText);
        QCOMPARE(error.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        capture(standard);
        // The reason below it may quote the connection file: it is shown as written.
        const QString reason = QStringLiteral("Cannot open file \"<b>Address</b>.ini\". No such file");
        prompts.standardMessage(QStringLiteral("Connection failed"), reason);
        QCOMPARE(standard.title, QStringLiteral("Kvirzeta Tbilisi"));
        QCOMPARE(standard.text, QStringLiteral("Connection failed"));
        QCOMPARE(shownByAutoText(standard.informative), reason);
        QCOMPARE(standard.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void dialogsAreCentredOnTheirOwnerOrTheScreen()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        auto near = [](const QPoint &a, const QPoint &b) { return (a - b).manhattanLength() <= 2; };

        // A hidden owner (start-up, before the main window shows) leaves the screen's centre.
        QWidget owner;
        owner.setGeometry(10, 10, 300, 200);
        TMessageBoxFrm early(&owner);
        early.show();
        QVERIFY(near(early.frameGeometry().center(), screen.center()));

        // The about window goes to the screen's centre even when it has an owner.
        owner.show();
        FakeDesktop desktop;
        FakePrompts prompts;
        CommandRunner runner(prompts);
        TAboutFrm about(desktop, runner, &owner);
        about.show();
        QVERIFY(near(about.frameGeometry().center(), screen.center()));
    }

    void labelsAndTextBehaveLikeControls()
    {
        ActiveLabel link(QStringLiteral("www.kvirzeta.example"));
        link.resize(150, 20);
        link.show();
        QSignalSpy clicks(&link, &ActiveLabel::clicked);
        // Pressing on the link and letting go elsewhere is no click.
        QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(400, 5));
        QCOMPARE(clicks.size(), 0);
        QTest::mouseClick(&link, Qt::LeftButton);
        QCOMPARE(clicks.size(), 1);
        // Labels never read their text as markup.
        link.setText(QStringLiteral("<i>a</i>"));
        QCOMPARE(link.textFormat(), Qt::PlainText);

        WrappedText text;
        text.setFont(DisplayFont::font(15));
        text.resize(375, 51);
        text.setText(QStringLiteral("pirveli\nmeore"));
        QCOMPARE(text.lineCount(), 2);
        QCOMPARE(text.visibleLineCount(), 2);
        text.setText(QStringLiteral("a\nb\nc\nd"));
        QCOMPARE(text.visibleLineCount(), 2);
    }

    void picturesAreDrawn()
    {
        for (CityPicture kind : {CityPicture::OldTown, CityPicture::River, CityPicture::CableCar, CityPicture::Fortress,
                                 CityPicture::Emblem, CityPicture::BusBanner, CityPicture::MapBanner}) {
            QImage image(200, 130, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            paintCityPicture(painter, QRect(10, 10, 180, 80), kind);
            painter.end();
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y));
            QVERIFY2(colours.size() > 8, qPrintable(QString::number(int(kind))));
            // Nothing is drawn outside the picture's rectangle.
            QCOMPARE(image.pixel(5, 5), QColor(Qt::white).rgb());
            QCOMPARE(image.pixel(195, 125), QColor(Qt::white).rgb());
        }
    }

    void titleBarMovesItsWindow()
    {
        TMessageBoxFrm window;
        window.show();
        window.move(100, 100);
        GradientTitleBar *bar = window.titleBar();
        const QPoint start = window.pos();
        const QPoint local(60, 10);
        const QPoint global = bar->mapToGlobal(local);
        auto send = [bar](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent event(type, bar->mapFromGlobal(at), at, button, buttons, Qt::NoModifier);
            QApplication::sendEvent(bar, &event);
        };
        send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, global + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window.pos(), start + QPoint(30, 20));
        // Without a pressed button the pointer no longer drags it.
        send(QEvent::MouseMove, global + QPoint(80, 80), Qt::NoButton, Qt::NoButton);
        QCOMPARE(window.pos(), start + QPoint(30, 20));
    }

    void aboutWindowMailAndLinks()
    {
        FakeDesktop desktop;
        FakePrompts prompts;
        CommandRunner runner(prompts);
        TAboutFrm about(desktop, runner);
        QCOMPARE(about.titleBar()->caption(), QStringLiteral("Cvens Sesaxeb"));
        QCOMPARE(about.clientArea()->size(), QSize(609, 375));
        about.show();

        // One click on the address starts a message; a double click still makes only one.
        ActiveLabel *email = about.emailLabel();
        QCOMPARE(email->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(email, Qt::LeftButton);
        QCOMPARE(desktop.mails, QStringList{email->text()});
        QVERIFY(email->text().contains(QLatin1Char('@')));
        QTest::mouseDClick(email, Qt::LeftButton);
        QCOMPARE(desktop.mails.size(), 1);
        QTest::mouseClick(email, Qt::RightButton);
        QCOMPARE(desktop.mails.size(), 1);

        // A mail failure goes to the default error report and the window stays.
        desktop.mailError = QStringLiteral("No mail client is available");
        QTest::mouseClick(email, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{QStringLiteral("No mail client is available.")});
        QVERIFY(about.isVisible());

        // Web links hand their address, as written, to the desktop.
        QVERIFY(!about.webLinks().isEmpty());
        for (ActiveLabel *link : about.webLinks())
            QTest::mouseClick(link, Qt::LeftButton);
        QStringList addresses;
        for (ActiveLabel *link : about.webLinks())
            addresses << link->text();
        QCOMPARE(desktop.openedLinks, addresses);

        // The title lines turn maroon under the pointer.
        ActiveLabel *title = about.titleLines().at(1);
        QCOMPARE(title->text(), QStringLiteral("sainformacio - saZiebo "));
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), title->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(title, &enter);
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(title, &leave);
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 128, 0));

        QVERIFY(about.termsBox()->isReadOnly());
        QCOMPARE(about.termsBox()->size(), QSize(248, 231));

        // No buttons: Esc and Enter leave it open, only the caption bar closes it.
        QTest::keyClick(&about, Qt::Key_Escape);
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(about.isVisible());
        clickCloseBox(&about);
        QVERIFY(!about.isVisible());
    }

    void helpCommandsOpenTheDocumentAndTheAboutWindow()
    {
        FakeDesktop desktop;
        FakePrompts prompts;
        CommandRunner runner(prompts);
        HelpCommands help(desktop, runner);

        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString canonical = QFileInfo(dir.path()).canonicalFilePath();

        // Not there: the shell is still handed the path beside the current directory.
        help.daxmareba2Click();
        QFile file(QStringLiteral("kvirzeta.PDF"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        help.daxmareba2Click();
        QVERIFY(QDir::setCurrent(previous));

        QCOMPARE(desktop.openedFiles.size(), 2);
        QCOMPARE(QFileInfo(desktop.openedFiles[0]).fileName(), QStringLiteral("Kvirzeta.pdf"));
        QCOMPARE(QFileInfo(QFileInfo(desktop.openedFiles[0]).path()).canonicalFilePath(), canonical);
        QVERIFY(QFileInfo(desktop.openedFiles[0]).isAbsolute());
        QCOMPARE(QFileInfo(desktop.openedFiles[1]).canonicalFilePath(), canonical + QStringLiteral("/kvirzeta.PDF"));
        // A FIFO under the name is not handed to the viewer, which would wait on it.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("kvirzeta.PDF"))));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("Kvirzeta.pdf"))).constData(), 0600), 0);
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(!runner.run([&help] { help.daxmareba2Click(); }));
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(desktop.openedFiles.size(), 2);
        QCOMPARE(prompts.errors, QStringList{"\"Kvirzeta.pdf\" is not a regular file."});

        bool sawAbout = false;
        onNextModal([&sawAbout](QWidget *modal) {
            auto *about = qobject_cast<TAboutFrm *>(modal);
            sawAbout = about != nullptr;
            if (about)
                clickCloseBox(about);
        });
        help.Sesaxeb1Click();
        QVERIFY(sawAbout);
    }

    void splashWindowClosesAtItsTimer()
    {
        FakeDesktop desktop;
        {
            TLogoFrm logo(desktop);
            QCOMPARE(logo.size(), QSize(420, 367));
            QCOMPARE(logo.palette().color(QPalette::Window), QColor(240, 251, 255));
            QVERIFY(logo.windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(logo.timer()->objectName(), QStringLiteral("Timer"));
            QCOMPARE(logo.timer()->interval(), 10000);
            QVERIFY(logo.timer()->isActive());
            const auto links = logo.findChildren<ActiveLabel *>();
            QVERIFY(links.size() >= 5);
            QTest::mouseClick(links.first(), Qt::LeftButton);
            QCOMPARE(desktop.openedLinks, QStringList{links.first()->text()});
        }

        TLogoFrm logo(desktop, nullptr, 60);
        onNextModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QElapsedTimer clock;
        clock.start();
        logo.showModal();
        QVERIFY(clock.elapsed() >= 50);
        QVERIFY(!logo.isVisible());
        QVERIFY(!logo.timer()->isActive());
        QCOMPARE(logo.result(), int(QDialog::Accepted));

        // A timer that fires while the window is being shown still ends the wait; the guard
        // would end a wait that never ends, and reject.
        TLogoFrm instant(desktop, nullptr, 0);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &instant, &QDialog::reject);
        guard.start(30000);
        instant.showModal();
        QCOMPARE(instant.result(), int(QDialog::Accepted));
        QVERIFY(!instant.isVisible());
    }

    void mailAddressesBecomeOneRecipient()
    {
        QCOMPARE(SystemDesktop::mailUrl(QStringLiteral("info@kvirzeta.example")).toString(),
                 QStringLiteral("mailto:info@kvirzeta.example"));
        QCOMPARE(SystemDesktop::mailUrl(QStringLiteral(" info@kvirzeta.example ")).toString(),
                 QStringLiteral("mailto:info@kvirzeta.example"));
        // Nothing in the address can add a subject, a body or another recipient.
        const QUrl crafted = SystemDesktop::mailUrl(QStringLiteral("a@b.example?cc=c@d.example&body=x#y"));
        QVERIFY(!crafted.hasQuery());
        QVERIFY(!crafted.hasFragment());
        QCOMPARE(crafted.path(), QStringLiteral("a@b.example?cc=c@d.example&body=x#y"));

        SystemDesktop desktop;
        for (const QString &empty : {QString(), QStringLiteral("   ")}) {
            try {
                desktop.sendMail(empty);
                QFAIL("an empty address must fail");
            } catch (const Error &e) {
                QVERIFY(!e.text().isEmpty());
            }
        }
        QVERIFY(!desktop.connectWordProcessor());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
