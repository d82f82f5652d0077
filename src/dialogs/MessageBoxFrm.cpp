#include "dialogs/MessageBoxFrm.h"

#include "widgets/DialogButton.h"

#include <QPushButton>

TMessageBoxFrm::TMessageBoxFrm(QWidget *parent) : MessageWindow(parent)
{
    QWidget *upper = addPanel(QRect(0, 0, ClientWidth, ClientHeight - 34));
    placeText(upper, QRect(6, 10, 375, 51));
    QWidget *bottom = addPanel(QRect(0, ClientHeight - 34, ClientWidth, 34));
    m_closeBtn = DialogButton::make(bottom, QStringLiteral("daxurva"), DialogButton::Picture::Close,
                                    QRect((ClientWidth - 82) / 2, 2, 82, 29));
    connect(m_closeBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowMessageBox(QWidget *parent, const QString &text)
{
    TMessageBoxFrm window(parent);
    window.setText(text);
    window.exec();
}
