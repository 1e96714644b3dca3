// Loading walks the adopted text once: for each line one search for "|", one lower-cased
// hash and one store; progress is a comparison against the next percent threshold.
#include "core/dictionary_load.h"

#include <algorithm>

#include "core/entry_text.h"

namespace kavrel {
namespace {

// A cheap guess of the number of lines, to size the table once: LF-ended files have one
// LF per line, CR-only files one CR.
size_t EstimateLines(std::string_view text) {
    const auto lf = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (lf != 0) return lf + 1;
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) + 1;
}

constexpr size_t kLinesBetweenCancelChecks = 1024;

}  // namespace

bool LoadDictionaryText(std::string plain, WordTable& table, const PercentSink& onPercent,
                        const std::atomic<bool>* cancel) {
    plain.resize(LengthBeforeZero(plain));
    LoadProgress progress(plain.size());
    const size_t expected = EstimateLines(plain);
    table.AdoptText(std::move(plain), expected);
    const std::string_view text = table.Text();
    size_t untilCheck = kLinesBetweenCancelChecks;
    bool cancelled = false;
    ForEachLine(text, [&](std::string_view line) {
        table.FileLineOfText(static_cast<size_t>(line.data() - text.data()), line.size());
        if (progress.AddLine(line.size()) && onPercent) onPercent(progress.Percent());
        if (--untilCheck == 0) {
            untilCheck = kLinesBetweenCancelChecks;
            cancelled = cancel != nullptr && cancel->load(std::memory_order_relaxed);
        }
        return !cancelled;
    });
    return !cancelled;
}

std::string BuildDictionaryText(const WordTable& table) {
    size_t size = 0;
    table.ForEach([&](std::string_view line) { size += line.size() + 3; });
    std::string text;
    text.reserve(size);
    table.ForEach([&](std::string_view line) {
        const EntryParts parts = SplitEntry(line);
        text.append(parts.headword).append("|").append(parts.translations).append(kLineEnd);
    });
    return text;
}

}  // namespace kavrel
