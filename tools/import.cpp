// Reading import sources and feeding them, converted to 1254, into the dictionary builder.
#include "tools/import.h"

#include <ostream>
#include <set>
#include <utility>

#include "tools/dictd.h"
#include "tools/file_io.h"
#include "tools/progress.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

std::vector<SourceEntry> ReadDictdEntries(const DictdPaths& paths, std::ostream& log) {
    const DictdDatabase database = LoadDictdDatabase(paths);
    std::vector<SourceEntry> entries;
    // dictfmt files one article under several index words; read each article once.
    std::set<std::pair<uint64_t, uint64_t>> seen;
    Progress progress(log, "reading " + paths.dict);
    for (size_t i = 0; i < database.index.size(); ++i) {
        const DictdIndexLine& line = database.index[i];
        progress.Update(i, database.index.size());
        if (IsDictdMetaWord(line.word) || !seen.emplace(line.offset, line.length).second) continue;
        const std::string_view article = std::string_view(database.dict).substr(line.offset, line.length);
        if (const auto bad = FindMalformedUtf8(article)) {
            throw ToolError(database.indexPath + ", line " + std::to_string(line.lineNumber) + ": the entry in " +
                            database.dictPath + " is not valid UTF-8 (byte offset " +
                            std::to_string(line.offset + *bad) + ")");
        }
        entries.push_back(ParseDictdArticle(article));
    }
    return entries;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

void AddToCounts(DictionaryBuilder::AddResult result, ImportCounts& counts) {
    switch (result) {
        case DictionaryBuilder::AddResult::kAdded: ++counts.added; break;
        case DictionaryBuilder::AddResult::kMerged: ++counts.merged; break;
        case DictionaryBuilder::AddResult::kNoHeadword: ++counts.withoutHeadword; break;
        case DictionaryBuilder::AddResult::kNoTranslation: ++counts.withoutTranslation; break;
    }
}

}  // namespace

std::vector<SourceEntry> ReadPlainEntries(std::string_view text, const std::string& fileName) {
    text = WithoutByteOrderMark(text);
    std::vector<SourceEntry> entries;
    size_t lineNumber = 0;
    for (size_t from = 0; from < text.size();) {
        ++lineNumber;
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (const auto bad = FindMalformedUtf8(line)) {
            throw ToolError(fileName + ", line " + std::to_string(lineNumber) + ": malformed UTF-8 at byte offset " +
                            std::to_string(from + *bad));
        }
        // Exported files end lines with LF; a stray CR (CR LF files, LF CR data) is no text.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && line.front() == '\r') line.remove_prefix(1);
        if (!line.empty()) entries.push_back(ParsePlainLine(line));
        from = end + 1;
    }
    return entries;
}

std::vector<SourceEntry> ReadSourceEntries(const std::string& path, std::ostream& log) {
    if (const auto dictd = FindDictdFiles(path)) return ReadDictdEntries(*dictd, log);
    return ReadPlainEntries(ReadWholeFile(path), path);
}

void Importer::AddSource(const ImportSource& source) {
    const std::vector<SourceEntry> entries = ReadSourceEntries(source.path, log_);
    const ImportCounts before = counts_;
    AddEntries(entries, source.reverse);
    log_ << "kavrel-tool: " << source.path << ": " << entries.size() << " entries read"
         << (source.reverse ? " (reversed)" : "") << ", " << counts_.added - before.added << " new headwords, "
         << counts_.merged - before.merged << " merged\n";
}

void Importer::AddEntries(const std::vector<SourceEntry>& entries, bool reverse) {
    counts_.read += entries.size();
    for (const SourceEntry& entry : entries) {
        const std::string headword = ConvertUtf8To1254Lenient(entry.headword, counts_.conversion);
        std::vector<std::string> translations;
        for (const std::string& translation : entry.translations) {
            translations.push_back(ConvertUtf8To1254Lenient(translation, counts_.conversion));
        }
        if (!reverse) {
            AddToCounts(builder_.Add(headword, translations, entry.senses), counts_);
            continue;
        }
        if (translations.empty()) ++counts_.withoutTranslation;
        for (size_t i = 0; i < translations.size(); ++i) {
            const size_t sense = i < entry.senses.size() ? entry.senses[i] : i + 1;
            AddToCounts(builder_.AddReversed(translations[i], headword, sense, i + 1), counts_);
        }
    }
}


}  // namespace kavrel::tool
