// kavrel_bench: load, lookup, save, edits and memory of the word table on a 1M-entry
// synthetic data file and a real-sized one, against the floor of the same run (for the
// lookups: one dependent memory read over a buffer of the table's size) and a
// std::unordered_map baseline; and the load of keys crafted to collide against an ordinary
// file of the same size.
// Prints a short table and writes the medians as JSON (--json=PATH or KAVREL_BENCH_JSON).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "tools/bench/bench_data.h"
#include "tools/bench/bench_report.h"
#include "tools/bench/bench_scenario.h"
#include "tools/bench/crafted_keys.h"

namespace kavrel::bench {
namespace {

void Register(Scenario& s) {
    const std::string prefix = s.label + "/";
    benchmark::RegisterBenchmark((prefix + "load").c_str(), BenchLoadAgainstFloor, &s)
        ->Iterations(s.loadsPerRepetition)->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark((prefix + "save").c_str(), BenchSaveAgainstLoad, &s)
        ->Iterations(s.loadsPerRepetition)->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark((prefix + "edit").c_str(), BenchEdits, &s)->Iterations(1)->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark((prefix + "map_load").c_str(), BenchMapLoad, &s)
        ->Iterations(s.loadsPerRepetition)->Repetitions(5);
    benchmark::RegisterBenchmark((prefix + "lookup").c_str(), BenchLookupAgainstMiss, &s)
        ->Iterations(8)->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark((prefix + "map_lookup").c_str(), BenchMapLookup, &s)
        ->MinTime(0.15)->Repetitions(5);
}

// Takes our own --json= and --data-dir= out of argv before Google Benchmark sees it.
std::string TakeOption(int& argc, char** argv, std::string_view name, const char* environment,
                       std::string fallback) {
    std::string value = fallback;
    if (const char* fromEnvironment = std::getenv(environment)) value = fromEnvironment;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.substr(0, name.size()) == name) value = std::string(argument.substr(name.size()));
        else argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

int Run(int argc, char** argv) {
    const std::string jsonPath = TakeOption(argc, argv, "--json=", "KAVREL_BENCH_JSON", "bench.json");
    const std::string dataDir = TakeOption(argc, argv, "--data-dir=", "KAVREL_BENCH_DATA", "bench-data");
    benchmark::Initialize(&argc, argv);

    auto big = std::make_unique<Scenario>();
    big->label = "1M";
    big->entries = 1'000'000;
    auto real = std::make_unique<Scenario>();
    real->label = "20K";
    real->entries = 20'000;
    real->loadsPerRepetition = 40;
    for (Scenario* s : {big.get(), real.get()}) {
        Prepare(*s, dataDir);
        Register(*s);
    }
    const CraftedPair crafted{MakeCraftedText(kCraftedEntries), MakeOrdinaryText(kCraftedEntries)};
    benchmark::RegisterBenchmark("crafted/load", BenchCraftedAgainstOrdinary, &crafted)
        ->Iterations(kCraftedLoadsPerRepetition)->Repetitions(kRepetitions);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    const Figures bigFigures = Summarise(*big, collector);
    const Figures realFigures = Summarise(*real, collector);
    const CraftedFigures craftedFigures = SummariseCrafted(crafted, collector);
    PrintTable(bigFigures, realFigures);
    PrintCrafted(craftedFigures);
    WriteJson(jsonPath, bigFigures, realFigures, craftedFigures);
    std::printf("wrote %s\n", jsonPath.c_str());
    return 0;
}

}  // namespace
}  // namespace kavrel::bench

int main(int argc, char** argv) {
    try {
        return kavrel::bench::Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kavrel_bench: %s\n", error.what());
        return 1;
    }
}
