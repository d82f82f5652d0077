#include "platform/SystemDesktop.h"

#include "common/Errors.h"
#include "platform/DesktopWordDocument.h"
#include "platform/MimeHandlers.h"
#include "platform/TempDirectory.h"

#include <QDesktopServices>

void SystemDesktop::openFile(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SystemDesktop::openLink(const QString &address)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

QUrl SystemDesktop::mailUrl(const QString &address)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.trimmed(), QUrl::DecodedMode);
    return url;
}

void SystemDesktop::sendMail(const QString &address)
{
    if (address.trimmed().isEmpty())
        throw Error(QStringLiteral("There is no e-mail address to write to"));
    if (!QDesktopServices::openUrl(mailUrl(address)))
        throw Error(QStringLiteral("No mail client is available to write to %1").arg(address.trimmed()));
}

std::unique_ptr<WordDocument> SystemDesktop::connectWordProcessor()
{
    if (!MimeHandlers::hasApplicationFor(QStringLiteral("application/vnd.oasis.opendocument.text")))
        return nullptr;
    return std::make_unique<DesktopWordDocument>(TempDirectory(),
                                                 [this](const QString &path) { openFile(path); });
}
