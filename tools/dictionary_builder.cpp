// Merging entries by key and writing them as a sorted plain text.
#include "tools/dictionary_builder.h"

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

}  // namespace

std::string DictionaryBuilder::CleanHeadword(std::string_view headword) {
    return CollapseSpaces(Replaced(Replaced(headword, "\r\n", " "), "|", "/"));
}

std::string DictionaryBuilder::CleanTranslation(std::string_view translation) {
    return CollapseSpaces(Replaced(Replaced(translation, "\r\n", " "), ",;", " /"));
}

DictionaryBuilder::AddResult DictionaryBuilder::Add(std::string_view headword,
                                                    const std::vector<std::string>& translations) {
    std::string cleanHeadword = CleanHeadword(headword);
    if (cleanHeadword.empty()) return AddResult::kNoHeadword;
    std::vector<std::string> cleanTranslations;
    for (const std::string& translation : translations) {
        std::string clean = CleanTranslation(translation);
        if (!clean.empty()) cleanTranslations.push_back(std::move(clean));
    }
    if (cleanTranslations.empty()) return AddResult::kNoTranslation;

    const auto [it, isNew] = entries_.try_emplace(LowerCopy1254(cleanHeadword));
    Entry& entry = it->second;
    if (isNew) entry.headword = std::move(cleanHeadword);
    for (std::string& translation : cleanTranslations) {
        if (entry.known.insert(translation).second) entry.translations.push_back(std::move(translation));
    }
    return isNew ? AddResult::kAdded : AddResult::kMerged;
}

std::string DictionaryBuilder::PlainText() const {
    std::string text;
    for (const auto& [key, entry] : entries_) {
        text += entry.headword;
        text += '|';
        for (size_t i = 0; i < entry.translations.size(); ++i) {
            if (i > 0) text += ", ";
            text += entry.translations[i];
        }
        text += kLineEnd;
    }
    return text;
}

}  // namespace kavrel::tool
