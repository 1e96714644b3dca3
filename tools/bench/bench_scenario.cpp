// kavrel_bench's shared parts: the load as the program does it, the map baseline, the
// clock, the heap and the process's memory, and the file under test made ready.
#include "tools/bench/bench_scenario.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <utility>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "tools/bench/bench_data.h"

namespace kavrel::bench {

// ---- the measured paths -------------------------------------------------------------------

// The load as the program does it: read, unscramble, file every line.
void LoadFile(const std::string& path, WordTable& table) {
    std::string data = ReadWholeFile(path);
    UnscrambleText(data);
    int lastPercent = -1;
    LoadDictionaryText(std::move(data), table, [&](int percent) { lastPercent = percent; });
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

}  // namespace kavrel::bench
