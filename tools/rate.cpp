// Rating the first rows of a data file against the list of expected translations.
#include "tools/rate.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "core/word_table.h"
#include "tools/file_io.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    while (true) {
        const size_t end = text.find(separator, from);
        parts.emplace_back(text.substr(from, end == std::string_view::npos ? end : end - from));
        if (end == std::string_view::npos) return parts;
        from = end + 1;
    }
}

std::string To1254(const std::string& utf8, const std::string& place) {
    Utf8Conversion conversion = Utf8To1254(utf8);
    if (!conversion.ok) throw ToolError(place + ": \"" + utf8 + "\" cannot be written in Windows-1254");
    return std::move(conversion.text);
}

size_t ColumnOf(const std::vector<std::string>& header, const std::string& name, const std::string& listName) {
    const auto it = std::find(header.begin(), header.end(), name);
    if (it == header.end()) throw ToolError(listName + ": no column \"" + name + "\"");
    return static_cast<size_t>(it - header.begin());
}

struct ListLine {
    std::string place;  // "file, line n"
    std::vector<std::string> cells;
};

// The header and the word lines of the list, each cell checked to be there.
std::vector<ListLine> ReadList(std::string_view list, const std::string& listName, std::vector<std::string>& header) {
    std::vector<ListLine> lines;
    size_t number = 0;
    for (std::string_view rest = list; !rest.empty();) {
        const size_t end = rest.find('\n');
        std::string line(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string> cells = Split(line, '\t');
        const std::string place = listName + ", line " + std::to_string(number);
        if (header.empty()) {
            header = std::move(cells);
        } else if (cells.size() != header.size()) {
            throw ToolError(place + ": " + std::to_string(cells.size()) + " columns, the header has " +
                            std::to_string(header.size()));
        } else {
            lines.push_back({place, std::move(cells)});
        }
    }
    return lines;
}

}  // namespace

FirstRowRating RateFirstRows(std::string_view list, std::string_view plain, const std::string& from,
                             const std::string& to, const std::string& listName) {
    std::vector<std::string> header;
    const std::vector<ListLine> lines = ReadList(list, listName, header);
    const size_t fromColumn = ColumnOf(header, from, listName);
    const size_t toColumn = ColumnOf(header, to, listName);
    WordTable table;
    LoadDictionaryText(std::string(plain), table, nullptr);

    FirstRowRating rating;
    for (const ListLine& line : lines) {
        const std::string word = Split(line.cells[fromColumn], '|').front();
        const std::vector<std::string> expected = Split(line.cells[toColumn], '|');
        if (word.empty() || expected.front().empty()) throw ToolError(line.place + ": an empty cell");
        ++rating.words;
        const auto found = table.Find(To1254(word, line.place));
        if (!found) {
            rating.misses.push_back(word + ": not found");
            continue;
        }
        const std::vector<std::string> rows = SplitTranslations(SplitEntry(*found).translations);
        const auto isExpected = [&](const std::string& row) {
            return std::find(expected.begin(), expected.end(), Utf8From1254(row)) != expected.end();
        };
        const bool firstRight = isExpected(rows.front());  // there is always a row, if empty
        rating.firstRight += firstRight;
        rating.inList += std::any_of(rows.begin(), rows.end(), isExpected);
        if (!firstRight) {
            rating.misses.push_back(word + ": " + Utf8From1254(rows.front()) + " (expected " + line.cells[toColumn] + ")");
        }
    }
    return rating;
}

int RunRate(const std::vector<std::string>& args, std::ostream& out) {
    std::vector<std::string> operands;
    bool misses = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--misses") {
            misses = true;
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() != 4) throw ToolError("rate: expected rate [--misses] LIST FILE FROM TO (see kavrel-tool --help)");
    std::string plain = ReadWholeFile(operands[1]);
    UnscrambleText(plain);
    plain.resize(LengthBeforeZero(plain));
    const FirstRowRating rating = RateFirstRows(ReadWholeFile(operands[0]), plain, operands[2], operands[3], operands[0]);
    char percent[16];
    std::snprintf(percent, sizeof percent, "%.1f%%", rating.words == 0 ? 0.0 : 100.0 * rating.firstRight / rating.words);
    out << operands[1] << " " << operands[2] << "->" << operands[3] << ": first row right for " << rating.firstRight
        << " of " << rating.words << " words (" << percent << "), an expected answer in the list for "
        << rating.inList << "\n";
    if (misses) {
        for (const std::string& miss : rating.misses) out << "  " << miss << "\n";
    }
    return 0;
}

}  // namespace kavrel::tool
