// Counting the evidence of how common a word is: dictionary headwords and WordNet's counts.
#include "tools/commonness.h"

#include <algorithm>
#include <limits>

#include "core/cp1254.h"
#include "tools/convert.h"
#include "tools/dictd.h"

namespace kavrel::tool {

namespace {

uint32_t SaturatingAdd(uint32_t a, uint64_t b) {
    const uint64_t sum = static_cast<uint64_t>(a) + b;
    return static_cast<uint32_t>(std::min<uint64_t>(sum, std::numeric_limits<uint32_t>::max()));
}

// A decimal count of at most 9 digits (a bigger one is no count of a real corpus).
bool ParseCount(std::string_view digits, uint64_t& value) {
    if (digits.empty() || digits.size() > 9) return false;
    value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

std::string_view NextField(std::string_view& line) {
    const size_t blank = line.find(' ');
    const std::string_view field = line.substr(0, blank);
    line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    return field;
}

}  // namespace

Commonness::Word& Commonness::WordOf(std::string_view utf8Word) {
    ConversionCounts ignored;
    return scores_[LowerCopy1254(ConvertUtf8To1254Lenient(utf8Word, ignored))];
}

void Commonness::AddDictionaryHeadwords(std::string_view indexText, const std::string& fileName) {
    ++dictionaries_;
    for (const DictdIndexLine& line : ParseDictdIndex(indexText, fileName)) {
        if (IsDictdMetaWord(line.word)) continue;
        Word& word = WordOf(line.word);
        if (word.lastDictionary == dictionaries_) continue;
        word.lastDictionary = dictionaries_;
        word.score.dictionaries = SaturatingAdd(word.score.dictionaries, 1);
    }
}

void Commonness::AddSenseCounts(std::string_view cntlistText) {
    size_t from = 0;
    while (from < cntlistText.size()) {
        size_t end = cntlistText.find('\n', from);
        if (end == std::string_view::npos) end = cntlistText.size();
        std::string_view line = cntlistText.substr(from, end - from);
        from = end + 1;
        const std::string_view senseKey = NextField(line);
        NextField(line);  // the sense number
        uint64_t count = 0;
        const size_t percent = senseKey.find('%');
        if (percent == 0 || percent == std::string_view::npos || !ParseCount(NextField(line), count)) continue;
        std::string lemma(senseKey.substr(0, percent));
        std::replace(lemma.begin(), lemma.end(), '_', ' ');  // WordNet joins the words of a lemma with "_"
        Word& word = WordOf(lemma);
        word.score.senseTags = SaturatingAdd(word.score.senseTags, count);
    }
}

CommonnessScore Commonness::Of(std::string_view word) const {
    const auto it = scores_.find(LowerCopy1254(word));
    return it == scores_.end() ? CommonnessScore{} : it->second.score;
}

}  // namespace kavrel::tool
