// kavrel_bench's report: medians per file, the printed table and the JSON figures.
#include "tools/bench/bench_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace kavrel::bench {

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

CraftedFigures SummariseCrafted(const CraftedPair& texts, const Collector& c) {
    CraftedFigures f;
    f.fileBytes = texts.crafted.size();
    f.craftedMs = c.Median("crafted/load", "crafted_ms");
    f.ordinaryMs = c.Median("crafted/load", "ordinary_ms");
    f.craftedOverOrdinary = c.Median("crafted/load", "crafted_over_ordinary");
    return f;
}

namespace {

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

}  // namespace

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

namespace {

void PrintRow(const char* name, const char* format, double big, double real) {
    std::printf("%-26s", name);
    std::printf(format, big);
    std::printf(format, real);
    std::printf("\n");
}

}  // namespace

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

}  // namespace kavrel::bench
