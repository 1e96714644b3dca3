// The lenient UTF-8 -> Windows-1254 conversion of imports: kept, transliterated and dropped
// characters, combining marks, and the counts.
#include <gtest/gtest.h>

#include "tools/convert.h"

namespace kavrel::tool {
namespace {

using namespace std::literals;

struct Converted {
    std::string text;
    ConversionCounts counts;
};

Converted Convert(std::string_view utf8) {
    Converted result;
    result.text = ConvertUtf8To1254Lenient(utf8, result.counts);
    return result;
}

TEST(LenientConversion, KeepsEverything1254HoldsUncounted) {
    // ş ğ İ ı ß œ é € and the typographic quotes are all in 1254.
    const Converted c = Convert("\xC5\x9F\xC4\x9F\xC4\xB0\xC4\xB1 \xC3\x9F\xC5\x93\xC3\xA9\xE2\x82\xAC\xE2\x80\x9C");
    EXPECT_EQ(c.text, "\xFE\xF0\xDD\xFD \xDF\x9C\xE9\x80\x93");
    EXPECT_EQ(c.counts.transliterated, 0u);
    EXPECT_EQ(c.counts.dropped, 0u);
}

TEST(LenientConversion, LatinLettersLoseDiacriticsTheCodePageLacks) {
    EXPECT_EQ(Convert("\xC4\x81").text, "a");           // ā
    EXPECT_EQ(Convert("\xC5\x82\xC3\xB3" "d\xC5\xBA").text, "l\xF3" "dz");  // łódź: ó is in 1254
    EXPECT_EQ(Convert("\xC5\x91\xC5\xB1").text, "ou");  // ő ű
    EXPECT_EQ(Convert("\xC8\x9B\xC4\x8D").text, "tc");  // ț č
    EXPECT_EQ(Convert("\xC3\xBE\xC3\xB0").text, "thd");  // þ ð: 1254 has ş ğ at their bytes
    EXPECT_EQ(Convert("\xC7\x98").text, "\xFC");        // ǘ keeps its ü
    EXPECT_EQ(Convert("\xE1\xBA\xA5").text, "\xE2");    // ấ keeps its â
    EXPECT_EQ(Convert("\xE2\x80\x90").text, "-");       // the Unicode hyphen
    EXPECT_EQ(Convert("\xC4\x81\xC5\x82").counts.transliterated, 2u);
}

TEST(LenientConversion, OtherScriptsAndControlsAreDroppedAndCounted) {
    const Converted c = Convert("\xCE\xB3\xCE\xB1 a\xD7\xA8 \xE6\x97\xA5\x01\x7F\xC2\x85z");  // γα aר 日 ^A DEL NEL z
    EXPECT_EQ(c.text, " a z");
    EXPECT_EQ(c.counts.dropped, 7u);
    EXPECT_EQ(c.counts.transliterated, 0u);
    EXPECT_EQ(Convert("a\0b"sv).text, "ab");  // a zero byte would end the dictionary text
}

TEST(LenientConversion, CombiningMarksComposeWhen1254HasTheLetter) {
    EXPECT_EQ(Convert("e\xCC\x81").text, "\xE9");     // e + acute -> é
    EXPECT_EQ(Convert("I\xCC\x87").text, "\xDD");     // I + dot above -> İ
    EXPECT_EQ(Convert("g\xCC\x86").text, "\xF0");     // g + breve -> ğ
    const Converted c = Convert("x\xCC\x81\xCC\x81");  // no composed x; marks left over
    EXPECT_EQ(c.text, "x");
    EXPECT_EQ(c.counts.dropped, 2u);
    EXPECT_EQ(Convert("\xCC\x81" "a").text, "a");      // a mark with nothing before it
}

TEST(LenientConversion, SpacesBecomeBlanksAndMalformedBytesAreDropped) {
    EXPECT_EQ(Convert("a\tb\xE2\x80\x83" "c").text, "a b c");
    const Converted c = Convert("a\xFF" "b\xC3");
    EXPECT_EQ(c.text, "ab");
    EXPECT_EQ(c.counts.dropped, 2u);
}

TEST(Utf8Check, FindsTheFirstMalformedSequence) {
    EXPECT_FALSE(FindMalformedUtf8("ok \xC3\xBC"));
    EXPECT_EQ(FindMalformedUtf8("ab\xC3(x"), 2u);
    EXPECT_EQ(FindMalformedUtf8("\xED\xA0\x80"), 0u);  // a UTF-16 surrogate
}

TEST(Transliteration, HasNoFormForNonLatinLetters) {
    EXPECT_EQ(TransliterationOf(U'\u0142'), "l");
    EXPECT_EQ(TransliterationOf(U'\u0133'), "ij");
    EXPECT_EQ(TransliterationOf(U'\u03B1'), "");
    EXPECT_EQ(TransliterationOf(U'\u4E00'), "");
}

}  // namespace
}  // namespace kavrel::tool
