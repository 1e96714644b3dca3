// Lower-casing and the Unicode mapping of Windows-1254, pinned byte by byte.
#include <gtest/gtest.h>

#include "core/cp1254.h"

namespace kavrel {
namespace {

// The expected small letter of every byte, written out independently of the table.
int ExpectedLower(int b) {
    if (b >= 'A' && b <= 'Z') return b + 32;
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7 && b != 0xDD) return b + 32;
    if (b == 0x8A) return 0x9A;  // Š
    if (b == 0x8C) return 0x9C;  // Œ
    if (b == 0x9F) return 0xFF;  // Ÿ
    return b;
}

TEST(Cp1254Lower, EveryByteMatchesThePlatformTable) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned char>(LowerChar1254(static_cast<char>(b))), ExpectedLower(b))
            << "byte 0x" << std::hex << b;
    }
}

TEST(Cp1254Lower, TurkishLettersFollowThePlatformNotTheLanguage) {
    EXPECT_EQ(LowerCopy1254("I"), "i");                 // not dotless ı
    EXPECT_EQ(LowerCopy1254("\xDD"), "\xDD");           // İ stays
    EXPECT_EQ(LowerCopy1254("\xFD"), "\xFD");           // ı stays
    EXPECT_EQ(LowerCopy1254("\xC7\xD0\xD6\xDE\xDC"), "\xE7\xF0\xF6\xFE\xFC");  // ÇĞÖŞÜ
    EXPECT_EQ(LowerCopy1254("\xD7"), "\xD7");           // multiplication sign
    EXPECT_EQ(LowerCopy1254(" EV "), " ev ");           // nothing trimmed
}

TEST(Cp1254Lower, IsIdempotent) {
    for (int b = 0; b < 256; ++b) {
        const char once = LowerChar1254(static_cast<char>(b));
        EXPECT_EQ(LowerChar1254(once), once) << "byte 0x" << std::hex << b;
    }
}

TEST(Cp1254Unicode, TurkishLettersAndHighControls) {
    EXPECT_EQ(Cp1254ToUnicode(0xD0), U'\u011E');
    EXPECT_EQ(Cp1254ToUnicode(0xDD), U'\u0130');
    EXPECT_EQ(Cp1254ToUnicode(0xDE), U'\u015E');
    EXPECT_EQ(Cp1254ToUnicode(0xF0), U'\u011F');
    EXPECT_EQ(Cp1254ToUnicode(0xFD), U'\u0131');
    EXPECT_EQ(Cp1254ToUnicode(0xFE), U'\u015F');
    EXPECT_EQ(Cp1254ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1254ToUnicode(0xE7), U'\u00E7');
    EXPECT_EQ(Cp1254ToUnicode(0x81), U'\u0081');  // undefined: kept as its C1 control
    EXPECT_EQ(UnicodeToCp1254(U'\u00D0'), -1);    // Ð has no place in 1254
    EXPECT_EQ(UnicodeToCp1254(U'\u0131'), 0xFD);
}

// The compile-time answer (used to check the import's tables) agrees with the run-time
// mapping, except for the seven bytes the code page leaves undefined.
TEST(Cp1254Unicode, HoldsWhatTheMappingDefines) {
    const std::string undefined = "\x81\x8D\x8E\x8F\x90\x9D\x9E";
    for (int b = 0; b < 256; ++b) {
        const bool defined = undefined.find(static_cast<char>(b)) == std::string::npos;
        EXPECT_EQ(Cp1254Holds(Cp1254ToUnicode(static_cast<unsigned char>(b))), defined) << "byte 0x" << std::hex << b;
    }
    EXPECT_FALSE(Cp1254Holds(U'\u00D0'));  // Ð: 1254 has Ğ at its byte
    EXPECT_FALSE(Cp1254Holds(U'\u0100'));
}

TEST(Cp1254Unicode, EveryByteRoundTripsThroughUtf16AndUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Cp1254FromUtf16(Utf16From1254(all)), all);
    const Utf8Conversion back = Utf8To1254(Utf8From1254(all));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.text, all);
}

TEST(Cp1254Unicode, DirectionNameInUtf16) {
    EXPECT_EQ(Utf16From1254("T\xFCrk\xE7" "e -> \xDDngilizce"), u"Türkçe -> İngilizce");
    EXPECT_EQ(Cp1254FromUtf16(u"Türkçe -> İngilizce"), "T\xFCrk\xE7" "e -> \xDDngilizce");
    EXPECT_EQ(Cp1254FromUtf16(u"\u03B1b"), "?b");          // Greek alpha cannot be held
    EXPECT_EQ(Cp1254FromUtf16(u"\U0001F600x"), "?x");      // a surrogate pair is one '?'
}

// A surrogate without its partner becomes one '?' and leaves the next unit alone.
TEST(Cp1254Unicode, LoneSurrogatesTakeNothingWithThem) {
    const struct { std::u16string utf16; std::string expected; } cases[] = {
        {{u'x', 0xD800, u'a', u'b'}, "x?ab"},
        {{u'x', 0xDC00, u'a'}, "x?a"},
        {{u'x', 0xD800}, "x?"},
        {{0xD800, 0xD83D, 0xDE00, u'c'}, "??c"},    // a lone high one, then a pair
        {{0xDE00, 0xD83D, u'\u00FC'}, "??\xFC"},  // low before high is no pair
    };
    for (const auto& c : cases) EXPECT_EQ(Cp1254FromUtf16(c.utf16), c.expected) << c.expected;
}

TEST(Cp1254Unicode, Utf8ErrorsNameTheirPlace) {
    const Utf8Conversion greek = Utf8To1254("ab\xCE\xB1");
    EXPECT_FALSE(greek.ok);
    EXPECT_EQ(greek.errorOffset, 2u);
    EXPECT_EQ(greek.badCodePoint, U'\u03B1');
    const Utf8Conversion broken = Utf8To1254("abc\xC3");
    EXPECT_FALSE(broken.ok);
    EXPECT_EQ(broken.errorOffset, 3u);
    EXPECT_EQ(broken.badCodePoint, 0u);
    EXPECT_FALSE(Utf8To1254("\xC0\xAF").ok);  // overlong
    EXPECT_FALSE(Utf8To1254("\xED\xA0\x80").ok);  // surrogate
}

}  // namespace
}  // namespace kavrel
