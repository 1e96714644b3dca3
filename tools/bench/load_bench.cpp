// kavrel_load_bench: loads one data file as the program does (read whole, unscramble, file
// every line with its progress) several times, and prints the load times and the process's
// private memory while the loaded table is held, as one JSON line. Built natively and as the
// 32-bit Windows program from this one source, so scripts/bench.sh compares the two builds
// of the core on the same file in the same run. Under Windows, --idle only waits: it keeps a
// Wine session alive while start-up times are taken.
//   kavrel_load_bench FILE [LOADS]
//   kavrel_load_bench --idle
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/dictionary_load.h"
#include "core/scramble.h"
#include "core/word_table.h"

#ifdef _WIN32
#include <windows.h>

#include "framework/file.h"
#else
#include <fstream>

#include "tools/bench/bench_data.h"
#endif

namespace {

#ifdef _WIN32
// The program's own read: CreateFile without sharing, one ReadFile.
std::string ReadDataFile(const std::string& path) {
    kavrel::win::FileRead read = kavrel::win::ReadWholeFile(path);
    if (read.status != kavrel::win::ReadStatus::kRead) {
        std::fprintf(stderr, "kavrel_load_bench: cannot read %s (error %lu)\n", path.c_str(), read.error);
        std::exit(1);
    }
    return std::move(read.bytes);
}

// Committed memory that is this process's alone (heap, stacks, private mappings), counted
// region by region: Wine leaves PROCESS_MEMORY_COUNTERS_EX.PrivateUsage at 0.
size_t PrivateBytes() {
    size_t bytes = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        const char* const next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return bytes;
}
#else
std::string ReadDataFile(const std::string& path) { return kavrel::bench::ReadWholeFile(path); }

// The nearest figure natively: resident anonymous memory.
size_t PrivateBytes() {
    std::ifstream status("/proc/self/status");
    std::string name;
    size_t kilobytes = 0;
    while (status >> name) {
        if (name == "RssAnon:") {
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}
#endif

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// What one load took, in ms, step by step.
struct LoadTimes {
    double read = 0, unscramble = 0, file = 0;
    double Total() const { return read + unscramble + file; }
};

// One load as the program does it, into table.
LoadTimes Load(const std::string& path, kavrel::WordTable& table) {
    LoadTimes times;
    auto start = std::chrono::steady_clock::now();
    std::string bytes = ReadDataFile(path);
    times.read = MsSince(start);
    start = std::chrono::steady_clock::now();
    kavrel::UnscrambleText(bytes);
    times.unscramble = MsSince(start);
    start = std::chrono::steady_clock::now();
    int lastPercent = -1;
    kavrel::LoadDictionaryText(std::move(bytes), table, [&](int percent) { lastPercent = percent; });
    times.file = MsSince(start);
    if (lastPercent < 0 && table.Count() > 0) std::exit(2);  // the progress must have run
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(const std::string& path, int loads) {
    size_t fileBytes = 0, privateBefore = 0, privateLoaded = 0, keys = 0;
    {
        privateBefore = PrivateBytes();
        kavrel::WordTable table;
        Load(path, table);
        privateLoaded = PrivateBytes();
        fileBytes = table.Text().size();
        keys = table.Count();
    }
    std::vector<double> total, read, unscramble, file;
    for (int i = 0; i < loads; ++i) {
        kavrel::WordTable table;
        const LoadTimes times = Load(path, table);
        total.push_back(times.Total());
        read.push_back(times.read);
        unscramble.push_back(times.unscramble);
        file.push_back(times.file);
    }
    std::printf("{\"load_ms\": %.3f, \"read_ms\": %.3f, \"unscramble_ms\": %.3f, \"file_lines_ms\": %.3f, "
                "\"loads\": %d, \"file_bytes\": %zu, \"keys\": %zu, "
                "\"private_before_bytes\": %zu, \"private_bytes\": %zu}\n",
                Median(total), Median(read), Median(unscramble), Median(file), loads, fileBytes, keys,
                privateBefore, privateLoaded);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
#ifdef _WIN32
    if (first == "--idle") {
        Sleep(INFINITE);
        return 0;
    }
#endif
    if (first.empty() || first[0] == '-') {
        std::fprintf(stderr, "usage: kavrel_load_bench FILE [LOADS]\n");
        return 2;
    }
    const int loads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    try {
        return Run(first, loads);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kavrel_load_bench: %s\n", error.what());
        return 1;
    }
}
