#pragma once
// Names as the catalogue stores them: Georgian in the display font's Latin transliteration, which
// the font draws as Georgian letters. Georgian script goes through the font's own table. Latin
// and Cyrillic letters would be drawn as unrelated Georgian letters if kept, so they are written
// the way they sound: "Coffee Lab" becomes "kofi lab" (drawn კოფი ლაბ), "shaurma" "Saurma",
// "Проспект" "prospekt". Roman numerals (II, IV) stay as they are; digits, signs and other
// scripts are kept.
#include <QString>
#include <QStringView>

namespace Transcription {

// The catalogue's form of a name in any script; spaces are collapsed.
QString transcribe(QStringView text);
// True when the text holds a Georgian letter.
bool hasGeorgian(QStringView text);
// Back to Georgian script: the display font's letters as the Unicode letters they draw, Roman
// numerals kept.
QString toGeorgian(QStringView transliterated);

} // namespace Transcription
