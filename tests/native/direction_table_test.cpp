// The direction catalogue: every name picks its own file, compared byte for byte.
#include <gtest/gtest.h>

#include <set>

#include "core/cp1254.h"
#include "dictionary/direction_table.h"

namespace kavrel {
namespace {

std::string Cp(const char* utf8) { return Utf8To1254(utf8).text; }

TEST(DirectionTable, EveryNameMapsToItsFile) {
    const struct { const char* name; const char* file; } rows[] = {
        {"Türkçe -> Almanca", "kavrel.001"},   {"Almanca -> Türkçe", "kavrel.002"},
        {"Türkçe -> İngilizce", "kavrel.003"}, {"İngilizce -> Türkçe", "kavrel.004"},
        {"Türkçe -> Fransızca", "kavrel.005"}, {"Fransızca -> Türkçe", "kavrel.006"},
        {"Türkçe -> İtalyanca", "kavrel.007"}, {"İtalyanca -> Türkçe", "kavrel.008"},
    };
    std::set<std::string> files;
    for (const auto& row : rows) {
        EXPECT_EQ(DataFileOf(Cp(row.name)), row.file) << row.name;
        files.insert(row.file);
    }
    EXPECT_EQ(files.size(), 8u);
}

TEST(DirectionTable, NearMissesMatchNothing) {
    for (const char* name : {"türkçe -> almanca", "TÜRKÇE -> ALMANCA", "Türkçe ->  Almanca", " Türkçe -> Almanca",
                             "Türkçe -> Almanca ", "Türkçe->Almanca", "Turkce -> Almanca", "Türkçe -> Ingilizce", ""}) {
        EXPECT_EQ(DataFileOf(Cp(name)), "") << name;
    }
    EXPECT_EQ(DataFileOf("T\xFCrk\xE7" "e -> Almanca" + std::string(1, '\0')), "") << "a trailing zero byte";
}

}  // namespace
}  // namespace kavrel
