#include "FakePrompts.h"
#include "FixtureCity.h"
#include "app/Application.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "widgets/CaptionPanel.h"
#include "widgets/LookupEditor.h"
#include "widgets/SpinEditor.h"
#include "widgets/VirtualKey.h"

#include <QtTest>
#include <QtWidgets>

namespace {

int virtualKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return VirtualKey::fromEvent(QKeyEvent(QEvent::KeyPress, key, modifiers));
}

// An object whose event handling fails, as a broken handler would.
class Throwing : public QObject {
public:
    std::function<void()> fail;
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            fail();
        return QObject::event(event);
    }
};

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lookupEditorFollowsItsDataSet()
    {
        FixtureCity city;
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        LookupEditor districts(dm.RaioniQr, QStringLiteral("saxeli"), QStringLiteral("raioni_kodi"));
        QCOMPARE(districts.count(), 0);
        QVERIFY(!districts.isFilled());
        QCOMPARE(districts.key(), QString());

        // Typed before the list exists, kept when the list arrives; named entries yield their key.
        districts.setText(QStringLiteral("vake"));
        dm.RaioniQr.open();
        QCOMPARE(districts.count(), Fixture::DistrictCount);
        QCOMPARE(districts.itemText(0), QStringLiteral("Zveli Tbilisi"));
        QCOMPARE(districts.text(), QStringLiteral("vake"));
        QCOMPARE(districts.key(), QStringLiteral("1"));

        // A text that names no entry yields an empty key; names differ by letter case.
        districts.setText(QStringLiteral("Vake"));
        QVERIFY(districts.isFilled());
        QCOMPARE(districts.key(), QString());
        districts.setText(QStringLiteral(" "));
        QVERIFY(districts.isFilled());
        QCOMPARE(districts.key(), QString());

        // Reopened on another query: the list follows, the text stays.
        districts.setText(QStringLiteral("vake"));
        DataModule::requery(dm.RaioniQr, QStringLiteral("SELECT * FROM raioni WHERE raioni_kodi > 2"));
        QCOMPARE(districts.count(), 2);
        QCOMPARE(districts.text(), QStringLiteral("vake"));
        QCOMPARE(districts.key(), QString());
        dm.RaioniQr.close();
        QCOMPARE(districts.count(), 0);
        QCOMPARE(districts.text(), QStringLiteral("vake"));

        // Enter never adds the typed text to the list.
        dm.RaioniQr.setSql(QStringLiteral("SELECT * FROM raioni"));
        dm.RaioniQr.open();
        districts.setText(QStringLiteral("axali"));
        QTest::keyClick(districts.lineEdit(), Qt::Key_Return);
        QCOMPARE(districts.count(), Fixture::DistrictCount);
    }

    void lookupEditorKeepsThePickedEntryAmongEqualNames()
    {
        FixtureCity city;
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        DataModule::requery(dm.quCa_Qr, QStringLiteral("SELECT * FROM quCa ORDER BY quCa_kodi"));
        LookupEditor streets(dm.quCa_Qr, QStringLiteral("saxeli"), QStringLiteral("quCa_kodi"));
        const int second = streets.findData(Fixture::SameNameStreetB);
        QVERIFY(second >= 0);
        streets.setCurrentIndex(second);
        QCOMPARE(streets.key(), QString::number(Fixture::SameNameStreetB));
        // Typed by hand, the name gives the first entry of that name.
        streets.setText(QStringLiteral("x"));
        streets.setText(streets.itemText(second));
        QCOMPARE(streets.key(), QString::number(Fixture::SameNameStreetA));
    }

    void lookupEditorReportsItsDropDownClosing()
    {
        FixtureCity city;
        DataModule dm;
        dm.ADOConn.setConnectionString(city.connectionString());
        dm.rubrikaQr.open();
        LookupEditor rubrics(dm.rubrikaQr, QStringLiteral("saxeli"), QStringLiteral("rubrika_kodi"));
        rubrics.show();
        QSignalSpy closed(&rubrics, &LookupEditor::closeUp);
        rubrics.hidePopup();
        QCoreApplication::processEvents();
        QCOMPARE(closed.count(), 0);
        rubrics.showPopup();
        rubrics.hidePopup();
        QTRY_COMPARE(closed.count(), 1);
    }

    void spinEditorLimitsOnlyTheUser()
    {
        SpinEditor zoom;
        zoom.setUserRange(50, 200);
        zoom.setSingleStep(25);
        zoom.setPageStep(50);
        zoom.setValue(100);

        zoom.stepBy(1);
        QCOMPARE(zoom.value(), 125);
        QTest::keyClick(&zoom, Qt::Key_PageUp);
        QCOMPARE(zoom.value(), 175);
        QTest::keyClick(&zoom, Qt::Key_PageUp);
        QCOMPARE(zoom.value(), 200);
        QTest::keyClick(&zoom, Qt::Key_Up);
        QCOMPARE(zoom.value(), 200);
        QTest::keyClick(&zoom, Qt::Key_PageDown);
        QCOMPARE(zoom.value(), 150);

        // The program may go below the user's minimum; the user's next step comes back into range.
        zoom.setValue(25);
        QCOMPARE(zoom.value(), 25);
        QTest::keyClick(&zoom, Qt::Key_Down);
        QCOMPARE(zoom.value(), 25);
        QTest::keyClick(&zoom, Qt::Key_Up);
        QCOMPARE(zoom.value(), 50);
        QTest::keyClick(&zoom, Qt::Key_Down);
        QCOMPARE(zoom.value(), 50);

        // Typing: out-of-range values are never taken.
        const QAbstractSpinBox &editor = zoom;
        QString text = QStringLiteral("300");
        int pos = 3;
        QVERIFY(editor.validate(text, pos) == QValidator::Invalid);
        text = QStringLiteral("2");
        pos = 1;
        QVERIFY(editor.validate(text, pos) == QValidator::Intermediate);
        text = QStringLiteral("75");
        pos = 2;
        QVERIFY(editor.validate(text, pos) == QValidator::Acceptable);
        zoom.setValue(100);
        QLineEdit *edit = zoom.findChild<QLineEdit *>();
        edit->setText(QStringLiteral("25"));
        zoom.interpretText();
        QCOMPARE(zoom.value(), 100);

        // Clicks on the text and on the arrows are reported.
        zoom.resize(61, 22);
        zoom.show();
        QSignalSpy clicks(&zoom, &SpinEditor::clicked);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::mouseClick(&zoom, Qt::LeftButton, {}, QPoint(zoom.width() - 4, 4));
        QCOMPARE(clicks.count(), 2);
        QTest::mouseClick(edit, Qt::RightButton);
        QCOMPARE(clicks.count(), 2);
    }

    void captionPanelButtonsAndBody()
    {
        CaptionPanel panel(QStringLiteral("saZiebeli"), 165);
        panel.resize(300, 165);
        panel.show();
        QCOMPARE(panel.height(), 165);
        QSignalSpy clicks(&panel, &CaptionPanel::buttonClicked);
        panel.button(CaptionPanel::Button::Close)->click();
        panel.button(CaptionPanel::Button::Minimise)->click();
        panel.button(CaptionPanel::Button::Restore)->click();
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(clicks.at(0).at(0).value<CaptionPanel::Button>(), CaptionPanel::Button::Close);
        QCOMPARE(clicks.at(1).at(0).value<CaptionPanel::Button>(), CaptionPanel::Button::Minimise);
        QCOMPARE(clicks.at(2).at(0).value<CaptionPanel::Button>(), CaptionPanel::Button::Restore);
        // The buttons only report: the owner sets heights and visibility.
        QCOMPARE(panel.height(), 165);
        QVERIFY(!panel.isHidden());

        // Made lower, the body keeps its design height and is cut; made higher, it grows.
        panel.setFixedHeight(40);
        QCOMPARE(panel.body()->geometry(), QRect(0, CaptionPanel::CaptionHeight, 300, 165 - CaptionPanel::CaptionHeight));
        panel.setFixedHeight(175);
        QCOMPARE(panel.body()->height(), 175 - CaptionPanel::CaptionHeight);
        // The buttons stay on the caption bar, inside the panel.
        for (auto b : {CaptionPanel::Button::Close, CaptionPanel::Button::Minimise, CaptionPanel::Button::Restore}) {
            const QRect r = panel.button(b)->geometry();
            QVERIFY(r.bottom() < CaptionPanel::CaptionHeight && r.right() < 300 && r.left() > 200);
        }
    }

    void virtualKeyCodes()
    {
        QCOMPARE(virtualKey(Qt::Key_Return), 13);
        QCOMPARE(virtualKey(Qt::Key_Enter, Qt::KeypadModifier), 13);
        QCOMPARE(virtualKey(Qt::Key_Escape), 27);
        QCOMPARE(virtualKey(Qt::Key_Equal), 187);
        QCOMPARE(virtualKey(Qt::Key_Plus, Qt::ShiftModifier), 187);
        QCOMPARE(virtualKey(Qt::Key_Minus), 189);
        QCOMPARE(virtualKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
        QCOMPARE(virtualKey(Qt::Key_Minus, Qt::KeypadModifier), 109);
        QCOMPARE(virtualKey(Qt::Key_A), 65);
        QCOMPARE(virtualKey(Qt::Key_7), 55);
        QCOMPARE(virtualKey(Qt::Key_7, Qt::KeypadModifier), 103);
        QCOMPARE(virtualKey(Qt::Key_F1), 0);
    }

    void applicationNamesItsDesktopEntryAndIcon()
    {
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("kvirzeta"));
        // Drawn from the embedded SVG: an empty pixmap means the picture could not be read.
        const QImage icon = QApplication::windowIcon().pixmap(48, 48).toImage();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.pixelColor(24, 24).alpha() > 0);
    }

    void applicationReportsEscapedErrors()
    {
        auto *app = qobject_cast<Application *>(QCoreApplication::instance());
        QVERIFY(app);
        FakePrompts prompts;
        app->setErrorReport(&prompts);
        Throwing target;
        const auto deliver = [&](std::function<void()> fail) {
            target.fail = std::move(fail);
            QEvent event(QEvent::User);
            QCoreApplication::sendEvent(&target, &event);
        };
        deliver([] { throw Error(QStringLiteral("Table not found")); });
        deliver([] { throw SilentAbort(); });
        deliver([] { throw std::runtime_error("bad input"); });
        deliver([] { throw 42; });
        QCOMPARE(prompts.errors, (QStringList{QStringLiteral("Table not found."), QStringLiteral("bad input."),
                                              QStringLiteral("Unknown error.")}));
        app->setErrorReport(nullptr);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestWidgets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_widgets.moc"
