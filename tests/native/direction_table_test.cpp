// The direction catalogue compares names byte for byte. Which file each listed name picks
// the main window's test of every selection sees.
#include <gtest/gtest.h>

#include "core/cp1254.h"
#include "dictionary/direction_table.h"

namespace kavrel {
namespace {

std::string Cp(const char* utf8) { return Utf8To1254(utf8).text; }

TEST(DirectionTable, NearMissesMatchNothing) {
    for (const char* name : {"türkçe -> almanca", "TÜRKÇE -> ALMANCA", "Türkçe ->  Almanca", " Türkçe -> Almanca",
                             "Türkçe -> Almanca ", "Türkçe->Almanca", "Turkce -> Almanca", "Türkçe -> Ingilizce", ""}) {
        EXPECT_EQ(DataFileOf(Cp(name)), "") << name;
    }
    EXPECT_EQ(DataFileOf("T\xFCrk\xE7" "e -> Almanca" + std::string(1, '\0')), "") << "a trailing zero byte";
}

}  // namespace
}  // namespace kavrel
