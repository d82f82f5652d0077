#pragma once
// The program's message windows behind the Prompts interface: the one-button and yes/no windows
// (the answer is kept in MainState::DlgMessageLb), and the standard boxes of the error report and
// of start-up, titled with the application title.
#include "dialogs/Prompts.h"

#include <QPointer>
#include <QWidget>

struct MainState;

class WindowPrompts : public Prompts {
public:
    static constexpr char Title[] = "Kvirzeta Tbilisi";

    explicit WindowPrompts(MainState &state, QWidget *parentWindow = nullptr);

    // The window the message windows are centred on and owned by (the main window).
    void setParentWindow(QWidget *window) { m_parent = window; }

    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    void reportError(const QString &text) override;
    void standardMessage(const QString &text, const QString &reason) override;

private:
    MainState &m_state;
    QPointer<QWidget> m_parent;
};
