// Windows-1254 (Turkish) text rules: the lower-casing that builds dictionary keys and the
// byte <-> Unicode mapping used wherever text leaves the program's own byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavrel {

namespace cp1254_detail {
// 0x80-0x9F of code page 1254; 0 marks the bytes the code page leaves undefined.
inline constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0,      0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,  // 98-9F
};
}  // namespace cp1254_detail

// The character code page 1254 defines for a byte, or -1 for the seven bytes it leaves
// undefined (0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E). The code page's one definition,
// usable at compile time; the run-time mappings below are built from it.
constexpr long Cp1254Defined(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = cp1254_detail::kHighControls[byte - 0x80];
        return mapped != 0 ? mapped : -1;
    }
    switch (byte) {  // the six Turkish letters that differ from Latin-1
        case 0xD0: return 0x011E;  // Ğ
        case 0xDD: return 0x0130;  // İ
        case 0xDE: return 0x015E;  // Ş
        case 0xF0: return 0x011F;  // ğ
        case 0xFD: return 0x0131;  // ı
        case 0xFE: return 0x015F;  // ş
        default: return byte;
    }
}

namespace cp1254_detail {
// Cp1254Defined of 0x80-0xFF, computed once so that a check at compile time over a few
// thousand code points stays within the compilers' step limits.
inline constexpr auto kUpperHalf = [] {
    struct { long codePoint[128]; } half{};
    for (int byte = 0x80; byte <= 0xFF; ++byte) half.codePoint[byte - 0x80] = Cp1254Defined(static_cast<unsigned char>(byte));
    return half;
}();
}  // namespace cp1254_detail

// Whether 1254 defines a byte for the code point; for checks at compile time (at run time
// UnicodeToCp1254 answers from a table).
constexpr bool Cp1254Holds(char32_t codePoint) {
    if (codePoint < 0x80) return true;
    for (const long defined : cp1254_detail::kUpperHalf.codePoint) {
        if (defined == static_cast<long>(codePoint)) return true;
    }
    return false;
}

// Lower-cases one byte exactly as CharLowerA does under code page 1254: ASCII A-Z, the
// Latin capitals 0xC0-0xDE (not 0xD7 and not 0xDD, the dotted capital I) and the three
// capitals in 0x80-0x9F that have a small partner. It is not Turkish linguistic casing:
// 'I' becomes 'i', and 0xDD and 0xFD stay as they are.
char LowerChar1254(char c);

// Lower-cases a text in place / into a copy with LowerChar1254.
void LowerInPlace1254(std::string& text);
std::string LowerCopy1254(std::string_view text);

// The Unicode code point of a 1254 byte. Bytes that the code page leaves undefined map to
// the C1 control of the same value, so every byte survives a round trip.
char32_t Cp1254ToUnicode(unsigned char byte);

// The 1254 byte for a code point, or -1 when the code page cannot hold it.
int UnicodeToCp1254(char32_t codePoint);

// UTF-16 of a 1254 text and back; a code point that 1254 cannot hold becomes '?'.
std::u16string Utf16From1254(std::string_view text);
std::string Cp1254FromUtf16(std::u16string_view text);

// UTF-8 of a 1254 text, and the reverse. Utf8To1254 fails (returns false and names the
// byte offset of the first offending character) on malformed UTF-8 or on a character that
// 1254 cannot hold.
std::string Utf8From1254(std::string_view text);
struct Utf8Conversion {
    bool ok = false;
    std::string text;        // the 1254 bytes when ok
    size_t errorOffset = 0;  // byte offset in the input of the first bad character
    char32_t badCodePoint = 0;  // the code point 1254 cannot hold; 0 for malformed UTF-8
};
Utf8Conversion Utf8To1254(std::string_view utf8);

// Decodes one UTF-8 sequence at text[pos]; returns the code point and advances pos, or
// returns -1 (pos unchanged) when the bytes there are not well-formed UTF-8.
long DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace kavrel
