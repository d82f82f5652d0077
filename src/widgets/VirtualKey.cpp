#include "widgets/VirtualKey.h"

#include <QKeyEvent>

int VirtualKey::fromEvent(const QKeyEvent &event)
{
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return keypad ? KeypadPlus : Plus;
    case Qt::Key_Minus:
        return keypad ? KeypadMinus : Minus;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? KeypadZero + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    return 0;
}
