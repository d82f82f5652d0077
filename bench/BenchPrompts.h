#pragma once
// Message windows that never wait for a click: each text is written to the log and counted, and
// every question is answered no. A bench run that shows a message has measured something else.
#include "dialogs/Prompts.h"

#include <cstdio>

class BenchPrompts : public Prompts {
public:
    void showMessage(const QString &text) override { note("message", text); }
    bool askYesNo(const QString &text) override
    {
        note("question", text);
        return false;
    }
    void reportError(const QString &text) override { note("error", text); }
    void standardMessage(const QString &text, const QString &) override { note("message", text); }

    int count() const { return m_count; }

private:
    void note(const char *kind, const QString &text)
    {
        ++m_count;
        std::fprintf(stderr, "  the program showed a %s: %s\n", kind, qPrintable(text));
    }

    int m_count = 0;
};
