// Reading a dictd database: the index (word, base64 offset, base64 length per line) and the
// dict text, plain or gzip/dictzip compressed, checked so that a broken file is reported
// with its name and the index line at fault.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/file_io.h"

namespace kavrel::tool {

struct DictdIndexLine {
    std::string word;
    uint64_t offset = 0;
    uint64_t length = 0;
    size_t lineNumber = 0;  // 1-based, for error messages
};

// A number in dictd's base64 digits (A-Z a-z 0-9 + /, most significant first), or nothing
// when the text is empty, holds another character or does not fit 64 bits.
std::optional<uint64_t> DecodeDictdNumber(std::string_view digits);

// Parses a whole index; throws ToolError naming fileName and the line for a line without
// three tab-separated fields, a bad number, or a last line cut off before its line end.
std::vector<DictdIndexLine> ParseDictdIndex(std::string_view text, const std::string& fileName);

// Inflates a gzip file (all members; dictzip is gzip with an extra header field); throws
// ToolError naming fileName when the data is not gzip, is damaged or cut short, or would
// inflate to more than limit bytes.
std::string InflateGzip(std::string_view data, const std::string& fileName, uint64_t limit = kMaxInputBytes);

struct DictdDatabase {
    std::string indexPath;
    std::string dictPath;
    std::vector<DictdIndexLine> index;
    std::string dict;  // uncompressed
};

// The index and dict paths of a database given as "NAME", "NAME.index" or "NAME.dict[.dz]":
// NAME.dict.dz is preferred, NAME.dict is the fallback. Nothing when no NAME.index exists.
struct DictdPaths {
    std::string index;
    std::string dict;
};
std::optional<DictdPaths> FindDictdFiles(const std::string& path);

// Reads and checks both files; every index line must lie inside the dict.
DictdDatabase LoadDictdDatabase(const DictdPaths& paths);

// True for dictd's own entries ("00databaseinfo", "00-database-url", ...), which are not words.
bool IsDictdMetaWord(std::string_view word);

}  // namespace kavrel::tool
