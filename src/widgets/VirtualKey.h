#pragma once
// The virtual-key code of a key press, the number key handlers compare with: 13 for Enter (main
// keyboard and keypad), 27 for Esc, the letters and digits as their upper-case ASCII codes (keypad digits 96 to 105), 187
// and 189 for the plus-and-equals and minus keys of the main keyboard, 107 and 109 for the
// keypad's plus and minus. Other keys give 0.
class QKeyEvent;

namespace VirtualKey {
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Plus = 187;
constexpr int Minus = 189;
constexpr int KeypadPlus = 107;
constexpr int KeypadMinus = 109;
constexpr int KeypadZero = 96;

int fromEvent(const QKeyEvent &event);
}
