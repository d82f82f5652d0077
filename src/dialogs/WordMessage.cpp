#include "dialogs/WordMessage.h"

namespace {

// Unicode of Georgian-PS 0xC0..0xE6 (the Mkhedruli letters in the code page's order, with the
// archaic letters he, hie, we, har, hoe and fi among them).
constexpr char16_t GeorgianLetters[] = {
    0x10D0, 0x10D1, 0x10D2, 0x10D3, 0x10D4, 0x10D5, 0x10D6, 0x10F1, // C0..C7
    0x10D7, 0x10D8, 0x10D9, 0x10DA, 0x10DB, 0x10DC, 0x10F2, 0x10DD, // C8..CF
    0x10DE, 0x10DF, 0x10E0, 0x10E1, 0x10E2, 0x10F3, 0x10E3, 0x10E4, // D0..D7
    0x10E5, 0x10E6, 0x10E7, 0x10E8, 0x10E9, 0x10EA, 0x10EB, 0x10EC, // D8..DF
    0x10ED, 0x10EE, 0x10F4, 0x10EF, 0x10F0, 0x10F5, 0x10F6,         // E0..E6
};

// Windows-1252 0x80..0x9F; the five bytes it leaves unassigned map to the same C1 code points.
constexpr char16_t Windows1252High[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString decodeGeorgianPs(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0xC0 && b <= 0xE6)
            out += QChar(GeorgianLetters[b - 0xC0]);
        else if (b >= 0x80 && b <= 0x9F)
            out += QChar(Windows1252High[b - 0x80]);
        else
            out += QChar(b);
    }
    return out;
}

namespace WordMessage {

QByteArray bytes()
{
    static const QByteArray message = QByteArrayLiteral(
        "MSWord-"
        "\xC9\x20\xC3\xC0\xC9\xCD\xD3\xD4\xC0\xCB\xC9\xD2\xC4"
        "\xC1\xD6\xCB\xC9\x20\xC0\xD2\x20\xC0\xD2\xC9\xD3");
    return message;
}

QString text()
{
    return decodeGeorgianPs(bytes());
}

} // namespace WordMessage
