#pragma once
// Runs every command handler inside the application's default error report: an Error (or any
// other exception) is shown with the application title and the program goes on; a SilentAbort
// is swallowed. No exception ever reaches the Qt event loop.
#include <QString>
#include <functional>

class Prompts;

class CommandRunner {
public:
    explicit CommandRunner(Prompts &prompts) : m_prompts(prompts) {}

    // Runs `command`; returns false when it ended with an error or a silent abort.
    bool run(const std::function<void()> &command);

    // The report's text: a full stop is appended when the last character sorts after "."; an
    // empty text becomes a sentence saying that the command failed.
    static QString reportText(const QString &text);

private:
    Prompts &m_prompts;
};
