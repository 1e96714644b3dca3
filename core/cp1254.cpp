// Windows-1254 tables: lower-casing as the platform does it and the Unicode mapping.
#include "core/cp1254.h"

#include <array>

namespace kavrel {
namespace {

// Undefined bytes map to the C1 control of the same value, so every byte survives a round trip.
char32_t MapByte(unsigned char byte) {
    const long defined = Cp1254Defined(byte);
    return defined >= 0 ? static_cast<char32_t>(defined) : byte;
}

struct Tables {
    std::array<char, 256> lower{};
    std::array<char32_t, 256> unicode{};
    std::array<int16_t, 0x10000> fromUnicode{};  // -1 where 1254 has no byte
    Tables() {
        fromUnicode.fill(-1);
        for (int b = 0; b < 256; ++b) {
            int l = b;
            if (b >= 'A' && b <= 'Z') l = b + 0x20;
            else if (b >= 0xC0 && b <= 0xDE && b != 0xD7 && b != 0xDD) l = b + 0x20;
            else if (b == 0x8A || b == 0x8C) l = b + 0x10;
            else if (b == 0x9F) l = 0xFF;
            lower[b] = static_cast<char>(l);
            unicode[b] = MapByte(static_cast<unsigned char>(b));
            fromUnicode[unicode[b]] = static_cast<int16_t>(b);
        }
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

}  // namespace

char LowerChar1254(char c) {
    return GetTables().lower[static_cast<unsigned char>(c)];
}

void LowerInPlace1254(std::string& text) {
    const auto& lower = GetTables().lower;
    for (char& c : text) c = lower[static_cast<unsigned char>(c)];
}

std::string LowerCopy1254(std::string_view text) {
    std::string copy(text);
    LowerInPlace1254(copy);
    return copy;
}

char32_t Cp1254ToUnicode(unsigned char byte) {
    return GetTables().unicode[byte];
}

int UnicodeToCp1254(char32_t codePoint) {
    if (codePoint < 0x80) return static_cast<int>(codePoint);
    if (codePoint >= 0x10000) return -1;
    return GetTables().fromUnicode[codePoint];
}

std::u16string Utf16From1254(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) wide.push_back(static_cast<char16_t>(Cp1254ToUnicode(static_cast<unsigned char>(c))));
    return wide;
}

std::string Cp1254FromUtf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    const auto inRange = [](char16_t unit, char16_t low, char16_t high) { return unit >= low && unit <= high; };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        // A high surrogate and the low one after it are one character, never in 1254; a
        // surrogate without its partner is one unmappable unit and takes nothing with it.
        if (inRange(unit, 0xD800, 0xDBFF) && i + 1 < text.size() && inRange(text[i + 1], 0xDC00, 0xDFFF)) ++i;
        const int b = inRange(unit, 0xD800, 0xDFFF) ? -1 : UnicodeToCp1254(unit);
        bytes.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return bytes;
}

long DecodeUtf8(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) { ++pos; return lead; }
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; cp = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; cp = lead & 0x0F; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; cp = lead & 0x07; }
    else return -1;
    if (pos + length > text.size()) return -1;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    pos += length;
    return static_cast<long>(cp);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string Utf8From1254(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 8);
    for (char c : text) AppendUtf8(utf8, Cp1254ToUnicode(static_cast<unsigned char>(c)));
    return utf8;
}

Utf8Conversion Utf8To1254(std::string_view utf8) {
    Utf8Conversion result;
    result.text.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        const long cp = DecodeUtf8(utf8, pos);
        const int b = cp < 0 ? -1 : UnicodeToCp1254(static_cast<char32_t>(cp));
        if (b < 0) {
            result.errorOffset = start;
            result.badCodePoint = cp < 0 ? 0 : static_cast<char32_t>(cp);
            result.text.clear();
            return result;
        }
        result.text.push_back(static_cast<char>(b));
    }
    result.ok = true;
    return result;
}

}  // namespace kavrel
