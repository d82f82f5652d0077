#pragma once
// Exceptions that commands raise. Every command runs through the command runner, which shows an
// Error in the default error report and swallows a SilentAbort.
#include <QByteArray>
#include <QString>
#include <exception>

class Error : public std::exception {
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// Ends a command that has already told the user what went wrong.
class SilentAbort : public std::exception {
public:
    const char *what() const noexcept override { return "silent abort"; }
};
