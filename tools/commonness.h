// How common a foreign word is, from evidence that ships with Debian and works offline: how
// often a tagged corpus used the word's senses (WordNet's counts, English only) and in how
// many dictionaries the word is a headword. Used to rank translations, never to drop them.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kavrel::tool {

// Greater is more common: corpus uses first, the count of dictionaries breaks ties.
struct CommonnessScore {
    uint32_t senseTags = 0;
    uint32_t dictionaries = 0;
    auto operator<=>(const CommonnessScore&) const = default;
};

class Commonness {
public:
    // Counts one dictionary: every distinct headword of a dictd index text (UTF-8) gains one.
    // Throws ToolError naming fileName when the index is broken.
    void AddDictionaryHeadwords(std::string_view indexText, const std::string& fileName);

    // Adds WordNet's sense counts: lines "lemma%sense_key sense_number tag_count" (the
    // cntlist.rev layout); a lemma's counts over all its senses add up. Lines of any other
    // shape are skipped.
    void AddSenseCounts(std::string_view cntlistText);

    // The score of a 1254 word, compared without letter case; unknown words score zero.
    CommonnessScore Of(std::string_view word) const;

    bool Empty() const { return scores_.empty(); }

private:
    struct Word {
        CommonnessScore score;
        uint32_t lastDictionary = 0;  // the dictionary that counted it last, so each counts once
    };
    Word& WordOf(std::string_view utf8Word);

    std::unordered_map<std::string, Word> scores_;  // by lower-cased 1254 word
    uint32_t dictionaries_ = 0;
};

}  // namespace kavrel::tool
