// Loading walks the text once in reading order: for each line one search for "|", one
// lower-cased hash and a record of where the line is; progress is a comparison against the
// next percent threshold. The table is then built from the records in one pass (see
// WordTable::Build). Lines replaced by later ones of the same key are dropped now and then
// along the way, so a file of many repeated lines never holds a record for each.
#include "core/dictionary_load.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

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
// Records held before the replaced ones are dropped, at the least: 12 MB of them.
constexpr size_t kRecordsBeforeDropping = size_t{1} << 20;

}  // namespace

bool LoadDictionaryText(std::string plain, WordTable& table, const PercentSink& onPercent,
                        const std::atomic<bool>* cancel) {
    plain.resize(LengthBeforeZero(plain));  // a line then ends at a line end or at the text's end
    if (plain.size() > WordTable::kMaximumTextBytes) throw std::length_error("dictionary text too large");
    table.RemoveAll();  // under a new hash key
    const size_t expected = EstimateEntries(plain);
    std::vector<WordTable::SourceLine> lines;
    lines.reserve(std::min(expected, plain.size() / 2 + 1));
    size_t dropAt = std::max(kRecordsBeforeDropping, 2 * expected);
    LoadProgress progress(plain.size());
    size_t untilCheck = kLinesBetweenCancelChecks;
    bool cancelled = false;
    ForEachLine(plain, [&](std::string_view line) {
        lines.push_back({static_cast<uint32_t>(line.data() - plain.data()), static_cast<uint32_t>(line.size()),
                         table.HashKey(KeyOfLine(line))});
        if (progress.AddLine(line.size()) && onPercent) onPercent(progress.Percent());
        if (lines.size() >= dropAt) {
            table.DropReplaced(plain, lines);
            dropAt = std::max(dropAt, 2 * lines.size());
        }
        if (--untilCheck == 0) {
            untilCheck = kLinesBetweenCancelChecks;
            cancelled = cancel != nullptr && cancel->load(std::memory_order_relaxed);
        }
        return !cancelled;
    });
    table.Build(plain, lines);  // the lines already read belong to the table, cancelled or not
    return !cancelled;
}

}  // namespace kavrel
