// Turning the unscrambled text of a data file into a word table, with the percent progress
// a load shows and a way to stop between lines.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "core/word_table.h"

namespace kavrel {

// Called with the new percentage whenever it changes (first line included).
using PercentSink = std::function<void(int percent)>;

// Files every line of plain (up to its first zero byte) into table, which must be empty,
// later lines replacing earlier ones under the same key. Returns false when cancel was
// raised before the end; the table then holds the lines read so far.
bool LoadDictionaryText(std::string plain, WordTable& table, const PercentSink& onPercent,
                        const std::atomic<bool>* cancel = nullptr);

}  // namespace kavrel
