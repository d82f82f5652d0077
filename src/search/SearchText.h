#pragma once
// The text a person typed into a search box, made ready for matching: Georgian letters become
// their transliteration (the display font's letter table), line breaks and tabs become spaces,
// other control characters and broken UTF-16 (a surrogate without its partner) are dropped, the
// ends are trimmed, and a text longer than MaxLength is cut there. "%", "_", "'" and "\" are
// letters like any other: the text is never put into SQL.
#include <QString>
#include <QStringView>

namespace SearchText {

// Longer texts are cut: no name needs more, and matching time grows with the length.
constexpr qsizetype MaxLength = 64;

struct Prepared {
    QString text;           // as matched case-sensitively
    QString folded;         // the same with each character case-folded, one for one
    bool cut = false;       // the typed text was longer than MaxLength
    bool digitsOnly = false; // non-empty and made of digits alone
};

Prepared prepare(QStringView typed);

// The case folding of one UTF-16 unit; surrogates stay as they are, so positions never move.
inline char16_t fold(char16_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? char16_t(c + ('a' - 'A')) : c;
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toCaseFolded(c));
}

// The typos a text of this many letters may carry: none up to 3 letters, 1 from 4 to 7, 2 from 8.
constexpr int allowedTypos(qsizetype letters)
{
    return letters >= 8 ? 2 : letters >= 4 ? 1 : 0;
}

} // namespace SearchText
