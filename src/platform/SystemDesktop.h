#pragma once
// The desktop's own services: files and links through the desktop's associations, mail through a
// mailto: address handed to the desktop's mail client, documents written as OpenDocument text and
// opened with the desktop's word processor (none when no application handles that type).
#include "platform/Desktop.h"

#include <QUrl>

class SystemDesktop : public Desktop {
public:
    void openFile(const QString &path) override;
    void openLink(const QString &address) override;
    void sendMail(const QString &address) override;
    std::unique_ptr<WordDocument> connectWordProcessor() override;

    // The mailto: address of a new message to `address`, with no subject and no body. The whole
    // text is the one recipient: characters such as "?" or "&" in it cannot add header fields.
    static QUrl mailUrl(const QString &address);
};
