#pragma once
// Georgian as the program stores it and as the rest of the desktop writes it. The catalogue and the
// captions hold Georgian in a Latin transliteration that the display font draws as Georgian letters
// ("T" is "თ", "t" is "ტ"); a Georgian keyboard, a web page or a word processor uses the Unicode
// letters themselves. Both directions use the display font's own table.
#include <QString>
#include <QStringView>

namespace GeorgianScript {

// Unicode Georgian letters (the ordinary Mkhedruli ones and their Mtavruli capitals) replaced by the
// Latin letters the display font draws as them; every other character is kept.
QString toTransliteration(QStringView text);

// Each Latin letter replaced by the Georgian letter the display font draws for it; every other
// character is kept. An upper-case letter with no letter of its own reads as its lower-case one.
QString toUnicode(QStringView text);

} // namespace GeorgianScript
