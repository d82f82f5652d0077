#pragma once
// The about window: the product's name, version, terms of use and support addresses. A single
// click on the e-mail address starts a message to it. No buttons: only the caption bar closes it.
#include "widgets/TitledDialog.h"

class ActiveLabel;
class CommandRunner;
class Desktop;
class QTextEdit;

class TAboutFrm : public TitledDialog {
    Q_OBJECT
public:
    // cityGenitive: the city's name in the title's "of ..." form ("Tbilisis").
    TAboutFrm(Desktop &desktop, CommandRunner &runner, QWidget *parent = nullptr,
              const QString &cityGenitive = QStringLiteral("Tbilisis"));

    ActiveLabel *emailLabel() const { return emailLb; }
    QList<ActiveLabel *> titleLines() const { return m_titleLines; }
    QList<ActiveLabel *> webLinks() const { return m_webLinks; }
    QTextEdit *termsBox() const { return m_terms; }

    // Starts a message to the shown address; a failure goes to the default error report.
    void emailLbClick();

private:
    void buildLeftColumn(const QString &cityGenitive);
    void buildRightColumn();
    void buildSupportArea();
    ActiveLabel *addWebLink(const QString &address, const QPoint &position);

    Desktop &m_desktop;
    CommandRunner &m_runner;
    ActiveLabel *emailLb = nullptr;
    QList<ActiveLabel *> m_titleLines;
    QList<ActiveLabel *> m_webLinks;
    QTextEdit *m_terms = nullptr;
};
