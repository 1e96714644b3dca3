// kavrel_bench, crafted keys: a text of keys crafted to collide under the old unkeyed hash
// loaded against an ordinary text of as many entries, back to back.
#include <chrono>
#include <string>
#include <utility>

#include "core/dictionary_load.h"
#include "tools/bench/bench_scenario.h"

namespace kavrel::bench {
namespace {

double TimedLoadMs(const std::string& plain) {
    std::string copy = plain;  // the copy stays outside the timing
    WordTable table;
    const auto start = std::chrono::steady_clock::now();
    LoadDictionaryText(std::move(copy), table, nullptr);
    const double ms = MillisecondsSince(start);
    benchmark::DoNotOptimize(table.Count());
    return ms;
}

}  // namespace

// The crafted and the ordinary text loaded in turns.
void BenchCraftedAgainstOrdinary(benchmark::State& state, const CraftedPair* texts) {
    static size_t turn = 0;
    TimeInTurns(
        state, turn, [&] { return TimedLoadMs(texts->crafted); }, [&] { return TimedLoadMs(texts->ordinary); },
        "crafted_ms", "ordinary_ms", "crafted_over_ordinary");
}

}  // namespace kavrel::bench
