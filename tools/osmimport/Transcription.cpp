#include "osmimport/Transcription.h"

#include "common/GeorgianScript.h"

#include <QStringList>

#include <algorithm>

namespace Transcription {

namespace {

bool isGeorgianLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x10D0 && u <= 0x10F0) || (u >= 0x1C90 && u <= 0x1CB0);
}

bool isCyrillic(QChar c)
{
    return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF;
}

bool isRomanNumeral(QStringView word)
{
    return !word.isEmpty()
        && std::all_of(word.begin(), word.end(), [](QChar c) { return QStringLiteral("IVX").contains(c); });
}

// A Latin word, lower case and without accents, as it sounds in the transliteration.
QString latinSound(const QString &word)
{
    struct Rule {
        const char *spelling;
        const char *sound;
    };
    // Longest spellings first; an apostrophe after a consonant marks the ejective of the
    // Georgian romanisation (k' is კ, ts' is წ).
    static const Rule Rules[] = {
        {"ts'", "w"}, {"ch'", "W"}, {"sch", "S"}, {"tch", "C"}, {"k'", "k"}, {"t'", "t"}, {"p'", "p"},
        {"q'", "y"}, {"sh", "S"}, {"ch", "C"}, {"zh", "J"}, {"kh", "x"}, {"gh", "R"}, {"ts", "c"},
        {"tz", "c"}, {"zz", "c"}, {"dz", "Z"}, {"th", "T"}, {"ph", "f"}, {"ck", "k"}, {"qu", "kv"}, {"ee", "i"},
        {"oo", "u"}, {"ou", "u"}, {"x", "qs"}, {"q", "k"}, {"w", "v"}, {"y", "i"},
    };
    QString out;
    for (int i = 0; i < word.size();) {
        bool matched = false;
        for (const Rule &rule : Rules) {
            const QLatin1String spelling(rule.spelling);
            if (QStringView(word).mid(i).startsWith(spelling)) {
                out += QLatin1String(rule.sound);
                i += int(spelling.size());
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar c = word[i];
        if (c == QLatin1Char('c')) {
            // Soft before e, i and y.
            const QChar next = i + 1 < word.size() ? word[i + 1] : QChar();
            out += QStringLiteral("eiy").contains(next) && !next.isNull() ? QLatin1Char('s') : QLatin1Char('k');
        } else if (i > 0 && c == word[i - 1] && c.isLetter()) {
            // A doubled letter sounds once.
        } else {
            out += c;
        }
        ++i;
    }
    return out;
}

QString cyrillicSound(QChar c)
{
    static const char *const Letters[] = {
        "a", "b", "v", "g", "d", "e", "J", "z", "i", "i", "k", "l", "m", "n", "o", "p",
        "r", "s", "t", "u", "f", "x", "c", "C", "S", "S", "", "i", "", "e", "iu", "ia"};
    const char16_t u = QChar(c).toLower().unicode();
    if (u >= 0x0430 && u <= 0x044F)
        return QString::fromLatin1(Letters[u - 0x0430]);
    switch (u) {
    case 0x0451: return QStringLiteral("io"); // ё
    case 0x0456: return QStringLiteral("i");  // і
    case 0x0457: return QStringLiteral("ii"); // ї
    case 0x0454: return QStringLiteral("ie"); // є
    case 0x0491: return QStringLiteral("g");  // ґ
    default: return QString(c);
    }
}

// Latin letters without their accents (é -> e, ß -> ss).
QString plainLatin(QStringView word)
{
    QString plain;
    for (const QChar c : word.toString().normalized(QString::NormalizationForm_KD))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain.toLower();
}

} // namespace

bool hasGeorgian(QStringView text)
{
    for (const QChar c : text)
        if (isGeorgianLetter(c))
            return true;
    return false;
}

QString transcribe(QStringView text)
{
    // Runs of one kind of character: Georgian, Latin (with apostrophes inside a word), Cyrillic,
    // anything else.
    enum Kind { Other, Georgian, Latin, Cyrillic };
    auto kindOf = [](QChar c) {
        if (isGeorgianLetter(c))
            return Georgian;
        if (isCyrillic(c))
            return Cyrillic;
        if (c.isLetter() && c.script() == QChar::Script_Latin)
            return Latin;
        return Other;
    };
    QString out;
    for (int i = 0; i < text.size();) {
        const Kind kind = kindOf(text[i]);
        int end = i + 1;
        while (end < text.size()) {
            const Kind next = kindOf(text[end]);
            const bool apostrophe = kind == Latin && (text[end] == QLatin1Char('\'') || text[end] == QChar(0x2019))
                && end + 1 < text.size() && kindOf(text[end + 1]) == Latin;
            if (next != kind && !apostrophe)
                break;
            ++end;
        }
        const QStringView run = text.mid(i, end - i);
        switch (kind) {
        case Georgian:
            out += GeorgianScript::toTransliteration(run);
            break;
        case Latin:
            if (isRomanNumeral(run)) {
                out += run;
            } else {
                QString word = plainLatin(run);
                word.replace(QChar(0x2019), QLatin1Char('\''));
                out += latinSound(word);
            }
            break;
        case Cyrillic:
            for (const QChar c : run)
                out += cyrillicSound(c);
            break;
        case Other:
            out += run;
            break;
        }
        i = end;
    }
    return out.simplified();
}

QString toGeorgian(QStringView transliterated)
{
    // Letter by letter, except the runs of letters that are Roman numerals.
    QString out;
    for (int i = 0; i < transliterated.size();) {
        int end = i;
        while (end < transliterated.size() && transliterated[end].isLetter())
            ++end;
        const QStringView run = transliterated.mid(i, std::max(end, i + 1) - i);
        out += isRomanNumeral(run) ? run.toString() : GeorgianScript::toUnicode(run);
        i += int(run.size());
    }
    return out;
}

} // namespace Transcription
