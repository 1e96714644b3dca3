// Collects the entries of one data file: headwords filed under the program's key (lower-cased
// with LowerChar1254), colliding headwords merged with their translations united in first-seen
// order, and the whole written as one plain text sorted by key so every run gives the same bytes.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kavrel::tool {

class DictionaryBuilder {
public:
    enum class AddResult { kAdded, kMerged, kNoHeadword, kNoTranslation };

    // Adds a headword (1254) with its translations (1254) after cleaning both with
    // CleanHeadword / CleanTranslation; empty translations are ignored.
    AddResult Add(std::string_view headword, const std::vector<std::string>& translations);

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
    struct Entry {
        std::string headword;  // as first seen
        std::vector<std::string> translations;
        std::unordered_set<std::string> known;
    };

    std::map<std::string, Entry> entries_;  // by key; std::string orders bytes as unsigned
};

}  // namespace kavrel::tool
