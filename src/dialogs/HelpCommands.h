#pragma once
// The commands of the help menu: the help document and the about window.
#include <QPointer>
#include <QWidget>

class CommandRunner;
class Desktop;

class HelpCommands {
public:
    HelpCommands(Desktop &desktop, CommandRunner &runner, QWidget *parentWindow = nullptr);
    void setParentWindow(QWidget *window) { m_parent = window; }
    // The city's name as the about window's title gives it ("Tbilisis").
    void setCityGenitive(const QString &name) { m_cityGenitive = name; }

    // "Sesaxeb": shows the about window modally until the user closes it.
    void Sesaxeb1Click();
    // "daxmareba": opens the help document beside the program in the desktop's viewer. A missing
    // document is the viewer's matter.
    void daxmareba2Click();

    // The help document's path, absolute, found without regard to letter case in the current
    // directory; the plain name there when no such file exists.
    static QString helpDocumentPath();

private:
    Desktop &m_desktop;
    CommandRunner &m_runner;
    QPointer<QWidget> m_parent;
    QString m_cityGenitive = QStringLiteral("Tbilisis");
};
