#include "dialogs/HelpCommands.h"

#include "dialogs/AboutFrm.h"
#include "platform/Desktop.h"
#include "platform/FileLookup.h"
#include "platform/RegularFile.h"

#include <QFileInfo>

HelpCommands::HelpCommands(Desktop &desktop, CommandRunner &runner, QWidget *parentWindow)
    : m_desktop(desktop), m_runner(runner), m_parent(parentWindow)
{
}

void HelpCommands::Sesaxeb1Click()
{
    TAboutFrm about(m_desktop, m_runner, m_parent, m_cityGenitive);
    about.exec();
}

void HelpCommands::daxmareba2Click()
{
    const QString path = helpDocumentPath();
    // The viewer is handed only a regular file: a FIFO under the name would hold it up.
    RegularFile::require(path, QStringLiteral("Kvirzeta.pdf"));
    m_desktop.openFile(path);
}

QString HelpCommands::helpDocumentPath()
{
    return QFileInfo(FileLookup::find(QStringLiteral(".\\Kvirzeta.pdf"))).absoluteFilePath();
}
