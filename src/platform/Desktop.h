#pragma once
// What the desktop provides: the shell's file and link opening, the mail client and the word
// processor. The program wires the real services; tests wire recording fakes.
#include <QString>
#include <memory>

class WordDocument;

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a local file with the application associated with its type; the result is ignored.
    virtual void openFile(const QString &path) = 0;
    // Follows a web address (passed exactly as stored); the result is ignored.
    virtual void openLink(const QString &address) = 0;
    // Starts a new message to one recipient in the mail client. Throws Error on failure.
    virtual void sendMail(const QString &address) = 0;
    // Starts a word-processor document; returns null when no word processor can be reached.
    virtual std::unique_ptr<WordDocument> connectWordProcessor() = 0;
};
