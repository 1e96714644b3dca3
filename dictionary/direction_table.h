// The eight translation directions: display names (Windows-1254) and their data files.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kavrel {

struct Direction {
    std::string_view displayName;
    std::string_view dataFile;
};

// In row order, the order in which a direction name is compared. The direction list shows
// them in another order (English first), which the main window's template holds.
inline constexpr std::array<Direction, 8> kDirectionTable = {{
    {"T\xFCrk\xE7" "e -> Almanca", "kavrel.001"},
    {"Almanca -> T\xFCrk\xE7" "e", "kavrel.002"},
    {"T\xFCrk\xE7" "e -> \xDDngilizce", "kavrel.003"},
    {"\xDDngilizce -> T\xFCrk\xE7" "e", "kavrel.004"},
    {"T\xFCrk\xE7" "e -> Frans\xFDzca", "kavrel.005"},
    {"Frans\xFDzca -> T\xFCrk\xE7" "e", "kavrel.006"},
    {"T\xFCrk\xE7" "e -> \xDDtalyanca", "kavrel.007"},
    {"\xDDtalyanca -> T\xFCrk\xE7" "e", "kavrel.008"},
}};

// The data file of the first row whose name equals displayName byte for byte (case and
// blanks count), or "" when no row does.
inline std::string DataFileOf(std::string_view displayName) {
    for (const Direction& row : kDirectionTable) {
        if (row.displayName == displayName) return std::string(row.dataFile);
    }
    return {};
}

}  // namespace kavrel
