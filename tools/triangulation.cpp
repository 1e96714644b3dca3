// Collecting the pivot languages' evidence and looking it up for one Turkish word.
#include "tools/triangulation.h"

#include <algorithm>
#include <bit>
#include <map>

#include "core/cp1254.h"
#include "core/entry_text.h"
#include "tools/source_entry.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

// The text without "<...>" tags, blanks collapsed; an unclosed "<" ends the text.
std::string WithoutTags(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t open = text.find('<', at);
        out.append(text.substr(at, open - at));
        if (open == std::string_view::npos) break;
        const size_t close = text.find('>', open);
        if (close == std::string_view::npos) break;
        out += ' ';
        at = close + 1;
    }
    return CollapseSpaces(out);
}

}  // namespace

size_t PivotCount(uint32_t languages) { return static_cast<size_t>(std::popcount(languages)); }

size_t Triangulation::AddPivotLanguage(std::string_view turkishToPivotPlain, bool givesRows) {
    if (languages_.size() == kMostPivotLanguages) {
        throw ToolError("import: more than " + std::to_string(kMostPivotLanguages) + " pivot languages");
    }
    Language& language = languages_.emplace_back();
    language.givesRows = givesRows;
    ForEachLine(turkishToPivotPlain, [&](std::string_view line) {
        const EntryParts parts = SplitEntry(line);
        std::string key = LowerCopy1254(parts.headword);
        if (key.empty()) return;
        std::vector<std::string>& words = language.pivotWordsOf[key];
        for (const std::string& row : SplitTranslations(parts.translations)) {
            if (words.size() == kPivotRowsPerWord) break;
            std::string word = LowerCopy1254(CollapseSpaces(row));
            if (word.empty()) continue;
            language.pivotWords.insert(word);
            words.push_back(std::move(word));
        }
        turkishHeadwords_.try_emplace(std::move(key), CollapseSpaces(parts.headword));
    });
    return languages_.size() - 1;
}

bool Triangulation::Wants(size_t language, std::string_view pivotWord) const {
    return languages_.at(language).pivotWords.contains(LowerCopy1254(CollapseSpaces(pivotWord)));
}

void Triangulation::AddPivotPair(size_t language, std::string_view pivotWord, std::string_view targetWord) {
    Language& pivot = languages_.at(language);
    std::string key = LowerCopy1254(CollapseSpaces(pivotWord));
    if (!pivot.pivotWords.contains(key)) return;
    std::string target = WithoutTags(targetWord);
    if (target.empty()) return;
    std::vector<std::string>& targets = pivot.targetsOf[std::move(key)];
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(std::move(target));
}

std::vector<PivotCandidate> Triangulation::CandidatesOf(std::string_view turkishWord) const {
    const std::string key = LowerCopy1254(turkishWord);
    std::vector<PivotCandidate> candidates;
    std::unordered_map<std::string, size_t> byLowerText;
    for (size_t i = 0; i < languages_.size(); ++i) {
        const Language& language = languages_[i];
        const auto words = language.pivotWordsOf.find(key);
        if (words == language.pivotWordsOf.end()) continue;
        for (const std::string& word : words->second) {
            const auto targets = language.targetsOf.find(word);
            if (targets == language.targetsOf.end()) continue;
            for (const std::string& target : targets->second) {
                const auto [it, isNew] = byLowerText.try_emplace(LowerCopy1254(target), candidates.size());
                if (isNew) candidates.push_back({target, 0, false});
                PivotCandidate& candidate = candidates[it->second];
                candidate.languages |= uint32_t{1} << i;
                if (language.givesRows && !candidate.mayBeRow) candidate.text = target;
                candidate.mayBeRow = candidate.mayBeRow || language.givesRows;
            }
        }
    }
    return candidates;
}

std::vector<std::string> Triangulation::TurkishHeadwords() const {
    const std::map<std::string, std::string> sorted(turkishHeadwords_.begin(), turkishHeadwords_.end());
    std::vector<std::string> headwords;
    for (const auto& [key, form] : sorted) headwords.push_back(form);
    return headwords;
}

}  // namespace kavrel::tool
