#include "dialogs/DlgMessageBoxFrm.h"

#include "common/MainState.h"
#include "widgets/DialogButton.h"

#include <QPushButton>

TDlgMessageBoxFrm::TDlgMessageBoxFrm(MainState &state, QWidget *parent) : MessageWindow(parent), m_state(state)
{
    constexpr int BottomHeight = 32;
    QWidget *upper = addPanel(QRect(0, 0, ClientWidth, ClientHeight - BottomHeight));
    QWidget *bevel = addPanel(QRect(2, 6, 383, 59), true, upper);
    placeText(bevel, QRect(1, 1, 381, 57));

    QWidget *bottom = addPanel(QRect(0, ClientHeight - BottomHeight, ClientWidth, BottomHeight));
    m_yesBtn = DialogButton::make(bottom, QStringLiteral("diax"), DialogButton::Picture::Yes, QRect(78, 2, 82, 29));
    m_noBtn = DialogButton::make(bottom, QStringLiteral("ara"), DialogButton::Picture::No, QRect(206, 2, 82, 29));
    // Enter presses the button that has the focus, as in any question window.
    m_yesBtn->setAutoDefault(true);
    m_noBtn->setAutoDefault(true);
    m_yesBtn->setFocus();
    setCancelButton(m_noBtn);
    connect(m_yesBtn, &QPushButton::clicked, this, &TDlgMessageBoxFrm::accept);
    connect(m_noBtn, &QPushButton::clicked, this, &TDlgMessageBoxFrm::reject);
}

void TDlgMessageBoxFrm::accept()
{
    m_state.DlgMessageLb = QStringLiteral("1");
    MessageWindow::accept();
}

void TDlgMessageBoxFrm::reject()
{
    m_state.DlgMessageLb = QStringLiteral("0");
    MessageWindow::reject();
}

bool AskYesNo(MainState &state, QWidget *parent, const QString &text)
{
    {
        TDlgMessageBoxFrm window(state, parent);
        window.setText(text);
        window.exec();
    }
    return state.DlgMessageLb != QLatin1String("0");
}
