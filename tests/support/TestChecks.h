#pragma once
// Small checks shared by the suites.
#include "common/Errors.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QFile>
#include <functional>

// The text of the Error that `work` throws, or an empty text when it throws none.
inline QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Error &e) {
        return e.text();
    }
    return QString();
}

// SHA-256 of a file's bytes; empty when it cannot be read.
inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// What a widget that guesses the text format (a tooltip, a message box's informative text) shows
// for `text`: markup drawn as such loses its tags, a picture becomes U+FFFC.
inline QString shownByAutoText(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}
