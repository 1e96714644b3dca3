// The word table and loading a dictionary text into it.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/word_table.h"

namespace kavrel {
namespace {

WordTable Load(std::string text, std::vector<int>* percents = nullptr) {
    WordTable table;
    LoadDictionaryText(std::move(text), table, [&](int p) { if (percents) percents->push_back(p); });
    return table;
}

TEST(WordTableLoad, LaterLinesReplaceEarlierOnesUnderTheLowerCasedKey) {
    const WordTable table = Load("ev|home\n\rEv|house\n\r \xFC|x\n\r|bar first\n\rno bar at all\n\r");
    EXPECT_EQ(table.Count(), 3u);
    EXPECT_EQ(table.Find("ev").value(), "Ev|house");
    EXPECT_EQ(table.Find(" \xFC").value(), " \xFC|x");  // a leading blank stays in the key
    EXPECT_FALSE(table.Find("\xFC").has_value());
    EXPECT_EQ(table.Find("").value(), "no bar at all");  // "|..." and bar-less lines share ""
}

TEST(WordTableLoad, TurkishCapitalsFileUnderThePlatformLowerCase) {
    const WordTable table = Load("\xC7\x41Y|tea\n\r\xDDstanbul|Istanbul\n\rIrmak|river\n\r");
    EXPECT_EQ(table.Find("\xE7" "ay").value(), "\xC7" "AY|tea");
    EXPECT_EQ(table.Find("\xDDstanbul").value(), "\xDDstanbul|Istanbul");  // İ stays
    EXPECT_EQ(table.Find("irmak").value(), "Irmak|river");                   // I -> i
    EXPECT_FALSE(table.Find("\xFDrmak").has_value());
}

TEST(WordTableLoad, ZeroByteEndsTheTextAndEmptyTextsHoldNothing) {
    std::vector<int> percents;
    const WordTable cut = Load(std::string("ab|x\n\rcd|y\0ef|z\n\r", 17), &percents);
    EXPECT_EQ(cut.Count(), 2u);
    EXPECT_FALSE(cut.Find("ef").has_value());
    EXPECT_EQ(percents, (std::vector<int>{60, 120}));  // L = 10: (6 * 100) / 10, (12 * 100) / 10
    EXPECT_EQ(Load("").Count(), 0u);
    EXPECT_EQ(Load("\n\r\r\n").Count(), 0u);
    EXPECT_EQ(Load(std::string("\0ab|x", 5)).Count(), 0u);
}

TEST(WordTableLoad, RandomBytesLoadAndAgreeWithAPlainMap) {
    std::mt19937 random(42);
    std::string text(200'000, '\0');
    for (char& c : text) {
        const unsigned r = random() % 40;
        c = r == 0 ? '\n' : r == 1 ? '|' : r == 2 ? 'A' : static_cast<char>(1 + random() % 255);
    }
    std::map<std::string, std::string> expected;
    ForEachLine(std::string_view(text).substr(0, LengthBeforeZero(text)), [&](std::string_view line) {
        expected[LowerCopy1254(KeyOfLine(line))] = std::string(line);
    });
    const WordTable table = Load(text);
    ASSERT_EQ(table.Count(), expected.size());
    for (const auto& [key, line] : expected) ASSERT_EQ(table.Find(key).value_or("<none>"), line);
    size_t visited = 0;
    table.ForEach([&](std::string_view) { ++visited; });
    EXPECT_EQ(visited, expected.size());
}

TEST(WordTableLoad, CancelStopsBetweenLines) {
    std::string text;
    for (int i = 0; i < 100'000; ++i) text += "w" + std::to_string(i) + "|x\n";
    std::atomic<bool> cancel{true};
    WordTable table;
    EXPECT_FALSE(LoadDictionaryText(text, table, nullptr, &cancel));
    EXPECT_LT(table.Count(), 100'000u);
    cancel = false;
    WordTable whole;
    EXPECT_TRUE(LoadDictionaryText(text, whole, nullptr, &cancel));
    EXPECT_EQ(whole.Count(), 100'000u);
}

TEST(WordTableEdit, SetLineAddsOrReplacesAndTheSaveTextFollowsTheTable) {
    WordTable table = Load("ev|house\n\r");
    table.SetLine("ev|house, home");
    table.SetLine("Kedi|cat");
    table.SetLine(*table.Find("kedi"));  // a line from the table itself
    EXPECT_EQ(table.Count(), 2u);
    EXPECT_EQ(table.Find("EV").value(), "ev|house, home");
    for (int i = 0; i < 1000; ++i) table.SetLine("w" + std::to_string(i) + "|t");  // grows
    EXPECT_EQ(table.Count(), 1002u);
    EXPECT_EQ(table.Find("w999").value(), "w999|t");

    WordTable small;
    small.SetLine("a|1");
    small.SetLine("bare");
    const std::string saved = BuildDictionaryText(small);
    std::string order;
    small.ForEach([&](std::string_view line) { order += (line == "a|1" ? "a|1\n\r" : "|bare\n\r"); });
    EXPECT_EQ(saved, order);  // table order, LF CR after every line, "|" before a bar-less line
    EXPECT_EQ(BuildDictionaryText(WordTable()), "");
}

TEST(WordTableEdit, RemoveAllEmptiesTheTable) {
    WordTable table = Load("a|1\n\rb|2\n\r");
    table.RemoveAll();
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_FALSE(table.Find("a").has_value());
    EXPECT_FALSE(table.Find("").has_value());
}

}  // namespace
}  // namespace kavrel
