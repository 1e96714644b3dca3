// Merging entries by key and writing them as a sorted plain text.
#include "tools/dictionary_builder.h"

#include <algorithm>
#include <unordered_set>

#include "core/cp1254.h"
#include "core/entry_text.h"
#include "tools/source_entry.h"

namespace kavrel::tool {

namespace {

std::string Replaced(std::string_view text, std::string_view bytes, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (bytes.find(c) == std::string_view::npos) {
            out += c;
        } else {
            out += replacement;
        }
    }
    return out;
}

// Gives each direct row the best sense in which a reversed source gives the headword for it
// too, through the headword's main form, whatever the letter case.
void MarkReversedSenses(RankingInput& input) {
    std::unordered_map<std::string, size_t> senses;
    for (const ReversedTranslation& row : input.reversed) {
        if (!row.viaMainForm || row.rare) continue;
        const auto [it, isNew] = senses.try_emplace(LowerCopy1254(row.text), row.sense);
        if (!isNew) it->second = std::min(it->second, row.sense);
    }
    for (DirectTranslation& row : input.direct) {
        if (const auto it = senses.find(LowerCopy1254(row.text)); it != senses.end()) row.reversedSense = it->second;
    }
}

}  // namespace

std::string DictionaryBuilder::CleanHeadword(std::string_view headword) {
    return CollapseSpaces(Replaced(Replaced(headword, "\r\n", " "), "|", "/"));
}

std::string DictionaryBuilder::CleanTranslation(std::string_view translation) {
    return CollapseSpaces(Replaced(Replaced(translation, "\r\n", " "), ",;", " /"));
}

const std::string& DictionaryBuilder::Forms::Shown() const {
    if (!direct.empty()) return direct;
    return MainIsLower() ? lower : capital;
}

DictionaryBuilder::Entry& DictionaryBuilder::EntryOf(std::string headword, bool direct, bool& isNew) {
    auto [it, added] = entries_.try_emplace(LowerCopy1254(headword));
    Forms& forms = it->second.forms;
    isNew = added;
    const bool capital = StartsWithCapital1254(headword);
    ++(capital ? forms.capitalCount : forms.lowerCount);
    std::string& first = direct ? forms.direct : capital ? forms.capital : forms.lower;
    if (first.empty()) first = std::move(headword);
    return it->second;
}

DictionaryBuilder::AddResult DictionaryBuilder::Add(std::string_view headword,
                                                    const std::vector<std::string>& translations,
                                                    const std::vector<size_t>& senses) {
    std::string cleanHeadword = CleanHeadword(headword);
    if (cleanHeadword.empty()) return AddResult::kNoHeadword;
    std::vector<DirectTranslation> cleanTranslations;
    for (size_t i = 0; i < translations.size(); ++i) {
        std::string clean = CleanTranslation(translations[i]);
        const size_t sense = i < senses.size() ? senses[i] : i + 1;
        if (!clean.empty()) cleanTranslations.push_back({std::move(clean), sense, {}, 0});
    }
    if (cleanTranslations.empty()) return AddResult::kNoTranslation;

    bool isNew = false;
    Entry& entry = EntryOf(std::move(cleanHeadword), true, isNew);
    const size_t firstSense = entry.directSenses;
    for (DirectTranslation& translation : cleanTranslations) {
        translation.sense += firstSense;  // senses of a later article rank after the earlier ones
        entry.directSenses = std::max(entry.directSenses, translation.sense);
        if (entry.known.insert(translation.text).second) entry.translations.push_back(std::move(translation));
    }
    return isNew ? AddResult::kAdded : AddResult::kMerged;
}

DictionaryBuilder::AddResult DictionaryBuilder::AddReversed(std::string_view headword, std::string_view translation,
                                                            size_t sense, size_t position, bool rare) {
    std::string cleanHeadword = CleanHeadword(headword);
    if (cleanHeadword.empty()) return AddResult::kNoHeadword;
    std::string cleanTranslation = CleanTranslation(translation);
    if (cleanTranslation.empty()) return AddResult::kNoTranslation;

    const bool viaCapital = StartsWithCapital1254(cleanHeadword);
    bool isNew = false;
    Entry& entry = EntryOf(std::move(cleanHeadword), false, isNew);
    Reversed& row = entry.reversed[std::move(cleanTranslation)];
    (viaCapital ? row.viaCapital : row.viaLowerCase).Improve(sense, position, rare);
    return isNew ? AddResult::kAdded : AddResult::kMerged;
}

