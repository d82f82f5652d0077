#include "app/HelpCommands.h"

#include "platform/Desktop.h"
#include "platform/FileLookup.h"

#include <QDir>

void HelpCommands::daxmareba2Click()
{
    const QString path = FileLookup::find(QStringLiteral(".\\Kvirzeta.pdf"));
    m_desktop.openFile(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
}

void HelpCommands::Sesaxeb1Click() {}
