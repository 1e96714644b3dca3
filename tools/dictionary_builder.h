// Collects the entries of one data file: headwords filed under the program's key (lower-cased
// with LowerChar1254), colliding headwords merged, translations ranked (translation_ranking.h),
// and the whole written as one plain text sorted by key so every run gives the same bytes.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <unordered_set>
#include <vector>

#include "tools/translation_ranking.h"
#include "tools/triangulation.h"

namespace kavrel::tool {

class DictionaryBuilder {
public:
    enum class AddResult { kAdded, kMerged, kNoHeadword, kNoTranslation };

    // How the reversed translations' language capitalises, and how common its words are
    // (not owned; it must outlive the builder's PlainText; nullptr: all words alike).
    void SetCaseRule(CaseRule rule) { caseRule_ = rule; }
    void SetCommonness(const Commonness* commonness) { commonness_ = commonness; }
    // The translations pivot languages give (not owned, as above; nullptr: none).
    void SetTriangulation(const Triangulation* triangulation) { triangulation_ = triangulation; }

    // Adds a headword (1254) with its translations (1254) from a source that has the headword,
    // after cleaning both with CleanHeadword / CleanTranslation; empty translations are ignored.
    // senses gives each translation's sense (1-based; empty: each its own), which the order
    // keeps; they come before any reversed translation.
    AddResult Add(std::string_view headword, const std::vector<std::string>& translations,
                  const std::vector<size_t>& senses = {});

    // Adds one pair found by reversing a foreign entry: the Turkish word (the headword here),
    // the foreign headword (its translation here), the 1-based sense of the foreign entry
    // that gives the Turkish word and the word's 1-based place among all its translations;
    // rare: that sense is labelled archaic or rare.
    AddResult AddReversed(std::string_view headword, std::string_view translation, size_t sense, size_t position,
                          bool rare = false);

    // Adds the Turkish headwords of the pivot files that no source has, where enough pivot
    // languages agree on a translation; returns how many.
    size_t AddTriangulatedHeadwords();

    size_t EntryCount() const { return entries_.size(); }

    // Every entry as "headword|t1, t2" followed by LF CR, in byte order of the keys.
    std::string PlainText() const;

    // A headword as a line can hold it: "|" (which ends a headword) becomes "/", CR and LF
    // become blanks, blanks collapse.
    static std::string CleanHeadword(std::string_view headword);
    // A translation as one row: "," and ";" (which would split it into rows) become " /",
    // CR and LF become blanks, blanks collapse.
    static std::string CleanTranslation(std::string_view translation);

private:
    // The best standing of a Turkish word in a foreign entry: (sense, position), 0 for none;
    // a sense labelled archaic or rare stands below any other.
    struct Standing {
        size_t sense = 0;
        size_t position = 0;
        bool rare = false;
        void Improve(size_t s, size_t p, bool r) {
            if (sense == 0 || std::tuple(r, s, p) < std::tuple(rare, sense, position)) *this = {s, p, r};
        }
    };
    struct Reversed {
        Standing viaLowerCase;  // through the Turkish word written in lower case
        Standing viaCapital;    // through the Turkish word capitalised
    };
    // The forms the sources wrote a headword in: the first of each case and how often.
    struct Forms {
        std::string direct;  // from a direct source: always shown
        std::string lower;
        std::string capital;
        size_t lowerCount = 0;
        size_t capitalCount = 0;
        bool MainIsLower() const { return lowerCount >= capitalCount; }
        const std::string& Shown() const;
    };
    struct Entry {
        Forms forms;
        std::vector<DirectTranslation> translations;  // direct, in first-seen order
        size_t directSenses = 0;                      // numbers DirectTranslation::sense
        std::unordered_set<std::string> known;
        std::unordered_map<std::string, Reversed> reversed;  // by text
    };

    // The entry of a cleaned headword, created when new, with the form counted.
    Entry& EntryOf(std::string headword, bool direct, bool& isNew);
    RankingInput RankingInputOf(const std::string& key, const Entry& entry) const;
    void AddPivotEvidence(const std::string& key, RankingInput& input) const;

    std::map<std::string, Entry> entries_;  // by key; std::string orders bytes as unsigned
    CaseRule caseRule_ = CaseRule::kNouns;
    const Commonness* commonness_ = nullptr;
    const Triangulation* triangulation_ = nullptr;
};

}  // namespace kavrel::tool
