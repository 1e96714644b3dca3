// The plain text of a dictionary: entry lines "headword|translations", the line ends as
// read and as written, and the splitting of translations into the rows the user sees.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kavrel {

// Written after every entry line: LF then CR.
inline constexpr std::string_view kLineEnd = "\n\r";

inline bool IsLineEndByte(char c) { return c == '\n' || c == '\r'; }

// Calls f(line) for every line of text, in order; any run of CR and LF bytes separates two
// lines, and runs at the start or the end make no empty line. An f that returns bool stops
// the walk by returning false.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        while (p < end && IsLineEndByte(*p)) ++p;
        const char* start = p;
        while (p < end && !IsLineEndByte(*p)) ++p;
        if (p == start) continue;
        const std::string_view line(start, static_cast<size_t>(p - start));
        if constexpr (std::is_same_v<decltype(f(line)), bool>) {
            if (!f(line)) return;
        } else {
            f(line);
        }
    }
}

// An entry split at its first "|". Without any "|" the headword is empty and the
// translations are the whole line, which is also how such a line is written back.
struct EntryParts {
    std::string_view headword;
    std::string_view translations;
};
EntryParts SplitEntry(std::string_view line);

// The text a line is filed under before lower-casing: its headword, or "" without "|".
inline std::string_view KeyOfLine(std::string_view line) { return SplitEntry(line).headword; }

// Length of text up to its first zero byte: a zero byte ends a dictionary text.
size_t LengthBeforeZero(std::string_view text);

// Every occurrence of find (never empty) replaced, scanning left to right and never
// rescanning replaced text.
std::string ReplaceAll(std::string text, std::string_view find, std::string_view replace);

// Trims blank, tab, LF, VT, FF and CR from both ends; bytes above 127 are never white space.
std::string_view TrimAsciiSpace(std::string_view text);

// The rows of a translation list: split at "," with ";" counting as ",", each piece
// trimmed; empty pieces give empty rows and an empty text gives one empty row.
std::vector<std::string> SplitTranslations(std::string_view translations);

}  // namespace kavrel
