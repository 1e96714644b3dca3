// Loading walks the adopted text once: for each line one search for "|", one lower-cased
// hash and one store; progress is a comparison against the next percent threshold.
// The slot array is far larger than the caches, so a line is filed only kLinesAhead lines
// after it was hashed and its slot prefetched: by then the slot is usually in cache.
#include "core/dictionary_load.h"

#include <algorithm>

#include "core/entry_text.h"

namespace kavrel {
namespace {

// A cheap guess of the number of entries, to size the table once: LF-ended files have one
// LF per line, CR-only files one CR (counted only when the LFs are fewer than the bars, so
// a usual file is read once for each). Every entry but the one under "" needs a "|" of its
// own, so a text of few bars holds few entries however many line ends it has.
size_t EstimateEntries(std::string_view text) {
    const auto count = [&](char c) { return static_cast<size_t>(std::count(text.begin(), text.end(), c)); };
    const size_t bars = count('|');
    size_t lines = count('\n');
    if (lines < bars) lines = std::max(lines, count('\r'));
    return std::min(lines, bars) + 1;
}

constexpr size_t kLinesBetweenCancelChecks = 1024;
constexpr size_t kLinesAhead = 16;  // a power of two; enough to cover one memory latency

struct PendingLine {
    size_t offset;
    size_t length;
    uint32_t keyHash;
};

// Lines hashed and prefetched but not yet filed, filed in the order they were read so a
// later line still replaces an earlier one.
class LineQueue {
public:
    LineQueue(WordTable& table, LoadProgress& progress, const PercentSink& onPercent)
        : table_(table), progress_(progress), onPercent_(onPercent) {}

    void Push(const PendingLine& line) {
        table_.PrefetchSlot(line.keyHash);
        if (pending_ == kLinesAhead) FileOldest();
        ring_[(first_ + pending_) % kLinesAhead] = line;
        ++pending_;
    }
    void FileAll() {
        while (pending_ != 0) FileOldest();
    }

private:
    void FileOldest() {
        const PendingLine& line = ring_[first_];
        table_.FileLineOfText(line.offset, line.length, line.keyHash);
        if (progress_.AddLine(line.length) && onPercent_) onPercent_(progress_.Percent());
        first_ = (first_ + 1) % kLinesAhead;
        --pending_;
    }

    WordTable& table_;
    LoadProgress& progress_;
    const PercentSink& onPercent_;
    PendingLine ring_[kLinesAhead];
    size_t first_ = 0;
    size_t pending_ = 0;
};

}  // namespace

bool LoadDictionaryText(std::string plain, WordTable& table, const PercentSink& onPercent,
                        const std::atomic<bool>* cancel) {
    const size_t expected = EstimateEntries(std::string_view(plain.data(), LengthBeforeZero(plain)));
    table.AdoptText(std::move(plain), expected);  // the text ends at its first zero
    const std::string_view text = table.Text();
    LoadProgress progress(text.size());
    LineQueue queue(table, progress, onPercent);
    size_t untilCheck = kLinesBetweenCancelChecks;
    bool cancelled = false;
    ForEachLine(text, [&](std::string_view line) {
        queue.Push({static_cast<size_t>(line.data() - text.data()), line.size(),
                    table.HashKey(KeyOfLine(line))});
        if (--untilCheck == 0) {
            untilCheck = kLinesBetweenCancelChecks;
            cancelled = cancel != nullptr && cancel->load(std::memory_order_relaxed);
        }
        return !cancelled;
    });
    queue.FileAll();  // the lines already read belong to the table, cancelled or not
    return !cancelled;
}

}  // namespace kavrel
