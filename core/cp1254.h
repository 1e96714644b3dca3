// Windows-1254 (Turkish) text rules: the lower-casing that builds dictionary keys and the
// byte <-> Unicode mapping used wherever text leaves the program's own byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavrel {

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
