// Building the save text. The text is sized once and the lines appended straight into it;
// "the chunk" is the part appended since the last flush, so the big text never grows in
// steps and nothing is copied twice, while flushes fall exactly where chunks would.
#include "core/dictionary_save.h"

#include <cstdint>
#include <stdexcept>

#include "core/entry_text.h"
#include "core/scramble.h"

namespace kavrel {
namespace {

// Room for the save text: each line plus a line end and perhaps a "|" it lacks, bounded
// without reading a line.
size_t SaveTextCapacity(const WordTable& table) {
    const size_t lines = table.LineBytesAtMost();
    const size_t extra = kLineEnd.size() + 1;
    if (table.Count() > (std::string().max_size() - lines) / extra) {
        throw std::length_error("dictionary text too large to save");
    }
    return lines + table.Count() * extra;
}

// The lines in table order; onChunk(begin, length) sees every flushed chunk and, last,
// the rest of the text.
template <class OnChunk>
std::string Build(const WordTable& table, const SavePercentSink& onPercent, OnChunk&& onChunk) {
    std::string text;
    text.reserve(SaveTextCapacity(table));
    const uint64_t entries = table.Count();
    uint64_t progress = 0;  // 100 per entry written
    size_t chunkStart = 0;
    int lastPercent = -1;
    table.ForEach([&](std::string_view line) {
        if (line.find('|') == std::string_view::npos) text.push_back('|');  // as the loader files it
        text.append(line).append(kLineEnd);
        progress += 100;
        if (text.size() - chunkStart > kSaveChunkChars) {
            onChunk(text.data() + chunkStart, text.size() - chunkStart);
            chunkStart = text.size();
            const int percent = static_cast<int>(progress / entries);
            if (percent != lastPercent && onPercent) onPercent(percent);
            lastPercent = percent;
        }
    });
    onChunk(text.data() + chunkStart, text.size() - chunkStart);
    return text;
}

}  // namespace

std::string BuildDictionaryText(const WordTable& table, const SavePercentSink& onPercent) {
    return Build(table, onPercent, [](char*, size_t) {});
}

std::string BuildScrambledDictionaryText(const WordTable& table, const SavePercentSink& onPercent) {
    ScrambleStream stream;
    return Build(table, onPercent, [&](char* chunk, size_t length) { stream.Scramble(chunk, length); });
}

}  // namespace kavrel
