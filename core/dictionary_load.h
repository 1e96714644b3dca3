// Turning the unscrambled text of a data file into a word table, with the percent progress
// a load shows and a way to stop between lines.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

#include "core/word_table.h"

namespace kavrel {

// Percent progress of a load over a text of length L: every line adds its length plus 2
// (one two-byte line end, whatever the file really holds). AddLine() is true for the first
// line and whenever the truncated percentage changes, which is when a caption must be set.
class LoadProgress {
public:
    explicit LoadProgress(size_t textLength) : length_(textLength) {}

    // Counts one line; true when Percent() differs from the last value reported.
    bool AddLine(size_t lineLength) {
        processed_ += static_cast<unsigned long long>(lineLength) + 2;
        if (processed_ < nextReport_) return false;
        percent_ = static_cast<int>(processed_ * 100 / length_);
        nextReport_ = (static_cast<unsigned long long>(percent_ + 1) * length_ + 99) / 100;
        return true;
    }
    int Percent() const { return percent_; }

private:
    unsigned long long length_;
    unsigned long long processed_ = 0;
    unsigned long long nextReport_ = 0;  // the first total whose percentage is new
    int percent_ = -1;
};

// Called with the new percentage whenever it changes (first line included).
using PercentSink = std::function<void(int percent)>;

// Files every line of plain (up to its first zero byte) into table, which must be empty,
// later lines replacing earlier ones under the same key. Returns false when cancel was
// raised before the end; the table then holds the lines read so far.
bool LoadDictionaryText(std::string plain, WordTable& table, const PercentSink& onPercent,
                        const std::atomic<bool>* cancel = nullptr);

}  // namespace kavrel
