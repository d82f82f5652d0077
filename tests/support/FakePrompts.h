#pragma once
// Records what the message windows would have shown and answers questions from a script.
#include "dialogs/Prompts.h"

#include <QQueue>
#include <QStringList>

class FakePrompts : public Prompts {
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.dequeue();
    }
    void reportError(const QString &text) override { errors << text; }
    void standardMessage(const QString &text, const QString &reason) override
    {
        standard << text;
        standardReasons << reason;
    }

    void clear()
    {
        messages.clear();
        questions.clear();
        errors.clear();
        standard.clear();
        standardReasons.clear();
        answers.clear();
    }

    QStringList messages;   // one-button windows
    QStringList questions;  // yes/no windows
    QStringList errors;     // default error reports
    QStringList standard;   // standard dialogs
    QStringList standardReasons; // the reason given below each standard dialog's text
    QQueue<bool> answers;   // scripted answers to questions; no when empty
};
