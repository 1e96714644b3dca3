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

// The crafted and the ordinary text loaded back to back, alternating which goes first.
void BenchCraftedAgainstOrdinary(benchmark::State& state, const CraftedPair* texts) {
    double craftedMs = 0, ordinaryMs = 0;
    size_t turn = 0;
    for (auto _ : state) {
        if (turn++ % 2 == 0) {
            craftedMs += TimedLoadMs(texts->crafted);
            ordinaryMs += TimedLoadMs(texts->ordinary);
        } else {
            ordinaryMs += TimedLoadMs(texts->ordinary);
            craftedMs += TimedLoadMs(texts->crafted);
        }
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["crafted_ms"] = craftedMs / n;
    state.counters["ordinary_ms"] = ordinaryMs / n;
    state.counters["crafted_over_ordinary"] = craftedMs / ordinaryMs;
}

}  // namespace kavrel::bench
