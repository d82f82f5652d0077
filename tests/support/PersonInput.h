#pragma once
// Keyboard and mouse as a person uses them: a field is given the focus in its active window and
// every key goes to the widget that has the focus; a lookup entry is picked in the open
// drop-down's own list.
//
//   enterText(tab.ObieqtiEd, Entry::Typed, "კაფე");  // a Georgian keyboard
//   enterText(tab.RubrikaCb, Entry::Clicked, "bankebi");
//   pressEnter(Qt::KeypadModifier);
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QtTest>

namespace PersonInput {

// How a text gets into a field.
enum class Entry {
    Typed,   // key by key; each key carries its character, as a keyboard of any layout sends it
    Pasted,  // Ctrl+V of the clipboard's text
    Clicked, // a lookup's drop-down opened with a click on its arrow, the entry clicked
    Keyed,   // a lookup's drop-down opened with Alt+Down, Down to the entry, Return
};

inline QWidget *focused()
{
    return QApplication::focusWidget();
}

// Gives `field` the focus, as a click on it or Tab would, in its activated window.
inline void focusField(QWidget *field)
{
    field->window()->activateWindow();
    QTRY_VERIFY(field->window()->isActiveWindow());
    field->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(focused() && (focused() == field || field->isAncestorOf(focused())));
}

inline void typeText(const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// Return, or keypad Enter with Qt::KeypadModifier.
inline void pressEnter(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), modifiers & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return, modifiers);
}

// The open drop-down of `box` takes the keys while it is shown.
inline QWidget *dropDownKeys(QComboBox &box)
{
    QWidget *focus = focused();
    return focus && box.view()->isAncestorOf(focus) ? focus : box.view();
}

// After the drop-down has closed: the window system hands the keyboard back to the window (the
// offscreen platform leaves the closed drop-down active) and the pick is taken.
inline void backFromDropDown(QComboBox &box)
{
    QTRY_VERIFY(!box.view()->isVisible());
    box.window()->activateWindow();
    QTRY_VERIFY(box.window()->isActiveWindow());
    QCOMPARE(focused(), &box);
    QCoreApplication::processEvents();
}

inline void openDropDownByClick(QComboBox &box)
{
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.width() - 6, box.height() / 2));
    QTRY_VERIFY(box.view()->isVisible());
}

inline void clickEntry(QComboBox &box, const QString &entry)
{
    QAbstractItemView &view = *box.view();
    const QModelIndex index = view.model()->index(box.findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive),
                                                  box.modelColumn(), view.rootIndex());
    QVERIFY2(index.isValid(), qPrintable(entry));
    view.scrollTo(index);
    const QPoint at = view.visualRect(index).center();
    QTest::mouseMove(view.viewport(), at);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    backFromDropDown(box);
}

inline void keyToEntry(QComboBox &box, const QString &entry)
{
    const int row = box.findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(row >= 0, qPrintable(entry));
    QTest::keyClick(focused(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(box.view()->isVisible());
    for (int guard = 0; box.view()->currentIndex().row() != row && guard < box.count(); ++guard)
        QTest::keyClick(dropDownKeys(box), box.view()->currentIndex().row() < row ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(box.view()->currentIndex().row(), row);
    QTest::keyClick(dropDownKeys(box), Qt::Key_Return);
    backFromDropDown(box);
}

// Clicks the row of `index` in a list, scrolled to first as a person scrolls to it.
inline void clickRow(QAbstractItemView &view, const QModelIndex &index)
{
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
}

// Focuses `field` and puts `text` into it the way `entry` says.
inline void enterText(QWidget *field, Entry entry, const QString &text)
{
    focusField(field);
    auto *box = qobject_cast<QComboBox *>(field);
    switch (entry) {
    case Entry::Typed:
        typeText(text);
        break;
    case Entry::Pasted:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(focused(), Qt::Key_V, Qt::ControlModifier);
        break;
    case Entry::Clicked:
        QVERIFY(box);
        openDropDownByClick(*box);
        clickEntry(*box, text);
        break;
    case Entry::Keyed:
        QVERIFY(box);
        keyToEntry(*box, text);
        break;
    }
}

// One way of filling a search field and starting the search with Enter in it.
struct SearchCase {
    QWidget *field;
    Entry entry;
    QString text;
    Qt::KeyboardModifiers enter; // Qt::KeypadModifier: the keypad's Enter, otherwise Return
    const char *filter;          // what the search makes of it
};

// Each case on a cleared panel (a click on `clear`); `filter` is the tab's search filter.
inline void searchEach(const QList<SearchCase> &cases, QAbstractButton *clear, const QString &filter)
{
    for (const SearchCase &c : cases) {
        clear->click();
        enterText(c.field, c.entry, c.text);
        pressEnter(c.enter);
        QVERIFY2(filter == QLatin1String(c.filter), qPrintable(c.field->objectName() + QLatin1String(": ") + filter));
    }
}

} // namespace PersonInput
