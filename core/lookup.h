// What looking up the word box's text shows: hit or miss, the headword as stored, the
// translation rows and the caption. The window only carries it out on its controls.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/word_table.h"

namespace kavrel {

struct LookupDecision {
    // On a hit: the headword as the table stores it, which replaces the typed text.
    std::optional<std::string> headword;
    // On a hit: the rows of the translation list, in the entry's order.
    std::vector<std::string> rows;
    // The caption to set; none when it stays as it is (an empty word box).
    std::optional<std::string> caption;

    bool Hit() const { return headword.has_value(); }
};

// Looks word up exactly, after lower-casing, without trimming. An empty word is never a
// hit, though a bar-less line may be filed under the empty key.
LookupDecision DecideLookup(const WordTable& table, std::string_view word);

}  // namespace kavrel
