#pragma once
// JSON written by hand for the command line, so that keys come in the order a person reads them.
#include <QString>

namespace JsonText {
// A JSON string literal, quotes included.
QString string(const QString &text);
} // namespace JsonText
