// The text a save writes and the progress it reports while building it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dictionary_load.h"
#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "core/word_table.h"

namespace kavrel {
namespace {

WordTable TableOf(const std::vector<std::string>& lines) {
    WordTable table;
    for (const std::string& line : lines) table.SetLine(line);
    return table;
}

// An entry whose saved line ("k<n>|" + translations + LF CR) is exactly chars long.
std::string EntryOfSavedLength(int n, size_t chars) {
    std::string line = std::string("k").append(std::to_string(n)).append("|");
    return line.append(chars - line.size() - 2, 't');
}

// Entries of one saved length each, so where the flushes fall does not depend on the
// table's order.
TEST(SaveText, ProgressIsReportedWhenAChunkPassesTenThousandCharacters) {
    std::vector<int> everyPercent;
    for (int p = 0; p <= 100; ++p) everyPercent.push_back(p);
    const struct { size_t lineChars; int entries; std::vector<int> percents; } cases[] = {
        {10000, 1, {}},                  // a chunk of exactly 10000 is not flushed
        {10001, 1, {100}},               // one of 10001 is
        {40, 3, {}},                     // a small table shows no progress
        {5001, 3, {66}},                 // 2 of 3 entries done, the remainder dropped
        {2501, 8, {50, 100}},
        {10001, 300, everyPercent},      // a flush per entry, each percent reported once
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        for (int n = 0; n < c.entries; ++n) lines.push_back(EntryOfSavedLength(n, c.lineChars));
        std::vector<int> percents;
        const WordTable table = TableOf(lines);
        const std::string text = BuildDictionaryText(table, [&](int p) { percents.push_back(p); });
        EXPECT_EQ(percents, c.percents) << c.entries << " lines of " << c.lineChars;
        EXPECT_EQ(text.size(), c.lineChars * static_cast<size_t>(c.entries));
        std::string scrambled = text;
        ScrambleText(scrambled);
        EXPECT_EQ(BuildScrambledDictionaryText(table), scrambled) << "scrambled chunk by chunk";
    }
}

TEST(SaveText, LinesEndInLineFeedCarriageReturnAndBarelessLinesGetABar) {
    const WordTable table = TableOf({"ev|house, home", "bare entry", "\xC7" "ay|tea|more"});
    const std::string text = BuildDictionaryText(table);
    std::string expected;
    table.ForEach([&](std::string_view line) {
        expected.append(line == "bare entry" ? "|bare entry" : std::string(line)).append("\n\r");
    });
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.size(), std::string("ev|house, home\n\r|bare entry\n\r\xC7" "ay|tea|more\n\r").size());
    EXPECT_EQ(BuildDictionaryText(WordTable()), "");

    // What was saved loads back to the same table, entry for entry.
    WordTable reloaded;
    LoadDictionaryText(text, reloaded, nullptr);
    ASSERT_EQ(reloaded.Count(), table.Count());
    table.ForEach([&](std::string_view line) {
        const std::string key(KeyOfLine(line));
        EXPECT_EQ(reloaded.Find(key).value_or("<none>"), line == "bare entry" ? "|bare entry" : std::string(line));
    });
}

}  // namespace
}  // namespace kavrel
