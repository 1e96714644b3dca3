// The word table and loading a dictionary text into it.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "core/key_hash.h"
#include "core/word_table.h"
#include "core/word_table_bytes.h"

namespace kavrel {
namespace {

// prefix followed by n, built by append: GCC 12 warns falsely on "literal" + std::string.
std::string Numbered(const char* prefix, long n) { return std::string(prefix).append(std::to_string(n)); }

WordTable Load(std::string text, std::vector<int>* percents = nullptr, KeyHash::Kind kind = KeyHash::Best()) {
    WordTable table(NewHashKey(), kind);
    LoadDictionaryText(std::move(text), table, [&](int p) { if (percents) percents->push_back(p); });
    return table;
}

// The table's hash kinds this processor has: lookups must agree under each.
std::vector<KeyHash::Kind> AvailableKinds() {
    std::vector<KeyHash::Kind> kinds{KeyHash::Kind::kSip};
    if (KeyHash::Available(KeyHash::Kind::kAes)) kinds.push_back(KeyHash::Kind::kAes);
    return kinds;
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

// Random lines of every length, and many short keys that repeat far apart: small tables
// and tables of many buckets (their lines copied in reading order, then in slot order).
TEST(WordTableLoad, RandomBytesLoadAndAgreeWithAPlainMap) {
    struct Case {
        size_t bytes;
        unsigned lineEvery;  // about one byte in this many ends a line
        unsigned letters;    // a small alphabet repeats short keys
    };
    for (const Case c : {Case{200'000, 40, 255}, Case{3'000'000, 12, 6}}) {
        std::mt19937 random(42);
        std::string text(c.bytes, '\0');
        for (char& ch : text) {
            const unsigned r = random() % c.lineEvery;
            ch = r == 0 ? '\n' : r == 1 ? '|' : r == 2 ? 'A' : static_cast<char>(1 + random() % c.letters);
        }
        std::map<std::string, std::string> expected;
        ForEachLine(text, [&](std::string_view line) { expected[LowerCopy1254(KeyOfLine(line))] = std::string(line); });
        for (const KeyHash::Kind kind : AvailableKinds()) {
            const WordTable table = Load(text, nullptr, kind);
            ASSERT_EQ(table.Count(), expected.size()) << c.bytes;
            for (const auto& [key, line] : expected) ASSERT_EQ(table.Find(key).value_or("<none>"), line) << int(kind);
            size_t visited = 0;
            table.ForEach([&](std::string_view) { ++visited; });
            EXPECT_EQ(visited, expected.size());
        }
    }
}

TEST(WordTableLoad, CancelStopsBetweenLines) {
    std::string text;
    for (int i = 0; i < 100'000; ++i) text.append("w").append(std::to_string(i)).append("|x\n");
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
    for (int i = 0; i < 1000; ++i) table.SetLine(std::string("w").append(std::to_string(i)).append("|t"));  // grows
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

// Changes after a load, against a plain map: the loaded text never moves or grows, a
// change costs about its own bytes, and a key changed again keeps one line.
TEST(WordTableEdit, ChangesAgreeWithAMapAndCostTheirOwnBytes) {
    std::string text;
    std::map<std::string, std::string> expected;
    for (int i = 0; i < 50'000; ++i) {
        const std::string line = Numbered("Word", i) + "|translation, another";
        text.append(line).append("\n\r");
        expected[LowerCopy1254(KeyOfLine(line))] = line;
    }
    WordTable table = Load(text);
    const char* const loaded = table.Text().data();
    const size_t before = table.MemoryBytes();
    std::mt19937 random(7);
    size_t editedBytes = 0;
    for (int i = 0; i < 2000; ++i) {
        const long n = static_cast<long>(random() % 60'000);  // some keys new, most present
        const std::string line = (i % 3 ? Numbered("WORD", n) : Numbered("word", n)) + "|changed " + std::to_string(i);
        table.SetLine(line);
        expected[LowerCopy1254(KeyOfLine(line))] = line;
        editedBytes += line.size();
    }
    table.SetLine(*table.Find("word1"));  // a loaded line set again from the table itself
    table.SetLine(*table.Find(KeyOfLine(expected.rbegin()->second)));  // an edited one
    EXPECT_EQ(table.Text().data(), loaded);
    EXPECT_LT(table.MemoryBytes() - before, editedBytes + 2000 * 64 + (64u << 10));
    ASSERT_EQ(table.Count(), expected.size());
    for (const auto& [key, line] : expected) ASSERT_EQ(table.Find(key).value_or("<none>"), line) << key;

    table.SetLine("word5|again 0");
    const size_t settled = table.MemoryBytes();
    for (int i = 1; i < 1000; ++i) table.SetLine("word5|again " + std::to_string(i % 10));
    EXPECT_EQ(table.MemoryBytes(), settled) << "one key changed over and over holds one line";
    EXPECT_EQ(table.Find("WORD5").value(), "word5|again 9");
}

TEST(WordTableEdit, MovedFromTableIsEmptyAndUsable) {
    WordTable source = Load("a|1\n\rb|2\n\r");
    WordTable target = std::move(source);
    EXPECT_EQ(target.Count(), 2u);
    EXPECT_EQ(source.Count(), 0u);  // NOLINT(bugprone-use-after-move): the state is specified
    EXPECT_FALSE(source.Find("a").has_value());
    source.SetLine("c|3");
    EXPECT_EQ(source.Find("c").value(), "c|3");
}

TEST(WordTableEdit, RemoveAllEmptiesTheTable) {
    WordTable table = Load("a|1\n\rb|2\n\r");
    table.RemoveAll();
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_FALSE(table.Find("a").has_value());
    EXPECT_FALSE(table.Find("").has_value());
}

// ---- keys matched against the stored line, the load's queue of pending lines, the hash ----

TEST(WordTableFind, KeysMatchOnlyTheTextBeforeTheFirstBar) {
    const WordTable table = Load("ev|home|x\n\rbare line\n\rkedi|cat\n\r");
    EXPECT_FALSE(table.Find("ev|home").has_value());  // a key holding "|" matches nothing
    EXPECT_FALSE(table.Find("e").has_value());        // a prefix of a headword
    EXPECT_FALSE(table.Find("evx").has_value());
    EXPECT_FALSE(table.Find("kedi|cat|more").has_value());  // longer than the line
    EXPECT_FALSE(table.Find("bare line").has_value());      // a bar-less line files under ""
    EXPECT_EQ(table.Find("").value(), "bare line");
    EXPECT_EQ(table.Find("KEDI").value(), "kedi|cat");

    WordTable barFirst = Load("|only translations\n\r");
    EXPECT_EQ(barFirst.Find("").value(), "|only translations");
    EXPECT_FALSE(Load("a|b\n\r").Find("").has_value());
    barFirst.SetLine("");  // an empty line is a bar-less line too, and replaces the one under ""
    EXPECT_EQ(barFirst.Count(), 1u);
    EXPECT_EQ(barFirst.Find("").value(), "");
}

// Every line and key of up to four bytes over an alphabet of "|", two cases, a Turkish
// capital and (in keys) a line end, against the definition: the lower-cased text before
// the first "|". The block compare of a loaded line sees the line's end and whatever the
// text holds after it, here the rest of the key and a "|", which must not match.
TEST(WordTableFind, LineHasKeyAgreesWithTheLowerCasedHeadwordEverywhere) {
    const std::string alphabet = "|aA\xDD\xFD\n";
    std::vector<std::string> texts{""};
    for (size_t from = 0; texts.back().size() < 4;) {
        const size_t to = texts.size();
        for (size_t i = from; i < to; ++i) {
            for (char c : alphabet) texts.push_back(texts[i] + c);
        }
        from = to;
    }
    for (const std::string& line : texts) {
        if (line.find('\n') != std::string::npos) continue;  // a line holds no line end
        const std::string key = LowerCopy1254(KeyOfLine(line));
        for (const std::string& probe : texts) {
            const bool expected = key == LowerCopy1254(probe);
            ASSERT_EQ(WordTable::LineHasKey(line, probe), expected) << "line \"" << line << "\" key \"" << probe << "\"";
#if defined(__SSE2__)
            if (probe.empty()) continue;
            std::string text = line + "\n" + (probe.size() > line.size() ? probe.substr(line.size() + 1) : "") + "|";
            text.resize(16, 'a');
            ASSERT_EQ(word_bytes::BlockHasKey(text.data(), word_bytes::MakeKeyBlock(probe.data(), probe.size())), expected)
                << "line \"" << line << "\" key \"" << probe << "\" in a block";
#endif
        }
    }
}

// Keys of every length to past the sixteen bytes compared at once, in lines whose rest ends
// before, at and past the blocks searched for a line end, last in the text or not: each is
// found whole.
TEST(WordTableFind, EveryKeyAndLineLengthUpToTheTextsEnd) {
    const std::string letters = "aB\xDD\xC7x";
    for (size_t keyLength = 1; keyLength <= 40; ++keyLength) {
        std::string key;
        for (size_t i = 0; i < keyLength; ++i) key += letters[i % letters.size()];
        for (const size_t rest : {0, 1, 14, 15, 16, 31, 63, 64, 65, 130}) {
            const std::string line = key + "|" + std::string(rest, 't');
            for (const char* after : {"", "\r", "\n\rnext|line\n\r"}) {
                const WordTable table = Load("first|x\n\r" + line + after);
                ASSERT_EQ(table.Find(LowerCopy1254(key)).value_or("<none>"), line) << keyLength << " " << rest;
            }
        }
    }
}

// The same in a table large enough for lookups by sixteen tags at once: keys of every length
// to past sixteen bytes, in lines whose rest ends before, at and past the blocks searched
// for a line end, one of them the text's last line. Each key is found whole in either
// case; a byte changed, or a bar or a line end in place of its last byte, finds nothing.
TEST(WordTableFind, KeysOfEveryLengthInALargeTable) {
    const std::string letters = "aB\xDD\xE7x";
    const size_t rests[] = {0, 1, 14, 15, 16, 31, 46, 47, 48, 63, 64, 65, 130};
    std::map<std::string, std::string> lines;  // key -> its line
    for (size_t keyLength = 1; keyLength <= 20; ++keyLength) {
        for (size_t r = 0; r < std::size(rests); ++r) {
            std::string key(1, static_cast<char>('c' + r));
            for (size_t i = 1; i < keyLength; ++i) key += letters[(i + r) % letters.size()];
            lines[key] = key + "|" + std::string(rests[r], 't');
        }
    }
    std::string text;
    for (int n = 0; n < 3000; ++n) text.append(Numbered("filler", n)).append("|f\n\r");
    for (const auto& [key, line] : lines) text.append(line).append("\n\r");
    text.resize(text.size() - 2);  // the last line ends with the text
    const auto upper = [](std::string word) {
        for (char& c : word) c = c == 'a' ? 'A' : c == 'x' ? 'X' : c == '\xE7' ? '\xC7' : c;
        return word;
    };
    for (const KeyHash::Kind kind : AvailableKinds()) {
        const WordTable table = Load(text, nullptr, kind);
        for (const auto& [key, line] : lines) {
            ASSERT_EQ(table.Find(key).value_or("<none>"), line) << key << " kind " << int(kind);
            ASSERT_EQ(table.Find(upper(key)).value_or("<none>"), line) << key;
            const std::string stem = key.substr(0, key.size() - 1);
            for (const char last : {'q', '|', '\n', '\0'}) ASSERT_FALSE(table.Find(stem + last).has_value()) << key << last;
        }
    }
}

#if defined(__SSE2__)
// The lookup's lower-casing of sixteen bytes at once against the table, every byte.
TEST(WordTableFind, BlockLowerCasingIsThePlatformsLowerCasing) {
    for (int first = 0; first < 256; first += 16) {
        char bytes[16], lowered[16];
        for (int i = 0; i < 16; ++i) bytes[i] = static_cast<char>(first + i);
        word_bytes::Lower1254Block(bytes, lowered);
        for (int i = 0; i < 16; ++i) ASSERT_EQ(lowered[i], LowerChar1254(bytes[i])) << "byte " << first + i;
    }
}
#endif

// Lines whose keys repeat at distances below and above the number of lines the load keeps
// pending: whatever the distance, the later line must win.
TEST(WordTableLoad, ReplacementFollowsTheFileOrderAtEveryDistance) {
    std::string text;
    std::map<std::string, std::string> expected;
    for (int distance = 1; distance <= 40; ++distance) {
        const std::string key = Numbered("k", distance);
        text.append(key).append("|first\n\r");
        for (int filler = 1; filler < distance; ++filler) {
            text.append("f").append(std::to_string(distance)).append("_").append(std::to_string(filler)).append("|\n\r");
        }
        const std::string later = Numbered("K", distance) + "|second";
        text.append(later).append("\n\r");
        expected[key] = later;
    }
    const WordTable table = Load(text);
    for (const auto& [key, line] : expected) EXPECT_EQ(table.Find(key).value_or("<none>"), line) << key;
}

// CR-only line ends with a single LF at the end make the line estimate 2, so the table must
// grow many times while lines are pending.
TEST(WordTableLoad, GrowsWhenTheLineEstimateFallsShort) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text.append("w").append(std::to_string(i % 3000)).append("|").append(std::to_string(i)).append("\r");
    text += "\n";
    const WordTable table = Load(text);
    EXPECT_EQ(table.Count(), 3000u);
    EXPECT_EQ(table.Find("w0").value(), "w0|3000");
    EXPECT_EQ(table.Find("w1999").value(), "w1999|4999");
    EXPECT_EQ(table.Find("w2999").value(), "w2999|2999");
    EXPECT_LE(table.MemoryBytes(), text.size() + 2 * WordTable::SlotsFor(3000) * 8);  // grown by doubling
}

TEST(WordTableLoad, PercentsMatchTheProgressOfEveryLineInOrder) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text.append("word").append(std::to_string(i * 7919 % 3000)).append(i % 7 ? "|t\n\r" : "|a longer translation\r\n\n");
    std::vector<int> expected;
    LoadProgress progress(text.size());
    ForEachLine(text, [&](std::string_view line) {
        if (progress.AddLine(line.size())) expected.push_back(progress.Percent());
    });
    std::vector<int> percents;
    Load(text, &percents);
    EXPECT_EQ(percents, expected);
}

// A cancel raised from the progress callback: the table holds exactly the lines read up to
// some point, a prefix of the file, every one of them findable.
TEST(WordTableLoad, CancelledLoadHoldsAPrefixOfTheLines) {
    std::string text;
    const int lines = 20'000;
    for (int i = 0; i < lines; ++i) text.append("w").append(std::to_string(i)).append("|x\n\r");
    std::atomic<bool> cancel{false};
    WordTable table;
    const bool complete = LoadDictionaryText(text, table, [&](int percent) { if (percent >= 30) cancel = true; }, &cancel);
    EXPECT_FALSE(complete);
    const size_t count = table.Count();
    ASSERT_GT(count, 0u);
    ASSERT_LT(count, static_cast<size_t>(lines));
    for (size_t i = 0; i < count; ++i) ASSERT_TRUE(table.Find(Numbered("w", static_cast<long>(i))).has_value()) << i;
    EXPECT_FALSE(table.Find(Numbered("w", static_cast<long>(count))).has_value());
}

}  // namespace
}  // namespace kavrel
