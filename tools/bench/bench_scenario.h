// kavrel_bench's shared parts: the file under test, loaded once for the lookups and the
// memory figures; the load as the program does it and the std::unordered_map baseline; the
// clock and the heap; and the benchmarks that each subject's file defines.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/word_table.h"

namespace kavrel::bench {

using PlainMap = std::unordered_map<std::string, std::string>;

constexpr int kRepetitions = 7;
constexpr size_t kQueryCount = size_t{1} << 20;
constexpr size_t kEdits = 1000;
// As many crafted keys as made a load take seconds when the hash had no seed.
constexpr size_t kCraftedEntries = 60'000;
constexpr int kCraftedLoadsPerRepetition = 10;

struct Scenario {
    std::string label;
    size_t entries = 0;
    int loadsPerRepetition = 1;  // small files load many times per timed repetition
    std::string path;
    size_t fileBytes = 0;
    WordTable table;  // loaded once for the lookups and the memory figures
    PlainMap map;
    std::vector<std::string> queries;
    size_t tableHeapGrowth = 0;
    size_t tableRssGrowth = 0;
    size_t mapHeapGrowth = 0;
    // The last run of kEdits changes: what the heap and the table's own count grew by.
    size_t editHeapGrowth = 0;
    size_t editTableGrowth = 0;
};

// ---- the measured paths and the memory (bench_scenario.cpp) ------------------------------

void LoadFile(const std::string& path, WordTable& table);
void LoadMap(const std::string& path, PlainMap& map);
double MillisecondsSince(std::chrono::steady_clock::time_point start);
size_t HeapInUse();
size_t ResidentBytes();
void Prepare(Scenario& s, const std::string& dataDir);
double TimedFileLoadMs(const std::string& path);

// ---- two passes timed in turns ------------------------------------------------------------

// Runs the passes a and b (each returns its time) back to back in every iteration, so that
// their ratio compares two figures taken under the same machine load. Which goes first
// alternates with turn, which the caller keeps across repetitions: a benchmark of one
// iteration per repetition alternates too. Sets the counters aName and bName to the mean
// times and ratioName to a / b.
template <class A, class B>
void TimeInTurns(benchmark::State& state, size_t& turn, A a, B b, const char* aName, const char* bName,
                 const char* ratioName) {
    double aTotal = 0, bTotal = 0;
    for (auto _ : state) {
        if (turn++ % 2 == 0) {
            aTotal += a();
            bTotal += b();
        } else {
            bTotal += b();
            aTotal += a();
        }
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters[aName] = aTotal / n;
    state.counters[bName] = bTotal / n;
    state.counters[ratioName] = aTotal / bTotal;
}

// ---- the benchmarks, registered by bench_main.cpp -----------------------------------------

// bench_load.cpp: the load against its floor, the save against the load, edits, the map.
void BenchLoadAgainstFloor(benchmark::State& state, Scenario* s);
void BenchSaveAgainstLoad(benchmark::State& state, Scenario* s);
void BenchEdits(benchmark::State& state, Scenario* s);
void BenchMapLoad(benchmark::State& state, Scenario* s);

// bench_lookup.cpp: lookups against one dependent memory read, and the map's lookups.
void BenchLookupAgainstMiss(benchmark::State& state, Scenario* s);
void BenchMapLookup(benchmark::State& state, Scenario* s);

// bench_crafted.cpp: keys crafted to collide against an ordinary file of the same size.
struct CraftedPair {
    std::string crafted;
    std::string ordinary;
};
void BenchCraftedAgainstOrdinary(benchmark::State& state, const CraftedPair* texts);

}  // namespace kavrel::bench
