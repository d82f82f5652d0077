#pragma once
// Text from the database or from the user, handed to a Qt widget that guesses whether a text is
// markup (a tooltip, a message box's informative text): a text that Qt would take for markup is
// escaped, so that it is shown letter for letter and never drawn as formatting, a link or a
// picture. Labels that show such text are set to Qt::PlainText instead.
#include <QString>

namespace PlainText {
QString forAutoText(const QString &text);
} // namespace PlainText
