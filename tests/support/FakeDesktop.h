#pragma once
// Records what would have been handed to the shell, the mail client and the word processor.
#include "common/Errors.h"
#include "platform/Desktop.h"
#include "platform/OdtDocument.h"

#include <QStringList>
#include <QVector>

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
    // No word processor unless a test installs one; its documents are recorded on disconnect.
    std::unique_ptr<WordDocument> connectWordProcessor() override
    {
        if (!wordProcessorInstalled)
            return nullptr;
        return std::make_unique<RecordingDocument>(*this);
    }

    QStringList openedFiles;
    QStringList openedLinks;
    QStringList mails;
    QString mailError; // when set, sendMail fails with this text
    bool wordProcessorInstalled = false;
    QVector<OdtDocument> documents; // every document let go, in order

private:
    class RecordingDocument : public OdtDocument {
    public:
        explicit RecordingDocument(FakeDesktop &desktop) : m_desktop(desktop) {}
        void disconnect() override { m_desktop.documents << OdtDocument(*this); }

    private:
        FakeDesktop &m_desktop;
    };
};
