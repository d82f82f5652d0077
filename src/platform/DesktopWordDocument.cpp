#include "platform/DesktopWordDocument.h"

#include "common/Errors.h"
#include "platform/DisplayFont.h"

#include <QFile>

DesktopWordDocument::DesktopWordDocument(QString directory, Opener open)
    : m_directory(std::move(directory)), m_open(std::move(open))
{
    // The details are typed in the display font; the document carries it, so that it reads as
    // Georgian script on a desktop without the font and wherever the file is sent.
    if (const QByteArray font = DisplayFont::standInFile(); !font.isEmpty())
        embedFont(QLatin1String(DisplayFont::Family), font);
}

QString DesktopWordDocument::writeNewFile(const QString &directory, const QByteArray &content)
{
    constexpr int Attempts = 10000;
    for (int n = 1; n <= Attempts; ++n) {
        const QString path = directory + QStringLiteral("KVIRZETA-%1.fodt").arg(n);
        QFile file(path);
        // NewOnly fails when the file exists, so two documents never share a file.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
        }
        if (file.write(content) != content.size())
            throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
        return path;
    }
    throw Error(QStringLiteral("Cannot create a new document in \"%1\"").arg(directory));
}

void DesktopWordDocument::disconnect()
{
    m_path = writeNewFile(m_directory, toFlatXml().toUtf8());
    if (m_open)
        m_open(m_path);
}
