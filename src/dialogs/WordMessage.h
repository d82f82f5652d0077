#pragma once
// The message shown when the word processor cannot be reached. Unlike every other text of the
// program it is stored in the 8-bit Georgian-PS character set, not in the Latin transliteration.
#include <QByteArray>
#include <QString>

namespace WordMessage {

// "MSWord-" followed by the Georgian-PS bytes of "is not installed".
QByteArray bytes();

// The same message decoded for display: "MSWord-" followed by Georgian letters.
QString text();

} // namespace WordMessage

// Decodes Georgian-PS: 0xC0-0xE6 are the Georgian letters, ASCII is ASCII, and the remaining
// bytes follow Windows-1252, on which the code page is built.
QString decodeGeorgianPs(const QByteArray &bytes);
