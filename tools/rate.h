// Measuring a data file against a list of words with the translations a reader expects
// first (tools/first-rows.tsv): how often the first row of the list is one of them.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::tool {

struct FirstRowRating {
    size_t words = 0;       // words of the list looked up
    size_t firstRight = 0;  // the first row is an expected answer
    size_t inList = 0;      // an expected answer is among the rows
    std::vector<std::string> misses;  // UTF-8: "word: first row (expected a|b)" or "word: not found"
};

// Rates the data file's plain text (1254) against the list (UTF-8: "#" comment lines, a
// header of tab-separated column names, then one word a line; a cell holds answers separated
// by "|"). The first answer in column from is looked up; the answers in column to are
// expected. Throws ToolError naming listName and the line when the list is malformed.
FirstRowRating RateFirstRows(std::string_view list, std::string_view plain, const std::string& from,
                             const std::string& to, const std::string& listName);

// "rate [--misses] LIST FILE FROM TO": one line of figures, then the misses when asked.
int RunRate(const std::vector<std::string>& args, std::ostream& out);

}  // namespace kavrel::tool
