#include "dialogs/WindowPrompts.h"

#include "common/PlainText.h"
#include "dialogs/DlgMessageBoxFrm.h"
#include "dialogs/MessageBoxFrm.h"

#include <QMessageBox>

namespace {

void standardBox(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &reason = QString())
{
    QMessageBox box(icon, QLatin1String(WindowPrompts::Title), text, QMessageBox::Ok, parent);
    // Error texts may quote user input or database values: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(PlainText::forAutoText(reason));
    box.exec();
}

} // namespace

WindowPrompts::WindowPrompts(MainState &state, QWidget *parentWindow) : m_state(state), m_parent(parentWindow) {}

void WindowPrompts::showMessage(const QString &text)
{
    ShowMessageBox(m_parent, text);
}

bool WindowPrompts::askYesNo(const QString &text)
{
    return AskYesNo(m_state, m_parent, text);
}

void WindowPrompts::reportError(const QString &text)
{
    standardBox(m_parent, QMessageBox::Critical, text);
}

void WindowPrompts::standardMessage(const QString &text, const QString &reason)
{
    standardBox(m_parent, QMessageBox::NoIcon, text, reason);
}
