// The plain text a save writes: every entry of a word table as a line, in the table's own
// order, with the percent progress a save shows while the text is built.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/word_table.h"

namespace kavrel {

// The lines are gathered in chunks; a chunk that grows beyond this many characters is
// flushed, and a flush is when the progress is reported.
inline constexpr size_t kSaveChunkChars = 10000;

// Called at a chunk flush with 100 * (entries written) / (entries), the remainder dropped,
// whenever that differs from the value reported before (so at most 101 times).
using SavePercentSink = std::function<void(int percent)>;

// Every entry as headword, "|", translations and LF CR, in the table's own order; a line
// without "|" is written as "|" + line, which is how the loader files it. Throws
// std::bad_alloc or std::length_error when the text cannot be held.
std::string BuildDictionaryText(const WordTable& table, const SavePercentSink& onPercent = {});

// The same text scrambled as a data file holds it: each chunk is scrambled as soon as it is
// flushed, while it is still in the cache, instead of in a pass of its own afterwards.
std::string BuildScrambledDictionaryText(const WordTable& table, const SavePercentSink& onPercent = {});

}  // namespace kavrel
