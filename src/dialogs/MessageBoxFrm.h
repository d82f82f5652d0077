#pragma once
// The one-button message window: the text and "daxurva". Enter and Esc do nothing; the window
// closes by its button or by the caption bar's close button.
#include "dialogs/MessageWindow.h"

class QPushButton;

class TMessageBoxFrm : public MessageWindow {
    Q_OBJECT
public:
    explicit TMessageBoxFrm(QWidget *parent = nullptr);
    QPushButton *closeButton() const { return m_closeBtn; }

private:
    QPushButton *m_closeBtn;
};

// Shows `text` in a one-button window over `parent` and waits until the user closes it.
void ShowMessageBox(QWidget *parent, const QString &text);
