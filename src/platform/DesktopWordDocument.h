#pragma once
// The document handed to the desktop's word processor: built call by call like any OdtDocument,
// and on disconnect() written to a new flat OpenDocument file that is then opened with the
// desktop's word processor, where the user prints it.
#include "platform/OdtDocument.h"

#include <functional>

class DesktopWordDocument : public OdtDocument {
public:
    using Opener = std::function<void(const QString &path)>;

    // `directory` ends with a separator; `open` hands the written file to the desktop.
    DesktopWordDocument(QString directory, Opener open);

    // Writes the document to a file of its own and opens it. Throws Error when it cannot be
    // written.
    void disconnect() override;

    // The path written by the last disconnect(), empty before.
    const QString &path() const { return m_path; }

    // Creates a file "KVIRZETA-<n>.fodt" that did not exist before in `directory` (the lowest
    // free n), so that a document the user may still have open is never overwritten.
    static QString writeNewFile(const QString &directory, const QByteArray &content);

private:
    QString m_directory;
    Opener m_open;
    QString m_path;
};
