// Entry lines and translation rows.
#include "core/entry_text.h"

#include "core/word_table_bytes.h"

namespace kavrel {

EntryParts SplitEntry(std::string_view line) {
    const size_t bar = line.find('|');
    if (bar == std::string_view::npos) return {std::string_view(), line};
    return {line.substr(0, bar), line.substr(bar + 1)};
}

size_t LengthBeforeZero(std::string_view text) {
    return word_bytes::ZeroOffset(text.data(), text.size());
}

std::string ReplaceAll(std::string text, std::string_view find, std::string_view replace) {
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
        result.append(text, from, at - from);
        result.append(replace);
        from = at + find.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string_view TrimAsciiSpace(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitTranslations(std::string_view translations) {
    // Appending "," makes every piece, the last one included, end at a ",".
    const std::string text = ReplaceAll(std::string(translations) + ",", ";", ",");
    std::vector<std::string> rows;
    size_t from = 0;
    for (size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', from)) {
        rows.emplace_back(TrimAsciiSpace(std::string_view(text).substr(from, comma - from)));
        from = comma + 1;
    }
    return rows;
}

}  // namespace kavrel
