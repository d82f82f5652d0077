#include "app/MainStatusBar.h"

#include <QLabel>

MainStatusBar::MainStatusBar(QWidget *parent) : QStatusBar(parent), m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    setFixedHeight(17);
    setSizeGripEnabled(false);
    m_text->setObjectName(QStringLiteral("StatusText"));
    m_text->setTextFormat(Qt::PlainText);
    addWidget(m_text, 1);
}

void MainStatusBar::setText(const QString &text)
{
    m_text->setText(text);
}

QString MainStatusBar::text() const
{
    return m_text->text();
}