size_t DictionaryBuilder::AddTriangulatedHeadwords() {
    if (triangulation_ == nullptr) return 0;
    size_t added = 0;
    for (std::string& headword : triangulation_->TurkishHeadwords()) {
        std::string clean = CleanHeadword(headword);
        if (clean.empty() || entries_.contains(LowerCopy1254(clean))) continue;
        const std::vector<PivotCandidate> candidates = triangulation_->CandidatesOf(clean);
        const bool agreed = std::any_of(candidates.begin(), candidates.end(), [](const PivotCandidate& c) {
            return c.mayBeRow && PivotCount(c.languages) >= kLeastPivotsAlone && !CleanTranslation(c.text).empty();
        });
        if (!agreed) continue;
        bool isNew = false;
        EntryOf(std::move(clean), false, isNew);
        ++added;
    }
    return added;
}

// Marks the rows that pivot languages give too and adds the rows only they give.
void DictionaryBuilder::AddPivotEvidence(const std::string& key, RankingInput& input) const {
    if (triangulation_ == nullptr) return;
    std::unordered_map<std::string, size_t> pivotsByText;
    for (const PivotCandidate& candidate : triangulation_->CandidatesOf(key)) {
        std::string text = CleanTranslation(candidate.text);
        if (!text.empty()) pivotsByText.try_emplace(LowerCopy1254(text), PivotCount(candidate.languages));
        if (text.empty() || !candidate.mayBeRow || PivotCount(candidate.languages) < kLeastPivotsAlone) continue;
        input.triangulated.push_back({std::move(text), PivotCount(candidate.languages), {}});
    }
    std::unordered_set<std::string> given;
    const auto markPivots = [&](auto& rows) {
        for (auto& row : rows) {
            std::string lower = LowerCopy1254(row.text);
            if (const auto it = pivotsByText.find(lower); it != pivotsByText.end()) row.pivots = it->second;
            given.insert(std::move(lower));
        }
    };
    markPivots(input.direct);
    markPivots(input.reversed);
    std::erase_if(input.triangulated, [&](const auto& row) { return given.contains(LowerCopy1254(row.text)); });
}

RankingInput DictionaryBuilder::RankingInputOf(const std::string& key, const Entry& entry) const {
    RankingInput input{entry.translations, {}, entry.forms.MainIsLower(), WordCount(entry.forms.Shown()) == 1,
                       caseRule_, {}};
    for (const auto& [text, origins] : entry.reversed) {
        const Standing& main = input.lowerCaseHeadword ? origins.viaLowerCase : origins.viaCapital;
        const Standing& other = input.lowerCaseHeadword ? origins.viaCapital : origins.viaLowerCase;
        const Standing& standing = main.sense != 0 ? main : other;
        input.reversed.push_back({text, standing.sense, standing.position, main.sense != 0, {}, 0, standing.rare});
    }
    MarkReversedSenses(input);
    AddPivotEvidence(key, input);
    if (commonness_ != nullptr) {
        for (DirectTranslation& row : input.direct) row.commonness = commonness_->Of(row.text);
        for (ReversedTranslation& row : input.reversed) row.commonness = commonness_->Of(row.text);
        for (TriangulatedTranslation& row : input.triangulated) row.commonness = commonness_->Of(row.text);
    }
    return input;
}

std::string DictionaryBuilder::PlainText() const {
    std::string text;
    for (const auto& [key, entry] : entries_) {
        RankingInput input = RankingInputOf(key, entry);
        const std::vector<std::string> rows = RankTranslations(std::move(input));
        text += entry.forms.Shown();
        text += '|';
        for (size_t i = 0; i < rows.size(); ++i) {
            if (i > 0) text += ", ";
            text += rows[i];
        }
        text += kLineEnd;
    }
    return text;
}

}  // namespace kavrel::tool
