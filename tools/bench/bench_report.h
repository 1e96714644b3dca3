// kavrel_bench's report: every repetition's figures collected by benchmark name, their
// medians summed up per file, printed as a table and written as build/bench.json.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/bench/bench_scenario.h"

namespace kavrel::bench {

// Keeps every repetition's figures by benchmark name instead of printing them.
class Collector : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto& figures = samples_[run.run_name.function_name];
            figures["real_ns"].push_back(run.GetAdjustedRealTime());  // time unit: ns
            for (const auto& [name, counter] : run.counters) figures[name].push_back(counter.value);
        }
    }
    // Median of one figure over the repetitions of a benchmark; NaN when it did not run
    // (a --benchmark_filter can leave some out).
    double Median(const std::string& benchmark, const std::string& figure) const {
        const auto runs = samples_.find(benchmark);
        if (runs == samples_.end() || runs->second.count(figure) == 0) return std::nan("");
        std::vector<double> values = runs->second.at(figure);
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }

private:
    std::map<std::string, std::map<std::string, std::vector<double>>> samples_;
};

struct Figures {
    size_t entries = 0, keys = 0, fileBytes = 0, tableBytes = 0, heapGrowth = 0, rssGrowth = 0;
    double loadMs = 0, floorMs = 0, loadOverFloor = 0, lookupNs = 0, missNs = 0, lookupOverMiss = 0;
    double mapLoadMs = 0, mapLookupNs = 0;
    size_t mapHeapGrowth = 0;
    double saveMs = 0, saveLoadMs = 0, saveOverLoad = 0, editUs = 0;
    size_t editHeapGrowth = 0, editTableGrowth = 0;
};

Figures Summarise(const Scenario& s, const Collector& c);

struct CraftedFigures {
    size_t entries = kCraftedEntries, fileBytes = 0;
    double craftedMs = 0, ordinaryMs = 0, craftedOverOrdinary = 0;
};

CraftedFigures SummariseCrafted(const CraftedPair& texts, const Collector& c);

void WriteJson(const std::string& path, const Figures& big, const Figures& real, const CraftedFigures& crafted);
void PrintTable(const Figures& big, const Figures& real);
void PrintCrafted(const CraftedFigures& f);

}  // namespace kavrel::bench
