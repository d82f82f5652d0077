#include "search/SearchText.h"

#include "common/GeorgianScript.h"

namespace SearchText {

Prepared prepare(QStringView typed)
{
    const QString transliterated = GeorgianScript::toTransliteration(typed);
    QString clean;
    clean.reserve(transliterated.size());
    for (qsizetype i = 0; i < transliterated.size(); ++i) {
        const QChar c = transliterated[i];
        if (c.isHighSurrogate() && i + 1 < transliterated.size() && transliterated[i + 1].isLowSurrogate()) {
            clean += c;
            clean += transliterated[++i];
        } else if (c.isSurrogate()) {
            continue; // half of a pair: no character at all
        } else if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            clean += QLatin1Char(' ');
        } else if (c.category() != QChar::Other_Control) {
            clean += c;
        }
    }
    Prepared prepared;
    prepared.text = clean.trimmed();
    if (prepared.text.size() > MaxLength) {
        qsizetype keep = MaxLength;
        if (prepared.text[keep - 1].isHighSurrogate())
            --keep;
        prepared.text.truncate(keep);
        prepared.text = prepared.text.trimmed();
        prepared.cut = true;
    }
    prepared.folded = prepared.text;
    for (QChar &c : prepared.folded)
        c = QChar(fold(c.unicode()));
    prepared.digitsOnly = !prepared.text.isEmpty();
    for (const QChar c : prepared.text)
        prepared.digitsOnly = prepared.digitsOnly && c.isDigit();
    return prepared;
}

} // namespace SearchText
