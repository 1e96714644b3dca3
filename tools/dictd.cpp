// dictd index parsing, dictzip inflation and the consistency checks between the two.
#include "tools/dictd.h"

#include <zlib.h>

#include <algorithm>

#include "tools/file_io.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

int DictdDigitValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string LinePlace(const std::string& fileName, size_t lineNumber) {
    return fileName + ", line " + std::to_string(lineNumber);
}

DictdIndexLine ParseIndexLine(std::string_view line, size_t lineNumber, const std::string& fileName) {
    const size_t firstTab = line.find('\t');
    const size_t secondTab = firstTab == std::string_view::npos ? firstTab : line.find('\t', firstTab + 1);
    if (secondTab == std::string_view::npos) {
        throw ToolError(LinePlace(fileName, lineNumber) + ": expected \"word<TAB>offset<TAB>length\"");
    }
    // dictfmt may add a fourth field (the original headword); only the first three matter.
    std::string_view lengthField = line.substr(secondTab + 1);
    lengthField = lengthField.substr(0, lengthField.find('\t'));
    const auto offset = DecodeDictdNumber(line.substr(firstTab + 1, secondTab - firstTab - 1));
    if (!offset) throw ToolError(LinePlace(fileName, lineNumber) + ": bad base64 offset");
    const auto length = DecodeDictdNumber(lengthField);
    if (!length) throw ToolError(LinePlace(fileName, lineNumber) + ": bad base64 length");
    return {std::string(line.substr(0, firstTab)), *offset, *length, lineNumber};
}

std::string ZlibReason(const z_stream& stream, int status) {
    if (stream.msg != nullptr) return stream.msg;
    return "zlib error " + std::to_string(status);
}

// Inflates one gzip member starting at data[0]; returns the bytes it consumed.
size_t InflateMember(std::string_view data, std::string& out, const std::string& fileName, uint64_t limit) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) throw ToolError(fileName + ": cannot start zlib");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    // Every input is read under kMaxInputBytes, so its size fits zlib's 32-bit count.
    static_assert(kMaxInputBytes <= UINT32_MAX);
    stream.avail_in = static_cast<uInt>(data.size());
    char buffer[1 << 16];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - stream.avail_out;
        if (produced > limit - out.size()) {  // a few bytes may inflate to gigabytes
            inflateEnd(&stream);
            throw ToolError(fileName + ": inflates to more than " + std::to_string(limit) + " bytes");
        }
        out.append(buffer, produced);
        if (status == Z_STREAM_END) break;
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            inflateEnd(&stream);
            throw ToolError(fileName + ": compressed data is cut short");
        }
        if (status != Z_OK) {
            const std::string reason = ZlibReason(stream, status);
            inflateEnd(&stream);
            throw ToolError(fileName + ": damaged compressed data (" + reason + ")");
        }
    }
    const size_t consumed = data.size() - stream.avail_in;
    inflateEnd(&stream);
    return consumed;
}

bool StartsWithGzipMagic(std::string_view data) {
    return data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
           static_cast<unsigned char>(data[1]) == 0x8b;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// NAME from NAME, NAME.index, NAME.dict or NAME.dict.dz.
std::string DatabaseBaseName(const std::string& path) {
    for (std::string_view suffix : {".index", ".dict.dz", ".dict"}) {
        if (EndsWith(path, suffix)) return path.substr(0, path.size() - suffix.size());
    }
    return path;
}

void CheckIndexAgainstDict(const std::vector<DictdIndexLine>& index, size_t dictSize,
                           const std::string& indexPath, const std::string& dictPath) {
    for (const DictdIndexLine& line : index) {
        if (line.offset > dictSize || line.length > dictSize - line.offset) {
            throw ToolError(LinePlace(indexPath, line.lineNumber) + ": entry at " + std::to_string(line.offset) +
                            " with length " + std::to_string(line.length) + " lies beyond the end of " + dictPath +
                            " (" + std::to_string(dictSize) + " bytes)");
        }
    }
}

// Several words may share one entry (the same offset and length), and each distinct entry
// is parsed once. Entries that overlap could make a small file cost the square of its size,
// so together the distinct entries may hold at most twice the bytes of the dict.
void CheckEntriesFitTheDict(const std::vector<DictdIndexLine>& index, size_t dictSize,
                            const std::string& indexPath, const std::string& dictPath) {
    std::vector<std::pair<uint64_t, uint64_t>> entries;
    entries.reserve(index.size());
    for (const DictdIndexLine& line : index) entries.emplace_back(line.offset, line.length);
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    // Each length is at most dictSize, so the sum cannot wrap before it passes the budget.
    const uint64_t budget = 2 * static_cast<uint64_t>(dictSize);
    uint64_t total = 0;
    for (const auto& entry : entries) {
        total += entry.second;
        if (total > budget) {
            throw ToolError(indexPath + ": the entries overlap: together they hold more than twice the " +
                            std::to_string(dictSize) + " bytes of " + dictPath);
        }
    }
}

}  // namespace

std::optional<uint64_t> DecodeDictdNumber(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        const int digit = DictdDigitValue(c);
        if (digit < 0 || value > (UINT64_MAX >> 6)) return std::nullopt;
        value = (value << 6) | static_cast<uint64_t>(digit);
    }
    return value;
}

std::vector<DictdIndexLine> ParseDictdIndex(std::string_view text, const std::string& fileName) {
    std::vector<DictdIndexLine> lines;
    size_t lineNumber = 0;
    size_t from = 0;
    while (from < text.size()) {
        ++lineNumber;
        const size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            throw ToolError(LinePlace(fileName, lineNumber) + ": the index ends in the middle of a line (truncated?)");
        }
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.push_back(ParseIndexLine(line, lineNumber, fileName));
        from = end + 1;
    }
    return lines;
}

std::string InflateGzip(std::string_view data, const std::string& fileName, uint64_t limit) {
    if (!StartsWithGzipMagic(data)) throw ToolError(fileName + ": not a gzip/dictzip file");
    std::string out;
    // A gzip file may hold several members one after the other; each starts with the magic.
    while (!data.empty()) {
        if (!StartsWithGzipMagic(data)) throw ToolError(fileName + ": unexpected bytes after the compressed data");
        data.remove_prefix(InflateMember(data, out, fileName, limit));
    }
    return out;
}

std::optional<DictdPaths> FindDictdFiles(const std::string& path) {
    const std::string base = DatabaseBaseName(path);
    DictdPaths paths{base + ".index", base + ".dict.dz"};
    if (!IsRegularFile(paths.index)) return std::nullopt;
    if (!IsRegularFile(paths.dict) && IsRegularFile(base + ".dict")) paths.dict = base + ".dict";
    return paths;
}

DictdDatabase LoadDictdDatabase(const DictdPaths& paths) {
    DictdDatabase database;
    database.indexPath = paths.index;
    database.dictPath = paths.dict;
    database.index = ParseDictdIndex(ReadWholeFile(paths.index), paths.index);
    std::string stored = ReadWholeFile(paths.dict);
    database.dict = EndsWith(paths.dict, ".dz") ? InflateGzip(stored, paths.dict) : std::move(stored);
    CheckIndexAgainstDict(database.index, database.dict.size(), paths.index, paths.dict);
    CheckEntriesFitTheDict(database.index, database.dict.size(), paths.index, paths.dict);
    return database;
}

bool IsDictdMetaWord(std::string_view word) {
    return word.substr(0, 10) == "00database" || word.substr(0, 11) == "00-database";
}

}  // namespace kavrel::tool
