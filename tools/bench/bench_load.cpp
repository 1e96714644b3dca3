// kavrel_bench, loads and saves: the 1M and real-sized loads against the work no load can
// skip, the save against the load, a thousand edits, and the std::unordered_map's load.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "tools/bench/bench_data.h"
#include "tools/bench/bench_scenario.h"

namespace kavrel::bench {
namespace {

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

}  // namespace

// The load against the work no load can skip, in turns.
void BenchLoadAgainstFloor(benchmark::State& state, Scenario* s) {
    static size_t turn = 0;
    auto timeFloor = [&] {
        uint32_t checksum = 0;
        const auto start = std::chrono::steady_clock::now();
        std::string text = FloorPass(s->path, checksum);
        const double ms = MillisecondsSince(start);
        benchmark::DoNotOptimize(checksum);
        return ms;
    };
    auto timeLoad = [&] { return TimedFileLoadMs(s->path); };
    TimeInTurns(state, turn, timeLoad, timeFloor, "load_ms", "floor_ms", "load_over_floor");
}

// A save and a load of the same dictionary, in turns.
void BenchSaveAgainstLoad(benchmark::State& state, Scenario* s) {
    static size_t turn = 0;
    const std::string target = s->path + ".saved";
    auto timeSave = [&] {
        const auto start = std::chrono::steady_clock::now();
        SaveFile(s->table, target);
        return MillisecondsSince(start);
    };
    auto timeLoad = [&] { return TimedFileLoadMs(s->path); };
    TimeInTurns(state, turn, timeSave, timeLoad, "save_ms", "load_ms", "save_over_load");
    std::remove(target.c_str());
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

}  // namespace kavrel::bench
