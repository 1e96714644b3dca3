// Entry lines as read and written, the translation rows and the load progress figures.
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

// Feeds lines of the given lengths and returns every percentage that would set a caption.
std::vector<int> Captions(size_t textLength, const std::vector<size_t>& lineLengths) {
    LoadProgress progress(textLength);
    std::vector<int> shown;
    for (size_t length : lineLengths) {
        if (progress.AddLine(length)) shown.push_back(progress.Percent());
    }
    return shown;
}

TEST(LoadProgressCaptions, FollowTheTwoBytesPerLineRule) {
    // Two 3-byte lines joined by one LF CR and no final line end: L = 8.
    EXPECT_EQ(Captions(8, {3, 3}), (std::vector<int>{62, 125}));
    // A single line sets exactly one caption.
    EXPECT_EQ(Captions(5, {5}), (std::vector<int>{140}));
    // Twenty-byte lines with one LF each pass 100: 25 lines, L = 525, the last shows 104.
    const std::vector<int> lfOnly = Captions(525, std::vector<size_t>(25, 20));
    ASSERT_FALSE(lfOnly.empty());
    EXPECT_EQ(lfOnly.back(), 104);
    // Lots of lines: one caption per distinct percentage, never more than 101 + the overshoot.
    const std::vector<int> many = Captions(3'300'000, std::vector<size_t>(100'000, 31));
    EXPECT_EQ(many.front(), 0);
    EXPECT_EQ(many.back(), 100);
    EXPECT_EQ(many.size(), 101u);
    for (size_t i = 1; i < many.size(); ++i) EXPECT_EQ(many[i], many[i - 1] + 1);
}

TEST(LoadProgressCaptions, HugeTextsDoNotOverflow) {
    const size_t length = 400'000'000;  // T * 100 exceeds 32 bits
    LoadProgress progress(length);
    ASSERT_TRUE(progress.AddLine(length / 2 - 2));
    EXPECT_EQ(progress.Percent(), 50);
}

}  // namespace
}  // namespace kavrel
