// Reading a key combination and taking a word from clipboard text.
#include "core/hotkey.h"

#include <algorithm>
#include <array>

#include "core/cp1254.h"

namespace kavrel {
namespace {

constexpr unsigned kVirtualKeyF1 = 0x70;
constexpr unsigned kVirtualKeyF12 = 0x7B;

struct NamedKey {
    std::string_view name;  // lower case
    unsigned code;
};
constexpr std::array<NamedKey, 6> kNamedKeys{{
    {"insert", 0x2D}, {"home", 0x24}, {"end", 0x23}, {"pageup", 0x21}, {"pagedown", 0x22}, {"pause", 0x13},
}};
constexpr std::array<NamedKey, 4> kModifiers{{
    {"ctrl", kHotkeyControl}, {"alt", kHotkeyAlt}, {"shift", kHotkeyShift}, {"win", kHotkeyWin},
}};

std::string LowerAsciiTrimmed(std::string_view part) {
    const size_t begin = part.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    part = part.substr(begin, part.find_last_not_of(" \t") + 1 - begin);
    std::string lower(part);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The virtual-key code of a key name (lower case), or 0.
unsigned KeyCode(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return static_cast<unsigned>(name[0] - 'a' + 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<unsigned>(name[0]);
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f' &&
        std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }) && name[1] != '0') {
        const unsigned number = static_cast<unsigned>(std::stoi(std::string(name.substr(1))));
        return number <= 24 ? kVirtualKeyF1 + number - 1 : 0;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == name) return key.code;
    }
    return 0;
}

bool IsCharacterKey(unsigned code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

// Blanks, tabs and the Unicode spaces a copy from a web page or a document brings along
// (no-break space, the typographic spaces, the byte order mark).
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\u00A0' || c == u'\u1680' ||
           (c >= u'\u2000' && c <= u'\u200B') || c == u'\u202F' || c == u'\u205F' || c == u'\u3000' ||
           c == u'\uFEFF';
}

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::optional<Hotkey> ParseHotkey(std::string_view text) {
    Hotkey hotkey;
    for (;;) {
        const size_t plus = text.find('+');
        const std::string part = LowerAsciiTrimmed(text.substr(0, plus));
        if (plus == std::string_view::npos) {
            hotkey.virtualKey = KeyCode(part);
            break;
        }
        const auto modifier =
            std::find_if(kModifiers.begin(), kModifiers.end(), [&](const NamedKey& m) { return m.name == part; });
        if (modifier == kModifiers.end() || (hotkey.modifiers & modifier->code) != 0) return std::nullopt;
        hotkey.modifiers |= modifier->code;
        text.remove_prefix(plus + 1);
    }
    if (hotkey.virtualKey == 0 || hotkey.virtualKey == kVirtualKeyF12) return std::nullopt;
    const unsigned nonShift = hotkey.modifiers & (kHotkeyControl | kHotkeyAlt | kHotkeyWin);
    if (IsCharacterKey(hotkey.virtualKey) && nonShift == 0) return std::nullopt;
    return hotkey;
}

std::optional<std::string> WordFromClipboardText(std::u16string_view text, size_t maxChars) {
    size_t begin = 0;
    while (begin < text.size() && (IsBlank(text[begin]) || IsLineEnd(text[begin]))) ++begin;
    size_t end = begin;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    while (end > begin && IsBlank(text[end - 1])) --end;
    // Counted as the conversion counts: a surrogate pair is one character, one '?'; a
    // surrogate without its partner is one too.
    size_t cut = begin;
    for (size_t chars = 0; cut < end && chars < maxChars; ++chars) {
        cut += (IsHighSurrogate(text[cut]) && cut + 1 < end && IsLowSurrogate(text[cut + 1])) ? 2 : 1;
    }
    const std::u16string_view line = text.substr(begin, cut - begin);
    const bool held = std::any_of(line.begin(), line.end(), [](char16_t c) {
        return !IsBlank(c) && !IsSurrogate(c) && UnicodeToCp1254(c) >= 0;
    });
    if (!held) return std::nullopt;
    return Cp1254FromUtf16(line);
}

}  // namespace kavrel
