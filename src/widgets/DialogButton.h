#pragma once
// Buttons of the program's own dialogs: a caption, a small picture and the pointing hand.
#include <QIcon>
#include <QRect>

class QPushButton;
class QWidget;

namespace DialogButton {

enum class Picture { Yes, No, Close };

QIcon picture(Picture kind);

// A button at `geometry` of `parent`. It is never a default button: Enter presses it only
// when the caller makes it one.
QPushButton *make(QWidget *parent, const QString &text, Picture kind, const QRect &geometry);

} // namespace DialogButton
