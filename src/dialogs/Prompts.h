#pragma once
// The windows through which the program speaks to the user. The program wires the real modal
// windows; tests wire a recorder that captures the texts and returns scripted answers.
#include <QString>

class Prompts {
public:
    virtual ~Prompts() = default;
    // One-button message window.
    virtual void showMessage(const QString &text) = 0;
    // Yes/no window; true for yes. Closing the window counts as no.
    virtual bool askYesNo(const QString &text) = 0;
    // The application's default error report (the text already carries its final full stop).
    virtual void reportError(const QString &text) = 0;
    // The standard dialog used at start-up ("Connection failed"), with the reason below its text.
    virtual void standardMessage(const QString &text, const QString &reason) = 0;
};
