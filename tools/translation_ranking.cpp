// Ranking an entry's translations and leaving out the noise of reversal.
#include "tools/translation_ranking.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "core/cp1254.h"

namespace kavrel::tool {

namespace {

// The independent sources that give a reversed row: the reversed source and each pivot
// language that gives it too.
size_t Witnesses(const ReversedTranslation& row) { return 1 + row.pivots; }

bool RanksBefore(const ReversedTranslation& a, const ReversedTranslation& b) {
    if (a.viaMainForm != b.viaMainForm) return a.viaMainForm;
    if (a.rare != b.rare) return b.rare;
    if (Witnesses(a) != Witnesses(b)) return Witnesses(a) > Witnesses(b);
    if (a.sense != b.sense) return a.sense < b.sense;
    if (a.commonness != b.commonness) return a.commonness > b.commonness;
    if (a.position != b.position) return a.position < b.position;
    return a.text < b.text;
}

bool IsNoise(const std::string& text, const RankingInput& input) {
    if (input.oneWordHeadword && WordCount(text) > kMostWordsForOneWord) return true;
    return input.caseRule == CaseRule::kNamesOnly && input.lowerCaseHeadword && StartsWithCapital1254(text);
}

// The reversed rows in their order, with the rows that only pivot languages give (enough of
// them) placed by their witnesses: after the reversed rows with as many, before those with
// fewer, and before any of a rare sense or that came through the headword's other form.
std::vector<std::string> ReversedAndTriangulated(RankingInput& input) {
    std::vector<ReversedTranslation>& reversed = input.reversed;
    std::sort(reversed.begin(), reversed.end(), RanksBefore);
    std::vector<TriangulatedTranslation>& triangulated = input.triangulated;
    std::erase_if(triangulated, [](const auto& row) { return row.pivots < kLeastPivotsAlone; });
    std::sort(triangulated.begin(), triangulated.end(), [](const auto& a, const auto& b) {
        if (a.pivots != b.pivots) return a.pivots > b.pivots;
        if (a.commonness != b.commonness) return a.commonness > b.commonness;
        return a.text < b.text;
    });
    std::vector<std::string> rows;
    auto next = reversed.begin();
    for (TriangulatedTranslation& row : triangulated) {
        for (; next != reversed.end() && next->viaMainForm && !next->rare && Witnesses(*next) >= row.pivots; ++next) {
            rows.push_back(std::move(next->text));
        }
        rows.push_back(std::move(row.text));
    }
    for (; next != reversed.end(); ++next) rows.push_back(std::move(next->text));
    return rows;
}

// Of two reversed forms that differ only in case, the one the language would write here.
const std::string& PreferredForm(const std::string& better, const std::string& worse, const RankingInput& input) {
    switch (input.caseRule) {
        case CaseRule::kNouns: return better;
        case CaseRule::kProperWords: return StartsWithCapital1254(better) ? better : worse;
        case CaseRule::kNamesOnly:
            return StartsWithCapital1254(better) != input.lowerCaseHeadword ? better : worse;
    }
    return better;
}

// The reversed rows without those that differ from an earlier row only in letter case: a
// direct row keeps its form and place; of two reversed rows the better place stays, with
// the form the language prefers.
void JoinCaseTwins(const std::vector<std::string>& direct, std::vector<std::string>& reversed,
                   const RankingInput& input) {
    std::unordered_map<std::string, size_t> reversedByKey;
    std::unordered_set<std::string> directKeys;
    for (const std::string& text : direct) directKeys.insert(LowerCopy1254(text));
    std::vector<std::string> kept;
    for (std::string& text : reversed) {
        std::string key = LowerCopy1254(text);
        if (directKeys.contains(key)) continue;
        const auto [twin, isNew] = reversedByKey.try_emplace(std::move(key), kept.size());
        if (isNew) {
            kept.push_back(std::move(text));
        } else {
            kept[twin->second] = PreferredForm(kept[twin->second], text, input);
        }
    }
    reversed = std::move(kept);
}

}  // namespace

bool StartsWithCapital1254(std::string_view text) {
    if (text.empty()) return false;
    const char first = text.front();
    return static_cast<unsigned char>(first) == 0xDD || LowerChar1254(first) != first;
}

size_t WordCount(std::string_view text) {
    text = text.substr(0, text.find(" / "));
    size_t words = 0;
    bool inWord = false;
    for (char c : text) {
        const bool blank = c == ' ';
        if (!blank && !inWord) ++words;
        inWord = !blank;
    }
    return words;
}

std::vector<std::string> RankTranslations(RankingInput input) {
    std::stable_sort(input.direct.begin(), input.direct.end(), [](const auto& a, const auto& b) {
        if (a.sense != b.sense) return a.sense < b.sense;
        if (a.pivots != b.pivots) return a.pivots > b.pivots;
        if (a.reversedSense != b.reversedSense) return a.reversedSense - 1 < b.reversedSense - 1;  // 0 wraps: last
        return a.commonness > b.commonness;
    });
    std::vector<std::string> rows;
    for (DirectTranslation& row : input.direct) rows.push_back(std::move(row.text));

    std::vector<std::string> candidates = ReversedAndTriangulated(input);
    bool keepsSoundRow = !rows.empty();
    for (const std::string& text : candidates) keepsSoundRow = keepsSoundRow || !IsNoise(text, input);
    std::vector<std::string> ranked;
    for (std::string& text : candidates) {
        if (!keepsSoundRow || !IsNoise(text, input)) ranked.push_back(std::move(text));
    }
    JoinCaseTwins(rows, ranked, input);
    rows.insert(rows.end(), std::make_move_iterator(ranked.begin()), std::make_move_iterator(ranked.end()));
    return rows;
}

}  // namespace kavrel::tool
