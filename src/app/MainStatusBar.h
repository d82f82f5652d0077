#pragma once
// The status bar: 17 pixels high, one text across its whole width (the search status of the
// shown tab). The text is kept in a label of its own, so that hovering menus and tool buttons
// never wipes it.
#include "common/StatusLine.h"

#include <QStatusBar>

class QLabel;

class MainStatusBar : public QStatusBar, public StatusLine {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    // Puts the bar into its single-text mode showing `text`, exactly as given.
    void setText(const QString &text) override;
    QString text() const override;

private:
    QLabel *m_text;
};
