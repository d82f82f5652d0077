#pragma once
// Records what would have been handed to the shell and the mail client.
#include "common/Errors.h"
#include "platform/Desktop.h"
#include "platform/WordDocument.h"

#include <QStringList>

class FakeDesktop : public Desktop {
public:
    void openFile(const QString &path) override { openedFiles << path; }
    void openLink(const QString &address) override { openedLinks << address; }
    void sendMail(const QString &address) override
    {
        if (!mailError.isEmpty())
            throw Error(mailError);
        mails << address;
    }
    std::unique_ptr<WordDocument> connectWordProcessor() override { return nullptr; }

    QStringList openedFiles;
    QStringList openedLinks;
    QStringList mails;
    QString mailError; // when set, sendMail fails with this text
};
