// Building the save text. The text is sized once and the lines appended straight into it;
// "the chunk" is the part appended since the last flush, so the big text never grows in
// steps and nothing is copied twice, while flushes fall exactly where chunks would.
#include "core/dictionary_save.h"

#include <cstdint>
#include <stdexcept>

#include "core/entry_text.h"

namespace kavrel {
namespace {

// The exact length of the save text, checked against what a string can hold.
size_t SaveTextLength(const WordTable& table) {
    size_t total = 0;
    bool tooLong = false;
    table.ForEach([&](std::string_view line) {
        const size_t length = line.size() + kLineEnd.size() + (line.find('|') == std::string_view::npos ? 1 : 0);
        if (total > SIZE_MAX - length) tooLong = true;
        total += length;
    });
    if (tooLong || total > std::string().max_size()) throw std::length_error("dictionary text too large to save");
    return total;
}

}  // namespace

std::string BuildDictionaryText(const WordTable& table, const SavePercentSink& onPercent) {
    std::string text;
    text.reserve(SaveTextLength(table));
    const uint64_t entries = table.Count();
    uint64_t progress = 0;  // 100 per entry written
    size_t chunkStart = 0;
    int lastPercent = -1;
    table.ForEach([&](std::string_view line) {
        const EntryParts parts = SplitEntry(line);
        text.append(parts.headword).append("|").append(parts.translations).append(kLineEnd);
        progress += 100;
        if (text.size() - chunkStart > kSaveChunkChars) {
            chunkStart = text.size();
            const int percent = static_cast<int>(progress / entries);
            if (percent != lastPercent && onPercent) onPercent(percent);
            lastPercent = percent;
        }
    });
    return text;
}

}  // namespace kavrel
