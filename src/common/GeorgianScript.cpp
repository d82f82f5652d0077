#include "GeorgianScript.h"

#include <array>

namespace GeorgianScript {
namespace {

struct Letter {
    char latin;
    char16_t georgian;
};

// Generated at configure time from georgian_letters.txt, the table the display font is built from.
constexpr Letter Letters[] = {
#include "GeorgianLetters.inc"
};

constexpr char16_t FirstMkhedruli = 0x10D0;
constexpr char16_t LastMkhedruli = 0x10F0;
constexpr char16_t FirstMtavruli = 0x1C90; // capitals, one for each Mkhedruli letter in order
constexpr char16_t LastMtavruli = FirstMtavruli + (LastMkhedruli - FirstMkhedruli);

struct Tables {
    std::array<char16_t, 128> georgianOfLatin{};
    std::array<char16_t, LastMkhedruli - FirstMkhedruli + 1> latinOfGeorgian{};

    Tables()
    {
        for (const Letter &letter : Letters) {
            georgianOfLatin[static_cast<unsigned char>(letter.latin)] = letter.georgian;
            latinOfGeorgian[letter.georgian - FirstMkhedruli] = char16_t(letter.latin);
        }
        for (char lower = 'a'; lower <= 'z'; ++lower) {
            char16_t &upper = georgianOfLatin[static_cast<unsigned char>(lower - 'a' + 'A')];
            if (upper == 0)
                upper = georgianOfLatin[static_cast<unsigned char>(lower)];
        }
    }
};

const Tables &tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

QString toTransliteration(QStringView text)
{
    const Tables &t = tables();
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text) {
        char16_t u = c.unicode();
        if (u >= FirstMtavruli && u <= LastMtavruli)
            u = u - FirstMtavruli + FirstMkhedruli;
        const bool mkhedruli = u >= FirstMkhedruli && u <= LastMkhedruli;
        const char16_t latin = mkhedruli ? t.latinOfGeorgian[u - FirstMkhedruli] : 0;
        *out++ = latin ? QChar(latin) : c;
    }
    return result;
}

QString toUnicode(QStringView text)
{
    const Tables &t = tables();
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const char16_t georgian = u < t.georgianOfLatin.size() ? t.georgianOfLatin[u] : 0;
        *out++ = georgian ? QChar(georgian) : c;
    }
    return result;
}

} // namespace GeorgianScript
