#pragma once
// The status bar: 17 pixels high, one text across its whole width (the search status of the
// shown tab). The text is kept in a label of its own, so that hovering menus and tool buttons
// never wipes it.
#include <QStatusBar>

class QLabel;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    // Puts the bar into its single-text mode showing `text`, exactly as given.
    void setText(const QString &text);
    QString text() const;

private:
    QLabel *m_text;
};
