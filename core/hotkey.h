// The global hotkey's portable parts: the key combination named in the settings profile,
// and the word taken from the text on the clipboard when the hotkey is pressed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// Modifier bits of a combination; the values are the platform's MOD_ flags.
inline constexpr unsigned kHotkeyAlt = 0x1;
inline constexpr unsigned kHotkeyControl = 0x2;
inline constexpr unsigned kHotkeyShift = 0x4;
inline constexpr unsigned kHotkeyWin = 0x8;

struct Hotkey {
    unsigned modifiers = 0;   // kHotkey* bits
    unsigned virtualKey = 0;  // the platform's virtual-key code
    bool operator==(const Hotkey&) const = default;
};

// No Turkish Q or F layout types a character with a function key, and Ctrl+Shift is not
// AltGr (Ctrl+Alt), so this combination takes nothing from a Turkish typist.
inline constexpr std::string_view kDefaultHotkey = "Ctrl+Shift+F11";

// The combination a profile text names: modifiers "Ctrl", "Alt", "Shift", "Win" and one
// key ("F1" to "F24" but F12, a letter, a digit, "Insert", "Home", "End", "PageUp",
// "PageDown", "Pause"), joined by "+"; letter case and blanks around the parts do not
// matter. None for "off" and for any text that names no usable combination: a letter or
// digit needs Ctrl, Alt or Win (it would otherwise be taken from every typist), and F12 is
// the platform's own (reserved for debuggers).
std::optional<Hotkey> ParseHotkey(std::string_view text);

// The word the clipboard's text gives: its first line that holds more than white space,
// trimmed of white space, converted to Windows-1254 ('?' for what 1254 cannot hold) and
// cut to maxChars characters. None when there is no such line, or when 1254 holds none of
// the line's characters but white space (a text of which only "?" would be left).
std::optional<std::string> WordFromClipboardText(std::u16string_view text, size_t maxChars);

}  // namespace kavrel
