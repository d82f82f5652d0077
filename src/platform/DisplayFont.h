#pragma once
// The display font "_! Kolhety" draws the Latin transliteration of the program's texts as Georgian
// script. When the desktop does not have it, the stand-in built into the program is registered.
#include <QByteArray>
#include <QFont>
#include <QString>

namespace DisplayFont {

inline constexpr char Family[] = "_! Kolhety";

// Registers the embedded stand-in fonts unless a font of the family is installed. Safe to call
// more than once; every font helper below calls it.
void ensureRegistered();

// The TrueType file of the stand-in (regular weight), for documents that carry their fonts.
QByteArray standInFile();

// "_! Kolhety" at a size in pixels or in points.
QFont font(int pixelSize, bool bold = false);
QFont pointFont(qreal pointSize, bool bold = false);

// Arial, in which web and e-mail addresses are drawn (the desktop substitutes a metric twin).
QFont arial(int pixelSize, bool bold = false);

// True when `text` holds letters of the Georgian script itself: such a text is not in the
// transliteration, and drawing it in "_! Kolhety" would turn its Latin letters into Georgian.
bool hasGeorgianScript(const QString &text);

// The font in which `text` reads correctly: "_! Kolhety" for transliterated text, otherwise an
// ordinary face of the same size with Georgian glyphs.
QFont forText(const QString &text, int pixelSize, bool bold = false);

} // namespace DisplayFont
