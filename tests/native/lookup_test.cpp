// The lookup's decision: which texts hit, the headword and rows a hit shows, the caption.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/lookup.h"

namespace kavrel {
namespace {

const std::string kFound5 = "Kavrel v1.5 (5 kelime) ... yard\xFDm [F1] ... ekleme/de\xF0i\xFEiklik [F6]";
const std::string kNotFound = "kelime bulunamad\xFD ... yard\xFDm [F1] ... ekleme [F6]";

TEST(Lookup, DecidesHitHeadwordRowsAndCaption) {
    WordTable table;
    for (const char* line : {"ev|house, home", "\xC7" "ay|tea", "word|", "a|x; y ,z", "bare entry"}) table.SetLine(line);
    using Rows = std::vector<std::string>;
    const struct { const char* typed; const char* headword; Rows rows; const std::string* caption; } cases[] = {
        {"EV", "ev", {"house", "home"}, &kFound5},   // another case: the stored headword comes back
        {"\xE7" "ay", "\xC7" "ay", {"tea"}, &kFound5},  // a Turkish capital in the stored headword
        {"word", "word", {""}, &kFound5},            // empty translations: one empty row
        {"a", "a", {"x", "y", "z"}, &kFound5},
        {"e", nullptr, {}, &kNotFound},              // a beginning of a headword is no hit
        {"ev ", nullptr, {}, &kNotFound},            // nothing is trimmed
        {"", nullptr, {}, nullptr},                  // never a hit, though "bare entry" is filed under ""
    };
    for (const auto& c : cases) {
        const LookupDecision decision = DecideLookup(table, c.typed);
        EXPECT_EQ(decision.Hit(), c.headword != nullptr) << '"' << c.typed << '"';
        EXPECT_EQ(decision.headword.value_or("<miss>"), c.headword ? c.headword : "<miss>") << c.typed;
        EXPECT_EQ(decision.rows, c.rows) << c.typed;
        EXPECT_EQ(decision.caption.value_or("<kept>"), c.caption ? *c.caption : "<kept>") << c.typed;
    }
}

TEST(Lookup, CaptionCountsTheTableAsItIsNow) {
    WordTable table;
    table.SetLine("ev|house");
    table.SetLine("kedi|cat");
    EXPECT_EQ(DecideLookup(table, "ev").caption.value_or(""),
              "Kavrel v1.5 (2 kelime) ... yard\xFDm [F1] ... ekleme/de\xF0i\xFEiklik [F6]");
    table.SetLine("su|water");
    EXPECT_EQ(DecideLookup(table, "ev").caption.value_or(""),
              "Kavrel v1.5 (3 kelime) ... yard\xFDm [F1] ... ekleme/de\xF0i\xFEiklik [F6]");
    EXPECT_FALSE(DecideLookup(WordTable(), "ev").Hit()) << "an empty table";
}

}  // namespace
}  // namespace kavrel
