// kavrel_bench: load, lookup, save, edits and memory of the word table on a 1M-entry
// synthetic data file and a real-sized one, against the floor of the same run (for the
// lookups: one dependent memory read over a buffer of the table's size) and a
// std::unordered_map baseline; and the load of keys crafted to collide against an ordinary
// file of the same size.
// Prints a short table and writes the medians as JSON (--json=PATH or KAVREL_BENCH_JSON).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "core/word_table.h"
#include "tools/bench/bench_data.h"
#include "tools/bench/crafted_keys.h"

namespace kavrel::bench {
namespace {

using PlainMap = std::unordered_map<std::string, std::string>;

constexpr int kRepetitions = 7;
constexpr size_t kQueryCount = size_t{1} << 20;
constexpr size_t kEdits = 1000;
// As many crafted keys as made a load take seconds when the hash had no seed.
constexpr size_t kCraftedEntries = 60'000;
constexpr int kCraftedLoadsPerRepetition = 10;

// ---- the measured paths -------------------------------------------------------------------

// The load as the program does it: read, unscramble, file every line.
void LoadFile(const std::string& path, WordTable& table) {
    std::string data = ReadWholeFile(path);
    UnscrambleText(data);
    int lastPercent = -1;
    LoadDictionaryText(std::move(data), table, [&](int percent) { lastPercent = percent; });
    benchmark::DoNotOptimize(lastPercent);
}

// The work no load can skip: the same read, unscramble, line split and key hash, with
// nothing stored. Returns the text so that freeing it stays outside the timing.
std::string FloorPass(const std::string& path, uint32_t& checksum) {
    std::string data = ReadWholeFile(path);
    UnscrambleText(data);
    static const WordTable hasher;  // only its hash is used
    uint32_t sum = 0;
    ForEachLine(data, [&](std::string_view line) { sum += hasher.HashKey(KeyOfLine(line)); });
    checksum = sum;
    return data;
}

// The save as the program does it: the text in the table's order (with its progress),
// scrambled, written beside the target and renamed over it.
void SaveFile(const WordTable& table, const std::string& path) {
    int lastPercent = -1;
    const std::string text = BuildScrambledDictionaryText(table, [&](int percent) { lastPercent = percent; });
    ReplaceFileContents(path, text);
    benchmark::DoNotOptimize(lastPercent);
}

// The baseline: the same lines in a map from lower-cased key to line.
void LoadMap(const std::string& path, PlainMap& map) {
    std::string data = ReadWholeFile(path);
    UnscrambleText(data);
    data.resize(LengthBeforeZero(data));
    ForEachLine(data, [&](std::string_view line) {
        map.insert_or_assign(LowerCopy1254(KeyOfLine(line)), std::string(line));
    });
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// ---- memory -------------------------------------------------------------------------------

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// ---- one file under test ------------------------------------------------------------------

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

// Loads the table and the map once, measuring what the heap and the process grew by.
void Prepare(Scenario& s, const std::string& dataDir) {
    s.path = EnsureDataFile(dataDir, s.entries);
    std::string plain = ReadWholeFile(s.path);  // also warms the page cache
    s.fileBytes = plain.size();
    UnscrambleText(plain);
    s.queries = MakeQueries(plain, kQueryCount);
    plain = std::string();

    const size_t heapBefore = HeapInUse();
    const size_t rssBefore = ResidentBytes();
    LoadFile(s.path, s.table);
    s.tableHeapGrowth = HeapInUse() - heapBefore;
    s.tableRssGrowth = ResidentBytes() - rssBefore;

    const size_t mapHeapBefore = HeapInUse();
    LoadMap(s.path, s.map);
    s.mapHeapGrowth = HeapInUse() - mapHeapBefore;
}

// One load of the file at path, in ms; the table is freed after the clock stops.
double TimedFileLoadMs(const std::string& path) {
    WordTable table;
    const auto start = std::chrono::steady_clock::now();
    LoadFile(path, table);
    const double ms = MillisecondsSince(start);
    benchmark::DoNotOptimize(table.Count());
    return ms;
}

// Floor and load timed back to back in each iteration (alternating which goes first), so a
// ratio compares two passes made under the same machine load.
void BenchLoadAgainstFloor(benchmark::State& state, Scenario* s) {
    double floorMs = 0, loadMs = 0;
    size_t turn = 0;
    for (auto _ : state) {
        auto timeFloor = [&] {
            uint32_t checksum = 0;
            const auto start = std::chrono::steady_clock::now();
            std::string text = FloorPass(s->path, checksum);
            floorMs += MillisecondsSince(start);
            benchmark::DoNotOptimize(checksum);
        };
        auto timeLoad = [&] { loadMs += TimedFileLoadMs(s->path); };
        if (turn++ % 2 == 0) { timeFloor(); timeLoad(); } else { timeLoad(); timeFloor(); }
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorMs / n;
    state.counters["load_ms"] = loadMs / n;
    state.counters["load_over_floor"] = loadMs / floorMs;
}

// A save and a load of the same dictionary timed back to back (alternating which goes
// first), so save_over_load compares two passes made under the same machine load.
void BenchSaveAgainstLoad(benchmark::State& state, Scenario* s) {
    const std::string target = s->path + ".saved";
    double saveMs = 0, loadMs = 0;
    size_t turn = 0;
    for (auto _ : state) {
        auto timeSave = [&] {
            const auto start = std::chrono::steady_clock::now();
            SaveFile(s->table, target);
            saveMs += MillisecondsSince(start);
        };
        auto timeLoad = [&] { loadMs += TimedFileLoadMs(s->path); };
        if (turn++ % 2 == 0) { timeSave(); timeLoad(); } else { timeLoad(); timeSave(); }
    }
    std::remove(target.c_str());
    const auto n = static_cast<double>(state.iterations());
    state.counters["save_ms"] = saveMs / n;
    state.counters["load_ms"] = loadMs / n;
    state.counters["save_over_load"] = saveMs / loadMs;
}

// kEdits changes of entries spread over a freshly loaded table, each a new translation for
// a present headword, as F6 stores it; the heap growth shows what they cost in memory.
void BenchEdits(benchmark::State& state, Scenario* s) {
    double editUs = 0;
    for (auto _ : state) {
        WordTable table;
        LoadFile(s->path, table);
        std::vector<std::string> lines;
        const size_t stride = table.Count() / kEdits;
        size_t index = 0;
        table.ForEach([&](std::string_view line) {
            if (index++ % stride == 0 && lines.size() < kEdits) {
                lines.push_back(std::string(KeyOfLine(line)) + "|a changed translation, " + std::to_string(index));
            }
        });
        const size_t heapBefore = HeapInUse();
        const size_t tableBefore = table.MemoryBytes();
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& line : lines) table.SetLine(line);
        editUs += MillisecondsSince(start) * 1000.0 / static_cast<double>(lines.size());
        s->editHeapGrowth = HeapInUse() - heapBefore;
        s->editTableGrowth = table.MemoryBytes() - tableBefore;
    }
    state.counters["edit_us"] = editUs / static_cast<double>(state.iterations());
}

void BenchMapLoad(benchmark::State& state, Scenario* s) {
    double loadMs = 0;
    for (auto _ : state) {
        PlainMap map;
        const auto start = std::chrono::steady_clock::now();
        LoadMap(s->path, map);
        loadMs += MillisecondsSince(start);
        benchmark::DoNotOptimize(map.size());
    }
    state.counters["load_ms"] = loadMs / static_cast<double>(state.iterations());
}

// ---- lookups against the machine's own memory latency -----------------------------------

// A pointer chase over a buffer as large as the table: each read's address comes from the
// one before, in a random cycle through every cache line, so each read waits for memory as
// a lookup's slot read does. Its time per step is the cost of one dependent memory read.
class PointerChase {
public:
    explicit PointerChase(size_t bytes) : nodes_(std::max<size_t>(bytes / sizeof(Node), 2)) {
        std::vector<uint32_t> order(nodes_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
        std::mt19937 random(13);
        for (size_t i = order.size() - 1; i > 0; --i) {  // Sattolo: one cycle through all
            std::swap(order[i], order[std::uniform_int_distribution<size_t>(0, i - 1)(random)]);
        }
        for (size_t i = 0; i < order.size(); ++i) nodes_[order[i]].next = &nodes_[order[(i + 1) % order.size()]];
        at_ = &nodes_[0];
    }
    void Steps(size_t count) {
        const Node* p = at_;
        for (size_t i = 0; i < count; ++i) p = p->next;
        at_ = p;
        benchmark::DoNotOptimize(at_);
    }

private:
    struct alignas(64) Node {
        const Node* next;
    };
    std::vector<Node> nodes_;
    const Node* at_;
};

// Blocks of lookups (the half-hit, half-miss queries, lower-cased as the window does) and
// blocks of chase steps in turn, alternating which goes first, so lookup_over_miss compares
// two figures taken under the same machine load.
void BenchLookupAgainstMiss(benchmark::State& state, Scenario* s) {
    constexpr size_t kBlock = size_t{1} << 16;
    PointerChase chase(s->table.MemoryBytes());  // built outside the timed blocks
    double lookupNs = 0, missNs = 0;
    size_t next = 0, turn = 0;
    for (auto _ : state) {
        auto timeLookups = [&] {
            const auto start = std::chrono::steady_clock::now();
            for (size_t i = 0; i < kBlock; ++i) {
                const std::string key = LowerCopy1254(s->queries[next++ & (kQueryCount - 1)]);
                benchmark::DoNotOptimize(s->table.Find(key));
            }
            lookupNs += MillisecondsSince(start) * 1e6 / kBlock;
        };
        auto timeChase = [&] {
            const auto start = std::chrono::steady_clock::now();
            chase.Steps(kBlock);
            missNs += MillisecondsSince(start) * 1e6 / kBlock;
        };
        if (turn++ % 2 == 0) { timeLookups(); timeChase(); } else { timeChase(); timeLookups(); }
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["lookup_ns"] = lookupNs / n;
    state.counters["miss_ns"] = missNs / n;
    state.counters["lookup_over_miss"] = lookupNs / missNs;
}

void BenchMapLookup(benchmark::State& state, Scenario* s) {
    size_t next = 0;
    for (auto _ : state) {
        const std::string key = LowerCopy1254(s->queries[next++ & (kQueryCount - 1)]);
        benchmark::DoNotOptimize(s->map.find(key));
    }
}

// ---- crafted keys ------------------------------------------------------------------------

struct CraftedPair {
    std::string crafted;
    std::string ordinary;
};

double TimedLoadMs(const std::string& plain) {
    std::string copy = plain;  // the copy stays outside the timing
    WordTable table;
    const auto start = std::chrono::steady_clock::now();
    LoadDictionaryText(std::move(copy), table, nullptr);
    const double ms = MillisecondsSince(start);
    benchmark::DoNotOptimize(table.Count());
    return ms;
}

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

// ---- collecting and reporting -------------------------------------------------------------

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

Figures Summarise(const Scenario& s, const Collector& c) {
    const std::string p = s.label + "/";
    Figures f;
    f.entries = s.entries;
    f.keys = s.table.Count();
    f.fileBytes = s.fileBytes;
    f.tableBytes = s.table.MemoryBytes();
    f.heapGrowth = s.tableHeapGrowth;
    f.rssGrowth = s.tableRssGrowth;
    f.loadMs = c.Median(p + "load", "load_ms");
    f.floorMs = c.Median(p + "load", "floor_ms");
    f.loadOverFloor = c.Median(p + "load", "load_over_floor");
    f.lookupNs = c.Median(p + "lookup", "lookup_ns");
    f.missNs = c.Median(p + "lookup", "miss_ns");
    f.lookupOverMiss = c.Median(p + "lookup", "lookup_over_miss");
    f.mapLoadMs = c.Median(p + "map_load", "load_ms");
    f.mapLookupNs = c.Median(p + "map_lookup", "real_ns");
    f.mapHeapGrowth = s.mapHeapGrowth;
    f.saveMs = c.Median(p + "save", "save_ms");
    f.saveLoadMs = c.Median(p + "save", "load_ms");
    f.saveOverLoad = c.Median(p + "save", "save_over_load");
    f.editUs = c.Median(p + "edit", "edit_us");
    f.editHeapGrowth = s.editHeapGrowth;
    f.editTableGrowth = s.editTableGrowth;
    return f;
}

struct CraftedFigures {
    size_t entries = kCraftedEntries, fileBytes = 0;
    double craftedMs = 0, ordinaryMs = 0, craftedOverOrdinary = 0;
};

CraftedFigures SummariseCrafted(const CraftedPair& texts, const Collector& c) {
    CraftedFigures f;
    f.fileBytes = texts.crafted.size();
    f.craftedMs = c.Median("crafted/load", "crafted_ms");
    f.ordinaryMs = c.Median("crafted/load", "ordinary_ms");
    f.craftedOverOrdinary = c.Median("crafted/load", "crafted_over_ordinary");
    return f;
}

std::string Json(const Figures& f, const std::string& indent, const std::string& nested) {
    char buffer[2560];
    std::snprintf(buffer, sizeof buffer,
                  "%s\"entries\": %zu,\n%s\"keys\": %zu,\n%s\"file_bytes\": %zu,\n"
                  "%s\"load_ms\": %.3f,\n%s\"floor_ms\": %.3f,\n%s\"load_over_floor\": %.3f,\n"
                  "%s\"lookup_ns\": %.1f,\n%s\"miss_ns\": %.1f,\n%s\"lookup_over_miss\": %.3f,\n"
                  "%s\"table_bytes\": %zu,\n%s\"table_over_file\": %.3f,\n"
                  "%s\"heap_growth_bytes\": %zu,\n%s\"rss_growth_bytes\": %zu,\n%s\"runs\": %d,\n"
                  "%s\"save_ms\": %.3f,\n%s\"save_load_ms\": %.3f,\n%s\"save_over_load\": %.3f,\n"
                  "%s\"edits\": %zu,\n%s\"edit_us\": %.3f,\n%s\"edit_heap_growth_bytes\": %zu,\n"
                  "%s\"edit_table_growth_bytes\": %zu,\n"
                  "%s\"unordered_map\": {\"load_ms\": %.3f, \"lookup_ns\": %.1f, "
                  "\"heap_bytes\": %zu, \"heap_over_file\": %.3f}",
                  indent.c_str(), f.entries, indent.c_str(), f.keys, indent.c_str(), f.fileBytes,
                  indent.c_str(), f.loadMs, indent.c_str(), f.floorMs, indent.c_str(), f.loadOverFloor,
                  indent.c_str(), f.lookupNs, indent.c_str(), f.missNs, indent.c_str(), f.lookupOverMiss,
                  indent.c_str(), f.tableBytes, indent.c_str(),
                  static_cast<double>(f.tableBytes) / static_cast<double>(f.fileBytes),
                  indent.c_str(), f.heapGrowth, indent.c_str(), f.rssGrowth, indent.c_str(), kRepetitions,
                  indent.c_str(), f.saveMs, indent.c_str(), f.saveLoadMs, indent.c_str(), f.saveOverLoad,
                  indent.c_str(), kEdits, indent.c_str(), f.editUs, indent.c_str(), f.editHeapGrowth,
                  indent.c_str(), f.editTableGrowth,
                  indent.c_str(), f.mapLoadMs, f.mapLookupNs, f.mapHeapGrowth,
                  static_cast<double>(f.mapHeapGrowth) / static_cast<double>(f.fileBytes));
    return std::string(buffer) + nested;
}

void WriteJson(const std::string& path, const Figures& big, const Figures& real, const CraftedFigures& crafted) {
    char craftedJson[512];
    std::snprintf(craftedJson, sizeof craftedJson,
                  ",\n  \"crafted_over_ordinary\": %.3f,\n  \"crafted_keys\": {\"entries\": %zu, "
                  "\"file_bytes\": %zu, \"crafted_load_ms\": %.3f, \"ordinary_load_ms\": %.3f}",
                  crafted.craftedOverOrdinary, crafted.entries, crafted.fileBytes, crafted.craftedMs,
                  crafted.ordinaryMs);
    const std::string nested = ",\n  \"real_sized\": {\n" + Json(real, "    ", "") + "\n  }" + craftedJson;
    std::ofstream out(path);
    out << "{\n" << Json(big, "  ", nested) << "\n}\n";
    if (!out) throw std::runtime_error("cannot write " + path);
}

void PrintRow(const char* name, const char* format, double big, double real) {
    std::printf("%-26s", name);
    std::printf(format, big);
    std::printf(format, real);
    std::printf("\n");
}

void PrintTable(const Figures& big, const Figures& real) {
    std::printf("%-26s%14zu%14zu   (medians of %d runs)\n", "entries", big.entries, real.entries,
                kRepetitions);
    PrintRow("file bytes", "%14.0f", double(big.fileBytes), double(real.fileBytes));
    PrintRow("load ms", "%14.2f", big.loadMs, real.loadMs);
    PrintRow("floor ms", "%14.2f", big.floorMs, real.floorMs);
    PrintRow("load / floor", "%14.2f", big.loadOverFloor, real.loadOverFloor);
    PrintRow("lookup ns", "%14.1f", big.lookupNs, real.lookupNs);
    PrintRow("miss ns (pointer chase)", "%14.1f", big.missNs, real.missNs);
    PrintRow("lookup / miss", "%14.2f", big.lookupOverMiss, real.lookupOverMiss);
    PrintRow("table bytes", "%14.0f", double(big.tableBytes), double(real.tableBytes));
    PrintRow("table / file", "%14.2f", double(big.tableBytes) / double(big.fileBytes),
             double(real.tableBytes) / double(real.fileBytes));
    PrintRow("heap growth (mallinfo2)", "%14.0f", double(big.heapGrowth), double(real.heapGrowth));
    PrintRow("rss growth", "%14.0f", double(big.rssGrowth), double(real.rssGrowth));
    PrintRow("save ms", "%14.2f", big.saveMs, real.saveMs);
    PrintRow("load ms (save's run)", "%14.2f", big.saveLoadMs, real.saveLoadMs);
    PrintRow("save / load", "%14.2f", big.saveOverLoad, real.saveOverLoad);
    PrintRow("edit us (1000 changes)", "%14.3f", big.editUs, real.editUs);
    PrintRow("edit heap growth", "%14.0f", double(big.editHeapGrowth), double(real.editHeapGrowth));
    PrintRow("edit table growth", "%14.0f", double(big.editTableGrowth), double(real.editTableGrowth));
    PrintRow("unordered_map load ms", "%14.2f", big.mapLoadMs, real.mapLoadMs);
    PrintRow("unordered_map lookup ns", "%14.1f", big.mapLookupNs, real.mapLookupNs);
    PrintRow("unordered_map / file", "%14.2f", double(big.mapHeapGrowth) / double(big.fileBytes),
             double(real.mapHeapGrowth) / double(real.fileBytes));
}

void PrintCrafted(const CraftedFigures& f) {
    std::printf("%zu crafted keys (%zu bytes): load %.2f ms, an ordinary file of that size %.2f ms, "
                "crafted / ordinary %.2f\n",
                f.entries, f.fileBytes, f.craftedMs, f.ordinaryMs, f.craftedOverOrdinary);
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
