// The hotkey's combination as the profile names it, and the word a clipboard text gives.
#include <gtest/gtest.h>

#include "core/hotkey.h"

namespace kavrel {
namespace {

TEST(HotkeyCombination, ReadableTextsNameTheirKeys) {
    const struct { const char* text; unsigned modifiers; unsigned key; } cases[] = {
        {"Ctrl+Shift+F11", kHotkeyControl | kHotkeyShift, 0x7A},
        {" ctrl +\tSHIFT+ f11 ", kHotkeyControl | kHotkeyShift, 0x7A},
        {"Shift+Alt+F9", kHotkeyAlt | kHotkeyShift, 0x78},
        {"F1", 0, 0x70},
        {"Win+F24", kHotkeyWin, 0x87},
        {"Ctrl+Alt+Q", kHotkeyControl | kHotkeyAlt, 'Q'},  // the user's own choice, AltGr or not
        {"Win+7", kHotkeyWin, '7'},
        {"Ctrl+PageDown", kHotkeyControl, 0x22},
        {"Shift+Pause", kHotkeyShift, 0x13},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHotkey(c.text), (Hotkey{c.modifiers, c.key})) << c.text;
    }
    EXPECT_EQ(ParseHotkey(kDefaultHotkey), (Hotkey{kHotkeyControl | kHotkeyShift, 0x7A}));
}

TEST(HotkeyCombination, OffAndUnusableTextsNameNone) {
    for (const char* text : {"off", "OFF", "", "  ", "Ctrl+", "+F11", "Ctrl++F11", "Ctrl+Ctrl+F11", "Ctrl Shift F11",
                             "Strg+F11", "Ctrl+Q+F11", "Ctrl+F11x", "F0", "F25", "F011", "F12", "Ctrl+Shift+F12",
                             "A", "Shift+A", "Shift+5", "kapal\xFD"}) {
        EXPECT_EQ(ParseHotkey(text), std::nullopt) << text;
    }
}

TEST(ClipboardWord, FirstLineTrimmedAndConverted) {
    const struct { const char16_t* text; const char* word; } cases[] = {
        {u"ev", "ev"},
        {u"  ev \t\r\n", "ev"},
        {u"\r\n \r\n\u00A0ev kedi\u2003\r\nikinci", "ev kedi"},  // blank lines skipped, inner blank kept
        {u"\uFEFFev\u2028kedi", "ev"},
        {u"\u0130\u015F\u00E7i \u00F6\u011F\u00FCn \u00E7\u0131\u011Fl\u0131k",
         "\xDD\xFE\xE7i \xF6\xF0\xFCn \xE7\xFD\xF0l\xFDk"},  // İşçi öğün çığlık
        {u"\u65E5\u672C ev", "?? ev"},
        {u"\U0001F600a", "?a"},  // a surrogate pair is one character
        {u"?", "?"},
        {u"\u20AC5", "\x80" "5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WordFromClipboardText(c.text, 1024), std::optional<std::string>(c.word)) << c.word;
    }
}

TEST(ClipboardWord, BlankOrUnholdableTextGivesNoWord) {
    for (const char16_t* text :
         {u"", u" \r\n\t\u00A0", u"\u65E5\u672C\u8A9E", u"  \u65E5 \u672C\r\nev", u"\U0001F600"}) {
        EXPECT_EQ(WordFromClipboardText(text, 1024), std::nullopt);
    }
}

TEST(ClipboardWord, CutToTheWordBoxLength) {
    EXPECT_EQ(WordFromClipboardText(std::u16string(5000, u'a'), 1024), std::string(1024, 'a'));
    EXPECT_EQ(WordFromClipboardText(std::u16string(1024, u'a') + u"b", 1024), std::string(1024, 'a'));
    EXPECT_EQ(WordFromClipboardText(std::u16string(1023, u'a') + u"\U0001F600b", 1024), std::string(1023, 'a') + "?");
    EXPECT_EQ(WordFromClipboardText(std::u16string(1022, u'a') + char16_t{0xD800} + u"bc", 1024), std::string(1022, 'a') + "?b")
        << "a lone surrogate is one character";
    EXPECT_EQ(WordFromClipboardText(std::u16string(3, u' ') + std::u16string(1024, u'\u65E5') + u"ev", 1024),
              std::nullopt) << "only what the box keeps counts";
}

}  // namespace
}  // namespace kavrel
