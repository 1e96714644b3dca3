// Translations found through third languages: Turkish word -> pivot word (a Kavrel data file
// of Turkish into the pivot language) -> target word (dictionaries of the pivot language
// into the target). Two pivot languages that agree on a target word are two independent
// witnesses; the ranking uses them to confirm reversed rows and to add rows no source gives.
// A pivot whose sources' licence the data file cannot take is a witness only: it orders and
// confirms, but no row comes from it alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kavrel::tool {

// The first rows of a Turkish entry that stand for its main senses in the pivot language.
inline constexpr size_t kPivotRowsPerWord = 3;
// A pivot language is a bit of a mask; more would be no evidence a reader could follow.
inline constexpr size_t kMostPivotLanguages = 16;

struct PivotCandidate {
    std::string text;        // the target word as the first pivot that gives it writes it (1254),
                             // a pivot that may give rows before a witness
    uint32_t languages = 0;  // mask of the pivot languages that give it
    bool mayBeRow = false;   // a pivot that may give rows reaches it
};

class Triangulation {
public:
    // Starts a pivot language from the plain text (1254) of a Turkish -> pivot data file: its
    // entries' first kPivotRowsPerWord rows are the pivot words. Returns its number, for
    // AddPivotPair. givesRows false: a witness only. Throws ToolError past kMostPivotLanguages.
    size_t AddPivotLanguage(std::string_view turkishToPivotPlain, bool givesRows = true);

    // True when the pivot language uses this pivot word (1254, any case): only those pairs
    // are worth reading from a large dictionary.
    bool Wants(size_t language, std::string_view pivotWord) const;

    // One translation of a pivot word into the target language (1254). Part-of-speech tags
    // ("door <n>") are left out; a pivot word the language does not use is ignored.
    void AddPivotPair(size_t language, std::string_view pivotWord, std::string_view targetWord);

    // The target words the pivot languages give a Turkish word (1254, any case), each once
    // whatever its case, in the order first found; empty when there are none.
    std::vector<PivotCandidate> CandidatesOf(std::string_view turkishWord) const;

    // The Turkish headwords of the pivot files (as written there), in byte order of their keys.
    std::vector<std::string> TurkishHeadwords() const;

private:
    struct Language {
        bool givesRows = true;
        // Turkish key -> lower-cased pivot words of its first rows.
        std::unordered_map<std::string, std::vector<std::string>> pivotWordsOf;
        std::unordered_set<std::string> pivotWords;
        // Lower-cased pivot word -> its target words as written, each once.
        std::unordered_map<std::string, std::vector<std::string>> targetsOf;
    };
    std::vector<Language> languages_;
    std::unordered_map<std::string, std::string> turkishHeadwords_;  // key -> form
};

// The number of pivot languages in a mask.
size_t PivotCount(uint32_t languages);

}  // namespace kavrel::tool
