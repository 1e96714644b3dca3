// Collecting entries by the program's key: merging, duplicates, cleaning and the sorted text.
#include <gtest/gtest.h>

#include "tools/dictionary_builder.h"

namespace kavrel::tool {
namespace {

using Result = DictionaryBuilder::AddResult;

TEST(DictionaryBuilder, HeadwordsEqualAfterLowerCasingMergeInFirstSeenOrder) {
    DictionaryBuilder builder;
    EXPECT_EQ(builder.Add("Braten", {"k\xFDzartma"}), Result::kAdded);
    EXPECT_EQ(builder.Add("braten", {"k\xFDzartmak", "k\xFDzartma"}), Result::kMerged);
    EXPECT_EQ(builder.Add("BRATEN", {"bir"}), Result::kMerged);
    EXPECT_EQ(builder.EntryCount(), 1u);
    EXPECT_EQ(builder.PlainText(), "Braten|k\xFDzartma, k\xFDzartmak, bir\n\r");
}

TEST(DictionaryBuilder, TheKeyIsThePlatformLowerCaseNotTurkishCasing) {
    DictionaryBuilder builder;
    builder.Add("Irmak", {"river"});
    builder.Add("irmak", {"stream"});      // I -> i: the same key
    builder.Add("\xDDstanbul", {"a"});     // İ stays İ ...
    builder.Add("istanbul", {"b"});        // ... so this is another key
    builder.Add("\xFDrmak", {"c"});        // ı is not i
    builder.Add("\xC7" "ay", {"tea"});
    builder.Add("\xE7" "AY", {"chai"});    // Ç -> ç, A -> a
    EXPECT_EQ(builder.EntryCount(), 5u);
}

TEST(DictionaryBuilder, DuplicatesAreExactMatchesOnly) {
    DictionaryBuilder builder;
    builder.Add("essen", {"Essen", "essen", "Essen", " Essen "});
    EXPECT_EQ(builder.PlainText(), "essen|Essen, essen\n\r");
}

TEST(DictionaryBuilder, EntriesWithoutHeadwordOrTranslationAreSkipped) {
    DictionaryBuilder builder;
    EXPECT_EQ(builder.Add("  ", {"x"}), Result::kNoHeadword);
    EXPECT_EQ(builder.Add("ev", {}), Result::kNoTranslation);
    EXPECT_EQ(builder.Add("ev", {" ", "\r\n", ""}), Result::kNoTranslation);
    EXPECT_EQ(builder.EntryCount(), 0u);
    EXPECT_EQ(builder.PlainText(), "");
}

TEST(DictionaryBuilder, LineBreaksBarsAndSeparatorsCannotBreakTheLine) {
    DictionaryBuilder builder;
    builder.Add("a|b\r\nc", {"one\rtwo", "x, y;z"});
    EXPECT_EQ(builder.PlainText(), "a/b c|one two, x / y /z\n\r");
    EXPECT_EQ(DictionaryBuilder::CleanHeadword("|"), "/");
    EXPECT_EQ(DictionaryBuilder::CleanTranslation(","), "/");
}

TEST(DictionaryBuilder, TextIsSortedByKeyBytesWhateverTheOrderOfAdding) {
    const std::vector<std::string> words = {"\xFC" "z\xFCm", "Zebra", "apple", "Apfel", "\xC7" "ay", "1"};
    DictionaryBuilder forward;
    DictionaryBuilder backward;
    for (const std::string& w : words) forward.Add(w, {"t"});
    for (auto it = words.rbegin(); it != words.rend(); ++it) backward.Add(*it, {"t"});
    const std::string expected = "1|t\n\rApfel|t\n\rapple|t\n\rZebra|t\n\r\xC7" "ay|t\n\r\xFC" "z\xFCm|t\n\r";
    EXPECT_EQ(forward.PlainText(), expected);
    EXPECT_EQ(backward.PlainText(), expected);
}

}  // namespace
}  // namespace kavrel::tool
