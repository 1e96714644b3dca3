// Entry lines as read and written, and the translation rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/entry_text.h"

namespace kavrel {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

TEST(EntryLines, EveryLineEndStyleReadsTheSameEntries) {
    const std::vector<std::string> expected = {"ev|house, home", "kedi|cat", "k\xF6pek|dog"};
    const struct { const char* name; std::string text; } cases[] = {
        {"LF CR", "ev|house, home\n\rkedi|cat\n\rk\xF6pek|dog\n\r"},
        {"CR LF", "ev|house, home\r\nkedi|cat\r\nk\xF6pek|dog\r\n"},
        {"LF only", "ev|house, home\nkedi|cat\nk\xF6pek|dog\n"},
        {"CR only", "ev|house, home\rkedi|cat\rk\xF6pek|dog\r"},
        {"no final end", "ev|house, home\n\rkedi|cat\n\rk\xF6pek|dog"},
        {"runs and leading ends", "\r\n\n\rev|house, home\n\n\n\r\rkedi|cat\r\r\nk\xF6pek|dog\n\n\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Lines(c.text), expected) << c.name;
    EXPECT_TRUE(Lines("").empty());
    EXPECT_TRUE(Lines("\r\n\n\r\r").empty());
}

TEST(EntryLines, WalkStopsWhenAskedTo) {
    int seen = 0;
    ForEachLine("a\nb\nc\n", [&](std::string_view) { return ++seen < 2; });
    EXPECT_EQ(seen, 2);
}

TEST(EntryLines, SplitAtTheFirstBarOnly) {
    EXPECT_EQ(SplitEntry("ev|house|home").headword, "ev");
    EXPECT_EQ(SplitEntry("ev|house|home").translations, "house|home");
    EXPECT_EQ(SplitEntry("|x").headword, "");
    EXPECT_EQ(SplitEntry("|x").translations, "x");
    EXPECT_EQ(SplitEntry("no bar").headword, "");
    EXPECT_EQ(SplitEntry("no bar").translations, "no bar");  // written back as "|no bar"
    EXPECT_EQ(KeyOfLine(" ev|x"), " ev");
    EXPECT_EQ(KeyOfLine("word|"), "word");
}

TEST(EntryLines, LengthStopsAtTheFirstZeroByte) {
    EXPECT_EQ(LengthBeforeZero(std::string("ab\0cd", 5)), 2u);
    EXPECT_EQ(LengthBeforeZero("abc"), 3u);
    EXPECT_EQ(LengthBeforeZero(std::string("\0", 1)), 0u);
}

// The scan goes in blocks, words and single bytes: a zero at every place of texts of every
// length up to past four blocks, with non-zero bytes (0x80 and 0x01 among them) around it.
TEST(EntryLines, LengthFindsAZeroAtEveryPlace) {
    for (size_t length = 0; length <= 140; ++length) {
        std::string text(length, '\x80');
        for (size_t i = 0; i < length; i += 3) text[i] = '\x01';
        ASSERT_EQ(LengthBeforeZero(text), length);
        for (size_t zero = 0; zero < length; ++zero) {
            std::string withZero = text;
            withZero[zero] = '\0';
            if (zero + 1 < length) withZero[length - 1] = '\0';  // a later zero changes nothing
            ASSERT_EQ(LengthBeforeZero(withZero), zero) << "length " << length;
        }
    }
}

TEST(TranslationRows, SplitTrimAndKeepEmptyPieces) {
    using Rows = std::vector<std::string>;
    const struct { const char* translations; Rows rows; } cases[] = {
        {"house, home", {"house", "home"}},
        {"a; b ,c", {"a", "b", "c"}},
        {"a,,b", {"a", "", "b"}},
        {"a,b,", {"a", "b", ""}},
        {"", {""}},
        {" \t\v\f\r\n a \t", {"a"}},
        {"\xA0x\xA0", {"\xA0x\xA0"}},  // a no-break space (0xA0) is not white space here
        {";;", {"", "", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitTranslations(c.translations), c.rows) << '"' << c.translations << '"';
}

TEST(TranslationRows, ReplaceAllNeverRescansItsOwnOutput) {
    EXPECT_EQ(ReplaceAll("a;b;;c", ";", ","), "a,b,,c");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("abab", "ab", "b"), "bb");
    EXPECT_EQ(ReplaceAll("", ";", ","), "");
}

}  // namespace
}  // namespace kavrel
