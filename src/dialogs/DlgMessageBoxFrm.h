#pragma once
// The yes/no window. "diax" writes "1" into the answer holder, "ara" (also Esc) writes "0";
// closing the window by its caption bar counts as no as well.
#include "dialogs/MessageWindow.h"

class QPushButton;
struct MainState;

class TDlgMessageBoxFrm : public MessageWindow {
    Q_OBJECT
public:
    TDlgMessageBoxFrm(MainState &state, QWidget *parent = nullptr);
    QPushButton *yesButton() const { return m_yesBtn; }
    QPushButton *noButton() const { return m_noBtn; }

    void accept() override;
    void reject() override;

private:
    MainState &m_state;
    QPushButton *m_yesBtn;
    QPushButton *m_noBtn;
};

// Asks `text` in a yes/no window over `parent`; the answer is left in `state.DlgMessageLb` and
// returned: false when it is "0", true otherwise.
bool AskYesNo(MainState &state, QWidget *parent, const QString &text);
